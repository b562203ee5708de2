// The payment-kind list from the fiscal memory's names, currency rates and the add-on offer.
#include "closing_fixture.h"
#include "payment_kinds.h"

namespace {

using PaymentKinds = ClosingTest;

TEST_F(PaymentKinds, ListFromTheFiscalMemoryByNumber) {
    for (int n = 1; n <= 10; ++n) ASSERT_TRUE(fm->FMWrite(QStringLiteral("APMVEID%1").arg(n), "Apmaksas veids"));
    ASSERT_TRUE(fm->FMWrite("APMVEID1", "Dāvanu karte"));
    ASSERT_TRUE(fm->FMWrite("APMVEID3", "Pārskaitījums ar garu vārdu"));
    const PaymentKindList list = LoadApmaksasVeidi(*fm, 1);
    // The records are blank-padded to 15 characters and the names cut there.
    EXPECT_EQ(list.texts(), (QStringList{"0-Skaidra nauda EUR", "1-Bankas karte", "2-Dāvanu karte   ",
                                         "4-Pārskaitījums a", "12-Skaidra nauda LVL"}));
    EXPECT_EQ(list.positionOf(4), 3);
    EXPECT_EQ(list.find(4)->text, "4-Pārskaitījums a");  // the record holds 15 characters
    EXPECT_FALSE(list.find(3));
    EXPECT_EQ(list.numberOfText("12-Skaidra nauda LVL"), 12);
    EXPECT_EQ(list.numberOfText("3-nav"), -1);

    EXPECT_EQ(LoadApmaksasVeidi(*fm, 0).texts().first(), "0-Skaidra nauda LVL");
    EXPECT_FALSE(LoadApmaksasVeidi(*fm, 0).find(12));
}

TEST_F(PaymentKinds, RatesOfTheCurrencyTable) {
    exec("INSERT INTO N_VALUTAS (VAL_KODS, GNOS, KURSS) VALUES ('USD', 'ASV dolārs', 0.8)");
    EXPECT_EQ(GetValutasKurss(db(), "USD"), 0.8);
    EXPECT_EQ(GetValutasKurss(db(), "ABC"), std::nullopt);
    EXPECT_EQ(GetValutasKurss(db(), ""), std::nullopt);
}

TEST_F(PaymentKinds, AddOnArticleByTotal) {
    exec("UPDATE N_ISI SET PIEVARTIK1='M1', PIEVSUMMA1=10, PIEVARTIK2='M2', PIEVSUMMA2=20, PIEVARTIK3='M3', PIEVSUMMA3=0");
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, NODALA, CENA) VALUES ('M2', 'Maisiņš', 1, 0.05)");
    const std::vector<TCekaRinda> none;
    EXPECT_EQ(CheckPievArtikuli(db(), 25, false, none)->artikuls, "M2");
    EXPECT_EQ(AddOnQuestion(*CheckPievArtikuli(db(), 25, false, none)), "Vai pievienot Maisiņš ?");
    EXPECT_EQ(CheckPievArtikuli(db(), 20, false, none)->artikuls, "M1");
    EXPECT_FALSE(CheckPievArtikuli(db(), 10, false, none));
    EXPECT_FALSE(CheckPievArtikuli(db(), 25, true, none));
    const std::vector<TCekaRinda> withIt{Line("M2", 0.05, 1, 1)};
    EXPECT_FALSE(CheckPievArtikuli(db(), 25, false, withIt));
}

}  // namespace
