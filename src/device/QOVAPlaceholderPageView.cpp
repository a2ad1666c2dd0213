#include "QOVAPlaceholderPageView.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

QOVAPlaceholderPageView::QOVAPlaceholderPageView(const QString &getter, QWidget *parent)
    : QOVADisplayBaseView(parent), m_getter(getter)
{
    setObjectName(getter);
    detailViewName()->setStringValue(getter);
    m_nameLabel = new QOVALabel(this);
    m_nameLabel->setObjectName(QStringLiteral("placeholderName"));
    m_nameLabel->setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    m_nameLabel->setTextColor(colorWithString(QStringLiteral("666668"), 1.0));
    m_nameLabel->setStringValue(getter);
    m_nameLabel->setGeometry(36, 61, 538, 32);
}
