#pragma once
// A labelled password row: a right-aligned caption ("STRING_PASSWORD" unless
// the owner changes it) with a secure field beside it. Every change the user
// makes is reported to the delegate.

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QOVALabel;
class QOVASecureTextField;
class QOVATextField;
class QOVAPasswordView;

class QOVAPasswordViewDelegate {
public:
    virtual ~QOVAPasswordViewDelegate() = default;
    virtual void securePasswordViewTextChange(QOVAPasswordView *view, QLineEdit *field) = 0;
};

class QOVAPasswordView : public QWidget {
    Q_OBJECT
public:
    explicit QOVAPasswordView(QWidget *parent = nullptr);

    QOVALabel *passwordLabel() const { return m_label; }
    QOVASecureTextField *securePwdTextField() const { return m_secureField; }
    // A plain twin of the secure field that is never shown.
    QOVATextField *pwdTextField() const { return m_plainField; }

    QString passwordString() const;

    // Held weakly when the delegate is a QObject.
    void setSecureDelegate(QOVAPasswordViewDelegate *delegate);
    QOVAPasswordViewDelegate *secureDelegate() const;

    QSize sizeHint() const override;

private:
    void controlTextDidChange(QLineEdit *field);

    QOVALabel *m_label = nullptr;
    QOVASecureTextField *m_secureField = nullptr;
    QOVATextField *m_plainField = nullptr;
    bool m_showPassword = false;
    QOVAPasswordViewDelegate *m_delegate = nullptr;
    QPointer<QObject> m_delegateObject;
    bool m_delegateIsObject = false;
};
