#pragma once
// Tolerant UTF-8 decoding of bytes from a device.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace QOVADataEnhancement {

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or
// code points above U+10FFFF).
bool isValidUTF8(QByteArrayView data);

// The bytes decoded as UTF-8; bytes that are not valid UTF-8 are first
// repaired with UTF8Data().
QString utf8String(QByteArrayView data);

// A copy that is well-formed UTF-8: every byte that does not start a valid
// sequence (and every control character other than tab, line feed and
// carriage return) becomes the replacement character U+FFFD (EF BF BD), and the
// walk moves on by that one byte.
QByteArray UTF8Data(QByteArrayView data);

} // namespace QOVADataEnhancement
