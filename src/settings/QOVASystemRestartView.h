#pragma once
// System restart: an explanation and a Restart button. A click goes straight
// to the delegate (the device page controller), with no confirmation; every
// click sends another restart.

#include "QOVADisplayBaseView.h"
#include "QOVASystemRestartDelegate.h"

#include "menu/QOVAWeakDelegate.h"

class QOVAButton;
class QOVALabel;

class QOVASystemRestartView : public QOVADisplayBaseView {
    Q_OBJECT
public:
    explicit QOVASystemRestartView(QWidget *parent = nullptr);

    void setDelegate(QOVASystemRestartDelegate *delegate) { m_delegate.set(delegate); }
    QOVASystemRestartDelegate *delegate() const { return m_delegate.get(); }

    QOVALabel *systemRestartInfo() const { return m_systemRestartInfo; }
    QOVAButton *restartButton() const { return m_restartButton; }

    void clickRestartButton();

private:
    void setupRestartSettingsUI();

    QOVALabel *m_systemRestartInfo = nullptr;
    QOVAButton *m_restartButton = nullptr;
    QOVAWeakDelegate<QOVASystemRestartDelegate> m_delegate;
};
