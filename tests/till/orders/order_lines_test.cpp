// The line formats of the bar slip and the bill on the 40-character printer type 0 and on the
// narrower types, and the bill's total.
#include "order_printing.h"

#include <gtest/gtest.h>

namespace {

TEST(OrderLinesTest, BarAndBillLinesKeepTheirAmountsInTheLine)
{
    const QString longName = QStringLiteral("Šokolādes kūka ar ķiršiem un krējumu");  // 36 characters
    struct Case {
        const char* what;
        QString line, expected;
    };
    const std::vector<Case> cases{
        {"bar, type 0", BarSlipLine(0, "Kafija", 2), QString(24, u' ') + "Kafija x    2.00"},
        {"bar, narrow", BarSlipLine(5, "Kafija", 1.5), QString(20, u' ') + "Kafija x    1.50"},
        {"bar, type 0, long name", BarSlipLine(0, longName, 3), longName.left(30) + " x    3.00"},
        {"bar, narrow, long name", BarSlipLine(7, longName, 3), longName.left(26) + " x    3.00"},
        {"bill, type 0", BillLine(0, "Zupa", 2, 5.4), QString(26, u' ') + "Zupa =   5.40 "},
        {"bill, type 0, long name", BillLine(0, longName, 1, 12.5), longName.left(30) + " =  12.50 "},
        {"bill, narrow", BillLine(5, "Zupa", 2, 5.4), QString(15, u' ') + "Zupa   2.0 =   5.40 "},
        {"bill, narrow, long name", BillLine(1, longName, 0.5, 1), longName.left(19) + "   0.5 =   1.00 "},
        {"total, type 0", BillTotalLine(0, 1.02), "KOPĀ APMAKSAI                 =    1.02 "},
        {"total, narrow", BillTotalLine(6, 1.02), "KOPĀ APMAKSAI             =    1.02 "},
    };
    for (const Case& c : cases) EXPECT_EQ(c.line, c.expected) << c.what;
    // The widths the printer types take whole: 40 on type 0, 36 and 35 on the narrower ones.
    EXPECT_EQ(BarSlipLine(0, longName, 3).size(), 40);
    EXPECT_EQ(BillLine(0, longName, 3, 1).size(), 40);
    EXPECT_EQ(BarSlipLine(5, longName, 3).size(), 36);
    EXPECT_EQ(BillLine(5, longName, 3, 1).size(), 35);
}

TEST(OrderLinesTest, BillTotalAddsTheRoundedLineSums)
{
    EXPECT_DOUBLE_EQ(BillLineSum(0.5 * 0.67), 0.34);
    EXPECT_EQ(QString::asprintf("%7.2f", BillTotal({0.335, 0.335, 0.335})), "   1.02");
    EXPECT_DOUBLE_EQ(BillLineSum(-0.335), -0.34);  // half away from zero
    EXPECT_DOUBLE_EQ(BillTotal({}), 0.0);
}

}  // namespace
