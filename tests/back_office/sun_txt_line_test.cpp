#include "sun_txt.h"

#include <gtest/gtest.h>

namespace {

TEST(SunTxtLineTest, LinesOfSums) {
    struct Case {
        const char* artikuls;
        double summa;
        double daudzums;
        const char* line;
    };
    const Case cases[] = {
        {"123", 12.50, 2, "0000000000123,000000001250,0002.000"},
        {"123", -3.40, -1, "0000000000123,-000000000340,-0001.000"},
        // Halves of a hundredth go up.
        {"123", 0.125, 1, "0000000000123,000000000013,0001.000"},
        {"1234567890123", 1, 1, "1234567890123,000000000100,0001.000"},
        {"12345678901234", 1, 1, "12345678901234,000000000100,0001.000"},
        {"7", 1, 12345.5, "0000000000007,000000000100,12345.500"},
        // The signs follow the quantity alone.
        {"7", -5, 1, "0000000000007,000000000500,0001.000"},
        {"7", 5, -1, "0000000000007,-000000000500,-0001.000"},
        // Amounts of 10^12 hundredths and more come out in whole digits.
        {"7", 1e10, 1, "0000000000007,1000000000000,0001.000"},
        {"7", 1e16, 1, "0000000000007,1000000000000000000,0001.000"},
    };
    for (const Case& c : cases) {
        const auto line = SunLine(QString::fromUtf8(c.artikuls), c.summa, c.daudzums);
        ASSERT_TRUE(line) << c.line;
        EXPECT_EQ(*line, QString::fromUtf8(c.line));
    }
    // A sale and its return cancel: no line, also when the sum of the quantities is not exact.
    EXPECT_FALSE(SunLine(QStringLiteral("7"), 0, 0));
    EXPECT_FALSE(SunLine(QStringLiteral("7"), 0, 0.1 + 0.2 - 0.3));
}

}  // namespace
