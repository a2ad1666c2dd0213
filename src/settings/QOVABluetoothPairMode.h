#pragma once
// Pairing of the remote control: one Start Pair button, usable only while
// the device's Bluetooth is on (asked afresh every time the page shows).

#include "QOVABloothAutoPairDelegate.h"
#include "QOVADisplayBaseView.h"
#include "QOVALabel.h"
#include "QOVAButton.h"

#include "menu/QOVAWeakDelegate.h"

#include <QPointer>


class QOVABluetoothPairMode : public QOVADisplayBaseView {
    Q_OBJECT
public:
    explicit QOVABluetoothPairMode(QWidget *parent = nullptr);

    void setAutoPairDelegate(QOVABloothAutoPairDelegate *delegate) { m_delegate.set(delegate); }
    QOVABloothAutoPairDelegate *autoPairDelegate() const { return m_delegate.get(); }

    void handleDisplayViewEvent() override;
    // Start Pair is usable exactly while Bluetooth is on.
    void updatePairMode(bool bluetoothOn);

    QOVALabel *pairModeLable() const { return m_pairModeLable; }
    QOVAButton *startPairButton() const { return m_startPairButton; }

    void pariMode();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QOVAWeakDelegate<QOVABloothAutoPairDelegate> m_delegate;
    QPointer<QOVALabel> m_pairModeLable;
    QPointer<QOVAButton> m_startPairButton;
};
