// Every text key the sources look up has an English text in the compiled
// translations.

#include "ShellTestSupport.h"

#include "QOVATranslations.h"

#include <QDirIterator>
#include <QFile>
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
