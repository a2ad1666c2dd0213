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
    const ReceivingViews views =
        addReceivingViews(this, qtTrId("STRING_COLLECT_LOGS"), qtTrId("STRING_COLLECT_LOGS_TIPS"));
    m_titleLabel = views.title;
    m_informationLable = views.information;
    m_sendingLabel = views.sending;
    m_indicator = views.indicator;
}

void QOVALogWindow::orderOut()
{
    m_indicator->stopAnimation();
    QOVAPlainWindow::orderOut();
}
