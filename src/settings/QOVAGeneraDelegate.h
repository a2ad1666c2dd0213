#pragma once
// Owner of the general settings page (the device page controller): fetches
// the settings and saves what the page hands back, in the form of the
// device's family.

#include <QString>

class QOVAGeneraDelegate {
public:
    virtual ~QOVAGeneraDelegate() = default;
    // Fetch the settings and fill the page through its update operation.
    virtual void getGeneralInformation() = 0;
    // Save, video bar form (with the camera vivid mode).
    virtual void setGeneralInformationwitDeviceName(const QString &deviceName, const QString &countryRegion,
                                                    const QString &ntpMode, const QString &ntpServer,
                                                    bool cameraVividMode) = 0;
    // Save, network camera form.
    virtual void setGeneralInformationwitDeviceName(const QString &deviceName, const QString &countryRegion,
                                                    const QString &ntpMode, const QString &ntpServer) = 0;
};
