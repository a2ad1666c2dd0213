#pragma once
// Where the application's open and save dialogs start: in the folder last
// used for that kind of file (kept in the user defaults, one per kind), else
// in the user's Documents folder when there is one, else in the home folder
// - never in the folder the application was started from.
//
//   auto *dialog = new QFileDialog(parent);
//   QOVAFileDialogFolders::prepare(dialog, QOVAFileDialogFolders::Kind::Configuration);
//
// prepare() starts the dialog in the kind's folder and remembers the folder
// of the file the user accepts.

#include <QString>
#include <QStringList>

class QFileDialog;

namespace QOVAFileDialogFolders {

enum class Kind {
    Configuration,   // configuration export and import (.xml)
    DeviceLogs,      // device log and crash-file archives (.zip)
    AudioTests,      // audio test recordings (.tar)
    Certificates,    // certificates, keys and signing requests
    Firmware,        // local firmware files (.dfu)
};

// The kind of the files a dialog offers, from the suffixes it filters by.
Kind kindForSuffixes(const QStringList &suffixes);

// The folder a dialog for this kind starts in.
QString startFolder(Kind kind);
// Remembers the folder of a chosen file for its kind (an empty path is
// ignored).
void remember(Kind kind, const QString &chosenFile);

void prepare(QFileDialog *dialog, Kind kind);

} // namespace QOVAFileDialogFolders
