// The one decoder of the payload models, and the table of model types by
// class name.

#include "QOVAJSONModel.h"
#include "QOVAModelField.h"

#include "QOVAPayloadModels.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

struct ModelType {
    std::shared_ptr<QOVAJSONModel> (*make)();
    const QOVAModelFields &(*fields)();
    // For the shortcut reader, by field: the key with its length, and the
    // nested model's type (model fields only); and the fields by key length.
    std::vector<QLatin1String> keys;
    std::vector<const ModelType *> nested;
    std::vector<std::vector<uint8_t>> byLength;
};

template <class M>
std::pair<QString, ModelType> entry()
{
    ModelType type{[]() -> std::shared_ptr<QOVAJSONModel> { return std::make_shared<M>(); },
                   &M::fields, {}, {}, {}};
    for (const QOVAModelField &field : M::fields())
        type.keys.emplace_back(field.key);
    for (size_t i = 0; i < type.keys.size(); ++i) {
        const size_t length = size_t(type.keys[i].size());
        if (type.byLength.size() <= length)
            type.byLength.resize(length + 1);
        type.byLength[length].push_back(uint8_t(i));
    }
    return {M::staticClassName(), std::move(type)};
}

QHash<QString, ModelType> makeModelTypes();

const QHash<QString, ModelType> &modelTypes()
{
    static const QHash<QString, ModelType> types = makeModelTypes();
    return types;
}

QHash<QString, ModelType> makeModelTypes()
{
    QHash<QString, ModelType> types = {
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
    // The table is complete: its values stay where they are from now on.
    for (ModelType &type : types) {
        const QOVAModelFields &fields = type.fields();
        type.nested.assign(fields.size(), nullptr);
        for (size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].kind != QOVAFieldKind::Model)
                continue;
            const auto nested = types.constFind(fields[i].nestedClass);
            if (nested != types.cend())
                type.nested[i] = &*nested;
        }
    }
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

// Where a value sits in the decoded document ("DeviceInfoModel.provision_server_info",
// "X.list[2]"). Decoding only links these on the stack; the text is made
// when an error is reported.
struct FieldPath {
    const FieldPath *parent = nullptr;
    const QString *root = nullptr;  // the outermost class name
    const char *key = nullptr;      // a field of the parent
    qsizetype index = -1;           // an element of the parent array

    QString text() const
    {
        if (root)
            return *root;
        if (key)
            return parent->text() + QLatin1Char('.') + QLatin1String(key);
        return QStringLiteral("%1[%2]").arg(parent->text()).arg(index);
    }
};

const ModelType *findType(const QString &className)
{
    const auto type = modelTypes().constFind(className);
    return type == modelTypes().cend() ? nullptr : &*type;
}

QOVAModelRef decodeObject(const QString &className, const QJsonObject &object,
                          const FieldPath &path, QString *error);

bool decodeValue(const QOVAModelField &field, const QJsonValue &value, const FieldPath &path,
                 QOVAFieldValue *out, QString *error)
{
    auto wrongKind = [&]() {
        *error = QStringLiteral("%1: expected %2").arg(path.text(), QLatin1String(kindName(field.kind)));
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
            FieldPath elementPath;
            elementPath.parent = &path;
            elementPath.index = i;
            const QJsonValue element = array.at(i);
            if (!element.isObject()) {
                *error = QStringLiteral("%1: expected object").arg(elementPath.text());
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
                          const FieldPath &path, QString *error)
{
    const ModelType *type = findType(className);
    if (!type) {
        *error = QStringLiteral("%1: no model type %2").arg(path.text(), className);
        return nullptr;
    }
    std::shared_ptr<QOVAJSONModel> model = type->make();
    for (const QOVAModelField &field : type->fields()) {
        FieldPath fieldPath;
        fieldPath.parent = &path;
        fieldPath.key = field.key;
        const QJsonValue value = object.value(QLatin1String(field.key));
        if (value.isUndefined() || value.isNull()) {
            if (field.optional)
                continue;
            *error = QStringLiteral("%1: required field missing").arg(fieldPath.text());
            return nullptr;
        }
        QOVAFieldValue decoded;
        if (!decodeValue(field, value, fieldPath, &decoded, error))
            return nullptr;
        field.set(*model, std::move(decoded));
    }
    return model;
}

// A shortcut for the bodies devices send most: one object of plain values.
// It reads the text once, straight into the model, and declines (null) at
// the first thing it does not handle exactly as the general path
// (QJsonDocument, then decodeObject) does: escapes, text that is not
// printable ASCII, numbers other than whole ones of up to 18 digits, arrays
// in a field, a key given twice, deep nesting, or any error at all. Declined
// text goes through the general path, which gives the result or the error.
class PlainObjectReader {
public:
    PlainObjectReader(const char *begin, const char *end) : m_p(begin), m_end(end) {}

    QOVAModelRef document(const ModelType &type)
    {
        QOVAModelRef model = object(type, 0);
        skipSpace();
        return m_p == m_end ? model : nullptr;
    }

private:
    static constexpr int kMaxDepth = 32;

    void skipSpace()
    {
        while (m_p < m_end && (*m_p == ' ' || *m_p == '\t' || *m_p == '\n' || *m_p == '\r'))
            ++m_p;
    }

    static bool isNumberChar(char c)
    {
        return (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
    }

    // A string of printable ASCII without escapes; its text without quotes.
    bool plainString(QLatin1String *text)
    {
        if (m_p >= m_end || *m_p != '"')
            return false;
        const char *start = ++m_p;
#if defined(__SSE2__)
        // Sixteen bytes at a time up to the first one that is not printable
        // ASCII or is a quote or backslash; that byte decides below.
        const __m128i below = _mm_set1_epi8(0x20);  // signed: also every byte >= 0x80
        const __m128i del = _mm_set1_epi8(0x7F);
        const __m128i quote = _mm_set1_epi8('"');
        const __m128i backslash = _mm_set1_epi8('\\');
        while (m_end - m_p >= 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(m_p));
            const __m128i special =
                _mm_or_si128(_mm_or_si128(_mm_cmplt_epi8(v, below), _mm_cmpeq_epi8(v, del)),
                             _mm_or_si128(_mm_cmpeq_epi8(v, quote), _mm_cmpeq_epi8(v, backslash)));
            const int mask = _mm_movemask_epi8(special);
            if (mask != 0) {
                m_p += __builtin_ctz(unsigned(mask));
                break;
            }
            m_p += 16;
        }
#endif
        while (m_p < m_end) {
            const unsigned char c = static_cast<unsigned char>(*m_p);
            if (c == '"') {
                *text = QLatin1String(start, m_p - start);
                ++m_p;
                return true;
            }
            if (c < 0x20 || c > 0x7E || c == '\\')
                return false;
            ++m_p;
        }
        return false;
    }

    // 0, or a whole number of 1 to 18 digits without leading zero, optionally
    // negative.
    bool wholeNumber(qint64 *n)
    {
        const bool negative = m_p < m_end && *m_p == '-';
        if (negative)
            ++m_p;
        if (m_p < m_end && *m_p == '0' && !negative) {
            ++m_p;
            *n = 0;
            return !(m_p < m_end && isNumberChar(*m_p));
        }
        qint64 value = 0;
        int digits = 0;
        while (m_p < m_end && *m_p >= '0' && *m_p <= '9') {
            if (++digits > 18 || (digits == 1 && *m_p == '0'))
                return false;
            value = value * 10 + (*m_p - '0');
            ++m_p;
        }
        if (digits == 0 || (m_p < m_end && isNumberChar(*m_p)))
            return false;
        *n = negative ? -value : value;
        return true;
    }

    bool literal(const char *word, size_t length)
    {
        if (size_t(m_end - m_p) < length || std::memcmp(m_p, word, length) != 0)
            return false;
        m_p += length;
        return true;
    }

    // Any value of the same plain kinds, skipped (a key no field asks for).
    bool skipValue(int depth)
    {
        if (depth > kMaxDepth || m_p >= m_end)
            return false;
        QLatin1String text;
        qint64 n;
        switch (*m_p) {
        case '"':
            return plainString(&text);
        case 't':
            return literal("true", 4);
        case 'f':
            return literal("false", 5);
        case 'n':
            return literal("null", 4);
        case '{':
        case '[': {
            const char close = *m_p == '{' ? '}' : ']';
            const bool isObject = close == '}';
            ++m_p;
            skipSpace();
            if (m_p < m_end && *m_p == close) {
                ++m_p;
                return true;
            }
            for (;;) {
                skipSpace();
                if (isObject) {
                    if (!plainString(&text))
                        return false;
                    skipSpace();
                    if (m_p >= m_end || *m_p != ':')
                        return false;
                    ++m_p;
                    skipSpace();
                }
                if (!skipValue(depth + 1))
                    return false;
                skipSpace();
                if (m_p < m_end && *m_p == ',') {
                    ++m_p;
                    continue;
                }
                if (m_p < m_end && *m_p == close) {
                    ++m_p;
                    return true;
                }
                return false;
            }
        }
        default:
            return wholeNumber(&n);
        }
    }

    bool value(const QOVAModelField &field, const ModelType *nestedType, int depth,
               QOVAFieldValue *out)
    {
        QLatin1String text;
        qint64 n = 0;
        switch (field.kind) {
        case QOVAFieldKind::Text:
            if (!plainString(&text))
                return false;
            *out = QString::fromLatin1(text.data(), text.size());
            return true;
        case QOVAFieldKind::Boolean:
            if (literal("true", 4)) {
                *out = true;
                return true;
            }
            if (literal("false", 5)) {
                *out = false;
                return true;
            }
            return false;
        case QOVAFieldKind::Number:
            if (literal("true", 4)) {
                *out = 1.0;
                return true;
            }
            if (literal("false", 5)) {
                *out = 0.0;
                return true;
            }
            if (!wholeNumber(&n))
                return false;
            *out = double(n);
            return true;
        case QOVAFieldKind::Int64:
        case QOVAFieldKind::Int32:
            if (!wholeNumber(&n))
                return false;
            if (field.kind == QOVAFieldKind::Int32
                && (n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max()))
                return false;
            *out = n;
            return true;
        case QOVAFieldKind::Model: {
            const ModelType *nested = nestedType;
            if (!nested)
                return false;
            QOVAModelRef model = object(*nested, depth + 1);
            if (!model)
                return false;
            *out = std::move(model);
            return true;
        }
        case QOVAFieldKind::ModelArray:
        case QOVAFieldKind::PlainArray:
        case QOVAFieldKind::AnyValue:
            return false;
        }
        return false;
    }

    QOVAModelRef object(const ModelType &type, int depth)
    {
        const QOVAModelFields &fields = type.fields();
        if (depth > kMaxDepth || fields.size() > 64)
            return nullptr;
        skipSpace();
        if (m_p >= m_end || *m_p != '{')
            return nullptr;
        ++m_p;
        std::shared_ptr<QOVAJSONModel> model = type.make();
        uint64_t seen = 0;
        skipSpace();
        if (m_p < m_end && *m_p == '}') {
            ++m_p;
        } else {
            for (;;) {
                skipSpace();
                QLatin1String key;
                if (!plainString(&key))
                    return nullptr;
                skipSpace();
                if (m_p >= m_end || *m_p != ':')
                    return nullptr;
                ++m_p;
                skipSpace();
                // Only the fields whose key has this length are compared.
                size_t index = fields.size();
                if (size_t(key.size()) < type.byLength.size()) {
                    for (const uint8_t i : type.byLength[size_t(key.size())]) {
                        if (std::memcmp(type.keys[i].data(), key.data(), size_t(key.size())) == 0) {
                            index = i;
                            break;
                        }
                    }
                }
                if (index == fields.size()) {
                    if (!skipValue(depth + 1))
                        return nullptr;
                } else {
                    const uint64_t bit = uint64_t(1) << index;
                    if (seen & bit)
                        return nullptr;
                    seen |= bit;
                    const QOVAModelField &field = fields[index];
                    if (m_p < m_end && *m_p == 'n') {
                        // null: an optional field stays empty.
                        if (!field.optional || !literal("null", 4))
                            return nullptr;
                    } else if (field.kind == QOVAFieldKind::Text
                               && (field.textMember || field.optionalTextMember)) {
                        // Text goes straight into its member.
                        QLatin1String text;
                        if (!plainString(&text))
                            return nullptr;
                        QString decoded = QString::fromLatin1(text.data(), text.size());
                        if (field.textMember)
                            (*model).*field.textMember = std::move(decoded);
                        else
                            (*model).*field.optionalTextMember = std::move(decoded);
                    } else {
                        QOVAFieldValue decoded;
                        if (!value(field, type.nested[index], depth, &decoded))
                            return nullptr;
                        field.set(*model, std::move(decoded));
                    }
                }
                skipSpace();
                if (m_p < m_end && *m_p == ',') {
                    ++m_p;
                    continue;
                }
                if (m_p < m_end && *m_p == '}') {
                    ++m_p;
                    break;
                }
                return nullptr;
            }
        }
        for (size_t i = 0; i < fields.size(); ++i) {
            if (!fields[i].optional && !(seen & (uint64_t(1) << i)))
                return nullptr;
        }
        return model;
    }

    const char *m_p;
    const char *m_end;
};

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
    FieldPath root;
    root.root = &className;
    QOVAModelRef model = decodeObject(className, object, root, &message);
    if (!model && error)
        *error = QStringLiteral("Model decoding failed: %1").arg(message);
    return model;
}

QOVAModelRef modelFromJSONDataShortcut(const QString &className, const QByteArray &data)
{
    const ModelType *type = findType(className);
    if (!type)
        return nullptr;
    return PlainObjectReader(data.constData(), data.constData() + data.size()).document(*type);
}

QOVAModelRef modelFromJSONData(const QString &className, const QByteArray &data, QString *error)
{
    if (QOVAModelRef model = modelFromJSONDataShortcut(className, data))
        return model;
    return modelFromJSONDataGeneral(className, data, error);
}

QOVAModelRef modelFromJSONDataGeneral(const QString &className, const QByteArray &data, QString *error)
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
