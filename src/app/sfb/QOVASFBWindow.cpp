#include "QOVASFBWindow.h"

#include "AppDelegate.h"
#include "QOVASFBWindowDelegate.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

#include <QPainter>

#include <cmath>

namespace {
constexpr double kTextWidth = 350;
constexpr double kInformationMin = 40;
constexpr double kInformation2Min = 48;
}

QOVASFBWindow::QOVASFBWindow(double width, double height)
    : QWidget(AppDelegate::mainWindowWidget(), Qt::Dialog | Qt::FramelessWindowHint)
    , m_windowSize(width, height)
{
    resize(qRound(width), qRound(height));

    m_warningLabel = new QOVALabel(this);
    m_warningLabel->setFont(fontWithSFProDisplay(14, QOVAFontBold));
    m_warningLabel->setTextColor(colorWithString(QStringLiteral("000000"), 1.0));
    m_warningLabel->setStringValue(qtTrId("STRING_WARNING"));

    m_informationLabel = new QOVALabel(this);
    m_informationLabel->setFont(fontWithSFProDisplay(14, QOVAFontRegular));
    m_informationLabel->setTextColor(colorWithString(QStringLiteral("252525"), 1.0));
    m_informationLabel->setIsTopAlignment(true);
    m_informationLabel->setStringValue(qtTrId("STRING_SFB_WARNING"));

    m_informationLabel2 = new QOVALabel(this);
    m_informationLabel2->setFont(fontWithSFProDisplay(14, QOVAFontRegular));
    m_informationLabel2->setTextColor(colorWithString(QStringLiteral("252525"), 1.0));
    m_informationLabel2->setIsTopAlignment(true);
    m_informationLabel2->setStringValue(qtTrId("STRING_SFB_WARNING_TIP"));

    m_closeButton1 = new QOVAButton(this);
    m_closeButton1->setQovaButtonType(0);
    m_closeButton1->hiddenImage(true);
    m_closeButton1->setTextString(qtTrId("STRING_CLOSE_SFB"));
    m_closeButton1->setTag(101);
    connect(m_closeButton1, &QOVAButton::clicked, this, [this] { closeSFB(); });

    m_closeButton2 = new QOVAButton(this);
    m_closeButton2->setQovaButtonType(0);
    m_closeButton2->hiddenImage(true);
    m_closeButton2->setTextString(qtTrId("STRING_CLOSE_ORVALINDE"));
    m_closeButton2->setTag(100);
    connect(m_closeButton2, &QOVAButton::clicked, this, [this] { closeOrvaLinde(); });

    layoutContent();
}

double QOVASFBWindow::caculateStringHeight(const QString &text)
{
    if (text.isEmpty())
        return 0;
    QOVALabel probe;
    probe.setFont(fontWithSFProDisplay(14, QOVAFontRegular));
    probe.setTextString(text);
    return probe.textSize(kTextWidth).height();
}

void QOVASFBWindow::layoutContent()
{
    // From the top: the title, 12 below it the first paragraph (at least 40
    // high), 5 below that the second (at least 48), 20 below that the first
    // choice and 13 below it the second, both centred and at least 296 wide.
    const int left = 37;
    const QSize warning = m_warningLabel->sizeHint();
    m_warningLabel->setGeometry(left, 20, std::max(warning.width(), 0), std::max(warning.height(), 0));
    const int info1 = int(std::ceil(std::max(kInformationMin,
                                             caculateStringHeight(m_informationLabel->stringValue()))));
    m_informationLabel->setGeometry(left, m_warningLabel->geometry().bottom() + 1 + 12, int(kTextWidth), info1);
    const int info2 = int(std::ceil(std::max(kInformation2Min,
                                             caculateStringHeight(m_informationLabel2->stringValue()))));
    m_informationLabel2->setGeometry(left, m_informationLabel->geometry().bottom() + 1 + 5, int(kTextWidth), info2);
    const int w1 = std::max(296, int(std::ceil(m_closeButton1->textLength())));
    m_closeButton1->setGeometry((width() - w1) / 2, m_informationLabel2->geometry().bottom() + 1 + 20, w1, 19);
    const int w2 = std::max(296, int(std::ceil(m_closeButton2->textLength())));
    m_closeButton2->setGeometry((width() - w2) / 2, m_closeButton1->geometry().bottom() + 1 + 13, w2, 19);
}

void QOVASFBWindow::show()
{
    const QRect content = AppDelegate::mainContentScreenRect();
    m_parentView = AppDelegate::mainContentView();

    const double extra = (caculateStringHeight(m_informationLabel->stringValue()) - kInformationMin)
        + (caculateStringHeight(m_informationLabel2->stringValue()) - kInformation2Min);
    QSizeF size = m_windowSize;
    if (extra >= 0)
        size.setHeight(280 + extra);
    const int w = qRound(size.width());
    const int h = int(std::ceil(size.height()));

    // The base size is centred; a taller window keeps its bottom edge there
    // and grows upwards.
    QPoint origin = pos();
    if (m_defaultCenter) {
        const int baseHeight = qRound(m_windowSize.height());
        const int x = content.x() + qRound((content.width() - size.width()) / 2);
        const int bottom = content.y() + qRound((content.height() - baseHeight) / 2.0) + baseHeight;
        origin = QPoint(x, bottom - h);
    }
    resize(w, h);
    layoutContent();
    move(origin);
    QWidget::show();
    raise();
    activateWindow();
}

void QOVASFBWindow::orderOut()
{
    hide();
    if (AppDelegate *delegate = AppDelegate::sharedDelegate())
        delegate->showWindowMask(false);
}

void QOVASFBWindow::closeSFB()
{
    delegateSenderTag(m_closeButton1->tag());
}

void QOVASFBWindow::closeOrvaLinde()
{
    delegateSenderTag(m_closeButton2->tag());
}

void QOVASFBWindow::delegateSenderTag(qint64 tag)
{
    if (m_windowDelegate)
        m_windowDelegate->terminateWithButtonTag(this, tag);
}

void QOVASFBWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(colorWithString(QStringLiteral("cbcbcb"), 1.0));
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
