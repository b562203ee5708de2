#include "regional.h"

#include "test_environment.h"

namespace {

class RegionalTest : public testsupport::TestEnvironment {};

TEST_F(RegionalTest, ShortDatesReadInTheFormatsOrder) {
    struct Case {
        const char* format;  // empty: no format set, the Latvian default
        const char* text;
        int year, month, day;  // year 0: refused
    };
    const Case cases[] = {
        {"", "01.02.2015", 2015, 2, 1},
        {"", "1.2.2015", 2015, 2, 1},
        {"", "28.02.15", 2015, 2, 28},
        {"", "29.02.2015", 0, 0, 0},
        {"", "29.02.2016", 2016, 2, 29},
        {"", "32.01.2015", 0, 0, 0},
        {"", "01.13.2015", 0, 0, 0},
        {"", "01.02.2015 ", 0, 0, 0},
        {"", "01-02", 0, 0, 0},
        {"", "ab.cd.efgh", 0, 0, 0},
        {"", "", 0, 0, 0},
        {"M/d/yyyy", "2/1/2015", 2015, 2, 1},
        {"yyyy-MM-dd", "2015-02-01", 2015, 2, 1},
    };
    for (const Case& c : cases) {
        if (*c.format) settings().writeText("Control Panel\\International", "sShortDate", c.format);
        else settings().deleteValue("Control Panel\\International", "sShortDate");
        const auto date = platform::parseShortDate(c.text);
        if (c.year == 0) {
            EXPECT_FALSE(date) << c.text;
            continue;
        }
        ASSERT_TRUE(date) << c.text;
        EXPECT_EQ(date->year, c.year) << c.text;
        EXPECT_EQ(date->month, c.month) << c.text;
        EXPECT_EQ(date->day, c.day) << c.text;
    }
}

}  // namespace
