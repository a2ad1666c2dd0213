// The menu's English texts for every test of this program, from the
// translation compiled into the application's resources.

#include <QCoreApplication>
#include <QTranslator>

#include <gtest/gtest.h>

// The application's images live in a static library: make sure they are
// registered.
static void initImages()
{
    Q_INIT_RESOURCE(images);
}

namespace {

class MenuTextsEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        initImages();
        m_translator = new QTranslator(QCoreApplication::instance());
        ASSERT_TRUE(m_translator->load(QStringLiteral(":/i18n/menu_en.qm")));
        QCoreApplication::installTranslator(m_translator);
        ASSERT_EQ(qtTrId("STRING_STATUS"), QStringLiteral("Status"));
    }

private:
    QTranslator *m_translator = nullptr;
};

const auto *const kEnvironment = ::testing::AddGlobalTestEnvironment(new MenuTextsEnvironment);

} // namespace
