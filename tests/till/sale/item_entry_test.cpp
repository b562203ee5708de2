// The item field's interpreter against the demo database: quantities, returns, voids, typed
// prices, weighed labels, limits and refusals with their texts and channels.
#include "sale_fixture.h"

#include "item_entry.h"

namespace {

using namespace sale_messages;

class ItemEntryTest : public SaleTest {
protected:
    void SetUp() override {
        SaleTest::SetUp();
        addItem("555", "Maizīte", 0.50);
        addItem("000777", "Siers svērtais", 2.00);
        addItem("PRE", "Prepaid karte 10", 10.00, 70);
        addItem("NOD0", "Bez nodaļas", 1.00, 0);
        addItem("SIMTS", "Simtnieks", 100.00);
    }

    // A refusal leaves the receipt and the field as they were.
    void expectRefused(const QString& text, int linesBefore) {
        EXPECT_EQ(lines(), linesBefore) << text.toStdString();
        EXPECT_EQ(window.entry, text);
    }
};

TEST_F(ItemEntryTest, QuantityTimesCodeAddsOneLineAndShowsIt) {
    type("3*555");
    ASSERT_EQ(lines(), 1);
    EXPECT_EQ(line(0).Artikuls, "555");
    EXPECT_DOUBLE_EQ(line(0).Daudzums, 3);
    EXPECT_DOUBLE_EQ(line(0).Cena, 0.50);
    EXPECT_EQ(line(0).Nosaukums, "Maizīte");
    EXPECT_EQ(line(0).Mervieniba, "gab. ");
    EXPECT_EQ(line(0).ApmVeids, 1);
    EXPECT_EQ(window.entry, "");
    EXPECT_EQ(window.sums, (QStringList{"   1.50", "   0.00", "   0.00"}));
    EXPECT_DOUBLE_EQ(window.ceks.CekaSumma, 1.50);
    EXPECT_EQ(window.status, "");
    EXPECT_EQ(DisplejaRinda(3, 0.50, 1.50, 2), " 3.000x  0.50=  1.50");
    EXPECT_TRUE(window.pazinojumi.isEmpty());
    EXPECT_TRUE(window.dialogs.isEmpty());
}

TEST_F(ItemEntryTest, StarMinusIsRefusedInADialog) {
    type("555");
    for (const QString text : {"2*--", "2*-", "2*-5"}) {
        type(text);
        expectRefused(text, 1);
    }
    EXPECT_EQ(window.dialogs, (QStringList{kZvaigzneMinuss, kZvaigzneMinuss, kZvaigzneMinuss}));
    EXPECT_TRUE(window.pazinojumi.isEmpty());
}

TEST_F(ItemEntryTest, MinusAloneAndMinusTextVoidTheLastLine) {
    type("2*555");
    type("-");
    ASSERT_EQ(lines(), 2);
    EXPECT_DOUBLE_EQ(line(1).Daudzums, -2);
    EXPECT_EQ(line(1).Artikuls, "555");
    EXPECT_DOUBLE_EQ(window.ceks.CekaSumma, 0);
    type("-abc");
    ASSERT_EQ(lines(), 3);
    EXPECT_DOUBLE_EQ(line(2).Daudzums, 2);  // the void of the void
    EXPECT_EQ(window.entry, "");
}

TEST_F(ItemEntryTest, MinusOnAnEmptyReceiptIsNotUnderstood) {
    type("-");
    expectRefused("-", 0);
    EXPECT_EQ(window.pazinojumi, QStringList{kNesapratu});
}

TEST_F(ItemEntryTest, ReturnWithinTheReceiptNeedsEnoughOnItAndTheRight) {
    type("555");
    type("-2*555");
    expectRefused("-2*555", 1);
    EXPECT_EQ(window.dialogs, QStringList{kAtgrieztNedrikst});

    type("2*555");
    window.settings.VarAtgreizt = false;
    type("-2*555");
    expectRefused("-2*555", 2);
    EXPECT_EQ(window.dialogs.last(), kNavTiesibuAtgriezt);

    window.settings.VarAtgreizt = true;
    type("-2*555");
    ASSERT_EQ(lines(), 3);
    EXPECT_DOUBLE_EQ(line(2).Daudzums, -2);
    EXPECT_DOUBLE_EQ(window.ceks.CekaSumma, 0.50);
}

TEST_F(ItemEntryTest, TypedPrices) {
    type("555=");
    ASSERT_EQ(lines(), 1);
    EXPECT_DOUBLE_EQ(line(0).Cena, 0.01);

    type("=5");
    EXPECT_EQ(lines(), 1);
    EXPECT_EQ(window.entry, "");

    window.settings.NeatrastaPreceNodala = 3;
    type("999=2.50");
    ASSERT_EQ(lines(), 2);
    EXPECT_EQ(line(1).Nosaukums, "---");
    EXPECT_EQ(line(1).Mervieniba, " ");
    EXPECT_EQ(line(1).Artikuls, "999");
    EXPECT_EQ(line(1).Nodala, 3);
    EXPECT_DOUBLE_EQ(line(1).Cena, 2.50);
    EXPECT_EQ(window.beeps, 0);
}

TEST_F(ItemEntryTest, WeighedLabels) {
    window.settings.Svari.SvaruPrefix = "20";
    type("2000077701504");
    ASSERT_EQ(lines(), 1);
    EXPECT_EQ(line(0).Artikuls, "000777");
    EXPECT_DOUBLE_EQ(line(0).Daudzums, 0.15);

    window.settings.Svari.UzlimeIrSumma = true;
    type("5*2000077701504");  // the label's quantity replaces a typed one
    ASSERT_EQ(lines(), 2);
    EXPECT_DOUBLE_EQ(line(1).Daudzums, 0.75);
    EXPECT_DOUBLE_EQ(line(1).Cena, 2.00);

    // 12 and 14 characters are ordinary codes: not found.
    for (const QString code : {"200007770150", "20000777015041"}) {
        type(code);
        EXPECT_EQ(lines(), 2);
    }
    EXPECT_EQ(window.notices.size(), 2u);
    EXPECT_EQ(window.notices[0].second, ArtikulsNavAtrasts("200007770150"));
}

TEST_F(ItemEntryTest, UnknownCodeBeepsFiveTimesAndEmptiesTheField) {
    type("12345");
    EXPECT_EQ(lines(), 0);
    EXPECT_EQ(window.beeps, 5);
    ASSERT_EQ(window.notices.size(), 1u);
    EXPECT_EQ(window.notices[0].first, kParbaudijatCaption);
    EXPECT_EQ(window.notices[0].second, "Artikuls 12345 nav atrasts !!!");
    EXPECT_EQ(window.entry, "");
    EXPECT_TRUE(window.sums.isEmpty());  // no tail
}

TEST_F(ItemEntryTest, AmountLimitQuantityZeroAndPrepaidQuantity) {
    type("0*555");
    ASSERT_EQ(lines(), 1);
    EXPECT_DOUBLE_EQ(RindasSumma(line(0)), 0);

    type("100*SIMTS");  // exactly 10000
    ASSERT_EQ(lines(), 2);
    type("SIMTS=10000.01");
    expectRefused("SIMTS=10000.01", 2);
    EXPECT_EQ(window.pazinojumi, QStringList{"Summa nedrīkst pārsniegt 10 000 EUR !!!"});
    type("-100*SIMTS");  // a return is not limited
    EXPECT_EQ(lines(), 3);

    type("2*PRE");
    expectRefused("2*PRE", 3);
    type("PRE");
    ASSERT_EQ(lines(), 4);
    type("-1*PRE");
    expectRefused("-1*PRE", 4);
    EXPECT_EQ(window.dialogs, (QStringList{kPrepaidDaudzums, kPrepaidDaudzums}));
}

TEST_F(ItemEntryTest, DiscountChecksComeBeforeEverything) {
    type("555");
    window.discount = "150";
    for (const QString text : {"--", "555", ""}) {
        type(text);
        expectRefused(text, 1);
    }
    EXPECT_EQ(window.pazinojumi, (QStringList{kAtlaidesRobezas, kAtlaidesRobezas, kAtlaidesRobezas}));

    window.pazinojumi.clear();
    window.discount = " 20 ";
    window.settings.MaxAtlaide = 10;
    type("555");
    expectRefused("555", 1);
    EXPECT_EQ(window.pazinojumi, QStringList{kAtlaideKasierim});
    EXPECT_EQ(window.discountFocus, 1);

    window.discount = "10";
    type("2*555");
    ASSERT_EQ(lines(), 2);
    EXPECT_DOUBLE_EQ(line(1).Atlaide, 10);
    window.discount = "abc";  // not a number: no discount
    type("555");
    EXPECT_DOUBLE_EQ(line(2).Atlaide, 0);
}

TEST_F(ItemEntryTest, SemicolonAndBadQuantity) {
    type(";555");
    expectRefused(";555", 0);
    EXPECT_EQ(window.pazinojumi, QStringList{kSemikols});

    type("2,5*555");
    ASSERT_EQ(lines(), 1);  // goes on with quantity 1
    EXPECT_DOUBLE_EQ(line(0).Daudzums, 1);
    EXPECT_EQ(window.pazinojumi.last(), kNepareizsDaudzums + "'2,5' is not a valid floating point value");
}

TEST_F(ItemEntryTest, GraveAccentWorksLikeEnterAndIsSwallowed) {
    EXPECT_EQ(type("555", 96), 0);
    EXPECT_EQ(lines(), 1);
    EXPECT_EQ(window.entry, "");
    EXPECT_EQ(type("555", 'x'), 'x');  // other keys are typed
    EXPECT_EQ(lines(), 1);
    EXPECT_EQ(type("/", '/'), '/');  // "/" with no lines is typed too
}

TEST_F(ItemEntryTest, PaymentTextsGoToThePaymentEntry) {
    type("555");
    type("/0=5.00");
    EXPECT_EQ(window.paymentTexts, QStringList{"/0=5.00"});
    EXPECT_EQ(window.entry, "/0=5.00");  // until the payment entry takes it
}

TEST_F(ItemEntryTest, EnterAfterAStoredReceiptClearsTheOldSums) {
    window.ceks.CekaSumma = 12.5;
    window.ceks.Sanemts = 20;
    type("");
    EXPECT_EQ(window.listsCleared, 1);
    EXPECT_EQ(window.ceks.Sanemts, 0);
    EXPECT_EQ(window.sums, (QStringList{"   0.00", "   0.00", "   0.00"}));
    EXPECT_EQ(lines(), 0);
}

TEST_F(ItemEntryTest, ItemNoticeAndNoDiscountFlag) {
    window.discount = "10";
    type("4750004000014");
    ASSERT_EQ(lines(), 1);
    EXPECT_DOUBLE_EQ(line(0).Atlaide, 0);
    ASSERT_EQ(window.notices.size(), 1u);
    EXPECT_EQ(window.notices[0].first, kPrecesPazinojums);
    EXPECT_EQ(window.notices[0].second, "Tabakas izstrādājumi tikai no 18 gadiem!");
    window.settings.SilentMessage = true;
    type("4750004000014");
    EXPECT_EQ(window.notices.size(), 1u);
}

TEST_F(ItemEntryTest, ADepartmentBelowOneIsRefusedAtEntry) {
    type("NOD0");
    expectRefused("NOD0", 0);
    EXPECT_EQ(window.pazinojumi, QStringList{kNodalasNr});
    window.settings.NeatrastaPreceNodala = 0;
    type("999=1.00");
    expectRefused("999=1.00", 0);
}

TEST_F(ItemEntryTest, TheFiveHundredFirstLineIsRefused) {
    for (int i = 0; i < MaxCekaRindas - 1; ++i) type("555");
    type("-");  // the void makes the 500th
    ASSERT_EQ(lines(), MaxCekaRindas);
    type("555");
    expectRefused("555", MaxCekaRindas);
    type("-");
    expectRefused("-", MaxCekaRindas);
    EXPECT_EQ(window.pazinojumi, (QStringList{kPilnsCeks, kPilnsCeks}));
}

TEST_F(ItemEntryTest, AnnulEntriesClearTheScreenWithNoLines) {
    type("vv");
    EXPECT_EQ(window.screensCleared, 1);
    type("--");
    EXPECT_EQ(window.screensCleared, 2);
    EXPECT_EQ(window.entry, "");
}

// The return check as a table.
struct ReturnCase {
    const char* text;
    bool allowed;
};

TEST(CheckAtgriezDaudzumsTest, ComparesWithTheArticleOnTheReceipt) {
    std::array<TCekaRinda, 3> receipt{};
    receipt[0].Artikuls = "123";
    receipt[0].Daudzums = 1;
    receipt[1].Artikuls = "456";
    receipt[1].Daudzums = 5;
    receipt[2].Artikuls = "123";
    receipt[2].Daudzums = 0.5;
    for (const ReturnCase c : {ReturnCase{"-2*123", false}, ReturnCase{"-1.5*123", true}, ReturnCase{"-1*123", true},
                               ReturnCase{"-2*", false}, ReturnCase{"2*123", false}, ReturnCase{"-x*123", true},
                               ReturnCase{"-abc", true}, ReturnCase{"-5*456", true}, ReturnCase{"-6*456", false},
                               ReturnCase{"-1*789", false}})
        EXPECT_EQ(CheckAtgriezDaudzums(c.text, receipt), c.allowed) << c.text;
}

TEST(ParseItemEntryTest, DecodesTheCommandLanguage) {
    const WeighedLabelFormat none;
    EXPECT_EQ(ParseItemEntry("3*vv", none).Kind, EntryKind::Annul);
    EXPECT_EQ(ParseItemEntry("--x", none).Kind, EntryKind::Annul);
    EXPECT_EQ(ParseItemEntry("-", none).Kind, EntryKind::VoidLast);
    EXPECT_EQ(ParseItemEntry("", none).Kind, EntryKind::Nothing);
    EXPECT_EQ(ParseItemEntry("=5", none).Kind, EntryKind::Nothing);
    EXPECT_EQ(ParseItemEntry("2*/0=1", none).Kind, EntryKind::Payment);
    const ItemEntry both = ParseItemEntry(" 1.5e1 *ABC= 2.25 ", none);
    EXPECT_EQ(both.Kind, EntryKind::Item);
    EXPECT_DOUBLE_EQ(both.Daudzums, 15);
    EXPECT_EQ(both.Artikuls, "ABC");
    EXPECT_TRUE(both.TypedPrice);
    EXPECT_DOUBLE_EQ(both.Cena, 2.25);
    EXPECT_FALSE(ParseEntryNumber("1,5").has_value());
    EXPECT_FALSE(ParseEntryNumber("inf").has_value());
    EXPECT_FALSE(ParseEntryNumber("").has_value());
    EXPECT_DOUBLE_EQ(*ParseEntryNumber("-.5"), -0.5);

    WeighedLabelFormat labels;
    labels.SvaruPrefix = "21";
    labels.ArtikulaStart = 2;
    labels.ArtikulaGarums = 5;
    labels.SvaraStart = 8;
    labels.SvaraGarums = 5;
    const ItemEntry label = ParseItemEntry("2112345012345", labels);
    EXPECT_TRUE(label.Label);
    EXPECT_EQ(label.Artikuls, "11234");
    EXPECT_DOUBLE_EQ(label.Daudzums, 1.234);
    const ItemEntry bad = ParseItemEntry("21123450x2345", labels);
    EXPECT_FALSE(bad.LabelError.isEmpty());
}

}  // namespace
