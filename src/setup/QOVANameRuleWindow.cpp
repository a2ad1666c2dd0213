#include "QOVANameRuleWindow.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

#include "AppDelegate.h"

#include <QStringList>
#include <QtMath>

#include <algorithm>

QOVANameRuleWindow::QOVANameRuleWindow(double width, double height)
    : QOVAWindow(width, height)
{
    setupUI();
}

QString QOVANameRuleWindow::ruleText()
{
    return QStringList{qtTrId("STRING_TIP_VASKO_NAME_RULE_1"), qtTrId("STRING_TIP_VASKO_NAME_RULE_2"),
                       qtTrId("STRING_TIP_VASKO_NAME_RULE_3"), qtTrId("STRING_TIP_VASKO_NAME_RULE_4"),
                       qtTrId("STRING_TIP_VASKO_NAME_RULE_5")}
        .join(QLatin1Char('\n'));
}

void QOVANameRuleWindow::setupUI()
{
    m_titleLabel = new QOVALabel(this);
    m_titleLabel->setFont(fontWithSFProDisplay(14, QOVAFontBold));
    m_titleLabel->setTextColor(colorWithString(QStringLiteral("000000"), 0.85));
    m_titleLabel->setStringValue(qtTrId("STRING_NAME_RULE"));
    m_titleLabel->setToolTip(QString());

    m_describeLabel = new QOVALabel(this);
    m_describeLabel->setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    m_describeLabel->setTextColor(colorWithString(QStringLiteral("252525"), 1.0));
    m_describeLabel->setStringValue(ruleText());
    m_describeLabel->setToolTip(QString());

    m_closeButton = new QOVAButton(this);
    m_closeButton->setTextString(qtTrId("STRING_CLOSE"));
    QOVAWindow::formatButton(m_closeButton, true, false);
    m_closeButton->setTextColor(colorWithString(QStringLiteral("000000"), 0.85));
    connect(m_closeButton, &QOVAButton::clicked, this, [this] { closeWindow(); });

    // Title and rules as large as their text, from the top left; Close in
    // the bottom right corner.
    const QSize title = m_titleLabel->sizeHint();
    m_titleLabel->setGeometry(37, 17, title.width(), title.height());
    const QSizeF rules = m_describeLabel->textSize(1000);
    m_describeLabel->setGeometry(37, 17 + title.height() + 13, qCeil(rules.width()) + 2, qCeil(rules.height()));
    const double closeWidth = std::max(m_closeButton->textLength(), 67.0);
    const QSizeF size = windowSize();
    m_closeButton->setGeometry(QRectF(size.width() - 20.5 - closeWidth, size.height() - 20.5 - 19, closeWidth, 19)
                                   .toRect());
}

void QOVANameRuleWindow::closeWindow()
{
    // The page is usable again before the window goes; nobody else holds
    // the window, so it goes for good.
    if (AppDelegate *delegate = AppDelegate::sharedDelegate())
        delegate->showWindowMask(false);
    hide();
    deleteLater();
}
