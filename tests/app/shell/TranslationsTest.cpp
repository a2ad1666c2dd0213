// Every text key the sources look up has an English text in the compiled
// translations.

#include "ShellTestSupport.h"

#include "QOVATranslations.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

using namespace shelltest;

TEST(Translations, EveryKeyUsedInTheSourcesHasAnEnglishText)
{
    bus();   // installs the translations
    // A key looked up directly, and any key-shaped text literal: keys are
    // also chosen in expressions and kept in tables, in the core as in the
    // pages.
    const QRegularExpression uses[] = {
        QRegularExpression(QStringLiteral(R"((?:qtTrId|QT_TRID_NOOP)\s*\(\s*"([^"]+)\")")),
        QRegularExpression(QStringLiteral(R"re("((?:STRING|NOTIFICATION)_[A-Z0-9_]+)")re")),
    };
    QSet<QString> keys;
    QDirIterator it(QStringLiteral(ORVALINDE_SOURCE_DIR "/src"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (const QRegularExpression &use : uses) {
            for (auto m = use.globalMatch(text); m.hasNext();)
                keys.insert(m.next().captured(1));
        }
    }
    for (const char *key : {"STRING_CONNECT_USB_DEVICES", "STRING_UPDATE_FAILED_INCALL"})
        ASSERT_TRUE(keys.contains(QLatin1String(key))) << key;
    QStringList missing;
    for (const QString &key : keys) {
        const QString english = qtTrId(qPrintable(key));
        if (english.isEmpty() || english == key)
            missing << key;
    }
    missing.sort();
    EXPECT_TRUE(missing.isEmpty()) << "no English text for: " << qPrintable(missing.join(QStringLiteral(", ")));
}

TEST(Translations, OneFilePerAreaIsInstalled)
{
    const QStringList installed = QOVATranslations::installAll(QLocale(QLocale::German));
    EXPECT_TRUE(installed.contains(QStringLiteral(":/i18n/shell_en.qm"))) << qPrintable(installed.join(' '));
}

// The area files are compiled apart and installed together: a key written
// into two of them must say the same in both, or the text a user sees
// depends on which file happens to be searched first.
TEST(Translations, AKeyInSeveralAreaFilesHasOneText)
{
    const QRegularExpression message(QStringLiteral(
        R"re(<message id="([^"]+)">\s*<source>(.*?)</source>\s*<translation>(.*?)</translation>)re"),
                                     QRegularExpression::DotMatchesEverythingOption);
    QHash<QString, QString> textOf;
    QHash<QString, QString> fileOf;
    QStringList conflicts;
    QDirIterator it(QStringLiteral(ORVALINDE_SOURCE_DIR "/resources/translations"), {QStringLiteral("*.ts")},
                    QDir::Files);
    int files = 0;
    while (it.hasNext()) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        ++files;
        const QString name = QFileInfo(file.fileName()).fileName();
        const QString text = QString::fromUtf8(file.readAll());
        for (auto m = message.globalMatch(text); m.hasNext();) {
            const auto match = m.next();
            const QString key = match.captured(1);
            const QString english = match.captured(3);
            if (textOf.contains(key) && textOf.value(key) != english)
                conflicts << QStringLiteral("%1 (%2: \"%3\", %4: \"%5\")")
                                 .arg(key, fileOf.value(key), textOf.value(key), name, english);
            textOf.insert(key, english);
            fileOf.insert(key, name);
        }
    }
    ASSERT_GT(files, 1);
    EXPECT_TRUE(conflicts.isEmpty()) << qPrintable(conflicts.join(QStringLiteral("\n")));
}
