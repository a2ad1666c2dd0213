#include "QOVAOpenPanel.h"

#include "QOVAFileDialogFolders.h"

#include <QFileDialog>
#include <QPointer>

namespace {
QOVAOpenPanel::Chooser &chooser()
{
    static QOVAOpenPanel::Chooser theChooser;
    return theChooser;
}
} // namespace

void QOVAOpenPanel::setChooser(Chooser c)
{
    chooser() = std::move(c);
}

void QOVAOpenPanel::beginWithCompletionHandler(QWidget *parent, const QString &nameFilter,
                                               Completion completion)
{
    if (chooser()) {
        chooser()(parent, nameFilter, std::move(completion));
        return;
    }
    auto *dialog = new QFileDialog(parent ? parent->window() : nullptr);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilter(nameFilter);
    QOVAFileDialogFolders::prepare(dialog, QOVAFileDialogFolders::Kind::Firmware);
    QObject::connect(dialog, &QFileDialog::finished, dialog,
                     [dialog, completion = std::move(completion)](int result) {
                         if (completion)
                             completion(result == QDialog::Accepted ? 1 : 0,
                                        result == QDialog::Accepted ? dialog->selectedFiles() : QStringList());
                     });
    dialog->open();
}
