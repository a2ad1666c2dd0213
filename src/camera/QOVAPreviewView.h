#pragma once
// The view of the live picture: it owns the video sink the capture feeds and
// draws the latest frame filling its bounds (aspect fill) with rounded
// corners.

#include <QImage>
#include <QWidget>

class QVideoSink;

class QOVAPreviewView : public QWidget {
    Q_OBJECT
public:
    explicit QOVAPreviewView(QWidget *parent = nullptr);
    QVideoSink *videoSink() const { return m_sink; }
    bool hasFrame() const { return !m_image.isNull(); }
    void clear();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVideoSink *m_sink = nullptr;
    QImage m_image;
};
