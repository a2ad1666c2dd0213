#pragma once
// The zoom and pan/tilt pad beside the live picture: six image buttons, each
// click reported once to the delegate (the camera page).

#include <QAbstractButton>
#include <QPointer>
#include <QWidget>

class QOVACameraControlDelegate {
public:
    virtual ~QOVACameraControlDelegate() = default;
    virtual void cameraControlZoomIn() = 0;
    virtual void cameraControlZoomOut() = 0;
    virtual void cameraControlLeft() = 0;
    virtual void cameraControlUp() = 0;
    virtual void cameraControlRight() = 0;
    virtual void cameraControlDown() = 0;
};

// A borderless button that shows one image, another while pressed, and its
// image greyed out while disabled.
class QOVAImageButton : public QAbstractButton {
    Q_OBJECT
public:
    QOVAImageButton(const QString &image, const QString &pressedImage, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_image;
    QString m_pressedImage;
};

class QOVACameraControlView : public QWidget {
    Q_OBJECT
public:
    explicit QOVACameraControlView(QWidget *parent = nullptr);

    void setDelegate(QOVACameraControlDelegate *delegate) { m_delegate = delegate; }
    QOVACameraControlDelegate *delegate() const { return m_delegate; }

    void setCameraControlViewEnable(bool enable);

    QOVAImageButton *zoomInButton() const { return m_zoomInButton; }
    QOVAImageButton *zoomOutButton() const { return m_zoomOutButton; }
    QOVAImageButton *upButton() const { return m_upButton; }
    QOVAImageButton *leftButton() const { return m_leftButton; }
    QOVAImageButton *rightButton() const { return m_rightButton; }
    QOVAImageButton *downButton() const { return m_downButton; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setupUI();

    QOVACameraControlDelegate *m_delegate = nullptr;
    QOVAImageButton *m_zoomInButton = nullptr;
    QOVAImageButton *m_zoomOutButton = nullptr;
    QOVAImageButton *m_upButton = nullptr;
    QOVAImageButton *m_leftButton = nullptr;
    QOVAImageButton *m_rightButton = nullptr;
    QOVAImageButton *m_downButton = nullptr;
};
