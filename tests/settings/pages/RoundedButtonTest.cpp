// The rounded (pill) buttons of the settings pages as a user sees them: the
// outline whole round both ends and the title clear of them, in the
// application's font.

#include "PageTestSupport.h"
#include "TextFit.h"

#include "QOVAButton.h"
#include "settings/QOVAAdminSignIn.h"
#include "settings/QOVABluetoothPairMode.h"
#include "settings/QOVAConfigurationView.h"

#include <QImage>

#include <cmath>

using namespace settingstest;

namespace {

// How far a colour is from white.
int inkOf(QRgb pixel)
{
    return (255 - qRed(pixel)) + (255 - qGreen(pixel)) + (255 - qBlue(pixel));
}

// Columns of the picture of a pill of radius r where no outline is drawn
// within a pixel of the outline's top or bottom.
QList<int> gapsInOutline(const QImage &picture, double r)
{
    QList<int> gaps;
    const int w = picture.width(), h = picture.height();
    for (int x = 0; x < w; ++x) {
        const double cx = x + 0.5;
        const double dx = cx < r ? r - cx : cx > w - r ? cx - (w - r) : 0;
        const double top = r - std::sqrt(std::max(0.0, r * r - dx * dx));
        for (double edge : {top, h - top}) {
            int strongest = 0;
            for (int y = int(std::floor(edge)) - 1; y <= int(std::ceil(edge)); ++y) {
                if (y >= 0 && y < h)
                    strongest = std::max(strongest, inkOf(picture.pixel(x, y)));
            }
            if (strongest < 40) {
                gaps.append(x);
                break;
            }
        }
    }
    return gaps;
}


} // namespace

TEST(RoundedButtons, OutlineIsWholeAndTitleClearOfTheEnds)
{
    PageHost<QOVAConfigurationView> config(QStringLiteral("Zentaro Halvex"));
    PageHost<QOVABluetoothPairMode> pair;
    PageHost<QOVAAdminSignIn> admin;
    const struct {
        QWidget *page;
        QOVAButton *button;
    } buttons[] = {
        {config.page, config.page->exportLocalFileButton()},
        {config.page, config.page->importConfigFileButton()},
        {pair.page, pair.page->startPairButton()},
        {admin.page, admin.page->signInButton()},
    };
    for (const auto &b : buttons) {
        SCOPED_TRACE(qPrintable(b.button->textString()));
        ASSERT_EQ(b.button->height(), 24);
        // What the page shows where the button is (its look and any clipping).
        const QImage picture = b.page->grab(b.button->geometry()).toImage();
        EXPECT_EQ(gapsInOutline(picture, 12), QList<int>());
        EXPECT_TRUE(textfit::titleClearOfEnds(b.button, 5));
    }
}
