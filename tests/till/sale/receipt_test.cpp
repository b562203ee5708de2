#include "receipt.h"

#include <gtest/gtest.h>

namespace {

struct RoundCase {
    double value;
    int digits;
    double expected;
};

class RoundSummaTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundSummaTest, RoundsHalfAwayFromZeroWithTheEightNinesThreshold) {
    const RoundCase c = GetParam();
    EXPECT_DOUBLE_EQ(double(RoundSumma(c.value, c.digits)), c.expected) << c.value << " at " << c.digits;
}

INSTANTIATE_TEST_SUITE_P(Money, RoundSummaTest,
                         ::testing::Values(RoundCase{1.005, 2, 1.01}, RoundCase{-2.345, 2, -2.35}, RoundCase{0.125, 2, 0.13},
                                           RoundCase{0.004999, 2, 0}, RoundCase{0.4999999, 0, 0}, RoundCase{0.49999999, 0, 1},
                                           RoundCase{-0.5, 0, -1}, RoundCase{0, 0, 0}, RoundCase{2.5, 0, 3},
                                           RoundCase{-0.4999999, 0, 0}, RoundCase{5.373, 2, 5.37}));

TEST(ReceiptLineTest, LineAmountAppliesDiscountAndPackFactor) {
    TCekaRinda line;
    line.Cena = 1.99;
    line.Daudzums = 3;
    line.Iepakojums = 1;
    line.Atlaide = 10;
    EXPECT_DOUBLE_EQ(RindasSumma(line), 5.37);
    line.Iepakojums = 6;  // a box of six scanned three times
    line.Atlaide = 0;
    EXPECT_DOUBLE_EQ(RindasSumma(line), 35.82);
    line.Daudzums = -1;   // a return line
    EXPECT_DOUBLE_EQ(RindasSumma(line), -11.94);
}

TEST(ReceiptLineTest, ANewLineAndPaymentRowStartEmpty) {
    TCekaRinda line;
    EXPECT_EQ(line.Cena, 0);
    EXPECT_TRUE(line.Artikuls.isEmpty());
    EXPECT_FALSE(line.Tara);
    TApmaksasRinda row;
    EXPECT_EQ(row.Veids, -1);
}

}  // namespace
