#include "QOVAPowerConfirmationWindow.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

#include <QApplication>

#include <cmath>

QOVAPowerConfirmationWindow::QOVAPowerConfirmationWindow(double width, double height)
    : QOVAWindow(width, height)
{
    setObjectName(QStringLiteral("powerConfirmationWindow"));
    setupConfirmationUI();
}

void QOVAPowerConfirmationWindow::setupConfirmationUI()
{
    const int width = int(std::lround(windowSize().width()));
    const int height = int(std::lround(windowSize().height()));

    m_titleLabel = new QOVALabel(this);
    m_titleLabel->setFont(fontWithSFProDisplay(14, QOVAFontBold));
    m_titleLabel->setTextColor(colorWithString(QStringLiteral("000000"), 0.85));
    m_titleLabel->setStringValue(qtTrId("STRING_RESTART_DEVICE"));
    const QSizeF titleSize = m_titleLabel->textSize(1000);
    m_titleLabel->setGeometry(32, 27, int(std::ceil(titleSize.width())) + 2, int(std::ceil(titleSize.height())));

    QFont systemFont = QApplication::font();
    systemFont.setPixelSize(13);
    m_descriptionLabel = new QOVALabel(this);
    m_descriptionLabel->setFont(systemFont);
    m_descriptionLabel->setTextColor(colorWithString(QStringLiteral("252525"), 1.0));
    m_descriptionLabel->setStringValue(qtTrId("STRING_VASKO_USB_INJECTOR"));
    m_descriptionLabel->setGeometry(32, m_titleLabel->geometry().bottom() + 1 + 16, 360,
                                    int(std::ceil(m_descriptionLabel->textSize(360).height())));

    m_closeButton = new QOVAButton(this);
    formatButton(m_closeButton, true, false);
    m_closeButton->setTextString(qtTrId("STRING_CLOSE"));
    m_closeButton->setTextColor(colorWithString(QStringLiteral("000000"), 0.85));
    m_closeButton->setTextFont(fontWithSFProDisplay(14, QOVAFontRegular));
    const int buttonWidth = int(std::ceil(qMax(m_closeButton->textLength(), 67.0)));
    m_closeButton->setGeometry(int(std::lround(width - 20.5 - buttonWidth)), int(std::lround(height - 20.5 - 19)),
                               buttonWidth, 19);
    connect(m_closeButton, &QOVAButton::clicked, this, [this](QOVAButton *) { closeWarningWindow(); });
}

void QOVAPowerConfirmationWindow::closeWarningWindow()
{
    close();
}
