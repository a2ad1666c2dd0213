#pragma once
// Bluetooth settings: Bluetooth on/off, automatic connection and the remote
// control's connection. Every change sends all three flags at once. Turning
// Bluetooth on or off shows a spinner in place of the switch for 2 seconds;
// the dependent controls are greyed at once when it goes off and usable only
// after the spinner when it comes on.

#include "QOVABloothDelegate.h"
#include "ITSwitch.h"
#include "QOVADisplayBaseView.h"
#include "QOVAProgressIndicator.h"
#include "QOVALabel.h"

#include "menu/QOVAWeakDelegate.h"

#include <QCheckBox>
#include <QPointer>
#include <memory>

class BloothModel;
class ITSwitch;
class QCheckBox;

class QOVABLEFeatureView : public QOVADisplayBaseView {
    Q_OBJECT
public:
    explicit QOVABLEFeatureView(QWidget *parent = nullptr);

    void setDelegate(QOVABloothDelegate *delegate) { m_delegate.set(delegate); }
    QOVABloothDelegate *delegate() const { return m_delegate.get(); }

    void handleDisplayViewEvent() override;
    // A pending spinner ends at once when the page goes away.
    void cancelDisplayViewEvent() override;
    // Fills the page from the device's settings; sends nothing.
    void bloothInformationStatus(const std::shared_ptr<const BloothModel> &model);

    QOVALabel *bluetoothStatus() const { return m_bluetoothStatus; }
    ITSwitch *bluetoothSwitch() const { return m_bluetoothSwitch; }
    QOVAProgressIndicator *indicator() const { return m_indicator; }
    QOVALabel *statusLabel() const { return m_statusLabel; }
    QCheckBox *checkButton() const { return m_checkButton; }
    ITSwitch *bleSwitch() const { return m_bleSwitch; }
    QOVALabel *remoteControStatusLabel() const { return m_remoteControStatusLabel; }

    // User actions.
    void clickBluetoothEnable();
    void clickBleEnable();
    void checkButtonEnable();

private:
    void putBloothInfoToDevice();
    void setDependentsEnabled(bool enabled);
    void restoreAfterSpinner();
    void setStatusText(QOVALabel *label, ITSwitch *sw, bool on);

    QOVAWeakDelegate<QOVABloothDelegate> m_delegate;
    QPointer<QOVALabel> m_bluetoothStatus;
    QPointer<ITSwitch> m_bluetoothSwitch;
    QPointer<QOVAProgressIndicator> m_indicator;
    QPointer<QOVALabel> m_statusLabel;
    QPointer<QCheckBox> m_checkButton;
    QPointer<QOVALabel> m_bleDetailViewName;
    QPointer<QWidget> m_splitBleLine;
    QPointer<QOVALabel> m_tipsLabel;
    QPointer<QOVALabel> m_bleStatus;
    QPointer<ITSwitch> m_bleSwitch;
    QPointer<QOVALabel> m_remoteControStatusLabel;
    int m_pendingRestores = 0;
    quint64 m_restoreGeneration = 0;
};
