// The one decoder of the payload models, and the table of model types by
// class name.

#include "QOVAJSONModel.h"
#include "QOVAModelField.h"

#include "QOVAPayloadModels.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>
#include <limits>

namespace {

struct ModelType {
    std::shared_ptr<QOVAJSONModel> (*make)();
    const QOVAModelFields &(*fields)();
};

template <class M>
std::pair<QString, ModelType> entry()
{
    return {M::staticClassName(),
            ModelType{[]() -> std::shared_ptr<QOVAJSONModel> { return std::make_shared<M>(); },
                      &M::fields}};
}

const QHash<QString, ModelType> &modelTypes()
{
    static const QHash<QString, ModelType> types = {
        entry<StatusModel>(),
        entry<DeviceInfoModel>(),
        entry<ProvisionModel>(),
        entry<ProvisionServerInfoModel>(),
        entry<OrbrinGeneralInformationModel>(),
        entry<BloothModel>(),
        entry<WiFiStatusModel>(),
        entry<WifiConnectionInfoModel>(),
        entry<MWiFissid>(),
        entry<Octets>(),
        entry<WifiInfoModel>(),
        entry<SSIDInfoModel>(),
        entry<SavedSSIDInfoModel>(),
        entry<NetworkInfoModel>(),
        entry<IPV4SettingModel>(),
        entry<Ethernet802_1_xModel>(),
        entry<VaskoWiFiInfoModel>(),
        entry<AudioSettingModel>(),
        entry<AudioSettingOrbrinModel>(),
        entry<VaskoAudioSettingModel>(),
        entry<MiscellaneousModel>(),
        entry<AutoTrackingModel>(),
        entry<CameraExtensionFeatureModel>(),
        entry<TrackingFrameModel>(),
        entry<SmoothTrackingModel>(),
        entry<OSDModel>(),
        entry<ConversationModeModel>(),
        entry<LectureModeModel>(),
        entry<PasswordEnableModel>(),
        entry<SimplePasswordModel>(),
        entry<CertInfo>(),
        entry<CertInfoModel>(),
        entry<DetailInfo>(),
        entry<ValidateCertificateModel>(),
        entry<OOBModel>(),
        entry<CancelModel>(),
    };
    return types;
}

const char *kindName(QOVAFieldKind kind)
{
    switch (kind) {
    case QOVAFieldKind::Text: return "text";
    case QOVAFieldKind::Boolean: return "boolean";
    case QOVAFieldKind::Number: return "number";
    case QOVAFieldKind::Int64: return "integer";
    case QOVAFieldKind::Int32: return "32-bit integer";
    case QOVAFieldKind::Model: return "object";
    case QOVAFieldKind::ModelArray: return "array of objects";
    case QOVAFieldKind::PlainArray: return "array";
    case QOVAFieldKind::AnyValue: return "value";
    }
    return "value";
}

// A whole JSON number within [low, high].
std::optional<qint64> wholeNumber(const QJsonValue &value, qint64 low, qint64 high)
{
    if (!value.isDouble())
        return std::nullopt;
    const double d = value.toDouble();
    if (!std::isfinite(d) || std::trunc(d) != d)
        return std::nullopt;
    // toInteger keeps the exact value of integers beyond 2^53 that arrived
    // as integers; a double outside qint64 gives the fallback.
    constexpr qint64 kNone = std::numeric_limits<qint64>::min();
    qint64 n = value.toInteger(kNone);
    if (n == kNone) {
        if (d != static_cast<double>(kNone))
            return std::nullopt;
    }
    if (n < low || n > high)
        return std::nullopt;
    return n;
}

QOVAModelRef decodeObject(const QString &className, const QJsonObject &object,
                          const QString &path, QString *error);

bool decodeValue(const QOVAModelField &field, const QJsonValue &value, const QString &path,
                 QOVAFieldValue *out, QString *error)
{
    auto wrongKind = [&]() {
        *error = QStringLiteral("%1: expected %2").arg(path, QLatin1String(kindName(field.kind)));
        return false;
    };
    switch (field.kind) {
    case QOVAFieldKind::Text:
        if (!value.isString())
            return wrongKind();
        *out = value.toString();
        return true;
    case QOVAFieldKind::Boolean:
        if (!value.isBool())
            return wrongKind();
        *out = value.toBool();
        return true;
    case QOVAFieldKind::Number:
        if (value.isBool())
            *out = value.toBool() ? 1.0 : 0.0;
        else if (value.isDouble())
            *out = value.toDouble();
        else
            return wrongKind();
        return true;
    case QOVAFieldKind::Int64:
    case QOVAFieldKind::Int32: {
        const bool narrow = field.kind == QOVAFieldKind::Int32;
        auto n = wholeNumber(value,
                             narrow ? std::numeric_limits<qint32>::min() : std::numeric_limits<qint64>::min(),
                             narrow ? std::numeric_limits<qint32>::max() : std::numeric_limits<qint64>::max());
        if (!n)
            return wrongKind();
        *out = *n;
        return true;
    }
    case QOVAFieldKind::Model: {
        if (!value.isObject())
            return wrongKind();
        QOVAModelRef nested = decodeObject(field.nestedClass, value.toObject(), path, error);
        if (!nested)
            return false;
        *out = std::move(nested);
        return true;
    }
    case QOVAFieldKind::ModelArray: {
        if (!value.isArray())
            return wrongKind();
        const QJsonArray array = value.toArray();
        QList<QOVAModelRef> list;
        list.reserve(array.size());
        for (qsizetype i = 0; i < array.size(); ++i) {
            const QString elementPath = QStringLiteral("%1[%2]").arg(path).arg(i);
            const QJsonValue element = array.at(i);
            if (!element.isObject()) {
                *error = QStringLiteral("%1: expected object").arg(elementPath);
                return false;
            }
            QOVAModelRef nested = decodeObject(field.nestedClass, element.toObject(), elementPath, error);
            if (!nested)
                return false;
            list.append(std::move(nested));
        }
        *out = std::move(list);
        return true;
    }
    case QOVAFieldKind::PlainArray:
        if (!value.isArray())
            return wrongKind();
        *out = value.toArray();
        return true;
    case QOVAFieldKind::AnyValue:
        *out = value;
        return true;
    }
    return wrongKind();
}

QOVAModelRef decodeObject(const QString &className, const QJsonObject &object,
                          const QString &path, QString *error)
{
    const auto type = modelTypes().constFind(className);
    if (type == modelTypes().cend()) {
        *error = QStringLiteral("%1: no model type %2").arg(path, className);
        return nullptr;
    }
    std::shared_ptr<QOVAJSONModel> model = type->make();
    for (const QOVAModelField &field : type->fields()) {
        const QString fieldPath = path + QLatin1Char('.') + QLatin1String(field.key);
        const QJsonValue value = object.value(QLatin1String(field.key));
        if (value.isUndefined() || value.isNull()) {
            if (field.optional)
                continue;
            *error = QStringLiteral("%1: required field missing").arg(fieldPath);
            return nullptr;
        }
        QOVAFieldValue decoded;
        if (!decodeValue(field, value, fieldPath, &decoded, error))
            return nullptr;
        field.set(*model, std::move(decoded));
    }
    return model;
}

} // namespace

QJsonObject QOVAModelFieldsToJSON(const QOVAJSONModel &model, const QOVAModelFields &fields)
{
    QJsonObject object;
    for (const QOVAModelField &field : fields) {
        QJsonValue value = field.get(model);
        if (!value.isUndefined())
            object.insert(QLatin1String(field.key), value);
    }
    return object;
}

namespace QOVAModelRegistry {

bool contains(const QString &className)
{
    return modelTypes().contains(className);
}

QStringList classNames()
{
    QStringList names = modelTypes().keys();
    names.sort();
    return names;
}

QOVAModelRef modelFromJSONObject(const QString &className, const QJsonObject &object, QString *error)
{
    QString message;
    QOVAModelRef model = decodeObject(className, object, className, &message);
    if (!model && error)
        *error = QStringLiteral("Model decoding failed: %1").arg(message);
    return model;
}

QOVAModelRef modelFromJSONData(const QString &className, const QByteArray &data, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(data, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        if (error)
            *error = QStringLiteral("Model decoding failed: %1: %2 at offset %3")
                         .arg(className, parseError.errorString())
                         .arg(parseError.offset);
        return nullptr;
    }
    if (!document.isObject()) {
        if (error)
            *error = QStringLiteral("Model decoding failed: %1: body is not a JSON object").arg(className);
        return nullptr;
    }
    return modelFromJSONObject(className, document.object(), error);
}

} // namespace QOVAModelRegistry
