#pragma once
// The head of one family's group on the firmware page: the family's name
// and device count, an Update All button and a refresh button that makes
// one turn each time it is pressed.

#include <QAbstractButton>
#include <QPointer>
#include <QWidget>

class QOVAButton;
class QOVAFirmwareListHeader;
class QOVALabel;
class QVariantAnimation;

class QOVAFirmwareListHeaderDelegate {
public:
    virtual ~QOVAFirmwareListHeaderDelegate() = default;
    virtual void updateAllDevices(QOVAFirmwareListHeader *header) = 0;
    virtual void refreshStatus(QOVAFirmwareListHeader *header) = 0;
};

// The refresh button: an image that turns about its centre.
class QOVARefreshButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit QOVARefreshButton(QWidget *parent = nullptr);
    // One whole turn in a second (two half turns).
    void spin();
    bool isSpinning() const;
    double angle() const { return m_angle; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_angle = 0;
    QVariantAnimation *m_animation = nullptr;
};

class QOVAFirmwareListHeader : public QWidget {
    Q_OBJECT
public:
    explicit QOVAFirmwareListHeader(QWidget *parent = nullptr);

    void setDelegate(QOVAFirmwareListHeaderDelegate *delegate) { m_delegate = delegate; }
    qint64 index() const { return m_index; }
    void setIndex(qint64 index) { m_index = index; }

    // One device: the bare name, no Update All; else "name(count)".
    void setDeviceCount(qint64 count, const QString &productName);
    void setUpdateDisabled(bool disabled);
    void setUpdateButtonHidden(bool hidden);

    // The two buttons' actions.
    void updateAllDevices();
    void refreshStatus();

    QOVALabel *titleLabel() const { return m_titleLabel; }
    QOVAButton *updateButton() const { return m_updateButton; }
    QOVARefreshButton *refreshButton() const { return m_refreshButton; }
    QWidget *separateLine() const { return m_separateLine; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutViews();

    QOVAFirmwareListHeaderDelegate *m_delegate = nullptr;
    qint64 m_index = 0;
    QOVALabel *m_titleLabel = nullptr;
    QOVAButton *m_updateButton = nullptr;
    QOVARefreshButton *m_refreshButton = nullptr;
    QWidget *m_separateLine = nullptr;
};
