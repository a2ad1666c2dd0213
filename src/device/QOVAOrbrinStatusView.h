#pragma once
// The status page of the video bar: the common facts of the status page,
// the country or region, the family's picture and help link, and a section
// about the paired remote control (name, battery, software version, active
// or asleep), anchored to the bottom of the page.

#include "QOVAStatusBaseView.h"

class QOVAStatusDotView;

class QOVAOrbrinStatusView : public QOVAStatusBaseView {
    Q_OBJECT
public:
    explicit QOVAOrbrinStatusView(const QOVADeviceListItemRef &deviceModel, QWidget *parent = nullptr);

    void updateWithDeviceModel(const DeviceInfoModel &model) override;
    // Shows or hides the twelve widgets of the remote-control section.
    void showRemoteControl(bool show);

    // The battery image for a battery text.
    static QString batteryImageForStatus(const QString &battery);
    static QString supportAddress();

    QOVALabel *countryTitleLabel() const { return m_countryTitleLabel; }
    QOVALabel *countryLabel() const { return m_countryLabel; }
    QOVALabel *rcNameBigLabel() const { return m_rcNameBigLabel; }
    QOVALabel *batteryLabel() const { return m_batteryLabel; }
    QOVAImageView *deviceBatteryIcon() const { return m_deviceBatteryIcon; }
    QWidget *splitLine2() const { return m_splitLine2; }
    QOVAImageView *rcImage() const { return m_rcImage; }
    QOVALabel *remoteControlNameTitleLabel() const { return m_remoteControlNameTitleLabel; }
    QOVALabel *remoteControlNameLabel() const { return m_remoteControlNameLabel; }
    QOVALabel *rcHardwareVersionTitleLabel() const { return m_rcHardwareVersionTitleLabel; }
    QOVALabel *rcHardwareVersionLabel() const { return m_rcHardwareVersionLabel; }
    QOVALabel *remoteControlStatusTitleLabel() const { return m_remoteControlStatusTitleLabel; }
    QOVAStatusDotView *remoteControlStatusIcon() const { return m_remoteControlStatusIcon; }
    QOVALabel *remoteControlLabel() const { return m_remoteControlLabel; }

protected:
    void setupStatusView() override;

private:
    void placeBattery();

    QOVALabel *m_countryTitleLabel = nullptr;
    QOVALabel *m_countryLabel = nullptr;
    QOVALabel *m_rcNameBigLabel = nullptr;
    QOVALabel *m_batteryLabel = nullptr;
    QOVAImageView *m_deviceBatteryIcon = nullptr;
    QWidget *m_splitLine2 = nullptr;
    QOVAImageView *m_rcImage = nullptr;
    QOVALabel *m_remoteControlNameTitleLabel = nullptr;
    QOVALabel *m_remoteControlNameLabel = nullptr;
    QOVALabel *m_rcHardwareVersionTitleLabel = nullptr;
    QOVALabel *m_rcHardwareVersionLabel = nullptr;
    QOVALabel *m_remoteControlStatusTitleLabel = nullptr;
    QOVAStatusDotView *m_remoteControlStatusIcon = nullptr;
    QOVALabel *m_remoteControlLabel = nullptr;
};
