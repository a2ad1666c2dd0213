#include "QOVAAudioDownloadWindow.h"

#include "QOVASettingsStyle.h"

#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVAProgressIndicator.h"

#include <QtMath>

using namespace settingsstyle;

QOVAAudioDownloadWindow::QOVAAudioDownloadWindow(double width, double height)
    : QOVAPlainWindow(width, height, Mask::Invisible)
{
    setupUI();
}

QOVAAudioDownloadWindow::QOVAAudioDownloadWindow(const QRectF &frame)
    : QOVAPlainWindow(frame, Mask::Invisible)
{
    setupUI();
}

void QOVAAudioDownloadWindow::setupUI()
{
    const ReceivingViews views =
        addReceivingViews(this, qtTrId("STRING_AUDIO_TEST"), qtTrId("STRING_AUDIO_TEST_DOWNLOADING"));
    m_titleLabel = views.title;
    m_informationLable = views.information;
    m_sendingLabel = views.sending;
    m_indicator = views.indicator;
}
