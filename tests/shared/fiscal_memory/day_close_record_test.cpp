// Day-close record text: the module's "*" layout, its older layout and the USB layout, written
// and read back field by field, with numbers wider than their columns.
#include "day_close_record.h"

#include <gtest/gtest.h>

namespace {

DayCloseRecord example()
{
    DayCloseRecord r;
    r.nr = 12;
    r.grandTotal = 1500;
    r.grandVat = 260;
    r.daySum = 500;
    r.dayVat = 87;
    r.date = QDate(2016, 3, 8);
    r.time = QStringLiteral("14:05");
    r.check = QStringLiteral("0A1B2C3D");
    return r;
}

void expectSame(const DayCloseRecord& a, const DayCloseRecord& b)
{
    EXPECT_EQ(a.nr, b.nr);
    EXPECT_EQ(a.grandTotal, b.grandTotal);
    EXPECT_EQ(a.grandVat, b.grandVat);
    EXPECT_EQ(a.daySum, b.daySum);
    EXPECT_EQ(a.dayVat, b.dayVat);
    EXPECT_EQ(a.date, b.date);
    EXPECT_EQ(a.time, b.time);
}

TEST(DayCloseRecord, ModuleLayoutOfTheExample)
{
    const std::string text = formatDayCloseRecord(DayCloseLayout::Memorix, example());
    EXPECT_EQ(text, "*  12       150008.03.201614:05        500         87        2600A1B2C3D");
    EXPECT_EQ(text.size(), 72u);
    DayCloseRecord back;
    parseDayCloseRecord(memorixLayoutOf(text), text, back);
    expectSame(back, example());
    EXPECT_EQ(back.check, QStringLiteral("0A1B2C3D"));
}

TEST(DayCloseRecord, UsbLayoutOfTheExample)
{
    const std::string text = formatDayCloseRecord(DayCloseLayout::Usb, example());
    EXPECT_EQ(text, "  12        150008.03.201614:05         500          87         260    0A1B2C3D");
    EXPECT_EQ(text.size(), 79u);
    DayCloseRecord back;
    parseDayCloseRecord(DayCloseLayout::Usb, text, back);
    expectSame(back, example());
    EXPECT_EQ(back.check.trimmed(), QStringLiteral("0A1B2C3D"));
}

TEST(DayCloseRecord, OlderModuleLayoutIsReadAtItsWidths)
{
    // Nr 1-4, grand total 5-12, date 13-22, time 23-27, day sum, day VAT, grand VAT 8 each.
    const std::string text = "   7   1234505.01.200918:30     345      60    2100";
    ASSERT_EQ(memorixLayoutOf(text), DayCloseLayout::MemorixOld);
    DayCloseRecord back;
    back.check = QStringLiteral("caller");
    parseDayCloseRecord(DayCloseLayout::MemorixOld, text, back);
    EXPECT_EQ(back.nr, 7);
    EXPECT_EQ(back.grandTotal, 12345);
    EXPECT_EQ(back.date, QDate(2009, 1, 5));
    EXPECT_EQ(back.time, QStringLiteral("18:30"));
    EXPECT_EQ(back.daySum, 345);
    EXPECT_EQ(back.dayVat, 60);
    EXPECT_EQ(back.grandVat, 2100);
    EXPECT_EQ(back.check, QStringLiteral("caller"));  // that layout has none
}

TEST(DayCloseRecord, WideNumbersReadBackInEveryLayout)
{
    DayCloseRecord wide = example();
    wide.nr = 10000;                  // wider than its 4 columns
    wide.grandTotal = 2147483648.0;   // beyond 32 bits
    wide.grandVat = 98765432101.0;    // as wide as the module's column
    wide.daySum = -4500;
    for (const DayCloseLayout layout : {DayCloseLayout::Memorix, DayCloseLayout::Usb}) {
        const std::string text = formatDayCloseRecord(layout, wide);
        DayCloseRecord back;
        parseDayCloseRecord(layout, text, back);
        expectSame(back, wide);
        EXPECT_EQ(back.check.trimmed(), QStringLiteral("0A1B2C3D")) << text;
    }
}

TEST(DayCloseRecord, NumberAsWideAsItsColumnBesideTheReportNumber)
{
    DayCloseRecord r = example();
    r.nr = 10001;
    r.grandTotal = 12345678901.0;  // 11 digits touching the report number
    const std::string text = formatDayCloseRecord(DayCloseLayout::Memorix, r);
    DayCloseRecord back;
    parseDayCloseRecord(DayCloseLayout::Memorix, text, back);
    EXPECT_EQ(back.nr, 10001);
    EXPECT_EQ(back.grandTotal, 12345678901.0);
}

TEST(DayCloseRecord, FieldThatDoesNotConvertKeepsItsDefault)
{
    std::string text = formatDayCloseRecord(DayCloseLayout::Memorix, example());
    text.replace(16, 10, "2016-03-08");  // another date form
    text.replace(31, 11, "       x12 ");
    DayCloseRecord back;
    parseDayCloseRecord(DayCloseLayout::Memorix, text, back);
    EXPECT_EQ(back.date, QDate(2001, 1, 1));
    EXPECT_EQ(back.daySum, 0);
    EXPECT_EQ(back.nr, 12);
    EXPECT_EQ(back.grandTotal, 1500);
    EXPECT_EQ(back.dayVat, 87);
    EXPECT_EQ(back.grandVat, 260);
    EXPECT_EQ(back.time, QStringLiteral("14:05"));
}

TEST(DayCloseRecord, AmountTexts)
{
    EXPECT_EQ(amountText(0), "0");
    EXPECT_EQ(amountText(-0.0), "0");
    EXPECT_EQ(amountText(1500), "1500");
    EXPECT_EQ(amountText(-87), "-87");
    EXPECT_EQ(amountText(2147483648.0), "2147483648");
    EXPECT_EQ(amountText(1e15), "1000000000000000");
}

}  // namespace
