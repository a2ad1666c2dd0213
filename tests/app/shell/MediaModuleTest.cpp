// The capture module as the application opens it: every symbol it takes
// from the executable resolves, and its entry points make the real capture.

#include "QOVAMediaModule.h"
#include "camera/QOVACaptureSource.h"
#include "settings/QOVAAudioCapture.h"

#include <QObject>

#include <gtest/gtest.h>

TEST(MediaModule, OpensWithEverySymbolResolvedAndMakesTheRealCapture)
{
    QOVAMediaModule::setPath(QStringLiteral(ORVALINDE_MEDIA_MODULE));
    ASSERT_TRUE(QOVAMediaModule::isAvailable());

    QObject owner;
    QOVACaptureSource *source = QOVAMediaModule::createCaptureSource(QStringLiteral("0x00000000046d6e12"), &owner);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->parent(), &owner);
    EXPECT_STREQ(source->metaObject()->className(), "QOVAQtCaptureSource");
    EXPECT_EQ(qobject_cast<QOVACaptureSource *>(source), source);
    EXPECT_FALSE(source->isRunning());

    const std::shared_ptr<QOVAAudioCapture> capture = QOVAMediaModule::createAudioCapture();
    ASSERT_TRUE(capture);
    EXPECT_NE(typeid(*capture).name(), std::string());
}
