#pragma once
// Base of every payload model decoded from a device's JSON reply, and the
// lookup of a model type by its class name.
//
// A model keeps its values in public members named exactly as the JSON keys
// ("status_code", "main_ip_address"); a boolean that has an accessor name of
// its own is also read through it (isEnable()). Models reach their readers as
// shared pointers to const, so only decoding (and test code that builds a
// model by hand) writes them.

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <memory>

class QOVAJSONModel {
public:
    virtual ~QOVAJSONModel() = default;
    // The model's class name, as requests name it ("DeviceInfoModel").
    virtual QString className() const = 0;
    // The model's fields as a JSON object (for log lines). Empty optional
    // fields are left out.
    virtual QJsonObject toJSONObject() const = 0;
};

using QOVAModelRef = std::shared_ptr<const QOVAJSONModel>;

namespace QOVAModelRegistry {

// True when a model type of that class name exists.
bool contains(const QString &className);

// Every model class name, sorted.
QStringList classNames();

// Decodes data (a JSON object) into the model of that class. On failure
// returns null and, when error is given, stores a description there.
QOVAModelRef modelFromJSONData(const QString &className, const QByteArray &data,
                               QString *error = nullptr);

// The two ways modelFromJSONData decodes, apart (for tests that compare
// them). The shortcut reads one object of plain values straight into the
// model and returns null for anything it leaves to the general path; the
// general path parses with QJsonDocument and gives the result or the error.
QOVAModelRef modelFromJSONDataShortcut(const QString &className, const QByteArray &data);
QOVAModelRef modelFromJSONDataGeneral(const QString &className, const QByteArray &data,
                                      QString *error = nullptr);

// The same for a JSON object already parsed.
QOVAModelRef modelFromJSONObject(const QString &className, const QJsonObject &object,
                                 QString *error = nullptr);

} // namespace QOVAModelRegistry

// Typed access: returns the model when it is of type T, else null.
template <typename T>
std::shared_ptr<const T> qova_model_cast(const QOVAModelRef &model)
{
    return std::dynamic_pointer_cast<const T>(model);
}
