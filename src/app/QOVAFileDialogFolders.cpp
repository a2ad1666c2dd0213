#include "QOVAFileDialogFolders.h"
#include "util/QOVAUserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <memory>

namespace QOVAFileDialogFolders {

namespace {

QString key(Kind kind)
{
    const char *name = "Firmware";
    switch (kind) {
    case Kind::Configuration:
        name = "Configuration";
        break;
    case Kind::DeviceLogs:
        name = "DeviceLogs";
        break;
    case Kind::AudioTests:
        name = "AudioTests";
        break;
    case Kind::Certificates:
        name = "Certificates";
        break;
    case Kind::Firmware:
        name = "Firmware";
        break;
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
        if (s == QLatin1String("xml"))
            return Kind::Configuration;
        if (s == QLatin1String("zip"))
            return Kind::DeviceLogs;
        if (s == QLatin1String("tar"))
            return Kind::AudioTests;
        if (s == QLatin1String("dfu"))
            return Kind::Firmware;
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
