#include "QOVADate.h"

QString customizeToString(const QDateTime &date)
{
    return date.toLocalTime().toString(QStringLiteral("MM/dd/yyyy"));
}
