#include "QOVASystemRestartView.h"

#include "QOVASettingsStyle.h"

#include "QOVAButton.h"
#include "QOVALabel.h"
#include "log/log.h"

#include <QtMath>

using namespace settingsstyle;

QOVASystemRestartView::QOVASystemRestartView(QWidget *parent)
    : QOVADisplayBaseView(parent)
{
    detailViewName()->setStringValue(qtTrId("STRING_SYSTEM_RESTART"));
    setupRestartSettingsUI();
}

void QOVASystemRestartView::setupRestartSettingsUI()
{
    m_systemRestartInfo = rowLabel(this, qtTrId("STRING_CLICK_TO_RESTART"), QStringLiteral("000000"));
    fitLabel(m_systemRestartInfo, 538);
    m_systemRestartInfo->move(36, underSplitLine(this, 24));
    m_restartButton = filledButton(this, qtTrId("STRING_RESTART"), QStringLiteral("0277bd"));
    m_restartButton->setGeometry(36, m_systemRestartInfo->geometry().bottom() + 1 + 24,
                                 pillWidth(m_restartButton, 88), 24);
    connect(m_restartButton, &QOVAButton::clicked, this, [this] { clickRestartButton(); });
}

void QOVASystemRestartView::clickRestartButton()
{
    QOVA_LOG(INFO, UI, "Restart system.");
    if (QOVASystemRestartDelegate *d = delegate())
        d->sendSystemRestart();
}
