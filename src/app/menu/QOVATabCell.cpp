#include "QOVATabCell.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include "QOVAMenuPalette.h"

using namespace QOVAMenuPalette;

namespace {

constexpr int kIconLeft = 12;
constexpr int kIconSize = 20;
constexpr int kTitleGap = 12;

} // namespace

QOVATabCell::QOVATabCell(const QOVATabControlModelRef &model, QWidget *parent)
    : QOVAMenuCell(parent)
    , m_tabControlModel(model)
{
    setupUI();
}

void QOVATabCell::setupUI()
{
    imageView();
    titleView();
    setEffectBackgroundColor(colorWithString(QStringLiteral("fbfbfb"), 1.0));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colorWithString(QStringLiteral("fbfbfb"), 1.0));
    setPalette(palette);
    placeSubviews();
}

QOVAImageView *QOVATabCell::imageView()
{
    if (!m_imageView) {
        m_imageView = new QOVAImageView(this);
        if (m_tabControlModel)
            m_imageView->setImageName(m_tabControlModel->disSelectedImageName);
    }
    return m_imageView;
}

QLabel *QOVATabCell::titleView()
{
    if (!m_titleView) {
        m_titleView = new QLabel(this);
        m_titleView->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_titleView->setTextInteractionFlags(Qt::NoTextInteraction);
        m_titleView->setFrameShape(QFrame::NoFrame);
        m_titleView->setAutoFillBackground(false);
        m_titleView->setFont(fontWithSFProDisplay(14, QOVAFontRegular));
        setTextColor(m_titleView, QStringLiteral("666668"));
        if (m_tabControlModel)
            m_titleView->setText(m_tabControlModel->title);
    }
    return m_titleView;
}

void QOVATabCell::placeSubviews()
{
    const double centre = height() / 2.0;
    imageView()->setGeometry(kIconLeft, int(std::lround(centre - kIconSize / 2.0)), kIconSize, kIconSize);
    const double titleHeight = QFontMetricsF(titleView()->font()).height();
    const int left = kIconLeft + kIconSize + kTitleGap;
    const int width = std::max(0, this->width() - kTitleRightInset - left);
    titleView()->setGeometry(left, int(std::lround(centre + kTitleCentreOffset - titleHeight / 2.0)), width,
                             int(std::ceil(titleHeight)));
}

void QOVATabCell::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeSubviews();
}

void QOVATabCell::setEffectBackgroundColor(const QColor &color)
{
    m_effectBackgroundColor = color;
    update();
}

void QOVATabCell::applyLook(const QString &titleColor, const QString &background, const QString &imageName)
{
    setTextColor(titleView(), titleColor);
    setEffectBackgroundColor(colorWithString(background, 1.0));
    imageView()->setImageName(imageName);
    update();
}

void QOVATabCell::selected()
{
    const QString image = m_tabControlModel ? m_tabControlModel->selectedImageName : QString();
    // Only the status header shows its selection by colour; the others show
    // it by their icon alone.
    if (m_tag == 0)
        applyLook(QStringLiteral("0277bd"), QStringLiteral("F1F1F1"), image);
    else
        applyLook(QStringLiteral("666668"), QStringLiteral("fbfbfb"), image);
}

void QOVATabCell::disSelected()
{
    applyLook(QStringLiteral("666668"), QStringLiteral("fbfbfb"),
              m_tabControlModel ? m_tabControlModel->disSelectedImageName : QString());
}

void QOVATabCell::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(event->rect(), m_effectBackgroundColor);
}

void QOVATabCell::clicked()
{
    if (QOVATabCellDelegate *delegate = m_delegate.get())
        delegate->didSelectedCell(this);
}
