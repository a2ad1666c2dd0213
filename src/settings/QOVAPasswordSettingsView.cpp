#include "QOVAPasswordSettingsView.h"

#include "QOVASettingsStyle.h"

#include "QOVAButton.h"
#include "QOVALabel.h"
#include "log/log.h"
#include "setup/QOVAPageKeyMonitor.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QtMath>

using namespace settingsstyle;

QOVAPasswordSettingsView::QOVAPasswordSettingsView(QWidget *parent)
    : QOVADisplayBaseView(parent)
{
    detailViewName()->setStringValue(qtTrId("STRING_PASSWORD_SETTINGS"));
    setupPasswordSettingsUI();
    new QOVAPageKeyMonitor(this, [this](QKeyEvent *event) { return keyDown(event); });
}

void QOVAPasswordSettingsView::setupPasswordSettingsUI()
{
    int top = underSplitLine(this, 16);
    const auto row = [&](const char *key, QOVASecureTextView *&field) {
        QOVALabel *label = rowLabel(this, qtTrId(key));
        label->setGeometry(36, top, 150, 36);
        top += 36;
        field = new QOVASecureTextView(this);
        field->setSecureDelegate(this);
        centreOn(field, label, 200, 198, 24);
        return label;
    };
    m_currentPasswordLabel = row("STRING_CURRENT_PASSWORD", m_currentPasswordTextField);
    m_newPasswordLabel = row("STRING_NEW_PASSWORD", m_newPasswordTextField);
    m_confirmPasswordLabel = row("STRING_CONFIRM_PASSWORD", m_confirmPasswordTextField);

    m_simpleButton = new QCheckBox(qtTrId("STRING_SIMPLE_PASSWORD"), this);
    m_simpleButton->setFocusPolicy(Qt::NoFocus);
    QFont font = m_simpleButton->font();
    font.setPixelSize(13);
    m_simpleButton->setFont(font);
    m_simpleButton->setGeometry(200, top, std::max(0, m_simpleButton->sizeHint().width()), 36);
    connect(m_simpleButton, &QCheckBox::clicked, this, [this] { clickSimpleButton(); });

    m_tipLabel = rowLabel(this, qtTrId("STRING_NEW_PASSWORD_RULE"), QStringLiteral("000000"));
    // Sized by its text, wrapped at the page's right margin: the page's
    // text ends 574 from its left, as the 538-wide texts that start at 36.
    fitLabel(m_tipLabel, 574 - 200);
    m_tipLabel->move(200, m_simpleButton->geometry().bottom() + 1 + 17);

    m_passwordSaveButton = accentButton(this, qtTrId("STRING_SAVE"));
    m_passwordSaveButton->setDisabled(true);
    connect(m_passwordSaveButton, &QOVAButton::clicked, this, [this] { savePasswordSetting(); });
    placeSaveButton();
}

// Under the rule text while it shows, else under the check box.
void QOVAPasswordSettingsView::placeSaveButton()
{
    const QWidget *above = m_tipLabel->isHidden() ? static_cast<QWidget *>(m_simpleButton) : m_tipLabel;
    m_passwordSaveButton->setGeometry(36, above->geometry().bottom() + 1 + 24, 88, 24);
}

void QOVAPasswordSettingsView::handleDisplayViewEvent()
{
    QOVADisplayBaseView::handleDisplayViewEvent();
    if (QOVAPasswordSettingDelegate *d = passwordSettingDelegate())
        d->requestSimplePassWordStatus();
    m_currentPasswordTextField->selectCurrentTextView();
}

bool QOVAPasswordSettingsView::allFieldsFilled() const
{
    return !m_currentPasswordTextField->passwordString().isEmpty()
           && !m_newPasswordTextField->passwordString().isEmpty()
           && !m_confirmPasswordTextField->passwordString().isEmpty();
}

void QOVAPasswordSettingsView::secureTextViewTextChange(QOVASecureTextView *, QLineEdit *)
{
    const bool filled = allFieldsFilled();
    m_passwordSaveButton->setDisabled(!filled);
    if (filled)
        QOVA_LOG(INFO, UI, "Now The Password SaveButton Can Be Taped!");
    else
        QOVA_LOG(INFO, UI, "Now The Password SaveButton Disabled!");
}

void QOVAPasswordSettingsView::savePasswordSetting()
{
    if (m_newPasswordTextField->passwordString() != m_confirmPasswordTextField->passwordString()) {
        QOVA_LOG(INFO, UI, "New Password input error!");
        showNotificationWindow(false, qtTrId("NOTIFICATION_TIP_CONFIRM_PWD_ERROR"));
        return;
    }
    if (QOVAPasswordSettingDelegate *d = passwordSettingDelegate())
        d->modify(m_currentPasswordTextField->passwordString(), m_newPasswordTextField->passwordString());
}

void QOVAPasswordSettingsView::clickSimpleButton()
{
    const bool simple = m_simpleButton->isChecked();
    m_tipLabel->setHidden(simple);
    if (QOVAPasswordSettingDelegate *d = passwordSettingDelegate())
        d->enableSimplePassword(simple);
}

void QOVAPasswordSettingsView::updateSimplePasswordStatus(bool allowed)
{
    m_simpleButton->setChecked(allowed);
    m_tipLabel->setHidden(allowed);
    placeSaveButton();
}

bool QOVAPasswordSettingsView::keyDown(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!allFieldsFilled())
            return false;
        savePasswordSetting();
        return true;
    case Qt::Key_Tab:
        if (m_currentPasswordTextField->isSelected())
            m_newPasswordTextField->selectCurrentTextView();
        else if (m_newPasswordTextField->isSelected())
            m_confirmPasswordTextField->selectCurrentTextView();
        else if (m_confirmPasswordTextField->isSelected())
            m_currentPasswordTextField->selectCurrentTextView();
        else
            m_newPasswordTextField->selectCurrentTextView();
        return true;
    default:
        return false;
    }
}
