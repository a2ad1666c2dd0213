#pragma once
// The set-up page on which the device is named. Next hands on the name as
// typed (the device judges it); an empty field sends nothing. For a network
// camera a button under the tip opens the window with the camera's naming
// rules.

#include "QOVAHalvexDeviceNameViewDelegate.h"
#include "QOVAHalvexOOBBaseView.h"

#include "QOVADeviceListItem.h"

class QOVATextField;

class QOVAHalvexDeviceNameView : public QOVAHalvexOOBBaseView {
    Q_OBJECT
public:
    explicit QOVAHalvexDeviceNameView(QWidget *parent = nullptr);

    void setDeviceNameDelegate(QOVAHalvexDeviceNameViewDelegate *delegate) { m_delegate.set(delegate); }
    QOVAHalvexDeviceNameViewDelegate *deviceNameDelegate() const { return m_delegate.get(); }

    QOVALabel *userNameLabel() const { return m_userNameLabel; }
    QOVATextField *userNameTextField() const { return m_userNameTextField; }
    QOVALabel *tipLabel() const { return m_tipLabel; }
    // Only for a network camera; none otherwise.
    QOVAButton *nameRuleButton() const { return m_nameRuleButton; }

    // The device being set up; a network camera gets the name-rule button.
    void setSettingsModel(const QOVADeviceListItemRef &model);
    QOVADeviceListItemRef settingsModel() const { return m_settingsModel; }

    void pageControlGoNext(QOVAHalvexPageControlView *bar) override;
    // Opens a new name-rule window.
    void checkNameRules();

private:
    void setupDeviceNameView();

    QOVAWeakDelegate<QOVAHalvexDeviceNameViewDelegate> m_delegate;
    QOVALabel *m_userNameLabel = nullptr;
    QOVATextField *m_userNameTextField = nullptr;
    QOVALabel *m_tipLabel = nullptr;
    QOVAButton *m_nameRuleButton = nullptr;
    QOVADeviceListItemRef m_settingsModel;
};
