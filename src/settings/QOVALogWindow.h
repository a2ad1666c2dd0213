#pragma once
// The collecting window shown while the device's log or crash files are
// fetched: a heading, an explanation and "receiving" with a spinner. It has
// no control of its own and dims the page while it is up; the log page
// closes it when the fetch is over.

#include "QOVAPlainWindow.h"

class QOVALabel;
class QOVAProgressIndicator;

class QOVALogWindow : public QOVAPlainWindow {
    Q_OBJECT
public:
    QOVALogWindow(double width, double height);
    explicit QOVALogWindow(const QRectF &frame);

    QOVALabel *titleLabel() const { return m_titleLabel; }
    QOVALabel *informationLable() const { return m_informationLable; }
    QOVALabel *sendingLabel() const { return m_sendingLabel; }
    QOVAProgressIndicator *indicator() const { return m_indicator; }

    void orderOut() override;

private:
    void setupLogWindowUI();

    QOVALabel *m_titleLabel = nullptr;
    QOVALabel *m_informationLable = nullptr;
    QOVALabel *m_sendingLabel = nullptr;
    QOVAProgressIndicator *m_indicator = nullptr;
};
