// The lab features page on its own: which firmware gets the presenter row,
// and the spacing of the two reads of a showing.

#include "PageTestSupport.h"

#include "ITSwitch.h"
#include "models/ConversationModeModel.h"
#include "settings/QOVALabFeatureView.h"

using namespace settingstest;

namespace {

struct RecordingLabDelegate : QOVALabFeatureDelegate {
    QStringList calls;
    void requestConversationModeInformation() override { calls << QStringLiteral("get conversation"); }
    void setconversationMode(bool enable) override { calls << QStringLiteral("conversation %1").arg(enable); }
    void requestLectureModeInformation() override { calls << QStringLiteral("get lecture"); }
    void setLectureMode(bool enable) override { calls << QStringLiteral("lecture %1").arg(enable); }
};

struct LabPage : PageHost<QOVALabFeatureView> {
    RecordingLabDelegate delegate;
    LabPage() { page->setDelegate(&delegate); }
};

} // namespace

// The version number is read in single precision and compared in double with
// 1.2, so "1.2" itself (1.2000000477) has the presenter row, and so does a
// text that rounds to it in single precision although it is below 1.2.
TEST(LabFeatureView, VersionNumberGatesThePresenterRow)
{
    const struct {
        const char *version;
        double number;
        bool lecture;
    } cases[] = {
        {"1.2", double(1.2f), true},
        {"1.3", double(1.3f), true},
        {"1.4", double(1.4f), true},
        {"1.3.0.5", double(1.3f), true},
        {"1.1", double(1.1f), false},
        {"1.0", 1.0, false},
        {"1", 1.0, false},
        {"1.19999998", double(1.19999993f), false},   // rounds down to 1.1999999285
        {"1.19999999", double(1.2f), true},           // rounds up to 1.2000000477
        {"1.20000001", double(1.2f), true},
        {"1.21", double(1.21f), true},
        {"2", 2.0, true},
        {" 1.3", double(1.3f), true},
        {"+1.3", double(1.3f), true},
        {"-1.3", double(-1.3f), false},
        {"1.3abc", double(1.3f), true},
        {"V1.3", 0.0, false},
        {"", 0.0, false},
        {".", 0.0, false},
    };
    const QString saved = QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.version);
        const QString version = QString::fromLatin1(c.version);
        EXPECT_EQ(QOVALabFeatureView::leadingVersionNumber(version), c.number);
        EXPECT_EQ(QOVALabFeatureView::hasLectureMode(version), c.lecture);

        setVersion(version);
        LabPage lab;
        EXPECT_EQ(lab.page->lectureModeSwitch() != nullptr, c.lecture);
        EXPECT_EQ(lab.page->presenterModeNote() != nullptr, c.lecture);
    }
    setVersion(saved);
}

TEST(LabFeatureView, WithoutThePresenterRowTheConversationSwitchStillWorks)
{
    setVersion(QStringLiteral("1.1"));
    LabPage lab;
    ITSwitch *conversation = lab.page->conversationModeSwitch();
    auto reply = std::make_shared<ConversationModeModel>();
    reply->conversation_view_mode = true;
    lab.page->conversationModeStatus(reply);
    click(conversation);
    EXPECT_FALSE(conversation->checked());
    EXPECT_EQ(lab.page->statusLabel()->stringValue(), qtTrId("STRING_OFF"));
    lab.page->setconversationModeFailed(false);
    EXPECT_TRUE(conversation->checked());
    EXPECT_EQ(lab.delegate.calls, QStringList{QStringLiteral("conversation 0")});
    lab.grab(QStringLiteral("settings_lab_features_v11.png"));
}

// The presenter mode is asked after the conversation mode by a timer, never
// by holding up the caller; a page that goes away before then asks nothing.
TEST(LabFeatureView, ShowingAsksConversationThenPresenterModeLater)
{
    setVersion(QStringLiteral("1.3"));
    LabPage lab;
    lab.page->handleDisplayViewEvent();
    EXPECT_EQ(lab.delegate.calls, QStringList{QStringLiteral("get conversation")});
    EXPECT_TRUE(waitFor([&] { return lab.delegate.calls.size() == 2; }));
    EXPECT_EQ(lab.delegate.calls.last(), QStringLiteral("get lecture"));

    lab.delegate.calls.clear();
    lab.page->handleDisplayViewEvent();
    lab.page->cancelDisplayViewEvent();
    QTest::qWait(50);
    EXPECT_EQ(lab.delegate.calls, QStringList{QStringLiteral("get conversation")});
}
