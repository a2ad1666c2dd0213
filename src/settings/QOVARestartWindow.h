#pragma once
// Tells the user that a bass change needs a device restart; offers Cancel
// and Restart. Neither button closes the window: the delegate does.

#include "QOVAPlainWindow.h"
#include "QOVARestartWindowDelegate.h"

#include "menu/QOVAWeakDelegate.h"

class QOVALabel;

class QOVARestartWindow : public QOVAPlainWindow {
    Q_OBJECT
public:
    QOVARestartWindow(double width, double height);
    explicit QOVARestartWindow(const QRectF &frame);

    void setWindowDelegate(QOVARestartWindowDelegate *delegate) { m_delegate.set(delegate); }
    QOVARestartWindowDelegate *windowDelegate() const { return m_delegate.get(); }

    QOVALabel *titleLabel() const { return m_titleLabel; }
    QOVALabel *tipLabel() const { return m_tipLabel; }
    QOVAButton *restartButton() const { return m_restartButton; }
    QOVAButton *cancelButton() const { return m_cancelButton; }

    void clickCancelButton();
    void clickRestartButton();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setupUI();
    void layoutButtons();

    QOVAWeakDelegate<QOVARestartWindowDelegate> m_delegate;
    QOVALabel *m_titleLabel = nullptr;
    QOVALabel *m_tipLabel = nullptr;
    QOVAButton *m_restartButton = nullptr;
    QOVAButton *m_cancelButton = nullptr;
};
