#include "QOVAUpgradeTipView.h"

#include "HyperlinkTextField.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QTextDocument>
#include <QToolButton>

// The text stops short of the close button rather than running under it.
constexpr int kTextWidth = 820 - 18 - 10 - 16 - 8;

const char *const QOVAUpgradeTipView::kSupportUrl = "https://support.zentaro.example/orvalinde/update";

namespace {

class CloseTipButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QSvgRenderer renderer(QOVAImageView::imagePath(QStringLiteral("icon_close_tip")));
        renderer.render(&painter, QRectF(rect()));
    }
};

} // namespace

QOVAUpgradeTipView::QOVAUpgradeTipView(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, colorWithString(QStringLiteral("ffe0e0"), 1.0));
    setPalette(p);

    m_tipLabel = new HyperlinkTextField(this);
    const QString tip = qtTrId("STRING_UPGRADE_APP_TIP") + qtTrId("STRING_UPGRADE_APP_TIP2");
    const QString site = qtTrId("STRING_SUPPORT_SITE");
    m_tipLabel->setHtml(
        QStringLiteral("<span style=\"color:#c41c22; font-size:13px\">%1<a href=\"%2\" "
                       "style=\"color:#c41c22; text-decoration:underline\">%3</a></span>")
            .arg(tip.toHtmlEscaped(), QString::fromLatin1(kSupportUrl), site.toHtmlEscaped()));

    m_closeButton = new CloseTipButton(this);
    m_closeButton->setCursor(Qt::PointingHandCursor);
    connect(m_closeButton, &QAbstractButton::clicked, this, [this] { closeTipView(); });
    resize(820, preferredHeight());
}

int QOVAUpgradeTipView::preferredHeight() const
{
    QTextDocument *doc = m_tipLabel->document();
    doc->setTextWidth(kTextWidth);
    return int(std::ceil(doc->size().height())) + 16;
}

void QOVAUpgradeTipView::closeTipView()
{
    hide();
    setParent(nullptr);
    deleteLater();
    if (m_delegate)
        m_delegate->closeUpgradeTipView();
}

void QOVAUpgradeTipView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_tipLabel->setGeometry(18, 8, kTextWidth, std::max(0, height() - 16));
    m_closeButton->setGeometry(width() - 10 - 16, (height() - 16) / 2, 16, 16);
}
