#pragma once
// The view of the live picture: it draws the latest picture the capture
// handed it, filling its bounds (aspect fill) with rounded corners.

#include <QImage>
#include <QWidget>

class QOVAPreviewView : public QWidget {
    Q_OBJECT
public:
    explicit QOVAPreviewView(QWidget *parent = nullptr);
    void showFrame(const QImage &frame);
    bool hasFrame() const { return !m_image.isNull(); }
    void clear();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
};
