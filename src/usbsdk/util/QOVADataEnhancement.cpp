#include "util/QOVADataEnhancement.h"

#include <cstdint>
#include <cstring>

namespace QOVADataEnhancement {

namespace {

inline bool in(unsigned char c, unsigned char lo, unsigned char hi) { return c >= lo && c <= hi; }

// Length of the well-formed multi-byte sequence starting at p (lead byte
// 0x80 or above), or 0.
size_t sequenceLength(const unsigned char *p, size_t left)
{
    const unsigned char c = p[0];
    auto follow = [&](size_t i, unsigned char lo, unsigned char hi) {
        return i < left && in(p[i], lo, hi);
    };
    if (in(c, 0xC2, 0xDF))
        return follow(1, 0x80, 0xBF) ? 2 : 0;
    if (c == 0xE0)
        return follow(1, 0xA0, 0xBF) && follow(2, 0x80, 0xBF) ? 3 : 0;
    if (in(c, 0xE1, 0xEC) || c == 0xEE || c == 0xEF)
        return follow(1, 0x80, 0xBF) && follow(2, 0x80, 0xBF) ? 3 : 0;
    if (c == 0xED)
        return follow(1, 0x80, 0x9F) && follow(2, 0x80, 0xBF) ? 3 : 0;
    if (c == 0xF0)
        return follow(1, 0x90, 0xBF) && follow(2, 0x80, 0xBF) && follow(3, 0x80, 0xBF) ? 4 : 0;
    if (in(c, 0xF1, 0xF3))
        return follow(1, 0x80, 0xBF) && follow(2, 0x80, 0xBF) && follow(3, 0x80, 0xBF) ? 4 : 0;
    if (c == 0xF4)
        return follow(1, 0x80, 0x8F) && follow(2, 0x80, 0xBF) && follow(3, 0x80, 0xBF) ? 4 : 0;
    return 0;
}

} // namespace

bool isValidUTF8(QByteArrayView data)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data.data());
    const size_t size = size_t(data.size());
    size_t i = 0;
    while (i < size) {
        // Plain ASCII eight bytes at a time.
        if (size - i >= 8) {
            uint64_t word;
            std::memcpy(&word, p + i, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                i += 8;
                continue;
            }
        }
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        const size_t n = sequenceLength(p + i, size - i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

QByteArray UTF8Data(QByteArrayView data)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data.data());
    const size_t size = size_t(data.size());
    QByteArray out;
    out.reserve(data.size());
    size_t i = 0;
    while (i < size) {
        const unsigned char c = p[i];
        size_t n = 0;
        if (c == 0x09 || c == 0x0A || c == 0x0D || in(c, 0x20, 0x7E))
            n = 1;
        else if (c >= 0x80)
            n = sequenceLength(p + i, size - i);
        if (n == 0) {
            out.append("\xEF\xBF\xBD", 3);
            ++i;
        } else {
            out.append(reinterpret_cast<const char *>(p + i), qsizetype(n));
            i += n;
        }
    }
    return out;
}

QString utf8String(QByteArrayView data)
{
    if (isValidUTF8(data))
        return QString::fromUtf8(data);
    return QString::fromUtf8(UTF8Data(data));
}

} // namespace QOVADataEnhancement
