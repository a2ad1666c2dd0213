#pragma once
// The status page of the small USB camera, which speaks no request
// protocol: its name, firmware version and serial number as the device list
// knows them, its picture and a help link. It asks the device nothing and
// its texts are fixed once built.

#include "QOVADisplayBaseView.h"
#include "QOVADeviceListItem.h"

class QOVAImageView;
class QOVALabel;

class QOVAPirokStatusView : public QOVADisplayBaseView {
    Q_OBJECT
public:
    explicit QOVAPirokStatusView(const QOVADeviceListItemRef &deviceModel, QWidget *parent = nullptr);

    static QString supportAddress();

    QOVADeviceListItemRef deviceModel() const { return m_deviceModel; }
    QOVAImageView *deviceImage() const { return m_deviceImage; }
    QOVALabel *deviceNameTitleLabel() const { return m_deviceNameTitleLabel; }
    QOVALabel *deviceNameLabel() const { return m_deviceNameLabel; }
    QOVALabel *hardwareVersionTitleLabel() const { return m_hardwareVersionTitleLabel; }
    QOVALabel *hardwareVersionLabel() const { return m_hardwareVersionLabel; }
    QOVALabel *serialNumberTitleLabel() const { return m_serialNumberTitleLabel; }
    QOVALabel *serialNumberLabel() const { return m_serialNumberLabel; }
    QOVALabel *referenceTitleLabel() const { return m_referenceTitleLabel; }
    QOVALabel *referenceLabel() const { return m_referenceLabel; }

private:
    void setupPirokStatusView();
    QOVALabel *makeLabel(const QString &name, int fontType);

    QOVADeviceListItemRef m_deviceModel;
    QOVAImageView *m_deviceImage = nullptr;
    QOVALabel *m_deviceNameTitleLabel = nullptr;
    QOVALabel *m_deviceNameLabel = nullptr;
    QOVALabel *m_hardwareVersionTitleLabel = nullptr;
    QOVALabel *m_hardwareVersionLabel = nullptr;
    QOVALabel *m_serialNumberTitleLabel = nullptr;
    QOVALabel *m_serialNumberLabel = nullptr;
    QOVALabel *m_referenceTitleLabel = nullptr;
    QOVALabel *m_referenceLabel = nullptr;
};
