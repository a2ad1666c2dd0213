#include "QOVACertificateFilePanels.h"

#include "AppDelegate.h"
#include "QOVAFileDialogFolders.h"

#include <QFileDialog>
#include <QList>
#include <QPointer>

#include <utility>

namespace {

QString nameFilter(const QStringList &suffixes)
{
    if (suffixes.isEmpty())
        return QString();
    QStringList patterns;
    for (const QString &suffix : suffixes)
        patterns << QStringLiteral("*.") + suffix;
    return patterns.join(QLatin1Char(' '));
}

class DesktopPanels final : public QOVACertificateFilePanels {
public:
    void chooseFile(const QStringList &suffixes, Completion done) override
    {
        auto *dialog = new QFileDialog(AppDelegate::mainWindowWidget());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setFileMode(QFileDialog::ExistingFile);
        dialog->setOption(QFileDialog::ReadOnly);
        QOVAFileDialogFolders::prepare(dialog, QOVAFileDialogFolders::kindForSuffixes(suffixes));
        if (!suffixes.isEmpty())
            dialog->setNameFilter(nameFilter(suffixes));
        finish(dialog, std::move(done));
    }

    void saveFile(const QString &name, const QStringList &suffixes, Completion done) override
    {
        auto *dialog = new QFileDialog(AppDelegate::mainWindowWidget());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setNameFilters({nameFilter(suffixes), QStringLiteral("*")});
        QOVAFileDialogFolders::prepare(dialog, QOVAFileDialogFolders::kindForSuffixes(suffixes));
        dialog->selectFile(name);
        finish(dialog, std::move(done));
    }

    void closePanels() override
    {
        for (const QPointer<QFileDialog> &dialog : std::exchange(m_open, {})) {
            if (dialog)
                dialog->reject();
        }
    }

private:
    void finish(QFileDialog *dialog, Completion done)
    {
        m_open.removeIf([](const QPointer<QFileDialog> &open) { return open.isNull(); });
        m_open.append(dialog);
        auto shared = std::make_shared<Completion>(std::move(done));
        QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, shared](int result) {
            if (!*shared)
                return;
            Completion callback = std::move(*shared);
            *shared = nullptr;
            const QStringList files = dialog->selectedFiles();
            if (result == QDialog::Accepted && !files.isEmpty())
                callback(files.first());
            else
                callback(std::nullopt);
        });
        dialog->open();
    }

    QList<QPointer<QFileDialog>> m_open;
};

std::shared_ptr<QOVACertificateFilePanels> &installed()
{
    static std::shared_ptr<QOVACertificateFilePanels> panels;
    return panels;
}

} // namespace

QOVACertificateFilePanels &QOVACertificateFilePanels::shared()
{
    if (!installed())
        installed() = std::make_shared<DesktopPanels>();
    return *installed();
}

void QOVACertificateFilePanels::setShared(std::shared_ptr<QOVACertificateFilePanels> panels)
{
    installed() = std::move(panels);
}
