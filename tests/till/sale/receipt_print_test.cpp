// Printed receipt lines by printer type (narrow, 48-column, type 5 and the rest), the one-line
// layout for quantity 1, names over several lines, discount and correction lines.
#include "receipt_print.h"

#include <gtest/gtest.h>

namespace {

LinePrintSettings Settings(int printer) {
    LinePrintSettings s;
    s.Printeris = printer;
    s.CekaValutaKods = "EUR";
    return s;
}

PrintedLine Maize(double quantity) {
    PrintedLine line;
    line.Nodala = 1;
    line.Nosaukums = "Maize";
    line.Cena = 0.85;
    line.Daudzums = quantity;
    line.Artikuls = "123";
    line.Mervieniba = "gab. ";
    return line;
}

TEST(ReceiptLinePrintTest, QuantityLineOfEveryPrinterFamily) {
    struct Case {
        int printer;
        QStringList lines;
    };
    const QString name = "123 Maize";
    for (const Case& c : {Case{0, {name.leftJustified(39), " gab.    2.000x    0.85=      1.70 EUR  1"}},
                          Case{2, {name.leftJustified(39), " gab.    2.000x    0.85=      1.70 EUR  1"}},
                          Case{4, {name.leftJustified(44), "     gab.      2.000x      0.85=      1.70 EUR  1"}},
                          Case{5, {name.leftJustified(36), " gab.   2.000x   0.85=    1.70 EUR  1"}},
                          Case{1, {name.leftJustified(39), " gab.   2.000x   0.85=    1.70 EUR  1"}}})
        EXPECT_EQ(CekaRindasTeksts(Settings(c.printer), Maize(2)), c.lines) << "printer type " << c.printer;
}

TEST(ReceiptLinePrintTest, QuantityOneFitsOneLineWithTheSumAtItsEnd) {
    EXPECT_EQ(CekaRindasTeksts(Settings(0), Maize(1)), QStringList{"123 Maize" + QString(20, ' ') + " 0.85 EUR  1"});
    EXPECT_EQ(CekaRindasTeksts(Settings(4), Maize(1)), QStringList{"123 Maize" + QString(28, ' ') + " 0.85 EUR  1"});
    EXPECT_EQ(CekaRindasTeksts(Settings(3), Maize(1)), QStringList{"123 Maize" + QString(16, ' ') + " 0.85 EUR  1"});

    PrintedLine longName = Maize(1);
    longName.Nosaukums = QString(60, u'Ž');
    longName.Cena = 1234.5;
    const QStringList printed = CekaRindasTeksts(Settings(0), longName);
    ASSERT_EQ(printed.size(), 1);
    EXPECT_EQ(printed[0], "123 " + QString(22, u'Ž') + " 1234.50 EUR  1");  // the sum is never cut

    LinePrintSettings full = Settings(0);
    full.PilnuJa1Daudz = true;
    EXPECT_EQ(CekaRindasTeksts(full, Maize(1)).size(), 2);
    EXPECT_EQ(CekaRindasTeksts(Settings(0), Maize(1.000001)).size(), 2);
}

TEST(ReceiptLinePrintTest, LongNamesSplitIntoUpToThreeLines) {
    LinePrintSettings s = Settings(0);
    s.ArtikAtsevRinda = true;
    PrintedLine line = Maize(2);
    line.Nosaukums = QString(100, u'ā');
    const QStringList printed = CekaRindasTeksts(s, line);
    ASSERT_EQ(printed.size(), 5);
    EXPECT_EQ(printed[0], "123");
    EXPECT_EQ(printed[1], QString(39, u'ā'));
    EXPECT_EQ(printed[2], QString(39, u'ā'));
    EXPECT_EQ(printed[3].trimmed(), QString(22, u'ā'));

    line.Nosaukums = QString(10, u'ā');
    EXPECT_EQ(CekaRindasTeksts(s, line).size(), 3);  // code, one name line, quantity
}

TEST(ReceiptLinePrintTest, DiscountLinesAndPriceDecimals) {
    PrintedLine line = Maize(3);
    line.Cena = 2.00;
    line.Atlaide = 10;
    EXPECT_EQ(CekaRindasTeksts(Settings(0), line).last(), "C.bez atl.=   2.00 Atl. 10%=   0.600");
    EXPECT_EQ(CekaRindasTeksts(Settings(4), line).last(), "Cena bez atlaides=   2.00 Atl. 10%=   0.600");
    EXPECT_EQ(CekaRindasTeksts(Settings(1), line).last(), "C.bez atl.=  2.00 Atl.10%=  0.600");

    line.Atlaide = 100;
    const QStringList whole = CekaRindasTeksts(Settings(0), line);
    EXPECT_EQ(whole[1], " gab.    3.000x    0.00=      0.00 EUR  1");
    EXPECT_EQ(whole[2], "C.bez atl.=   2.00 Atl.100%=   6.000");

    LinePrintSettings three = Settings(0);
    three.CenasDecimalzimes = 3;
    EXPECT_EQ(CekaRindasTeksts(three, Maize(2))[1], " gab.    2.000x   0.850=      1.70 EUR  1");
}

TEST(ReceiptLinePrintTest, ACorrectionOfANegativeLineIsMarked) {
    PrintedLine line = Maize(-12);  // the void of a box of 12
    line.Korekcija = true;
    const QStringList printed = CekaRindasTeksts(Settings(0), line);
    EXPECT_EQ(printed[0], kKludasLabojums);
    EXPECT_EQ(printed[2], " gab.  -12.000x    0.85=    -10.20 EUR  1");
    line.Korekcija = false;
    EXPECT_NE(CekaRindasTeksts(Settings(0), line)[0], kKludasLabojums);
}

TEST(ReceiptHeadTest, CustomerBlockNeedsANameOrFurtherDetails) {
    CustomerBlock customer;
    customer.RegNr = "LV40003000001";
    customer.Adrese = "Brīvības iela 1";
    EXPECT_TRUE(KlientaDatuRindas(customer, 40).isEmpty());
    customer.Nosaukums = QString(100, u'N');
    const QStringList lines = KlientaDatuRindas(customer, 40);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "Maksātājs " + QString(30, u'N'));
    EXPECT_EQ(lines[2], QString(30, u'N'));
    EXPECT_EQ(lines[3], "Reģ.Nr. LV40003000001");
    EXPECT_EQ(lines[4], "Adrese Brīvības iela 1");
}

}  // namespace
