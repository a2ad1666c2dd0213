#include "QOVAStatusWarningView.h"

#include "HyperlinkTextField.h"
#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

constexpr int kBannerTextLeft = 18;
constexpr int kBannerTextWidth = 800;
constexpr int kBannerMargin = 8;
constexpr int kBannerCloseSize = 16;
constexpr int kBannerCloseRight = 10;

} // namespace

QOVAStatusWarningView::QOVAStatusWarningView(QWidget *parent) : QWidget(parent)
{
    setupUI();
}

QString QOVAStatusWarningView::warningText()
{
    const QString text = qtTrId("STRING_DEVICE_DIAGNOSTIC_WARNING");
    if (text.isEmpty() || text == QLatin1String("STRING_DEVICE_DIAGNOSTIC_WARNING"))
        return QStringLiteral("Device internal issue detected please contact Vorn Support");
    return text;
}

void QOVAStatusWarningView::setupUI()
{
    m_tipLabel = new HyperlinkTextField(this);
    m_tipLabel->setObjectName(QStringLiteral("tipLabel"));
    setTipText(QString());

    m_closeButton = new QOVAButton(this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setBackgroundColor(Qt::transparent);
    m_closeButton->setImage(QStringLiteral("icon_close_tip"));
    // The cross fills the 16-point button (in its corner it would be cut).
    m_closeButton->setImageCentred(true);
    connect(m_closeButton, &QOVAButton::clicked, this, [this](QOVAButton *) { closeTipView(); });

    resize(619, bannerHeight());
}

int QOVAStatusWarningView::bannerHeight() const
{
    // Measured with the application's regular face at 12 points within the
    // text's width, leading included.
    const QFontMetricsF metrics(fontWithSFProDisplay(12, QOVAFontRegular));
    const QRectF bounds =
        metrics.boundingRect(QRectF(0, 0, kBannerTextWidth, 100000), Qt::TextWordWrap, warningText());
    return int(std::ceil(bounds.height() + metrics.leading())) + 2 * kBannerMargin;
}

void QOVAStatusWarningView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int textHeight = height() - 2 * kBannerMargin;
    m_tipLabel->setGeometry(kBannerTextLeft, kBannerMargin, kBannerTextWidth, textHeight);
    m_closeButton->setGeometry(width() - kBannerCloseRight - kBannerCloseSize, (height() - kBannerCloseSize) / 2, kBannerCloseSize,
                               kBannerCloseSize);
    m_closeButton->raise();
}

void QOVAStatusWarningView::setLinkAddress(const QString &address)
{
    setTipText(address);
}

void QOVAStatusWarningView::setTipText(const QString &address)
{
    QString html = QStringLiteral("<span style=\"color:#c41c22; text-decoration:underline; "
                                  "font-size:13px;\">%1</span>")
                       .arg(warningText().toHtmlEscaped());
    // The whole text is the link: it asks the user to contact support.
    if (!address.isEmpty())
        html = QStringLiteral("<a href=\"%1\" style=\"color:#c41c22;\">%2</a>").arg(address.toHtmlEscaped(), html);
    m_tipLabel->setHtml(html);
}

void QOVAStatusWarningView::setWarningViewDelegate(QOVAStatusWarningViewDelegate *delegate)
{
    m_delegate = delegate;
    m_delegateGuard = dynamic_cast<QObject *>(delegate);
    m_guarded = m_delegateGuard != nullptr;
}

void QOVAStatusWarningView::closeTipView()
{
    if (!m_delegate || (m_guarded && m_delegateGuard.isNull()))
        return;
    m_delegate->closestatusWarningView();
}

void QOVAStatusWarningView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), colorWithString(QStringLiteral("ffe0e0"), 1.0));
}
