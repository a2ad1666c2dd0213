#pragma once
// The status page of the network camera: the common facts of the status
// page plus the device's clock, network mode (an Ethernet link icon in place
// of the Wi-Fi icon when wired), power source and USB connection speed. The
// page shows neither the warning banner nor the diagnostic code.

#include "QOVAStatusBaseView.h"

class QOVAButton;

class QOVAVaskoStatusView : public QOVAStatusBaseView {
    Q_OBJECT
public:
    explicit QOVAVaskoStatusView(const QOVADeviceListItemRef &deviceModel, QWidget *parent = nullptr);

    void updateWithDeviceModel(const DeviceInfoModel &model) override;
    // Opens the power warning window (420 x 300).
    void showPowerWarning();

    static QString supportAddress();

    QOVALabel *deviceTimeTitleLabel() const { return m_deviceTimeTitleLabel; }
    QOVALabel *deviceTimeLabel() const { return m_deviceTimeLabel; }
    QOVALabel *networkModeTitleLabel() const { return m_networkModeTitleLabel; }
    QOVALabel *networkModeLabel() const { return m_networkModeLabel; }
    QOVALabel *powerStatusTitleLabel() const { return m_powerStatusTitleLabel; }
    QOVALabel *powerStatusLabel() const { return m_powerStatusLabel; }
    QOVALabel *usbConnectionTitleLabel() const { return m_usbConnectionTitleLabel; }
    QOVALabel *usbConnectionLabel() const { return m_usbConnectionLabel; }
    // The power tip button, made on first use (the page itself never uses it).
    QOVAButton *tipButton();

protected:
    void setupStatusView() override;

private:
    QOVALabel *m_deviceTimeTitleLabel = nullptr;
    QOVALabel *m_deviceTimeLabel = nullptr;
    QOVALabel *m_networkModeTitleLabel = nullptr;
    QOVALabel *m_networkModeLabel = nullptr;
    QOVALabel *m_powerStatusTitleLabel = nullptr;
    QOVALabel *m_powerStatusLabel = nullptr;
    QOVALabel *m_usbConnectionTitleLabel = nullptr;
    QOVALabel *m_usbConnectionLabel = nullptr;
    QOVAButton *m_tipButton = nullptr;
};
