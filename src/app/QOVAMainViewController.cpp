#include "QOVAMainViewController.h"

#include "AppDelegate.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <cmath>

QOVAMainViewController::QOVAMainViewController(QObject *parent)
    : QOVABaseViewController(parent)
{
}

void QOVAMainViewController::viewDidLoad()
{
    QOVABaseViewController::viewDidLoad();
    QWidget *page = view();
    const int width = page->width();

    m_imageView = new QOVAImageView(page);
    m_imageView->setImageScaling(QOVAImageView::ScaleAxesIndependently);
    m_imageView->setImageName(QStringLiteral("icon_USB"));
    m_imageView->setGeometry((width - 256) / 2, 132, 256, 256);

    const QColor text = colorWithString(QStringLiteral("2E2E2E"), 1.0);
    m_titleLabel = new QOVALabel(page);
    m_titleLabel->setAlignment(QOVALabel::AlignCenter);
    m_titleLabel->setTextColor(text);
    m_titleLabel->setFont(fontWithSFProDisplay(20, QOVAFontBoldItalic));
    m_titleLabel->setStringValue(qtTrId("STRING_CONNECT_USB_DEVICES"));
    const int titleHeight = int(std::ceil(m_titleLabel->textSize(width).height()));
    m_titleLabel->setGeometry(0, m_imageView->geometry().bottom() + 1 + 65, width, titleHeight);

    m_descriptionLabel = new QOVALabel(page);
    m_descriptionLabel->setAlignment(QOVALabel::AlignCenter);
    m_descriptionLabel->setTextColor(text);
    m_descriptionLabel->setFont(fontWithSFProDisplay(12, QOVAFontItalic));
    m_descriptionLabel->setStringValue(qtTrId("STRING_CONNECT_USB_DEVICES_DESC"));
    const int descriptionHeight = int(std::ceil(m_descriptionLabel->textSize(width).height()));
    m_descriptionLabel->setGeometry(0, m_titleLabel->geometry().bottom() + 1 + 12, width, descriptionHeight);

    if (AppDelegate *delegate = AppDelegate::sharedDelegate())
        delegate->setMainController(this);
}
