#pragma once
// Which rows each side menu list holds and how tall it is when open, by
// device family and firmware version. The rows and the heights are two
// separate tables: a version may take its height from one line of the height
// table and its rows from another line of the row table (an Orbrin bar on
// "1.5" gets the 396-pt box of "any other version" with the 10 rows of "any
// other version", leaving one row's space empty above the first row).
//
// Versions are compared as exact texts; no version text at all matches only
// the "any other version" lines.

#include <QString>
#include <QStringList>

namespace QOVATabMenuTable {

enum class Family { Orbrin, Vasko };
enum class List { UserSettings, Admin, Diagnostics };

// Localisation keys of the list's rows, top to bottom.
QStringList rowKeys(Family family, List list, const QString &version);
// Height of the open list in points (its width is always 210).
double openHeight(Family family, List list, const QString &version);

} // namespace QOVATabMenuTable
