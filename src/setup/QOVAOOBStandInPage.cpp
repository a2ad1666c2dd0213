#include "QOVAOOBStandInPage.h"

#include "QOVADeviceListItem.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <QWidget>

void qovaBuildOOBStandInPage(QWidget *page, const QOVADeviceListItem *item)
{
    auto *image = new QOVAImageView(page);
    image->setObjectName(QStringLiteral("oobDeviceImage"));
    image->setImageName(item && item->isVasko() ? QStringLiteral("Vasko_Large") : QStringLiteral("Orbrin_Large"));
    image->setGeometry((820 - 320) / 2, 96, 320, 244);
    auto *name = new QOVALabel(page);
    name->setObjectName(QStringLiteral("oobDeviceName"));
    name->setAlignment(QOVALabel::AlignCenter);
    name->setFont(fontWithSFProDisplay(20, QOVAFontBoldItalic));
    name->setTextColor(colorWithString(QStringLiteral("2e2e2e"), 1.0));
    if (item)
        name->setStringValue(item->productDeviceName.isEmpty() ? item->productName : item->productDeviceName);
    name->setGeometry(0, 360, 820, 28);
}
