// The reply reader and the reply head parse over arbitrary device bytes: the
// input is the first reply frame followed by further reports, each cut at the
// size the reader asks for.
#include "StatusModel.h"
#include "hid/QOVAHIDReplyReader.h"
#include "util/QOVADataEnhancement.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QOVAHIDReplyReader reader;
    const size_t first = size < 257 ? size : 257;
    auto state = reader.begin(data, first);
    size_t pos = first;
    // Bound the work per input: a lying length asks for many reports.
    int reads = 0;
    while (state == QOVAHIDReplyReader::State::NeedReports && reads++ < 64) {
        const size_t left = size - pos;
        const size_t n = left < reader.reportSize() ? left : reader.reportSize();
        state = reader.apply(data + pos, n);
        pos += n;
    }
    if (state != QOVAHIDReplyReader::State::Complete)
        return 0;
    const QByteArray head = reader.head();
    QOVADataEnhancement::UTF8Data(head);
    if (QOVADataEnhancement::isValidUTF8(head)) {
        QString error;
        QOVAModelRegistry::modelFromJSONData(StatusModel::staticClassName(), head, &error);
    }
    if (reader.bodyLength() < (1u << 20))
        reader.body();
    return 0;
}
