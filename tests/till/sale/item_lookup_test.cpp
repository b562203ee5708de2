// The item look-up on the demo items: pack codes, the promotion window by sale mode and date,
// the quantity price with its give-back spread over the completing line.
#include "sale_fixture.h"

#include "database.h"
#include "item_lookup.h"

namespace {

class ItemLookupTest : public SaleTest {
protected:
    std::optional<TAtrastaPrece> find(const QString& code, double quantity = 1) { return sale().FindPrece(code, quantity); }
};

TEST_F(ItemLookupTest, PackCodesGiveTheArticleAndTheirFactor) {
    struct Case {
        const char* code;
        double factor;
    };
    for (const Case c : {Case{"4750002000016", 1}, Case{"14750002000013", 12}, Case{"24750002000010", 24},
                         Case{"34750002000017", 720}}) {
        const auto p = find(c.code);
        ASSERT_TRUE(p) << c.code;
        EXPECT_EQ(p->Artikuls, "4750002000016");
        EXPECT_DOUBLE_EQ(p->Iepakojums, c.factor) << c.code;
        EXPECT_DOUBLE_EQ(p->Cena, 0.65);
        EXPECT_EQ(p->Mervieniba, "gab. ");
    }
    EXPECT_FALSE(find("14750002000099"));
}

TEST_F(ItemLookupTest, ABoxCodeWithoutACountKeepsFactorOne) {
    addItem("BOX0", "Kaste bez skaita", 1.0, 1, ", EAN_KASTE, SKKASTE", ", 'BOXCODE', 0");
    const auto p = find("BOXCODE");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Artikuls, "BOX0");
    EXPECT_DOUBLE_EQ(p->Iepakojums, 1);
}

TEST_F(ItemLookupTest, EmptyNameReturnableAndNotice) {
    addItem("NONAME", "", 1.0, 1, ", TARA, WARNING", ", 'T', 'Uzmanību'");
    const auto p = find("NONAME");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Nosaukums, " ");
    EXPECT_TRUE(p->Tara);
    EXPECT_EQ(p->Warning, "Uzmanību");
}

TEST_F(ItemLookupTest, PromotionOnlyInSaleModeAndInsideTheWindow) {
    // The test clock stands at 2 March 2026.
    addItem("TODAY", "Akcija šodien", 2.0, 1, ", ATLAIDE, IZP_SAK_D, IZP_BEIG_D", ", 20, '2026-03-02', '2026-03-02'");
    addItem("OVER", "Akcija beigusies", 2.0, 1, ", ATLAIDE, IZP_SAK_D, IZP_BEIG_D", ", 20, '2026-02-01', '2026-03-01'");
    addItem("OPEN", "Bez sākuma", 2.0, 1, ", ATLAIDE, IZP_BEIG_D", ", 20, '2026-04-01'");
    addItem("NOEND", "Bez beigām", 2.0, 1, ", ATLAIDE, IZP_SAK_D", ", 20, '2026-01-01'");
    EXPECT_EQ(find("TODAY")->Atlaide, 20);
    EXPECT_FALSE(find("OVER")->Atlaide);
    EXPECT_EQ(find("OPEN")->Atlaide, 20);
    EXPECT_FALSE(find("NOEND")->Atlaide);
    window.saleMode = 1;
    EXPECT_FALSE(find("TODAY")->Atlaide);

    // Through the entry: the promotion replaces the typed discount in sale mode only.
    window.saleMode = 0;
    window.discount = "5";
    type("TODAY");
    EXPECT_DOUBLE_EQ(line(0).Atlaide, 20);
    window.saleMode = 1;
    type("TODAY");
    EXPECT_DOUBLE_EQ(line(1).Atlaide, 5);
}

TEST_F(ItemLookupTest, QuantityPriceWorkedExample) {
    addItem("Q", "Daudzuma cena", 10.0, 1, ", CENA2, DAUDZUMS2", ", 8.0, 3");
    type("Q");
    type("Q");
    type("Q");
    type("Q");
    ASSERT_EQ(lines(), 4);
    EXPECT_DOUBLE_EQ(line(0).Cena, 10);
    EXPECT_DOUBLE_EQ(line(1).Cena, 10);
    EXPECT_DOUBLE_EQ(line(2).Cena, 4);
    EXPECT_DOUBLE_EQ(line(3).Cena, 8);
    EXPECT_DOUBLE_EQ(window.ceks.CekaSumma, 32);
}

TEST_F(ItemLookupTest, QuantityPriceGiveBackIsSpreadOverTheCompletingLine) {
    addItem("Q", "Daudzuma cena", 10.0, 1, ", CENA2, DAUDZUMS2", ", 8.0, 3");
    type("Q");
    type("2*Q");
    ASSERT_EQ(lines(), 2);
    EXPECT_DOUBLE_EQ(line(1).Cena, 7);
    EXPECT_DOUBLE_EQ(window.ceks.CekaSumma, 24);  // three units at the quantity price
}

TEST_F(ItemLookupTest, SeesWhatAnotherConnectionCommittedSinceTheLastLookUp) {
    ASSERT_TRUE(find("4750001000017"));  // the statement is prepared and has run
    {
        QSqlDatabase other = platform::openDatabase(platform::kPosDbAlias, "OTHER");
        testsupport::execSql(other, "UPDATE N_PRECE SET CENA = 9.99 WHERE ARTIKULS = '4750001000017'");
        testsupport::execSql(other, "UPDATE N_PRECE SET GNOS = 'Baltmaize jaunā' WHERE ARTIKULS = '4750001000024'");
        testsupport::execSql(other, "INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA)"
                                    " VALUES ('9002', 'Jauna prece', 'gab.', 1, 3.30)");
    }
    platform::closeDatabase("OTHER");
    EXPECT_DOUBLE_EQ(find("4750001000017")->Cena, 9.99);
    EXPECT_EQ(find("4750001000024")->Nosaukums, "Baltmaize jaunā");
    const auto added = find("9002");
    ASSERT_TRUE(added);
    EXPECT_DOUBLE_EQ(added->Cena, 3.30);
}

TEST_F(ItemLookupTest, QuantityPriceRule) {
    EXPECT_FALSE(QuantityPrice(10, 8, 0, 5, 1));
    EXPECT_FALSE(QuantityPrice(10, 8, 3, 1, 1));
    EXPECT_EQ(QuantityPrice(10, 8, 3, 0, 3), 8);    // one line of 3: no give-back
    EXPECT_EQ(QuantityPrice(10, 8, 3, 2, 1), 4);
    EXPECT_EQ(QuantityPrice(10, 8, 3, 3, 1), 8);
    EXPECT_EQ(QuantityPrice(10, 8, 3, 4, -1), 8);   // a void above the threshold
    EXPECT_FALSE(QuantityPrice(10, 8, 3, 2, -1));
    EXPECT_EQ(QuantityPrice(1.29, 1.00, 3, 1, 2), 1.00 - 0.29 / 2);
}

TEST_F(ItemLookupTest, NoDiscountFlagFollowsTheQuantityPrice) {
    window.discount = "10";
    for (int i = 0; i < 6; ++i) type("4750002000016");  // the sixth reaches the quantity price
    EXPECT_DOUBLE_EQ(line(4).Atlaide, 10);
    EXPECT_DOUBLE_EQ(line(5).Atlaide, 0);  // NEDOT_ATL2 'T'
}

}  // namespace
