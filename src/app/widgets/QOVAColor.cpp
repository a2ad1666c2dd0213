#include "QOVAColor.h"

#include <QtGlobal>

QColor colorWithString(const QString &text, double alpha)
{
    QString s = text.trimmed().toUpper();
    if (s.size() < 6)
        return QColor(Qt::transparent);
    if (s.startsWith(QLatin1String("0X")))
        s.remove(0, 2);
    if (s.startsWith(QLatin1Char('#')))
        s.remove(0, 1);
    if (s.size() != 6)
        return QColor(Qt::transparent);

    int channel[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        channel[i] = int(s.mid(i * 2, 2).toUInt(&ok, 16));
        if (!ok)
            return QColor(Qt::transparent);
    }
    QColor c;
    c.setRgbF(float(channel[0] / 255.0), float(channel[1] / 255.0), float(channel[2] / 255.0),
              float(qBound(0.0, alpha, 1.0)));
    return c;
}
