#pragma once
// The on-screen display page: one switch that turns the device's on-screen
// display on or off, a describing text chosen by product name, and the
// state beside the switch. The page asks for the state whenever it enters
// or leaves the window; a flip is sent at once and the controller answers
// through setOSDEnabled / setOSDFailed.

#include "QOVADisplayBaseView.h"

#include <QPointer>

class ITSwitch;
class QOVALabel;
class QOVAOSDViewDelegate;

class QOVAOSDView : public QOVADisplayBaseView {
    Q_OBJECT
public:
    explicit QOVAOSDView(const QString &productName, QWidget *parent = nullptr);

    // Held weakly: a delegate that is a QObject reads as none once deleted.
    void setDelegate(QOVAOSDViewDelegate *delegate);
    QOVAOSDViewDelegate *delegate() const;

    QOVALabel *osdLabel() const { return m_osdLabel; }
    QOVALabel *describeLabel() const { return m_describeLabel; }
    ITSwitch *osdSwitch() const { return m_osdSwitch; }
    QOVALabel *statusLabel() const { return m_statusLabel; }
    QString productName() const { return m_productName; }

    // The device's state (or the state just written): no action is sent.
    void setOSDEnabled(bool enabled);
    // A write failed: the switch flips back, without sending its action.
    void setOSDFailed();

    void requestOSDInfoStatus();

protected:
    bool event(QEvent *event) override;

private:
    void customizeOSDView();
    void clickOSDEnable();
    void showState(bool enabled);

    QString m_productName;
    QOVALabel *m_osdLabel = nullptr;
    QOVALabel *m_describeLabel = nullptr;
    ITSwitch *m_osdSwitch = nullptr;
    QOVALabel *m_statusLabel = nullptr;
    QOVAOSDViewDelegate *m_delegate = nullptr;
    QPointer<QObject> m_delegateGuard;
    bool m_delegateGuarded = false;
};
