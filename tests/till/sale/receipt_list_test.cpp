// The receipt list on both screens: row layouts in one-row and two-row mode, the hidden line key,
// discount rows and the total.
#include "receipt_list.h"

#include <gtest/gtest.h>

namespace {

TCekaRinda Line(const QString& code, const QString& name, double price, double quantity, double discount = 0) {
    TCekaRinda line;
    line.Artikuls = code;
    line.Nosaukums = name;
    line.Mervieniba = "gab. ";
    line.Cena = price;
    line.Daudzums = quantity;
    line.Iepakojums = 1;
    line.Atlaide = discount;
    return line;
}

TEST(ReceiptListTest, AnEmptyReceiptHasOneEmptyRow) {
    const TPirkumuSaraksts list = VeidotPirkumuSarakstu({}, false);
    EXPECT_EQ(list.Rindas, QStringList{QString()});
    EXPECT_TRUE(list.EkranaRindas.isEmpty());
    EXPECT_EQ(list.CekaSumma, 0);
    EXPECT_EQ(list.Virsraksts1, kVirsraksts1Rinda);
    EXPECT_FALSE(list.RaditVirsrakstu2);
}

TEST(ReceiptListTest, DiscountedLineShowsItsPriceAmountAndDiscountRow) {
    const std::array<TCekaRinda, 2> lines{Line("123", "Maize", 1.386, 2, 10), Line("456", "Piens", 1.00, -1)};
    const TPirkumuSaraksts list = VeidotPirkumuSarakstu(lines, false);
    ASSERT_EQ(list.Rindas.size(), 4);
    EXPECT_EQ(list.Rindas[0], "gab.            123                          Maize   2.000   1.2474    2.49" + RindasAtslega(0));
    EXPECT_EQ(list.Rindas[1], "     Atlaide :    10" + RindasAtslega(0));
    EXPECT_EQ(list.Rindas[2], "gab.            456                          Piens  -1.000   1.0000   -1.00" + RindasAtslega(1));
    EXPECT_EQ(list.Rindas[3], "");
    EXPECT_DOUBLE_EQ(list.CekaSumma, 1.49);
    ASSERT_EQ(list.EkranaRindas.size(), 2);
    EXPECT_EQ(list.EkranaRindas[0], "gab. " + QString(43, ' ') + "Maize   2.000    1.2474  10.00    2.49");
}

TEST(ReceiptListTest, TwoRowModeShowsLongCodesWholeAndSeparatesLines) {
    const QString code = "12345678901234567890";
    std::vector<TCekaRinda> lines(13, Line("1", "X", 1, 1));
    lines[12] = Line(code, "Garš kods", 1, 1);
    const TPirkumuSaraksts one = VeidotPirkumuSarakstu(lines, false);
    EXPECT_TRUE(one.Rindas[12].contains(" 1234567890123 "));
    EXPECT_FALSE(one.Rindas[12].contains(code));
    EXPECT_TRUE(one.Rindas[12].endsWith(QString(100, ' ') + "|12|"));
    EXPECT_EQ(RindasIndekss(one.Rindas[12]), 12);
    EXPECT_EQ(RindasIndekss(one.Rindas.last()), -1);

    const TPirkumuSaraksts two = VeidotPirkumuSarakstu(lines, true);
    EXPECT_EQ(two.Virsraksts1, kVirsraksts1DivasRindas);
    EXPECT_TRUE(two.RaditVirsrakstu2);
    ASSERT_EQ(two.Rindas.size(), 13 * 3 + 1);
    EXPECT_EQ(two.Rindas[36], code + "                      Garš kods" + RindasAtslega(12));
    EXPECT_EQ(two.Rindas[37], "gab.                  1.000   1.0000    1.00" + RindasAtslega(12));
    EXPECT_EQ(two.Rindas[38], QString(44, '-') + RindasAtslega(12));
}

}  // namespace
