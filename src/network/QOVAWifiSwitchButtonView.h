#pragma once
// The option row of the join-other-network windows: the "Show advanced
// settings" box. Ticking or clearing it tells the window, which shows or
// hides its address rows. autoConnect has no control and reads false.

#include "menu/QOVAWeakDelegate.h"

#include <QWidget>

class QCheckBox;
class QOVAWifiSwitchButtonView;

class QOVAWifiSwitchButtonViewDelegate {
public:
    virtual ~QOVAWifiSwitchButtonViewDelegate() = default;
    virtual void wifiSwitchButtonView(QOVAWifiSwitchButtonView *view, bool showAdvanced) = 0;
};

class QOVAWifiSwitchButtonView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 15;

    explicit QOVAWifiSwitchButtonView(QWidget *parent = nullptr);

    void setSwitchDelegate(QOVAWifiSwitchButtonViewDelegate *delegate) { m_delegate.set(delegate); }

    QCheckBox *advancedButton() const { return m_advancedButton; }
    bool showAdvanced() const { return m_showAdvanced; }
    bool autoConnect() const { return m_autoConnect; }

    // The box's action.
    void shouldShowAdvancedSettings();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QOVAWeakDelegate<QOVAWifiSwitchButtonViewDelegate> m_delegate;
    QCheckBox *m_advancedButton = nullptr;
    bool m_showAdvanced = false;
    bool m_autoConnect = false;
};
