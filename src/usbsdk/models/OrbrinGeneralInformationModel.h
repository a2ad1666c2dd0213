#pragma once
// General settings (general).

#include "QOVAModelField.h"

class OrbrinGeneralInformationModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(OrbrinGeneralInformationModel)

    QString device_name;
    QString country_region;
    QString ntp_server;
    QString ntp_mode;
    std::optional<QString> camera_vivid_mode;
    std::optional<QString> software_update_mode;
};

inline const QOVAModelFields &OrbrinGeneralInformationModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::text("device_name", &OrbrinGeneralInformationModel::device_name),
        QOVAField::text("country_region", &OrbrinGeneralInformationModel::country_region),
        QOVAField::text("ntp_server", &OrbrinGeneralInformationModel::ntp_server),
        QOVAField::text("ntp_mode", &OrbrinGeneralInformationModel::ntp_mode),
        QOVAField::text("camera_vivid_mode", &OrbrinGeneralInformationModel::camera_vivid_mode),
        QOVAField::text("software_update_mode", &OrbrinGeneralInformationModel::software_update_mode),
    };
    return table;
}
