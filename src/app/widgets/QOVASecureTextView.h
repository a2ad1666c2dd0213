#pragma once
// A password entry: a secure field and a plain field at the same place, one
// of which shows, so that the owner's show-password switch can reveal the
// text. Every change the user makes in either field is reported to the
// delegate.

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QOVASecureTextField;
class QOVATextField;
class QOVASecureTextView;

class QOVASecureTextViewDelegate {
public:
    virtual ~QOVASecureTextViewDelegate() = default;
    // field: whichever of the two fields changed.
    virtual void secureTextViewTextChange(QOVASecureTextView *view, QLineEdit *field) = 0;
};

class QOVASecureTextView : public QWidget {
    Q_OBJECT
public:
    explicit QOVASecureTextView(QWidget *parent = nullptr);

    QOVASecureTextField *securePwdTextField() const { return m_secureField; }
    QOVATextField *pwdTextField() const { return m_plainField; }

    // YES shows the plain field over the secure one with the same text and
    // the keyboard focus; NO hides it again, the secure field taking its text.
    void setShowPassword(bool show);
    bool showPassword() const { return m_showPassword; }

    // Puts the text into both fields; reports nothing.
    void setPasswordString(const QString &text);
    // The text of the field that shows.
    QString passwordString() const;

    void selectCurrentTextView();
    bool isSelected() const;

    // Held weakly when the delegate is a QObject: once it is gone nothing is
    // reported.
    void setSecureDelegate(QOVASecureTextViewDelegate *delegate);
    QOVASecureTextViewDelegate *secureDelegate() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void controlTextDidChange(QLineEdit *field);

    QOVASecureTextField *m_secureField = nullptr;
    QOVATextField *m_plainField = nullptr;
    bool m_showPassword = false;
    QOVASecureTextViewDelegate *m_delegate = nullptr;
    QPointer<QObject> m_delegateObject;
    bool m_delegateIsObject = false;
};
