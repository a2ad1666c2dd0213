#pragma once

#include <QDateTime>
#include <QString>

// The date as "MM/dd/yyyy" in the user's time zone, e.g. 03/05/2024.
QString customizeToString(const QDateTime &date);
