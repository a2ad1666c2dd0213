#include "QOVAConfigurationView.h"

#include "QOVASettingsStyle.h"

#include "QOVAButton.h"
#include "QOVALabel.h"
#include "certificates/QOVACertificateFilePanels.h"

#include <QPointer>
#include <QtMath>

using namespace settingsstyle;

namespace {

int buttonWidth(QOVAButton *button)
{
    return pillWidth(button, 100);
}

} // namespace

QOVAConfigurationView::QOVAConfigurationView(const QString &productName, QWidget *parent)
    : QOVADisplayBaseView(parent)
    , m_productName(productName)
{
    detailViewName()->setStringValue(qtTrId("STRING_CONFIGURATION"));
    setupConfigurationUI();
}

void QOVAConfigurationView::setupConfigurationUI()
{
    m_exportLocalFileInfoLabel = rowLabel(this, qtTrId("STRING_EXPORT_CONFIGURATION_TIP"), QStringLiteral("000000"));
    fitLabel(m_exportLocalFileInfoLabel, 538);
    m_exportLocalFileInfoLabel->move(36, underSplitLine(this, 24));

    m_exportLocalFileButton = accentButton(this, qtTrId("STRING_EXPORT_TO_LOCAL_FILE"));
    m_exportLocalFileButton->setGeometry(36, m_exportLocalFileInfoLabel->geometry().bottom() + 1 + 24,
                                         buttonWidth(m_exportLocalFileButton), 24);
    connect(m_exportLocalFileButton, &QOVAButton::clicked, this, [this] { clickSExportButton(); });

    m_importConfigFileInfoLabel = rowLabel(this, qtTrId("STRING_IMPORT_CONFIGURATION_TIP"), QStringLiteral("000000"));
    fitLabel(m_importConfigFileInfoLabel, 538);
    m_importConfigFileInfoLabel->move(36, m_exportLocalFileButton->geometry().bottom() + 1 + 61);

    m_importConfigFileButton = accentButton(this, qtTrId("STRING_IMPORT_FROM_LOCAL_FILE"));
    m_importConfigFileButton->setGeometry(36, m_importConfigFileInfoLabel->geometry().bottom() + 1 + 24,
                                          buttonWidth(m_importConfigFileButton), 24);
    connect(m_importConfigFileButton, &QOVAButton::clicked, this, [this] { importOpenButton(); });
}

QString QOVAConfigurationView::proposedFileName(const QString &productName)
{
    QString name = productName;
    name.remove(QLatin1Char(' '));
    return name + QStringLiteral("Config.xml");
}

void QOVAConfigurationView::clickSExportButton()
{
    QPointer<QOVAConfigurationView> self(this);
    QOVACertificateFilePanels::shared().saveFile(
        proposedFileName(m_productName), {QStringLiteral("xml")}, [self](std::optional<QString> path) {
            if (!self || !path)
                return;
            if (QOVAConfigurationViewDelegate *d = self->configurationDelegate())
                d->getConfigFile(self, *path);
        });
}

void QOVAConfigurationView::importOpenButton()
{
    // Files only: a folder has nothing to send.
    QPointer<QOVAConfigurationView> self(this);
    QOVACertificateFilePanels::shared().chooseFile({QStringLiteral("xml")}, [self](std::optional<QString> path) {
        if (!self)
            return;
        if (!path) {
            qInfo("Cancel");
            return;
        }
        qInfo("OK");
        qInfo("Test the path is %s", qUtf8Printable(*path));
        if (QOVAConfigurationViewDelegate *d = self->configurationDelegate())
            d->importConfigFileFromPC(self, *path);
    });
}
