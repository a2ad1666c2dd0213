#pragma once
// Reply of provision_server.

#include "QOVAModelField.h"
#include "ProvisionModel.h"

class ProvisionServerInfoModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(ProvisionServerInfoModel)

    std::shared_ptr<const ProvisionModel> provision_server_info;
};

inline const QOVAModelFields &ProvisionServerInfoModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::model("provision_server_info", &ProvisionServerInfoModel::provision_server_info),
    };
    return table;
}
