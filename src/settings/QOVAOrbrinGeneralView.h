#pragma once
// General settings of a video bar ("6e17") or a network camera ("6e12"):
// device name, time-server mode and server, and the camera vivid mode (video
// bar) or the name-rule window (network camera). The page asks its delegate
// for the values when shown and hands the edited values back on Save; Save
// is enabled only while the name (and, in manual mode, the server) is not
// empty, and stays disabled after every update until the user edits. Until
// the device's values have been read, Save stays disabled.

#include "QOVADisplayBaseView.h"
#include "QOVATextField.h"
#include "QOVAPopUpButton.h"
#include "QOVALabel.h"
#include "QOVAButton.h"
#include "ITSwitch.h"
#include "QOVAGeneraDelegate.h"

#include "menu/QOVAWeakDelegate.h"

#include <QPointer>
#include <optional>


class QOVAOrbrinGeneralView : public QOVADisplayBaseView {
    Q_OBJECT
public:
    explicit QOVAOrbrinGeneralView(const QString &productID, QWidget *parent = nullptr);

    void setDelegate(QOVAGeneraDelegate *delegate) { m_delegate.set(delegate); }
    QOVAGeneraDelegate *delegate() const { return m_delegate.get(); }
    QString productID() const { return m_productID; }
    QString countryRegion() const { return m_countryRegion; }

    void handleDisplayViewEvent() override;
    // The device's values could not be read: Save stays disabled until a
    // later read fills the page, so values never read are not offered.
    void generalInformationUnavailable();
    bool isReadFromDevice() const { return m_readFromDevice; }
    // Fills the page from the device's reply; Save ends up disabled.
    void updateGeneralInformation(const QString &countryRegion, const QString &deviceName,
                                  const QString &ntpMode, const QString &ntpServer, bool cameraVividMode);

    // Widgets (made on first use; only the product's rows are made).
    QOVALabel *deviceNameTitleLabel();
    QOVATextField *deviceNameEditor();
    QOVALabel *ntpModeTitleLabel();
    QOVAPopUpButton *ntpModeButton();
    QOVALabel *ntpServerTitleLabel();
    QOVATextField *ntpServerTextField();
    QOVALabel *cameraVividLabel();
    ITSwitch *cameraVividSwitch();
    QOVALabel *cameraVividStatusLabel();
    QOVAButton *nameRuleButton();
    QOVAButton *saveButton();
    bool hasSaveButton() const { return m_saveButton; }
    bool hasNameRuleButton() const { return m_nameRuleButton; }
    bool hasCameraVividSwitch() const { return m_cameraVividSwitch; }

    // User actions.
    void clickSaveButton();
    void handlePopBtn();
    void switchCameraVividMode();
    void checkNameRules();
    QWidget *nameRuleWindow() const { return m_nameRuleWindow; }
    void controlTextDidChange();
    // Enables Save by the name and server rules.
    void checkButtonStatus();

    // "%2E" escapes become their characters; an invalid escape or bytes
    // that are not UTF-8 give nothing.
    static std::optional<QString> percentDecoded(const QString &text);

private:
    bool isOrbrin() const { return m_productID == QLatin1String("6e17"); }
    bool isVasko() const { return m_productID == QLatin1String("6e12"); }
    bool isAutoSelected() const;
    void layoutCommonRows();
    void layoutOrbrinRows();
    void layoutVaskoRows();
    void relayoutForMode();

    QString m_productID;
    QString m_countryRegion;
    // The fields hold the device's values (the last read succeeded).
    bool m_readFromDevice = false;
    QOVAWeakDelegate<QOVAGeneraDelegate> m_delegate;

    QPointer<QOVALabel> m_deviceNameTitleLabel;
    QPointer<QOVATextField> m_deviceNameEditor;
    QPointer<QOVALabel> m_ntpModeTitleLabel;
    QPointer<QOVAPopUpButton> m_ntpModeButton;
    QPointer<QOVALabel> m_ntpServerTitleLabel;
    QPointer<QOVATextField> m_ntpServerTextField;
    QPointer<QOVALabel> m_cameraVividLabel;
    QPointer<ITSwitch> m_cameraVividSwitch;
    QPointer<QOVALabel> m_cameraVividStatusLabel;
    QPointer<QOVAButton> m_nameRuleButton;
    QPointer<QOVAButton> m_saveButton;
    QPointer<QWidget> m_nameRuleWindow;
};
