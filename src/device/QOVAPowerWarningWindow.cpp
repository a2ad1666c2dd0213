#include "QOVAPowerWarningWindow.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <QApplication>

#include <cmath>

QOVAPowerWarningWindow::QOVAPowerWarningWindow(double width, double height) : QOVAWindow(width, height)
{
    setObjectName(QStringLiteral("powerWarningWindow"));
    setupUI();
}

void QOVAPowerWarningWindow::setupUI()
{
    const int width = int(std::lround(windowSize().width()));
    const int height = int(std::lround(windowSize().height()));
    const QFont systemFont = [] {
        QFont f = QApplication::font();
        f.setPixelSize(13);
        return f;
    }();

    m_usbImageView = new QOVAImageView(this);
    m_usbImageView->setObjectName(QStringLiteral("usbImageView"));
    m_usbImageView->setImageName(QStringLiteral("GraphicUSB2.0"));
    m_usbImageView->setGeometry(17, 22, 72, 64);

    m_titleLabel = new QOVALabel(this);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_titleLabel->setFont(fontWithSFProDisplay(14, QOVAFontBold));
    m_titleLabel->setTextColor(colorWithString(QStringLiteral("000000"), 0.85));
    m_titleLabel->setStringValue(qtTrId("STRING_WARNING"));
    const QSizeF titleSize = m_titleLabel->textSize(1000);
    const int textLeft = 17 + 72 + 11;
    m_titleLabel->setGeometry(textLeft, 15, int(std::ceil(titleSize.width())) + 2, int(std::ceil(titleSize.height())));

    m_descriptionLabel = new QOVALabel(this);
    m_descriptionLabel->setObjectName(QStringLiteral("descriptionLabel"));
    m_descriptionLabel->setFont(systemFont);
    m_descriptionLabel->setTextColor(colorWithString(QStringLiteral("252525"), 1.0));
    m_descriptionLabel->setStringValue(qtTrId("STRING_VASKO_CHARGE_WARNING_TIP"));
    const int descriptionTop = m_titleLabel->geometry().bottom() + 1 + 11;
    m_descriptionLabel->setGeometry(textLeft, descriptionTop, 290,
                                    int(std::ceil(m_descriptionLabel->textSize(290).height())) + 8);

    m_solutionLabel = new QOVALabel(this);
    m_solutionLabel->setObjectName(QStringLiteral("solutionLabel"));
    m_solutionLabel->setFont(systemFont);
    m_solutionLabel->setTextColor(colorWithString(QStringLiteral("252525"), 1.0));
    m_solutionLabel->setStringValue(QStringLiteral("%1\n%2").arg(qtTrId("STRING_VASKO_CHARGE_WARNING_SOLUTION1"),
                                                                 qtTrId("STRING_VASKO_CHARGE_WARNING_SOLUTION2")));
    const int solutionTop = m_descriptionLabel->geometry().bottom() + 1 + 19;
    m_solutionLabel->setGeometry(34, solutionTop, 352, int(std::ceil(m_solutionLabel->textSize(352).height())) + 8);

    m_closeButton = new QOVAButton(this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    formatButton(m_closeButton, true, false);
    m_closeButton->setTextString(qtTrId("STRING_CLOSE"));
    m_closeButton->setTextColor(colorWithString(QStringLiteral("000000"), 0.85));
    m_closeButton->setTextFont(fontWithSFProDisplay(14, QOVAFontRegular));
    const int buttonWidth = int(std::ceil(qMax(m_closeButton->textLength(), 67.0)));
    m_closeButton->setGeometry(int(std::lround(width - 20.5 - buttonWidth)), int(std::lround(height - 20.5 - 19)),
                               buttonWidth, 19);
    connect(m_closeButton, &QOVAButton::clicked, this, [this](QOVAButton *) { closeWarningWindow(); });
}

void QOVAPowerWarningWindow::closeWarningWindow()
{
    close();
    deleteLater();
}
