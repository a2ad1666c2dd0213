// Entry point of the firmware network tests: every process gets its own
// data and configuration folders (downloads, settings, update configuration)
// so that tests running in parallel never share a file.
#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_CONFIG_DIRS", home.filePath(QStringLiteral("etc-xdg")).toUtf8());
    qunsetenv("ORVALINDE_UPDATE_CONFIG");

    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("OrvalindeTests"));
    QCoreApplication::setApplicationName(QStringLiteral("firmware"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
