#include "QOVASecureTextView.h"

#include "QOVATextField.h"

QOVASecureTextView::QOVASecureTextView(QWidget *parent)
    : QWidget(parent)
{
    m_secureField = new QOVASecureTextField(this);
    m_plainField = new QOVATextField(this);
    m_plainField->hide();
    connect(m_secureField, &QLineEdit::textEdited, this, [this] { controlTextDidChange(m_secureField); });
    connect(m_plainField, &QLineEdit::textEdited, this, [this] { controlTextDidChange(m_plainField); });
    setFocusProxy(m_secureField);
}

void QOVASecureTextView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Both fill the view, 2 in from left and right, flush top and bottom.
    const QRect r(2, 0, std::max(0, width() - 4), height());
    m_secureField->setGeometry(r);
    m_plainField->setGeometry(r);
}

void QOVASecureTextView::setShowPassword(bool show)
{
    m_showPassword = show;
    if (show) {
        m_plainField->show();
        m_plainField->raise();
        m_plainField->setText(m_secureField->text());
        setFocusProxy(m_plainField);
        m_plainField->setFocus(Qt::OtherFocusReason);
    } else {
        m_plainField->hide();
        m_secureField->setText(m_plainField->text());
        setFocusProxy(m_secureField);
        m_secureField->setFocus(Qt::OtherFocusReason);
    }
}

void QOVASecureTextView::setPasswordString(const QString &text)
{
    m_secureField->setText(text);
    m_plainField->setText(text);
}

QString QOVASecureTextView::passwordString() const
{
    return m_showPassword ? m_plainField->text() : m_secureField->text();
}

void QOVASecureTextView::selectCurrentTextView()
{
    if (m_showPassword)
        m_plainField->selectCurrentTextView();
    else
        m_secureField->selectCurrentTextView();
}

bool QOVASecureTextView::isSelected() const
{
    return m_plainField->isSelected() || m_secureField->isSelected();
}

void QOVASecureTextView::setSecureDelegate(QOVASecureTextViewDelegate *delegate)
{
    m_delegate = delegate;
    m_delegateObject = dynamic_cast<QObject *>(delegate);
    m_delegateIsObject = m_delegateObject != nullptr;
}

QOVASecureTextViewDelegate *QOVASecureTextView::secureDelegate() const
{
    if (m_delegateIsObject && !m_delegateObject)
        return nullptr;
    return m_delegate;
}

void QOVASecureTextView::controlTextDidChange(QLineEdit *field)
{
    if (QOVASecureTextViewDelegate *delegate = secureDelegate())
        delegate->secureTextViewTextChange(this, field);
}
