#include "QOVASubTabCell.h"

#include "QOVAColor.h"
#include "QOVAFont.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QMouseEvent>

#include <cmath>

#include "QOVAMenuPalette.h"

using namespace QOVAMenuPalette;

namespace {

constexpr int kTitleLeft = 50;
constexpr int kBarWidth = 4;
constexpr int kBarMinHeight = 36;

} // namespace

QOVASubTabCell::QOVASubTabCell(const QString &title, QWidget *parent)
    : QOVAMenuCell(parent)
{
    setupCellLayout();
    titleView()->setText(title);
}

void QOVASubTabCell::setupCellLayout()
{
    titleView();
    verticalCellLine();
    placeSubviews();
}

QLabel *QOVASubTabCell::titleView()
{
    if (!m_titleView) {
        m_titleView = new QLabel(this);
        m_titleView->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_titleView->setTextInteractionFlags(Qt::NoTextInteraction);
        m_titleView->setFrameShape(QFrame::NoFrame);
        m_titleView->setAutoFillBackground(false);
        m_titleView->setFont(fontWithSFProDisplay(12, QOVAFontRegular));
        setTextColor(m_titleView, QStringLiteral("666668"));
    }
    return m_titleView;
}

QWidget *QOVASubTabCell::verticalCellLine()
{
    if (!m_verticalCellLine) {
        m_verticalCellLine = new QWidget(this);
        m_verticalCellLine->setAttribute(Qt::WA_TransparentForMouseEvents);
        fill(m_verticalCellLine, QStringLiteral("0277bd"));
        m_verticalCellLine->hide();
    }
    return m_verticalCellLine;
}

void QOVASubTabCell::placeSubviews()
{
    const double titleHeight = QFontMetricsF(titleView()->font()).height();
    const double centre = height() / 2.0;
    titleView()->setGeometry(kTitleLeft, int(std::lround(centre + kTitleCentreOffset - titleHeight / 2.0)),
                             std::max(0, width() - kTitleRightInset - kTitleLeft), int(std::ceil(titleHeight)));
    verticalCellLine()->setGeometry(0, 0, kBarWidth, std::max(kBarMinHeight, height()));
}

void QOVASubTabCell::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeSubviews();
}

void QOVASubTabCell::applyLook(const QString &titleColor, bool barShown, const QString &background)
{
    m_hasLook = true;
    setTextColor(titleView(), titleColor);
    verticalCellLine()->setVisible(barShown);
    fill(this, background);
    update();
}

void QOVASubTabCell::selected()
{
    applyLook(QStringLiteral("0277bd"), true, QStringLiteral("f1f1f1"));
}

void QOVASubTabCell::disSelected()
{
    applyLook(QStringLiteral("666668"), false, QStringLiteral("fbfbfb"));
}

void QOVASubTabCell::clicked()
{
    if (QOVATabSubViewCellDelegate *delegate = m_delegate.get())
        delegate->didSelectedSubViewCell(this);
}
