#pragma once
// Declarative field tables of the payload models. Each model lists its fields
// once (JSON key, kind, whether it may be missing, the member it fills); one
// decoder (QOVAModelRegistry) reads every model through its table.
//
// Kinds are strict:
//   text        a JSON string
//   boolean     JSON true/false only
//   number      a JSON number, or a boolean held as 1/0
//   integer     a JSON number with a whole value in the member's range
//   model       a JSON object decoded as the nested model
//   model array a JSON array of objects, each decoded as the nested model
//   plain array a JSON array, elements kept as they come
//   any value   whatever arrives
// JSON null counts as missing: an optional field stays empty, a required one
// fails the decoding. Boolean and integer fields are always required.

#include "QOVAJSONModel.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QList>

#include <functional>
#include <optional>
#include <variant>
#include <vector>

enum class QOVAFieldKind { Text, Boolean, Number, Int64, Int32, Model, ModelArray, PlainArray, AnyValue };

// What the decoder hands a field once the JSON value has passed its kind.
using QOVAFieldValue = std::variant<QString, bool, double, qint64, QOVAModelRef,
                                    QList<QOVAModelRef>, QJsonArray, QJsonValue>;

struct QOVAModelField {
    const char *key;
    QOVAFieldKind kind;
    bool optional;
    QString nestedClass;   // model and model array fields
    std::function<void(QOVAJSONModel &, QOVAFieldValue &&)> set;
    // The field's value as JSON; undefined when an optional field is empty.
    std::function<QJsonValue(const QOVAJSONModel &)> get;
    // Text fields also name their member, so a decoder can fill it in place
    // (one of the two, by whether the field is optional).
    QString QOVAJSONModel::*textMember = nullptr;
    std::optional<QString> QOVAJSONModel::*optionalTextMember = nullptr;
};

using QOVAModelFields = std::vector<QOVAModelField>;

// The fields of a model as a JSON object (empty optional fields left out).
QJsonObject QOVAModelFieldsToJSON(const QOVAJSONModel &model, const QOVAModelFields &fields);

// Declares the class name, the JSON form and the field table of a model.
#define QOVA_JSON_MODEL(Class)                                                   \
public:                                                                          \
    static QString staticClassName() { return QStringLiteral(#Class); }          \
    QString className() const override { return staticClassName(); }            \
    QJsonObject toJSONObject() const override                                    \
    {                                                                            \
        return QOVAModelFieldsToJSON(*this, fields());                           \
    }                                                                            \
    static const QOVAModelFields &fields();

namespace QOVAField {

namespace detail {
template <class M, class T>
std::function<void(QOVAJSONModel &, QOVAFieldValue &&)> setter(T M::*member)
{
    return [member](QOVAJSONModel &model, QOVAFieldValue &&value) {
        static_cast<M &>(model).*member = std::move(std::get<T>(value));
    };
}
template <class M, class T>
std::function<void(QOVAJSONModel &, QOVAFieldValue &&)> optionalSetter(std::optional<T> M::*member)
{
    return [member](QOVAJSONModel &model, QOVAFieldValue &&value) {
        static_cast<M &>(model).*member = std::move(std::get<T>(value));
    };
}
template <class M, class T>
std::function<QJsonValue(const QOVAJSONModel &)> getter(T M::*member)
{
    return [member](const QOVAJSONModel &model) {
        return QJsonValue(static_cast<const M &>(model).*member);
    };
}
template <class M, class T>
std::function<QJsonValue(const QOVAJSONModel &)> optionalGetter(std::optional<T> M::*member)
{
    return [member](const QOVAJSONModel &model) {
        const auto &value = static_cast<const M &>(model).*member;
        return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Undefined);
    };
}
} // namespace detail

template <class M>
QOVAModelField text(const char *key, QString M::*member)
{
    return {key, QOVAFieldKind::Text, false, {}, detail::setter(member), detail::getter(member),
            static_cast<QString QOVAJSONModel::*>(member), nullptr};
}
template <class M>
QOVAModelField text(const char *key, std::optional<QString> M::*member)
{
    return {key, QOVAFieldKind::Text, true, {}, detail::optionalSetter(member),
            detail::optionalGetter(member), nullptr,
            static_cast<std::optional<QString> QOVAJSONModel::*>(member)};
}

template <class M>
QOVAModelField boolean(const char *key, bool M::*member)
{
    return {key, QOVAFieldKind::Boolean, false, {}, detail::setter(member), detail::getter(member)};
}

template <class M>
QOVAModelField number(const char *key, double M::*member)
{
    return {key, QOVAFieldKind::Number, false, {}, detail::setter(member), detail::getter(member)};
}
template <class M>
QOVAModelField number(const char *key, std::optional<double> M::*member)
{
    return {key, QOVAFieldKind::Number, true, {}, detail::optionalSetter(member),
            detail::optionalGetter(member)};
}

template <class M>
QOVAModelField integer(const char *key, qint64 M::*member)
{
    return {key, QOVAFieldKind::Int64, false, {}, detail::setter(member), detail::getter(member)};
}
template <class M>
QOVAModelField integer(const char *key, qint32 M::*member)
{
    return {key, QOVAFieldKind::Int32, false, {},
            [member](QOVAJSONModel &model, QOVAFieldValue &&value) {
                static_cast<M &>(model).*member = static_cast<qint32>(std::get<qint64>(value));
            },
            detail::getter(member)};
}

template <class M, class N>
QOVAModelField model(const char *key, std::shared_ptr<const N> M::*member, bool optional = false)
{
    return {key, QOVAFieldKind::Model, optional, N::staticClassName(),
            [member](QOVAJSONModel &model, QOVAFieldValue &&value) {
                static_cast<M &>(model).*member =
                    std::static_pointer_cast<const N>(std::get<QOVAModelRef>(value));
            },
            [member](const QOVAJSONModel &model) {
                const auto &nested = static_cast<const M &>(model).*member;
                return nested ? QJsonValue(nested->toJSONObject()) : QJsonValue(QJsonValue::Undefined);
            }};
}
template <class M, class N>
QOVAModelField optionalModel(const char *key, std::shared_ptr<const N> M::*member)
{
    return model(key, member, true);
}

template <class M, class N>
QOVAModelField models(const char *key, QList<std::shared_ptr<const N>> M::*member)
{
    return {key, QOVAFieldKind::ModelArray, false, N::staticClassName(),
            [member](QOVAJSONModel &model, QOVAFieldValue &&value) {
                QList<std::shared_ptr<const N>> list;
                for (const QOVAModelRef &element : std::get<QList<QOVAModelRef>>(value))
                    list.append(std::static_pointer_cast<const N>(element));
                static_cast<M &>(model).*member = std::move(list);
            },
            [member](const QOVAJSONModel &model) {
                QJsonArray array;
                for (const auto &element : static_cast<const M &>(model).*member)
                    array.append(element ? QJsonValue(element->toJSONObject()) : QJsonValue());
                return QJsonValue(array);
            }};
}

template <class M>
QOVAModelField array(const char *key, QJsonArray M::*member)
{
    return {key, QOVAFieldKind::PlainArray, false, {}, detail::setter(member), detail::getter(member)};
}

template <class M>
QOVAModelField any(const char *key, std::optional<QJsonValue> M::*member)
{
    return {key, QOVAFieldKind::AnyValue, true, {}, detail::optionalSetter(member),
            detail::optionalGetter(member)};
}

} // namespace QOVAField
