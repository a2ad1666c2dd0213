#include "QOVAOpenPanel.h"

#include "QOVAFileDialogFolders.h"

#include <QFileDialog>
#include <QPointer>

namespace {

class DesktopOpenPanel : public QOVAOpenPanel {
public:
    void chooseFile(Completion done) override
    {
        // A panel of its own, not attached to a window.
        auto *dialog = new QFileDialog(nullptr);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setFileMode(QFileDialog::ExistingFile);
        dialog->setOption(QFileDialog::ReadOnly, true);   // no new folders
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        QOVAFileDialogFolders::prepare(dialog, QOVAFileDialogFolders::Kind::Certificates);
        QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, done](int result) {
            const QStringList files = dialog->selectedFiles();
            if (result == QDialog::Accepted && !files.isEmpty())
                done(files.first());
            else
                done(std::nullopt);
        });
        dialog->open();
    }
};

std::shared_ptr<QOVAOpenPanel> &installedOpenPanel()
{
    static std::shared_ptr<QOVAOpenPanel> panel;
    return panel;
}

} // namespace

QOVAOpenPanel &QOVAOpenPanel::shared()
{
    static DesktopOpenPanel desktop;
    if (installedOpenPanel())
        return *installedOpenPanel();
    return desktop;
}

void QOVAOpenPanel::setShared(std::shared_ptr<QOVAOpenPanel> panel)
{
    installedOpenPanel() = std::move(panel);
}
