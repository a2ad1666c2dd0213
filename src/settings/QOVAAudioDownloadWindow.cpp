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
    const QString black = QStringLiteral("000000");
    m_titleLabel = rowLabel(this, qtTrId("STRING_AUDIO_TEST"), black, 13, QOVAFontBold);
    fitLabel(m_titleLabel, 262);
    m_titleLabel->move(37, 20);
    m_informationLable = rowLabel(this, qtTrId("STRING_AUDIO_TEST_DOWNLOADING"), black, 12, QOVAFontRegular);
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
