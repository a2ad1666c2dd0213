// Whether an offered firmware version is newer, per family numbering.
#include "version_compare.h"

#include <gtest/gtest.h>

TEST(VersionCompare, Table)
{
    struct Case {
        const char *current, *available;
        qint64 type;
        bool newer;
    } cases[] = {
        // Part by part; a missing part counts as 0.
        {"1.2", "1.2.1", 1, true},
        {"1.2", "1.2.0", 1, false},
        {"1.2.0", "1.2", 1, false},
        {"1.2.1", "1.2", 1, false},
        {"1.9", "1.10", 1, true},
        {"1.10", "1.9", 1, false},
        {"12.0.3", "12.0.4", 1, true},
        {"12.0.4", "12.0.4", 1, false},
        {"1.0.0", "1.0.1", 3, true},
        {"V1", "V2", 1, false},              // no leading digits: both 0
        {"1.3a", "1.4b", 1, true},           // leading digits count
        // Numbers saturate instead of wrapping.
        {"1.99999999999999999999", "1.18446744073709551615", 1, false},
        {"1.18446744073709551614", "1.99999999999999999999", 1, true},
        // An empty version is never compared.
        {"", "1.0", 1, false},
        {"1.0", "", 1, false},
        {"", "1.0", 2, false},
        // Video bar: the last dotted parts only.
        {"1.1.5", "1.1.6", 2, true},
        {"2.0.999", "1.0.1000", 2, true},
        {"1.0.1000", "2.0.999", 2, false},
        {"1.1", "1.1", 2, false},
        // Network camera: the parts after the last "-".
        {"1.3-12", "1.3-13", 4, true},
        {"1.3-13", "1.3-12", 4, false},
        {"1.3.2", "1.3.3-2", 4, true},
        {"9-1", "1-2", 4, true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(firmware_version_is_newer(QString::fromLatin1(c.current), QString::fromLatin1(c.available), c.type),
                  c.newer)
            << c.current << " -> " << c.available << " type " << c.type;
    }
}
