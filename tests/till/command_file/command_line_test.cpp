// The command file's line grammar: lines, keyword split, key=value rules and numbers.
#include "command_line.h"

#include <gtest/gtest.h>

using namespace command_file;

TEST(CommandLine, FileLinesEndAtCrLfLoneCrOrLoneLf) {
    struct Case {
        QString text;
        QStringList lines;
    } const cases[] = {
        {"", {}},
        {"A", {"A"}},
        {"A\r\n", {"A"}},
        {"A\r\nB", {"A", "B"}},
        {"A\rB\nC\r\n", {"A", "B", "C"}},
        {"A\r\n\r\nB\r\n", {"A", "", "B"}},
        {"\n", {""}},
        {"A\n\rB", {"A", "", "B"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitFileLines(c.text), c.lines) << c.text.toStdString();
}

TEST(CommandLine, KeywordIsTheTextBeforeTheFirstColonUntouched) {
    EXPECT_EQ(SplitCommandLine("SALE:PLU=1;").keyword, "SALE");
    EXPECT_EQ(SplitCommandLine("SALE:PLU=1;").arguments, "PLU=1;");
    EXPECT_EQ(SplitCommandLine(" SALE:A:B").keyword, " SALE");
    EXPECT_EQ(SplitCommandLine(" SALE:A:B").arguments, "A:B");
    EXPECT_EQ(SplitCommandLine("OPENCASH").keyword, "");
    EXPECT_EQ(SplitCommandLine("OPENCASH").arguments, "OPENCASH");
}

TEST(CommandLine, KeyValueRules) {
    struct Case {
        QString arguments;
        QString key;
        std::optional<QString> value;
    } const cases[] = {
        {"PLU=123;QNTY=2;", "PLU", "123"},
        {"QNTY=2;PLU=123;", "PLU", "123"},
        {"PLU= 12 3 \t;", "PLU", "12 3"},
        {"PLU=1;PLU=2;", "PLU", "1"},
        {"PLU=123;QNTY=2", "QNTY", ""},   // not closed by ';'
        {"PLU=123;", "QNTY", std::nullopt},
        {"plu=123;", "PLU", std::nullopt},  // case matters
        {"XPLU=7;PLU=8;", "PLU", "7"},      // no word boundaries
        {"PLU=;", "PLU", ""},
        {"LINE1=a=b;", "LINE1", "a=b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyValue(c.arguments, c.key), c.value) << c.arguments.toStdString() << " " << c.key.toStdString();
    }
}

TEST(CommandLine, NumbersUseThePointAndNothingElse) {
    EXPECT_EQ(ParseDecimal("2.5"), 2.5);
    EXPECT_EQ(ParseDecimal("-20.5"), -20.5);
    EXPECT_EQ(ParseDecimal("+3"), 3.0);
    EXPECT_EQ(ParseDecimal(".5"), 0.5);
    EXPECT_EQ(ParseDecimal("1e2"), 100.0);
    for (const char* bad : {"", "2,5", "abc", "5x", " 5", "+-5", "inf", "nan", "1e999", "5.5.5", "ā"}) {
        EXPECT_FALSE(ParseDecimal(bad)) << bad;
    }
    EXPECT_EQ(ParseInteger("12"), 12);
    EXPECT_EQ(ParseInteger("-3"), -3);
    for (const char* bad : {"", "1.0", "x", "99999999999"}) EXPECT_FALSE(ParseInteger(bad)) << bad;
    EXPECT_EQ(ParseInteger64("99999999999"), 99999999999LL);
}

TEST(CommandLine, GeneralFormatIsShortestUpToFifteenDigits) {
    struct Case {
        double value;
        const char* text;
    } const cases[] = {
        {2, "2"}, {0.5, "0.5"}, {2.5, "2.5"}, {1.2, "1.2"}, {0.1 + 0.2, "0.3"}, {1234567.891, "1234567.891"}, {-3, "-3"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatGeneral(c.value), c.text) << c.text;
}

TEST(CommandLine, CentsFormat) {
    EXPECT_EQ(FormatCents(0), "0.00");
    EXPECT_EQ(FormatCents(5), "0.05");
    EXPECT_EQ(FormatCents(2500), "25.00");
    EXPECT_EQ(FormatCents(-1250), "-12.50");
    EXPECT_EQ(FormatCentsWidth(1250, 10), "     12.50");
}
