#include "QOVAFileDialogFolders.h"
#include "util/QOVAUserDefaults.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace QOVAFileDialogFolders {

namespace {

// Each kind of file: the name its folder is remembered under, and the file
// suffix that tells it (certificates come in several, and are the rest).
struct KindEntry {
    Kind kind;
    const char *name;
    const char *suffix;
};

constexpr KindEntry kKinds[] = {
    {Kind::Configuration, "Configuration", "xml"},
    {Kind::DeviceLogs, "DeviceLogs", "zip"},
    {Kind::AudioTests, "AudioTests", "tar"},
    {Kind::Certificates, "Certificates", nullptr},
    {Kind::Firmware, "Firmware", "dfu"},
};

QString key(Kind kind)
{
    const char *name = "Firmware";
    for (const KindEntry &entry : kKinds) {
        if (entry.kind == kind)
            name = entry.name;
    }
    return QStringLiteral("FileDialogFolders/") + QLatin1String(name);
}

bool isFolder(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

Kind kindForSuffixes(const QStringList &suffixes)
{
    for (const QString &suffix : suffixes) {
        const QString s = suffix.toLower();
        for (const KindEntry &entry : kKinds) {
            if (entry.suffix && s == QLatin1String(entry.suffix))
                return entry.kind;
        }
    }
    return Kind::Certificates;
}

QString startFolder(Kind kind)
{
    const QString remembered = qova_user_defaults()->value(key(kind)).toString();
    if (isFolder(remembered))
        return remembered;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (isFolder(documents))
        return documents;
    return QDir::homePath();
}

void remember(Kind kind, const QString &chosenFile)
{
    if (chosenFile.isEmpty())
        return;
    const QString folder = QFileInfo(chosenFile).absolutePath();
    if (!isFolder(folder))
        return;
    qova_user_defaults()->setValue(key(kind), folder);
}

void prepare(QFileDialog *dialog, Kind kind)
{
    dialog->setDirectory(startFolder(kind));
    QObject::connect(dialog, &QFileDialog::accepted, dialog, [dialog, kind] {
        const QStringList files = dialog->selectedFiles();
        if (!files.isEmpty())
            remember(kind, files.first());
    });
}

} // namespace QOVAFileDialogFolders
