#pragma once
// Configuration: saves the device's configuration to an XML file on the
// computer and loads such a file into the device. The page only chooses the
// paths; its delegate (the device page controller) moves the file and
// reports the outcome on the page.

#include "QOVAConfigurationViewDelegate.h"
#include "QOVADisplayBaseView.h"

#include "menu/QOVAWeakDelegate.h"

class QOVAButton;
class QOVALabel;

class QOVAConfigurationView : public QOVADisplayBaseView {
    Q_OBJECT
public:
    explicit QOVAConfigurationView(const QString &productName, QWidget *parent = nullptr);

    void setConfigurationDelegate(QOVAConfigurationViewDelegate *delegate) { m_delegate.set(delegate); }
    QOVAConfigurationViewDelegate *configurationDelegate() const { return m_delegate.get(); }

    QOVALabel *exportLocalFileInfoLabel() const { return m_exportLocalFileInfoLabel; }
    QOVAButton *exportLocalFileButton() const { return m_exportLocalFileButton; }
    QOVALabel *importConfigFileInfoLabel() const { return m_importConfigFileInfoLabel; }
    QOVAButton *importConfigFileButton() const { return m_importConfigFileButton; }
    QString productName() const { return m_productName; }

    // The file name offered for an export: the product name without its
    // blanks, then "Config.xml".
    static QString proposedFileName(const QString &productName);

    void clickSExportButton();
    void importOpenButton();

private:
    void setupConfigurationUI();

    QOVALabel *m_exportLocalFileInfoLabel = nullptr;
    QOVAButton *m_exportLocalFileButton = nullptr;
    QOVALabel *m_importConfigFileInfoLabel = nullptr;
    QOVAButton *m_importConfigFileButton = nullptr;
    QString m_productName;
    QOVAWeakDelegate<QOVAConfigurationViewDelegate> m_delegate;
};
