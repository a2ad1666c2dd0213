// Test entry point for widget tests: a QApplication (offscreen in CTest).
#include <QApplication>
#include <QThreadPool>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Test discovery runs the binary at build time, outside CTest's
    // environment: default to the offscreen platform there too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // The shared pool's idle threads (video frame conversion, host lookups)
    // would otherwise end during the exit, while the leak check stops every
    // thread to read its stack; ended here, they are gone before it.
    QThreadPool::globalInstance()->waitForDone();
    return result;
}
