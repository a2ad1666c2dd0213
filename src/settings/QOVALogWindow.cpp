#include "QOVALogWindow.h"

#include "QOVASettingsStyle.h"

#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVAProgressIndicator.h"

using namespace settingsstyle;

QOVALogWindow::QOVALogWindow(double width, double height)
    : QOVAPlainWindow(width, height, Mask::Dimming)
{
    setupLogWindowUI();
}

QOVALogWindow::QOVALogWindow(const QRectF &frame)
    : QOVAPlainWindow(frame, Mask::Dimming)
{
    setupLogWindowUI();
}

void QOVALogWindow::setupLogWindowUI()
{
    setObjectName(QStringLiteral("logWindow"));
    const QString black = QStringLiteral("000000");
    m_titleLabel = rowLabel(this, qtTrId("STRING_COLLECT_LOGS"), black, 13, QOVAFontBold);
    fitLabel(m_titleLabel, 262);
    m_titleLabel->resize(262, m_titleLabel->height());
    m_titleLabel->move(37, 20);
    m_informationLable = rowLabel(this, qtTrId("STRING_COLLECT_LOGS_TIPS"), black, 12, QOVAFontRegular);
    fitLabel(m_informationLable, 350);
    m_informationLable->resize(350, std::max(m_informationLable->height(), 31));
    m_informationLable->move(37, m_titleLabel->geometry().bottom() + 1 + 9);
    m_sendingLabel = rowLabel(this, qtTrId("STRING_SENDING_LOGS"), black, 12, QOVAFontRegular);
    fitLabel(m_sendingLabel);
    m_sendingLabel->resize(m_sendingLabel->width(), std::max(m_sendingLabel->height(), 17));
    m_sendingLabel->move(37, m_informationLable->geometry().bottom() + 1 + 2);
    m_indicator = new QOVAProgressIndicator(this);
    centreOn(m_indicator, m_sendingLabel, m_sendingLabel->geometry().right() + 1 + 5, 16, 16);
    m_indicator->show();
    m_indicator->startAnimation();
}

void QOVALogWindow::orderOut()
{
    m_indicator->stopAnimation();
    QOVAPlainWindow::orderOut();
}
