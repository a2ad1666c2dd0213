#pragma once
// Provisioning server settings, nested in the device facts and the provisioning reply.

#include "QOVAModelField.h"

class ProvisionModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(ProvisionModel)

    std::optional<QString> provision_server_url;
    std::optional<QString> provision_mode;
    std::optional<QString> provision_username;
    std::optional<QString> provision_server_type;
    std::optional<double> provision_dhcp_opt;
};

inline const QOVAModelFields &ProvisionModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::text("provision_server_url", &ProvisionModel::provision_server_url),
        QOVAField::text("provision_mode", &ProvisionModel::provision_mode),
        QOVAField::text("provision_username", &ProvisionModel::provision_username),
        QOVAField::text("provision_server_type", &ProvisionModel::provision_server_type),
        QOVAField::number("provision_dhcp_opt", &ProvisionModel::provision_dhcp_opt),
    };
    return table;
}
