#pragma once
// Whether an update server's version is newer than the one a device runs,
// by the family's numbering:
//   - video bar (type 2): dotted versions, only the last parts count;
//   - network camera (type 4): versions like "1.3-12", only the parts after
//     the last "-" count;
//   - every other type (the small camera, the remote control): dotted
//     versions part by part from the left, a missing part counting as 0.
// A part's value is its leading decimal digits (0 when there are none),
// saturating instead of wrapping. An empty version is never older or newer.

#include <QString>

bool firmware_version_is_newer(const QString &current, const QString &available, qint64 type);
