// Feeds arbitrary bytes to the payload model decoder. The first byte picks
// the model class, the rest is the reply body. A decoded model must decode
// again from its own JSON form to the same values.

#include "QOVAJSONModel.h"

#include <QJsonDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QStringList names = QOVAModelRegistry::classNames();
    if (size < 1 || names.isEmpty())
        return 0;
    const QString &className = names.at(data[0] % names.size());
    const QByteArray body(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));

    QString error;
    QOVAModelRef model = QOVAModelRegistry::modelFromJSONData(className, body, &error);
    if (!model) {
        if (error.isEmpty())
            std::abort();   // every failure is described
        return 0;
    }
    const QJsonObject once = model->toJSONObject();
    QOVAModelRef again = QOVAModelRegistry::modelFromJSONObject(className, once, &error);
    if (!again || again->toJSONObject() != once)
        std::abort();
    return 0;
}
