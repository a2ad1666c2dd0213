#include "QOVATextField.h"

#include "QOVAColor.h"
#include "QOVAFont.h"

#include <QKeyEvent>
#include <QPainter>

QOVATextField::QOVATextField(QWidget *parent)
    : QLineEdit(parent)
{
    setFrame(false);
    // Three more points inside the line edit's own two, so that the text
    // stands clear of the rounded border.
    setTextMargins(kTextInset, 0, kTextInset, 0);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    // The white rounded interior is painted below the line edit's own
    // drawing, which is left transparent.
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
    setText(QString());
}

void QOVATextField::setStringValue(const QString &text)
{
    setText(text.isNull() ? QString(QLatin1String("")) : text);
}

void QOVATextField::selectCurrentTextView()
{
    setFocus(Qt::OtherFocusReason);
}

bool QOVATextField::isSelected() const
{
    return hasFocus();
}

void QOVATextField::paintEvent(QPaintEvent *event)
{
    const QRectF box = QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25);
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(box, 3.0, 3.0);
    }
    QLineEdit::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colorWithString(QStringLiteral("616161"), 1.0), 0.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(box, 3.0, 3.0);
}

QOVASecureTextField::QOVASecureTextField(QWidget *parent)
    : QOVATextField(parent)
{
    setEchoMode(QLineEdit::Password);
}

void QOVASecureTextField::keyPressEvent(QKeyEvent *event)
{
    // Secret text is not handed to the clipboard, so cutting it would only
    // delete it: the key does nothing here.
    if (event->matches(QKeySequence::Cut)) {
        event->accept();
        return;
    }
    QOVATextField::keyPressEvent(event);
}
