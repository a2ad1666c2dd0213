#include "QOVAWifiSwitchButtonView.h"

#include "QOVAFont.h"

#include <QCheckBox>

QOVAWifiSwitchButtonView::QOVAWifiSwitchButtonView(QWidget *parent)
    : QWidget(parent)
{
    m_advancedButton = new QCheckBox(qtTrId("STRING_SHOW_ADVANCED_SETTINGS"), this);
    m_advancedButton->setFont(fontWithSFProDisplay(12, QOVAFontRegular));
    connect(m_advancedButton, &QCheckBox::clicked, this, [this] { shouldShowAdvancedSettings(); });
}

void QOVAWifiSwitchButtonView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_advancedButton->setGeometry(194, 0, qMax(0, width() - 194 - 22), kHeight);
}

void QOVAWifiSwitchButtonView::shouldShowAdvancedSettings()
{
    m_showAdvanced = m_advancedButton->isChecked();
    if (QOVAWifiSwitchButtonViewDelegate *delegate = m_delegate.get())
        delegate->wifiSwitchButtonView(this, m_showAdvanced);
}
