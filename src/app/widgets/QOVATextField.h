#pragma once
// The styled one-line text field: white interior, a thin grey rounded border,
// black text centred in the height with 5 points free left and right, no
// focus ring. Text of the field's 13-point font needs a field at least 18
// high to keep its descenders (g, j, p, q, y) inside the border. Undo, cut, copy and paste are the line edit's own (Ctrl+Z, X,
// C, V). textEdited() reports every change made by the user.

#include <QLineEdit>

class QOVATextField : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kTextInset = 3;
    explicit QOVATextField(QWidget *parent = nullptr);

    // A null text becomes "".
    void setStringValue(const QString &text);
    QString stringValue() const { return text(); }

    // Moves keyboard focus into the field.
    void selectCurrentTextView();
    // The field is being edited (it holds keyboard focus).
    bool isSelected() const;

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_tag = 0;
};

// The same field for secret text: it shows bullets and never hands its text
// to the clipboard.
class QOVASecureTextField : public QOVATextField {
    Q_OBJECT
public:
    explicit QOVASecureTextField(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
