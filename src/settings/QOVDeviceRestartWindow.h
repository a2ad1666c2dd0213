#pragma once
// Offers to restart the device now or later after the integrated
// microphones were switched. Either button closes the window and removes
// the page's dimming mask; Restart Now first asks the delegate to restart.

#include "QOVADeviceRestartWindowDelegate.h"
#include "QOVAPlainWindow.h"

#include "menu/QOVAWeakDelegate.h"

class QOVALabel;

class QOVDeviceRestartWindow : public QOVAPlainWindow {
    Q_OBJECT
public:
    QOVDeviceRestartWindow(double width, double height);

    void setDelegateDeviceRestart(QOVADeviceRestartWindowDelegate *delegate) { m_delegate.set(delegate); }
    QOVADeviceRestartWindowDelegate *delegateDeviceRestart() const { return m_delegate.get(); }

    QOVALabel *titleLabel() const { return m_titleLabel; }
    QOVALabel *tipLabel() const { return m_tipLabel; }
    QOVAButton *restartNow() const { return m_restartNow; }
    QOVAButton *restartLater() const { return m_restartLater; }

    void clickRestartNow();
    void clickRestartLater();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setupRestartDeviceWindowUI();
    void layoutButtons();

    QOVAWeakDelegate<QOVADeviceRestartWindowDelegate> m_delegate;
    QOVALabel *m_titleLabel = nullptr;
    QOVALabel *m_tipLabel = nullptr;
    QOVAButton *m_restartNow = nullptr;
    QOVAButton *m_restartLater = nullptr;
};
