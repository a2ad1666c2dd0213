#include "QOVDeviceRestartWindow.h"

#include "QOVASettingsStyle.h"

#include "QOVAButton.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "log/log.h"

#include <QtMath>

using namespace settingsstyle;

QOVDeviceRestartWindow::QOVDeviceRestartWindow(double width, double height)
    : QOVAPlainWindow(width, height, Mask::Dimming)
{
    setupRestartDeviceWindowUI();
}

void QOVDeviceRestartWindow::setupRestartDeviceWindowUI()
{
    const QString black = QStringLiteral("000000");
    m_titleLabel = rowLabel(this, qtTrId("STRING_SYSTEM_RESTART"), black, 13, QOVAFontBold);
    fitLabel(m_titleLabel);
    m_titleLabel->move(36, 17);
    m_tipLabel = rowLabel(this, qtTrId("STRING_RESTART_DEVICE_DESCRIPTION"), black, 12, QOVAFontRegular);
    fitLabel(m_tipLabel, 348);
    m_tipLabel->move(36, m_titleLabel->geometry().bottom() + 1 + 9);

    auto makeButton = [this](const char *key) {
        auto *button = new QOVAButton(this);
        button->setTextFont(fontWithSFProDisplay(13, QOVAFontRegular));
        button->setTextString(qtTrId(key));
        roundCorners(button, 3);
        setButtonEnabled(button, true);
        button->show();
        return button;
    };
    m_restartNow = makeButton("STRING_RESTART_NOW");
    m_restartLater = makeButton("STRING_RESTART_LATER");
    connect(m_restartNow, &QOVAButton::clicked, this, [this] { clickRestartNow(); });
    connect(m_restartLater, &QOVAButton::clicked, this, [this] { clickRestartLater(); });
    layoutButtons();
}

void QOVDeviceRestartWindow::layoutButtons()
{
    if (!m_restartNow)
        return;
    const int nowWidth = qCeil(std::max(m_restartNow->textLength(), 67.0));
    const int laterWidth = qCeil(std::max(m_restartLater->textLength(), 67.0));
    m_restartNow->setGeometry(46, height() - 18 - 20, nowWidth, 20);
    m_restartLater->setGeometry(width() - 46 - laterWidth, height() - 18 - 20, laterWidth, 20);
}

void QOVDeviceRestartWindow::resizeEvent(QResizeEvent *event)
{
    QOVAPlainWindow::resizeEvent(event);
    layoutButtons();
}

void QOVDeviceRestartWindow::clickRestartNow()
{
    if (QOVADeviceRestartWindowDelegate *d = m_delegate.get())
        d->restartDeviceMiscellaneous();
    orderOut();
}

void QOVDeviceRestartWindow::clickRestartLater()
{
    QOVA_LOG(INFO, UI, "Restart Device.");
    orderOut();
}
