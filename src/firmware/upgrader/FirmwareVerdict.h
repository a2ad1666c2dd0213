#pragma once
// How a flash ended, judged by the version the device reports once it is
// back in run mode. Plain functions, callable from any thread.

#include <QString>

namespace upgrader {

enum class FirmwareVerdict {
    Installed,     // the device runs the new firmware
    NotInstalled,  // it came back with the version it ran before
    NotConfirmed,  // nothing the device reports tells either way
};

// The family numbering the version rule of firmware_version_is_newer uses
// for a product id in either mode (2 video bar, 4 network camera, 1 other).
qint64 firmwareFamilyType(const QString &productId);

// The verdict on a device back in run mode.
//   reported:    the version it reports now (empty when it could not be read);
//   package:     the version the flashed file installs, when the caller knows it;
//   before:      the version it ran before the flash (empty for a device that
//                was in DFU mode, which reports none);
//   manifested:  the device itself said that manifestation went well.
// With the package's version: a reported version not older than it, by the
// family's rule, is Installed; one equal to the version before is
// NotInstalled; anything else (none, unreadable, older but not the old one)
// is NotConfirmed. Without it: a device that said manifestation went well,
// or that was in DFU mode and now runs firmware, or that reports another
// version than before, is Installed; one that reports nothing readable or
// the version it ran before without having said anything is NotConfirmed
// (a file of the very version it ran may have been flashed again).
FirmwareVerdict judgeFirmware(const QString &reported, const QString &package, const QString &before,
                              qint64 familyType, bool manifested);

} // namespace upgrader
