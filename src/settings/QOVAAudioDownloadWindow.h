#pragma once
// Tells the user that the audio test recording is still being fetched from
// the device: three texts and a spinner, no buttons. While it is open a
// transparent mask blocks clicks on the page; only its owner hides it.

#include "QOVAPlainWindow.h"

class QOVALabel;
class QOVAProgressIndicator;

class QOVAAudioDownloadWindow : public QOVAPlainWindow {
    Q_OBJECT
public:
    QOVAAudioDownloadWindow(double width, double height);
    explicit QOVAAudioDownloadWindow(const QRectF &frame);

    QOVALabel *titleLabel() const { return m_titleLabel; }
    QOVALabel *informationLable() const { return m_informationLable; }
    QOVALabel *sendingLabel() const { return m_sendingLabel; }
    QOVAProgressIndicator *indicator() const { return m_indicator; }

private:
    void setupUI();

    QOVALabel *m_titleLabel = nullptr;
    QOVALabel *m_informationLable = nullptr;
    QOVALabel *m_sendingLabel = nullptr;
    QOVAProgressIndicator *m_indicator = nullptr;
};
