// Where the open and save dialogs start: the folder last used for that kind
// of file, else the user's Documents folder, else home - each kind on its
// own. Driven through the real dialogs of the panels the pages use.
#include "QOVAFileDialogFolders.h"
#include "certificates/QOVACertificateFilePanels.h"
#include "firmware/ui/QOVAOpenPanel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

namespace {

using Kind = QOVAFileDialogFolders::Kind;

struct Row {
    const char *name;
    Kind kind;
    bool save;
    const char *fileName;   // the file the user picks
    // Opens the dialog; the path chosen (or nothing) goes to done.
    std::function<void(std::function<void(std::optional<QString>)> done)> open;
};

QOVACertificateFilePanels &panels() { return QOVACertificateFilePanels::shared(); }

const std::vector<Row> &rows()
{
    static const std::vector<Row> theRows = {
        {"configuration import", Kind::Configuration, false, "room.xml",
         [](auto done) { panels().chooseFile({QStringLiteral("xml")}, done); }},
        {"configuration export", Kind::Configuration, true, "export.xml",
         [](auto done) { panels().saveFile(QStringLiteral("HalvexConfig.xml"), {QStringLiteral("xml")}, done); }},
        {"device log", Kind::DeviceLogs, true, "log.zip",
         [](auto done) { panels().saveFile(QStringLiteral("HalvexLog_1.zip"), {QStringLiteral("zip")}, done); }},
        {"audio test", Kind::AudioTests, true, "test.tar",
         [](auto done) { panels().saveFile(QStringLiteral("HalvexAudioTest_1.tar"), {QStringLiteral("tar")}, done); }},
        {"certificate", Kind::Certificates, false, "ca.pem",
         [](auto done) { panels().chooseFile({QStringLiteral("crt"), QStringLiteral("pem")}, done); }},
        {"signing request", Kind::Certificates, true, "request.csr",
         [](auto done) { panels().saveFile(QStringLiteral("client.csr"), {QStringLiteral("csr")}, done); }},
        {"local firmware", Kind::Firmware, false, "image.dfu",
         [](auto done) {
             QOVAOpenPanel::beginWithCompletionHandler(nullptr, QStringLiteral("*.dfu"),
                                                       [done](int result, const QStringList &paths) {
                                                           if (result == 1 && !paths.isEmpty())
                                                               done(paths.first());
                                                           else
                                                               done(std::nullopt);
                                                       });
         }},
    };
    return theRows;
}

class FileDialogFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Where user settings go unless set: taken before the environment
        // moves it, and put back for the cases that run after these.
        savedSettings = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        ASSERT_TRUE(root.isValid());
        home = root.filePath(QStringLiteral("home"));
        ASSERT_TRUE(QDir().mkpath(home));
        savedHome = qgetenv("HOME");
        savedConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath(QStringLiteral("config"))));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root.filePath(QStringLiteral("settings")));
        QOVACertificateFilePanels::setShared(nullptr);
        QOVAOpenPanel::setChooser(nullptr);
        // The folder the process runs in is not where a dialog starts.
        savedCurrent = QDir::currentPath();
        QDir::setCurrent(root.path());
    }
    void TearDown() override
    {
        closeDialogs();
        QDir::setCurrent(savedCurrent);
        qputenv("HOME", savedHome);
        if (savedConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", savedConfig);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, savedSettings);
    }

    static QFileDialog *openDialog()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<QFileDialog *>(w);
            if (dialog && dialog->isVisible())
                return dialog;
        }
        return nullptr;
    }
    static void closeDialogs()
    {
        while (QFileDialog *dialog = openDialog())
            dialog->reject();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The folder the row's dialog starts in (the dialog is cancelled).
    static QString startOf(const Row &row)
    {
        std::optional<QString> chosen = QStringLiteral("none yet");
        row.open([&chosen](std::optional<QString> path) { chosen = path; });
        QFileDialog *dialog = openDialog();
        EXPECT_TRUE(dialog) << row.name;
        const QString folder = dialog ? dialog->directory().absolutePath() : QString();
        closeDialogs();
        EXPECT_EQ(chosen, std::nullopt) << row.name;
        return folder;
    }

    // Picks the row's file in the folder and accepts; the path the panel gave.
    static std::optional<QString> choose(const Row &row, const QString &folder)
    {
        const QString file = QDir(folder).filePath(QLatin1String(row.fileName));
        if (!row.save) {
            QFile f(file);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        }
        std::optional<QString> chosen;
        row.open([&chosen](std::optional<QString> path) { chosen = path; });
        QFileDialog *dialog = openDialog();
        EXPECT_TRUE(dialog) << row.name;
        if (!dialog)
            return std::nullopt;
        dialog->selectFile(file);
        // The dialog's own accept, as its Open or Save button calls it.
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return chosen;
    }

    QTemporaryDir root;
    QString home;
    QByteArray savedHome;
    QByteArray savedConfig;
    QString savedSettings;
    QString savedCurrent;
};

} // namespace

TEST_F(FileDialogFoldersTest, AFirstDialogStartsInDocumentsElseHome)
{
    for (const Row &row : rows())
        EXPECT_EQ(startOf(row), home) << row.name;
    const QString documents = QDir(home).filePath(QStringLiteral("Documents"));
    ASSERT_TRUE(QDir().mkpath(documents));
    for (const Row &row : rows())
        EXPECT_EQ(startOf(row), documents) << row.name;
}

TEST_F(FileDialogFoldersTest, EachKindStartsWhereItsLastFileWasChosenAndNoOtherKindFollows)
{
    const QString documents = QDir(home).filePath(QStringLiteral("Documents"));
    ASSERT_TRUE(QDir().mkpath(documents));
    std::map<Kind, QString> expected;
    for (const Row &row : rows())
        expected[row.kind] = documents;
    for (const Row &row : rows()) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(startOf(row), expected[row.kind]);
        const QString folder = root.filePath(QStringLiteral("chosen/") + QLatin1String(row.name));
        ASSERT_TRUE(QDir().mkpath(folder));
        EXPECT_EQ(choose(row, folder), QDir(folder).filePath(QLatin1String(row.fileName)));
        expected[row.kind] = folder;
        // Every dialog of that kind starts there now; the other kinds stay.
        for (const Row &other : rows())
            EXPECT_EQ(startOf(other), expected[other.kind]) << "then " << other.name;
    }
    // A remembered folder that is gone no longer counts.
    ASSERT_TRUE(QDir(expected[Kind::Firmware]).removeRecursively());
    EXPECT_EQ(startOf(rows().back()), documents);
}
