#pragma once
// The file panels of the pages that read or write files on the computer:
// choosing a file to send to the device (a certificate, a configuration) and
// choosing where a file from the device is saved. Each answers once, later,
// on the main thread. Tests install panels of their own.

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QOVACertificateFilePanels {
public:
    virtual ~QOVACertificateFilePanels() = default;
    // done gets the chosen path, or nothing when the user cancelled.
    using Completion = std::function<void(std::optional<QString> path)>;

    // One existing file; suffixes limit the files offered (empty: any file).
    virtual void chooseFile(const QStringList &suffixes, Completion done) = 0;
    // A file to write, proposing name; suffixes are the preferred types,
    // other types stay allowed.
    virtual void saveFile(const QString &name, const QStringList &suffixes, Completion done) = 0;
    // Closes the panels still open, as if the user had cancelled them.
    virtual void closePanels() {}

    // The panels in use: the desktop's file dialogs unless others were installed.
    static QOVACertificateFilePanels &shared();
    // Installs panels (nullptr returns to the desktop's).
    static void setShared(std::shared_ptr<QOVACertificateFilePanels> panels);
};
