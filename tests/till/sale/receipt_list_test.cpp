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
    EXPECT_EQ(list.Virsraksts1.simplified(), kVirsraksts1Rinda.simplified());
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
    EXPECT_EQ(two.Virsraksts1.simplified(), kVirsraksts1DivasRindas.simplified());
    EXPECT_EQ(two.Virsraksts2.simplified(), kVirsraksts2DivasRindas.simplified());
    EXPECT_TRUE(two.RaditVirsrakstu2);
    ASSERT_EQ(two.Rindas.size(), 13 * 3 + 1);
    EXPECT_EQ(two.Rindas[36], code + "                      Garš kods" + RindasAtslega(12));
    EXPECT_EQ(two.Rindas[37], "gab.                  1.000   1.0000    1.00" + RindasAtslega(12));
    EXPECT_EQ(two.Rindas[38], QString(44, '-') + RindasAtslega(12));
}

// The captions' words stand over their columns in the list's fixed-pitch font: each ends where
// its column's values end, the unit's heading starts the line.
TEST(ReceiptListTest, ColumnHeadingsStandOverTheirColumns) {
    const std::array<TCekaRinda, 1> lines{Line("4750001000017", "Kafija ar pienu", 1.8, 1)};
    const TPirkumuSaraksts one = VeidotPirkumuSarakstu(lines, false);
    const TPirkumuSaraksts two = VeidotPirkumuSarakstu(lines, true);
    const QString oneRow = RindasTeksts(one.Rindas[0]);
    const struct {
        QString heading, row;
        const char* word;
        const char* value;
    } cases[] = {
        {one.Virsraksts1, oneRow, "Daudzums", "1.000"},
        {one.Virsraksts1, oneRow, "Cena", "1.8000"},
        {one.Virsraksts1, oneRow, "Summa", "1.80"},
        {two.Virsraksts1, RindasTeksts(two.Rindas[0]), "Artikuls/Kods", "4750001000017"},
        {two.Virsraksts1, RindasTeksts(two.Rindas[0]), "Nosaukums", "Kafija ar pienu"},
        {two.Virsraksts2, RindasTeksts(two.Rindas[1]), "Daudzums", "1.000"},
        {two.Virsraksts2, RindasTeksts(two.Rindas[1]), "Cena", "1.8000"},
        {two.Virsraksts2, RindasTeksts(two.Rindas[1]), "Summa", "1.80"},
    };
    for (const auto& c : cases) {
        const QString word = QString::fromUtf8(c.word), value = QString::fromUtf8(c.value);
        EXPECT_EQ(c.heading.indexOf(word) + word.size(), c.row.lastIndexOf(value) + value.size()) << c.word << " in " << c.heading.toStdString();
    }
    for (const QString& heading : {one.Virsraksts1, two.Virsraksts2}) EXPECT_TRUE(heading.startsWith("Mērvien. ")) << heading.toStdString();
    // One row a line: the name's heading within the name's field, the line no wider than a row.
    const qsizetype name = one.Virsraksts1.indexOf("Nosaukums");
    EXPECT_GE(name, oneRow.indexOf("4750001000017") + 13);
    EXPECT_LE(name + 9, oneRow.indexOf("Kafija ar pienu") + 15);
    EXPECT_LE(one.Virsraksts1.size(), oneRow.size());
}

}  // namespace
