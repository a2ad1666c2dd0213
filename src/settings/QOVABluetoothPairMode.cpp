#include "QOVABluetoothPairMode.h"

#include "QOVASettingsStyle.h"

#include "QOVAButton.h"
#include "QOVALabel.h"

#include <QtMath>

using namespace settingsstyle;

QOVABluetoothPairMode::QOVABluetoothPairMode(QWidget *parent)
    : QOVADisplayBaseView(parent)
{
    detailViewName()->setStringValue(qtTrId("STRING_BLUETOOTH_PAIR_MODE"));
    m_pairModeLable = rowLabel(this, qtTrId("STRING_BLUETOOTH_PAIR_TIPS"));
    fitLabel(m_pairModeLable);
    if (m_pairModeLable->width() > 538)
        fitLabel(m_pairModeLable, 538);
    m_pairModeLable->move(36, underSplitLine(this, 24));
    m_startPairButton = accentButton(this, qtTrId("STRING_START_PAIR"));
    m_startPairButton->setGeometry(36, m_pairModeLable->geometry().bottom() + 1 + 24,
                                   pillWidth(m_startPairButton, 106), 24);
    connect(m_startPairButton, &QOVAButton::clicked, this, [this] { pariMode(); });
}

void QOVABluetoothPairMode::paintEvent(QPaintEvent *event)
{
    // The pairing page paints nothing of its own; the device page behind it
    // shows through.
    QWidget::paintEvent(event);
}

void QOVABluetoothPairMode::handleDisplayViewEvent()
{
    if (QOVABloothAutoPairDelegate *d = m_delegate.get())
        d->bluetoothEnabled();
}

void QOVABluetoothPairMode::updatePairMode(bool bluetoothOn)
{
    m_startPairButton->setDisabled(!bluetoothOn);
}

void QOVABluetoothPairMode::pariMode()
{
    if (QOVABloothAutoPairDelegate *d = m_delegate.get())
        d->bluetoothAutoPair();
}
