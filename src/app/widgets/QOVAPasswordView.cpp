#include "QOVAPasswordView.h"

#include "QOVALabel.h"
#include "QOVATextField.h"

namespace {
// Row layout in points: caption 178 x 14 at the left, 2 below the top and 5
// above the bottom; the fields 200 x 16 at x 194, centred on the caption.
constexpr int kLabelTop = 2;
constexpr int kLabelWidth = 178;
constexpr int kLabelHeight = 14;
constexpr int kBottomGap = 5;
constexpr int kFieldLeft = kLabelWidth + 16;
constexpr int kFieldWidth = 200;
constexpr int kFieldHeight = 16;
}

QOVAPasswordView::QOVAPasswordView(QWidget *parent)
    : QWidget(parent)
{
    m_label = new QOVALabel(this);
    m_label->setStringValue(qtTrId("STRING_PASSWORD"));
    m_label->setAlignment(QOVALabel::AlignRight);
    m_label->setGeometry(0, kLabelTop, kLabelWidth, kLabelHeight);

    const int fieldTop = kLabelTop + kLabelHeight / 2 - kFieldHeight / 2;
    m_secureField = new QOVASecureTextField(this);
    m_secureField->setGeometry(kFieldLeft, fieldTop, kFieldWidth, kFieldHeight);
    m_plainField = new QOVATextField(this);
    m_plainField->setGeometry(kFieldLeft, fieldTop, kFieldWidth, kFieldHeight);
    m_plainField->hide();

    connect(m_secureField, &QLineEdit::textEdited, this, [this] { controlTextDidChange(m_secureField); });
    connect(m_plainField, &QLineEdit::textEdited, this, [this] { controlTextDidChange(m_plainField); });
    setFocusProxy(m_secureField);
    resize(sizeHint());
}

QSize QOVAPasswordView::sizeHint() const
{
    return QSize(kFieldLeft + kFieldWidth, kLabelTop + kLabelHeight + kBottomGap);
}

QString QOVAPasswordView::passwordString() const
{
    return m_showPassword ? m_plainField->text() : m_secureField->text();
}

void QOVAPasswordView::setSecureDelegate(QOVAPasswordViewDelegate *delegate)
{
    m_delegate = delegate;
    m_delegateObject = dynamic_cast<QObject *>(delegate);
    m_delegateIsObject = m_delegateObject != nullptr;
}

QOVAPasswordViewDelegate *QOVAPasswordView::secureDelegate() const
{
    if (m_delegateIsObject && !m_delegateObject)
        return nullptr;
    return m_delegate;
}

void QOVAPasswordView::controlTextDidChange(QLineEdit *field)
{
    if (QOVAPasswordViewDelegate *delegate = secureDelegate())
        delegate->securePasswordViewTextChange(this, field);
}
