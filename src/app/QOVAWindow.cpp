#include "QOVAWindow.h"

#include "AppDelegate.h"

#include "QOVAButton.h"
#include "QOVAColor.h"

#include <QCloseEvent>
#include <QEvent>
#include <QPainter>

namespace {

// The rounded outline of a dialog button, drawn over the button (which paints
// only its fill and title).
class ButtonOutline : public QWidget {
public:
    explicit ButtonOutline(QOVAButton *button)
        : QWidget(button)
        , m_button(button)
    {
        setObjectName(QStringLiteral("qova_button_outline"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        button->installEventFilter(this);
        setGeometry(button->rect());
        show();
    }
    QColor color;
    double lineWidth = 0.5;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_button && event->type() == QEvent::Resize)
            setGeometry(m_button->rect());
        return false;
    }
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setOpacity(m_button->alphaValue());
        p.setPen(QPen(color, std::max(lineWidth, 1.0)));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }

private:
    QOVAButton *m_button;
};

} // namespace

QOVAWindow::QOVAWindow(double width, double height)
    : QWidget(AppDelegate::mainWindowWidget(), Qt::Dialog | Qt::FramelessWindowHint)
    , m_windowSize(width, height)
{
    resize(qRound(width), qRound(height));
    setAutoFillBackground(false);
}

void QOVAWindow::centre(const QSizeF &size, const QRect &content)
{
    const int w = qRound(size.width());
    const int h = qRound(size.height());
    resize(w, h);
    move(content.x() + qRound((content.width() - w) * 0.5),
         content.y() + qRound((content.height() - h) * 0.5));
}

void QOVAWindow::show()
{
    m_parentView = AppDelegate::mainContentView();
    centre(m_windowSize, AppDelegate::mainContentScreenRect());
    QWidget::show();
    raise();
    activateWindow();
    if (AppDelegate *delegate = AppDelegate::sharedDelegate())
        delegate->showWindowMask(true);
}

void QOVAWindow::close()
{
    hide();
    if (AppDelegate *delegate = AppDelegate::sharedDelegate())
        delegate->showWindowMask(false);
}

void QOVAWindow::closeEvent(QCloseEvent *event)
{
    // A close asked by the desktop ends the dialog the same way.
    event->ignore();
    close();
}

void QOVAWindow::adjustToSize(double width, double height)
{
    QRect content = AppDelegate::mainContentScreenRect();
    if (m_parentView)
        content = QRect(m_parentView->mapToGlobal(QPoint(0, 0)), m_parentView->size());
    centre(QSizeF(width, height), content);
}

void QOVAWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
}

void QOVAWindow::formatButton(QOVAButton *button, bool enabled, bool highlighted)
{
    if (!button)
        return;
    button->setQovaButtonType(0);
    auto *outline = static_cast<ButtonOutline *>(button->findChild<QWidget *>(
        QStringLiteral("qova_button_outline"), Qt::FindDirectChildrenOnly));
    if (!outline)
        outline = new ButtonOutline(button);
    const QColor accent = colorWithString(QStringLiteral("0277bd"), 1.0);
    const QColor grey = colorWithString(QStringLiteral("bdbdbd"), 1.0);
    if (!enabled) {
        button->setAlphaValue(0.5);
        button->setBackgroundColor(Qt::white);
        outline->color = grey;
        button->setTextColor(colorWithString(QStringLiteral("252525"), 1.0));
        button->setDisabled(true);
    } else if (highlighted) {
        button->setAlphaValue(1.0);
        button->setBackgroundColor(accent);
        outline->color = accent;
        button->setTextColor(Qt::white);
        button->setDisabled(false);
    } else {
        button->setAlphaValue(1.0);
        button->setBackgroundColor(Qt::white);
        outline->color = grey;
        button->setTextColor(Qt::black);
        button->setDisabled(false);
    }
    outline->update();
}
