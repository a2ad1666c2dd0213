#include "QOVAFirmwareViewController.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

QOVAFirmwareViewController::QOVAFirmwareViewController(QObject *parent)
    : QOVABaseViewController(parent)
{
}

void QOVAFirmwareViewController::viewDidLoad()
{
    QOVABaseViewController::viewDidLoad();
    m_list = new QWidget(view());
    m_list->setGeometry(64, 88, 692, 440);
    redraw();
}

void QOVAFirmwareViewController::initData()
{
    ++m_initDataCount;
}

void QOVAFirmwareViewController::addObjectWithUserInfo(const QVariantMap &userInfo)
{
    const QString serial = userInfo.value(QStringLiteral("productSeriaNumber")).toString();
    Row row{serial,
            userInfo.value(QStringLiteral("productDeviceName")).toString(),
            userInfo.value(QStringLiteral("productVersion")).toString()};
    if (row.name.isEmpty())
        row.name = userInfo.value(QStringLiteral("productName")).toString();
    for (Row &existing : m_rows) {
        if (existing.serialNumber == serial) {
            existing = row;
            redraw();
            return;
        }
    }
    m_rows.append(row);
    redraw();
}

void QOVAFirmwareViewController::removeObjectWithUserInfo(const QVariantMap &userInfo)
{
    const QString serial = userInfo.value(QStringLiteral("productSeriaNumber")).toString();
    m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(),
                                [&](const Row &r) { return r.serialNumber == serial; }),
                 m_rows.end());
    redraw();
}

void QOVAFirmwareViewController::updateFirmwareViewController(const QString &name, const QString &serialNumber)
{
    for (Row &row : m_rows) {
        if (row.serialNumber == serialNumber)
            row.name = name;
    }
    redraw();
}

void QOVAFirmwareViewController::redraw()
{
    if (!m_list)
        return;
    qDeleteAll(m_list->findChildren<QOVALabel *>(Qt::FindDirectChildrenOnly));
    int y = 0;
    for (const Row &row : m_rows) {
        auto *label = new QOVALabel(m_list);
        label->setFont(fontWithSFProDisplay(14, QOVAFontRegular));
        label->setTextColor(colorWithString(QStringLiteral("2e2e2e"), 1.0));
        label->setStringValue(QStringLiteral("%1    %2    %3").arg(row.name, row.serialNumber, row.version));
        label->setGeometry(0, y, m_list->width(), 24);
        label->show();
        y += 32;
    }
}
