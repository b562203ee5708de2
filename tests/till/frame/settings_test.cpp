#include "settings.h"

#include "test_database.h"

namespace {

class Settings : public testsupport::DatabaseTest {
protected:
    TillSettings loaded(TillSettings start = {}) { return LoadSettings(start, settings(), db()); }
    void emptySetupKey() { settings().createKey(kSetupKey); }
};

TEST_F(Settings, AKeyWithNoValuesGivesTheDefaults) {
    emptySetupKey();
    const TillSettings s = loaded();
    EXPECT_TRUE(s.SvaruPrefix.isEmpty());
    EXPECT_TRUE(s.CekaKopijaPath.isEmpty());
    EXPECT_TRUE(s.KasesNr.isEmpty());
    EXPECT_FALSE(s.StockaraConect);
    EXPECT_EQ(s.SvariCom, 0);
    EXPECT_EQ(s.SkanerisCom, 0);
    EXPECT_EQ(s.SvariTips, 0);
    EXPECT_EQ(s.Printeris, 0);
    EXPECT_EQ(s.EFT, 0);
    EXPECT_EQ(s.CenasDecimalzimes, 2);
    EXPECT_EQ(s.ArtikulaStart, 3);
    EXPECT_EQ(s.ArtikulaGarums, 6);
    EXPECT_EQ(s.SvaraStart, 9);
    EXPECT_EQ(s.SvaraGarums, 4);
    EXPECT_EQ(s.PrepaidNodala, 1);
    EXPECT_EQ(s.NeatrastaPreceNodala, 1);
    EXPECT_EQ(s.CekaValuta, 0);
    EXPECT_EQ(s.CekaValutaKods, "LVL");
    EXPECT_EQ(s.EUR_Kurss, 0.0);
    EXPECT_FALSE(s.PilnuJa1Daudz);
}

TEST_F(Settings, AMissingKeyReadsNothingButTheDecimals) {
    const TillSettings s = loaded();
    EXPECT_EQ(s.CenasDecimalzimes, 2);
    EXPECT_EQ(s.ArtikulaStart, 0);
    EXPECT_EQ(s.SvaraGarums, 0);
    EXPECT_EQ(s.PrepaidNodala, 0);
    EXPECT_TRUE(s.CekaValutaKods.isEmpty());
}

TEST_F(Settings, FailedReadsGiveTheDefaultOrKeepTheValue) {
    emptySetupKey();
    TillSettings before;
    before.CekaKopijaPath = "C:\\old";
    before.ArtikAtsevRinda = true;
    before.KlientLielaisEkrans = 2;
    before.StockaraConect = true;
    before.SvariCom = 5;
    // Values of the wrong type: a string where a number belongs and the other way round.
    settings().writeInteger(kSetupKey, "CekaKopijaPath", 7);
    settings().writeText(kSetupKey, "ArtikAtsevRinda", "1");
    settings().writeText(kSetupKey, "KlientLielaisEkrans", "1");
    settings().writeText(kSetupKey, "StockaraConect", "1");
    settings().writeText(kSetupKey, "SvariCom", "3");
    settings().writeText(kSetupKey, "ArtikulaStart", "5");
    const TillSettings s = loaded(before);
    EXPECT_EQ(s.CekaKopijaPath, "C:\\old");     // kept
    EXPECT_TRUE(s.ArtikAtsevRinda);             // kept
    EXPECT_EQ(s.KlientLielaisEkrans, 2);        // kept
    EXPECT_FALSE(s.StockaraConect);             // false on failure
    EXPECT_EQ(s.SvariCom, 0);                   // 0 on failure
    EXPECT_EQ(s.ArtikulaStart, 3);              // 3 on failure
}

TEST_F(Settings, TextsNumbersAndFlagsAsStored) {
    emptySetupKey();
    settings().writeText(kSetupKey, "SvaruPrefix", " 21 ");
    settings().writeText(kSetupKey, "KasesNr", "7");
    settings().writeInteger(kSetupKey, "StockaraConect", 5);
    settings().writeInteger(kSetupKey, "Printeris", 4);
    settings().writeInteger(kSetupKey, "CekaValuta", 2);
    settings().writeInteger(kSetupKey, "KlScreenWidth", 1024);
    settings().writeInteger(kSetupKey, "KlScreenHeight", 768);
    const TillSettings s = loaded();
    EXPECT_EQ(s.SvaruPrefix, "21");
    EXPECT_EQ(s.KasesNr, "7");
    EXPECT_TRUE(s.StockaraConect);
    EXPECT_EQ(s.Printeris, 4);
    EXPECT_EQ(s.CekaValutaKods, "EUR");
    EXPECT_EQ(s.KlScreenWidth, 1024);
    EXPECT_EQ(s.KlScreenHeight, 768);
}

TEST_F(Settings, EftIsComparedExactlyAndAnOtherTextKeepsTheKind) {
    emptySetupKey();
    struct Case {
        const char* stored;
        int before, after;
    };
    for (const Case& c : {Case{"1", 0, 1}, Case{"2", 0, 2}, Case{"3", 1, 3}, Case{"2 ", 3, 3}, Case{"02", 1, 1},
                          Case{"", 2, 2}, Case{"4", 1, 1}}) {
        settings().writeText(kSetupKey, "EFT", c.stored);
        TillSettings start;
        start.EFT = c.before;
        EXPECT_EQ(loaded(start).EFT, c.after) << "'" << c.stored << "'";
    }
    settings().writeInteger(kSetupKey, "EFT", 2);  // an integer is a failed read
    TillSettings start;
    start.EFT = 3;
    EXPECT_EQ(loaded(start).EFT, 0);
}

TEST_F(Settings, DecimalsAndRateAreTexts) {
    emptySetupKey();
    struct Case {
        const char* stored;
        int decimals;
    };
    for (const Case& c : {Case{"3", 3}, Case{"abc", 2}, Case{"", 2}, Case{"0", 0}, Case{"2,5", 2}}) {
        settings().writeText(kSetupKey, "CenasDecimalzimes", c.stored);
        EXPECT_EQ(loaded().CenasDecimalzimes, c.decimals) << c.stored;
    }
    settings().writeInteger(kSetupKey, "CenasDecimalzimes", 4);
    EXPECT_EQ(loaded().CenasDecimalzimes, 2);

    settings().writeText(kSetupKey, "EUR_Kurss", "0.702804");
    EXPECT_EQ(loaded().EUR_Kurss, 0.0) << "EUR_Summa missing: the rate is not read";
    settings().writeInteger(kSetupKey, "EUR_Summa", 1);
    EXPECT_DOUBLE_EQ(loaded().EUR_Kurss, 0.702804);
    TillSettings start;
    start.EUR_Kurss = 1.5;
    settings().writeText(kSetupKey, "EUR_Kurss", "0,702804");
    EXPECT_EQ(loaded(start).EUR_Kurss, 1.5) << "a comma does not convert: kept";
    EXPECT_TRUE(loaded(start).EUR_Summa);
}

TEST_F(Settings, LogosStopAtTheFirstFailure) {
    emptySetupKey();
    for (int n = 1; n <= 10; ++n) settings().writeText(kSetupKey, "ZudezoLogo_" + std::to_string(n), "L" + std::to_string(n));
    settings().writeInteger(kSetupKey, "ZudezoLogo_4", 4);
    TillSettings start;
    start.ZudezoLogo.fill("old");
    const TillSettings s = loaded(start);
    EXPECT_EQ(s.ZudezoLogo[0], "L1");
    EXPECT_EQ(s.ZudezoLogo[2], "L3");
    for (int i = 3; i < 10; ++i) EXPECT_EQ(s.ZudezoLogo[std::size_t(i)], "old") << i;
}

TEST_F(Settings, ScreenHeightIsReadOnlyWithTheWidth) {
    emptySetupKey();
    settings().writeInteger(kSetupKey, "KlScreenHeight", 600);
    TillSettings start;
    start.KlScreenHeight = 480;
    EXPECT_EQ(loaded(start).KlScreenHeight, 480);
}

TEST_F(Settings, PrefixOfAnotherTypeStopsTheLoad) {
    emptySetupKey();
    settings().writeInteger(kSetupKey, "SvaruPrefix", 21);
    EXPECT_THROW(loaded(), SettingsReadError);
}

TEST_F(Settings, FullLineFlagIsExactlyT) {
    emptySetupKey();
    struct Case {
        const char* value;  // nullptr: NULL
        bool full;
    };
    for (const Case& c : {Case{"T", true}, Case{"F", false}, Case{"t", false}, Case{nullptr, false}}) {
        exec("UPDATE N_ISI SET PILNUJA1DAUDZ = :V", {{":V", c.value ? QVariant(c.value) : QVariant()}});
        EXPECT_EQ(loaded().PilnuJa1Daudz, c.full) << (c.value ? c.value : "NULL");
    }
    exec("DELETE FROM N_ISI");
    EXPECT_FALSE(loaded().PilnuJa1Daudz);
}

}  // namespace
