// The record texts of the set-up program without a device: numbers, counters, the department and
// currency tables and the viewer's lines.
#include "record_texts.h"

#include <gtest/gtest.h>

namespace setuprecords {
namespace {

TEST(RecordTexts, AmountsInTheGeneralFormat)
{
    const std::pair<double, const char*> cases[] = {
        {11499 * 0.01, "114.99"}, {250 * 0.01, "2.5"}, {0, "0"}, {1250 * 0.01, "12.5"}, {-33 * 0.01, "-0.33"},
        {123456789012 * 0.01, "1234567890.12"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(generalNumber(value), QString::fromLatin1(text)) << text;
}

TEST(RecordTexts, TypedAmountsBecomeWholeCents)
{
    const std::pair<const char*, double> cases[] = {{"1.15", 115}, {"12.5", 1250}, {" 0.07 ", 7}, {"-2.5", -250}, {"0", 0}};
    for (const auto& [text, cents] : cases) {
        const auto units = decimalNumber(QString::fromLatin1(text));
        ASSERT_TRUE(units) << text;
        EXPECT_EQ(wholeCents(*units), cents) << text;
    }
    for (const char* bad : {"1,15", "", "x", "inf", "1.1.1"})
        EXPECT_FALSE(decimalNumber(QString::fromLatin1(bad))) << bad;
}

TEST(RecordTexts, Counters)
{
    EXPECT_EQ(receiptCounterText(QStringLiteral(" 42 ")), QStringLiteral("00000000042"));
    EXPECT_EQ(receiptCounterText(QStringLiteral("x")), QStringLiteral("00000000001"));
    // A number of eleven digits or more is not cut here; the record's size cuts it.
    EXPECT_EQ(receiptCounterText(QStringLiteral("2000000000")), QStringLiteral("02000000000"));
    EXPECT_EQ(xReportText(QStringLiteral("7")), QStringLiteral("7") + QString(11, QLatin1Char(' ')));
}

TEST(RecordTexts, DepartmentTable)
{
    const auto rates = [](int d) -> std::optional<int> {
        if (d == 1) return 12;
        if (d == 2) return -1;
        return std::nullopt;
    };
    const QString table = departmentTable(QStringLiteral("21     150 5   99999"), rates);
    ASSERT_EQ(table.size(), 240);
    EXPECT_EQ(table.left(30), QStringLiteral("12     150-1   99999 0       0"));
    EXPECT_FALSE(departmentWithOversizedRate(rates));
    EXPECT_EQ(departmentWithOversizedRate([](int d) -> std::optional<int> { return d == 24 ? 100 : 21; }), 24);
    EXPECT_EQ(departmentWithOversizedRate([](int d) -> std::optional<int> { return d == 3 ? -10 : -9; }), 3);
}

TEST(RecordTexts, CurrencyCodesKeepTheSlotWidth)
{
    // A code of another length is cut or blank-filled to three characters; an empty one is left out.
    const QString table = currencyTable(QString(), {QStringLiteral("EURO"), QStringLiteral("LV"), QString(), QStringLiteral("EUR")});
    EXPECT_EQ(table.size(), 330);
    EXPECT_EQ(table.left(33), QStringLiteral("EUR00000000LV 00000000   00000000"));
}

TEST(RecordTexts, ViewerLines)
{
    const QStringList departments = departmentLines(QStringLiteral(" 5   12345-1    1000"));
    ASSERT_EQ(departments.size(), 25);
    EXPECT_EQ(departments[0], QStringLiteral(" 1 PVN= 5  S=  123.45"));
    EXPECT_EQ(departments[1], QStringLiteral(" 2 PVN=b/n S=   10.00"));
    const QStringList currencies = currencyLines(QStringLiteral("eurxxxxxxxxEUR00001000L1 00000001"));
    ASSERT_EQ(currencies.size(), 30);
    EXPECT_EQ(currencies[0], QStringLiteral(" 1"));
    EXPECT_EQ(currencies[1], QStringLiteral(" 2 EUR S=   10.00"));
    EXPECT_EQ(currencies[2], QStringLiteral(" 3 L1  S=    0.01"));
    EXPECT_EQ(currencies[29], QStringLiteral("30     S=    0.00"));
    EXPECT_EQ(counterAmount(QStringLiteral("000001250"), 0, 9), QStringLiteral("12.5"));
    EXPECT_EQ(counterAmount(QStringLiteral("   3    4500"), 4, 8), QStringLiteral("45"));
    EXPECT_EQ(counterAmount(QStringLiteral("   3"), 4, 8), QString());
}

TEST(RecordTexts, DayCloseLines)
{
    DayCloseRecord r;
    r.nr = 12;
    r.grandTotal = 1234567;
    r.grandVat = 214286;
    r.date = QDate(2026, 3, 2);
    r.time = QStringLiteral("21:05");
    r.daySum = 4550;
    r.dayVat = 789;
    EXPECT_EQ(dayCloseLines(r), (QStringList{QStringLiteral("Nr=  11 GT=  12345.67"), QStringLiteral(" Grand PVN=   2142.86"),
                                              QStringLiteral(" Dat.=02.03.2026 21:05"),
                                              QStringLiteral("Dienas S=    45.50 PVN S=   7.89"), QStringLiteral("------")}));
}

}  // namespace
}  // namespace setuprecords
