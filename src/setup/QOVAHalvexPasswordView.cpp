#include "QOVAHalvexPasswordView.h"

#include "QOVAPageKeyMonitor.h"

#include "QOVAButton.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

#include "log/log.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QtMath>

namespace {

QOVALabel *passwordTitle(QWidget *parent, const QString &text)
{
    auto *label = new QOVALabel(parent);
    label->setFont(fontWithSFProDisplay(10, 5));
    label->setTextColor(Qt::black);
    label->setStringValue(text);
    label->setToolTip(QString());
    return label;
}

} // namespace

QOVAHalvexPasswordView::QOVAHalvexPasswordView(QWidget *parent)
    : QOVAHalvexOOBBaseView(parent)
{
    setupPasswordView();
    new QOVAPageKeyMonitor(this, [this](QKeyEvent *event) { return keyDown(event); });
}

void QOVAHalvexPasswordView::setupPasswordView()
{
    setSubTitleText(qtTrId("OOB_CHANGE_PASSWORD"));

    m_currentLabel = passwordTitle(this, qtTrId("STRING_CURRENT_PASSWORD"));
    m_currentTextField = new QOVASecureTextView(this);
    m_currentTextField->setSecureDelegate(this);
    m_changeLabel = passwordTitle(this, qtTrId("STRING_NEW_PASSWORD"));
    m_changeTextField = new QOVASecureTextView(this);
    m_changeTextField->setSecureDelegate(this);
    m_confirmLabel = passwordTitle(this, qtTrId("STRING_CONFIRM_PASSWORD"));
    m_confirmTextField = new QOVASecureTextView(this);
    m_confirmTextField->setSecureDelegate(this);

    m_tipLabel = new QOVALabel(this);
    m_tipLabel->setFont(fontWithSFProDisplay(12, QOVAFontRegular));
    m_tipLabel->setTextColor(Qt::black);
    m_tipLabel->setMaximumNumberOfLines(0);
    m_tipLabel->setStringValue(qtTrId("STRING_NEW_PASSWORD_RULE"));
    m_tipLabel->setToolTip(QString());

    m_simpleButton = new QCheckBox(qtTrId("STRING_SIMPLE_PASSWORD"), this);
    m_simpleButton->setFocusPolicy(Qt::NoFocus);
    connect(m_simpleButton, &QCheckBox::clicked, this, [this] { clickSimpleButton(); });

    m_confirmButton = new QOVAButton(this);
    m_confirmButton->setQovaButtonType(1);
    m_confirmButton->setTextString(qtTrId("BUTTON_ITEM_CONFIRM"));
    formatButton(m_confirmButton);
    m_confirmButton->setDisabled(true);
    connect(m_confirmButton, &QOVAButton::clicked, this, [this] { clickConfirmButton(); });

    const int left = 260;
    int y = 121;
    const auto row = [&](QOVALabel *label, QWidget *field, int gapAbove) {
        y += gapAbove;
        const QSize s = label->sizeHint();
        label->setGeometry(left, y, s.width(), s.height());
        y += s.height() + 9;
        field->setGeometry(left, y, 280, 20);
        y += 20;
    };
    row(m_currentLabel, m_currentTextField, 0);
    row(m_changeLabel, m_changeTextField, 16);
    row(m_confirmLabel, m_confirmTextField, 16);
    y += 18;
    m_simpleButton->setGeometry(left, y, 280, 15);
    y += 15 + 13;
    const QSizeF tip = m_tipLabel->textSize(280);
    m_tipLabel->setGeometry(left, y, 280, qCeil(tip.height()));
    y += qCeil(tip.height()) + 23;
    m_confirmButton->setGeometry(left, y, 280, 24);
}

void QOVAHalvexPasswordView::showEvent(QShowEvent *event)
{
    QOVAHalvexOOBBaseView::showEvent(event);
    getOOBSimplePasswordStatus();
    m_currentTextField->selectCurrentTextView();
}

void QOVAHalvexPasswordView::getOOBSimplePasswordStatus()
{
    if (auto *d = delegate())
        d->getSimplePasswordStatus();
}

void QOVAHalvexPasswordView::updateOOBSimplePasswordStatus(bool simple)
{
    m_simpleButton->setChecked(simple);
    m_tipLabel->setHidden(simple);
}

void QOVAHalvexPasswordView::clearPasswords()
{
    for (QOVASecureTextView *field : {m_currentTextField, m_changeTextField, m_confirmTextField})
        field->setPasswordString(QString());
    m_confirmButton->setDisabled(true);
}

bool QOVAHalvexPasswordView::allFieldsFilled() const
{
    return !m_currentTextField->passwordString().isEmpty() && !m_changeTextField->passwordString().isEmpty()
           && !m_confirmTextField->passwordString().isEmpty();
}

void QOVAHalvexPasswordView::secureTextViewTextChange(QOVASecureTextView *, QLineEdit *)
{
    m_confirmButton->setDisabled(!allFieldsFilled());
}

void QOVAHalvexPasswordView::clickSimpleButton()
{
    const bool simple = m_simpleButton->isChecked();
    m_tipLabel->setHidden(simple);
    if (auto *d = delegate())
        d->enableSimplePassword(simple);
}

void QOVAHalvexPasswordView::clickConfirmButton()
{
    if (m_changeTextField->passwordString() != m_confirmTextField->passwordString()) {
        QOVA_LOG(INFO, UI, "New Password input error!");
        showNotificationWindow(false, qtTrId("NOTIFICATION_TIP_CONFIRM_PWD_ERROR"));
        return;
    }
    if (auto *d = delegate())
        d->modifyOldPassword(m_currentTextField->passwordString(), m_confirmTextField->passwordString());
}

bool QOVAHalvexPasswordView::keyDown(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!allFieldsFilled())
            return false;
        clickConfirmButton();
        return true;
    case Qt::Key_Tab:
        if (m_currentTextField->isSelected())
            m_changeTextField->selectCurrentTextView();
        else if (m_changeTextField->isSelected())
            m_confirmTextField->selectCurrentTextView();
        else if (m_confirmTextField->isSelected())
            m_currentTextField->selectCurrentTextView();
        else
            m_changeTextField->selectCurrentTextView();
        return true;
    default:
        return false;
    }
}
