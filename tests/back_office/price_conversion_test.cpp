#include "fleet_test.h"

#include "ledvikform.h"
#include "price_conversion.h"

#include <QPushButton>

namespace {

using testsupport::FleetTest;

class PriceConversionTest : public FleetTest {
protected:
    void SetUp() override {
        FleetTest::SetUp();
        path = fleet().addTill(QStringLiteral("K1"));
        // Prices in lats; 1006 has none; 1002 has a second price.
        testsupport::execSql(fleet().db("K1"), QStringLiteral("INSERT INTO N_PRECE (ISN, ARTIKULS, CENA, CENA2) "
                                                              "SELECT 1, '1001', 1.00, 0 FROM RDB$DATABASE UNION ALL "
                                                              "SELECT 1, '1002', 0.35, 0.30 FROM RDB$DATABASE UNION ALL "
                                                              "SELECT 1, '1003', 7.03, 0 FROM RDB$DATABASE UNION ALL "
                                                              "SELECT 1, '1004', 2.50, 0 FROM RDB$DATABASE UNION ALL "
                                                              "SELECT 1, '1005', 0.01, 0 FROM RDB$DATABASE UNION ALL "
                                                              "SELECT 1, '1006', NULL, 0 FROM RDB$DATABASE"));
    }
    QStringList prices() { return rows("K1", QStringLiteral("SELECT ARTIKULS, CENA, CENA2 FROM N_PRECE ORDER BY ARTIKULS")); }
    QStringList marker() { return rows("K1", QStringLiteral("SELECT PARVEURPARD_C FROM N_ISI")); }

    QString path;
    const QStringList lats = {"1001|1|0", "1002|0.35|0.3", "1003|7.03|0", "1004|2.5|0", "1005|0.01|0", "1006||0"};
    const QStringList euros = {"1001|1.42|0", "1002|0.5|0.3", "1003|10|0", "1004|3.56|0", "1005|0.01|0", "1006|0|0"};
};

TEST_F(PriceConversionTest, PricesBecomeEurosOnce) {
    QSqlDatabase db = ConnectTill(path);
    EXPECT_EQ(ConvertPricesToEuros(db), PriceConversion::Converted);
    EXPECT_EQ(prices(), euros);
    EXPECT_EQ(marker(), QStringList{"T"});
    EXPECT_EQ(ConvertPricesToEuros(db), PriceConversion::AlreadyConverted);
    EXPECT_EQ(prices(), euros);
}

TEST_F(PriceConversionTest, AFailurePartWayLeavesEveryPriceAndTheMarker) {
    fleet().refuseKey(QStringLiteral("K1"), QStringLiteral("N_PRECE"), QStringLiteral("ARTIKULS"), QStringLiteral("1004"));
    QSqlDatabase db = ConnectTill(path);
    try {
        ConvertPricesToEuros(db);
        ADD_FAILURE() << "the refused row converted";
    } catch (const StepError& e) {
        EXPECT_TRUE(QString::fromStdString(e.what()).contains("The till refuses ARTIKULS 1004")) << e.what();
    }
    EXPECT_EQ(prices(), lats);
    EXPECT_EQ(marker(), QStringList{""});
}

TEST_F(PriceConversionTest, ATillWithoutItsSettingsRowGetsTheMarkerRow) {
    testsupport::execSql(fleet().db("K1"), QStringLiteral("DELETE FROM N_ISI"));
    QSqlDatabase db = ConnectTill(path);
    EXPECT_EQ(ConvertPricesToEuros(db), PriceConversion::Converted);
    EXPECT_EQ(marker(), QStringList{"T"});
    EXPECT_EQ(ConvertPricesToEuros(db), PriceConversion::AlreadyConverted);
    EXPECT_EQ(prices(), euros);
}

// The hidden button on the window: it converts the till list's current row and says so.
TEST_F(PriceConversionTest, TheWindowsButtonConvertsTheCurrentTill) {
    const QString other = fleet().addTill(QStringLiteral("K2"));
    tills::TillFleet::WriteKases(dir(), {{QStringLiteral("K2"), other, QStringLiteral("F"), {}}, {QStringLiteral("K1"), path, QStringLiteral("F"), {}}});
    TLedvikDati dati;
    TLedvik window(dati, false);
    EXPECT_FALSE(window.btLVL_to_EUR->isVisibleTo(&window));
    window.Kases->setCurrentRow(1);
    window.btLVL_to_EURClick();
    window.btLVL_to_EURClick();
    EXPECT_EQ(messages().texts(), (QStringList{kPricesConvertedMessage, kPricesAlreadyConvertedMessage}));
    EXPECT_EQ(prices(), euros);
    EXPECT_EQ(rows("K2", QStringLiteral("SELECT PARVEURPARD_C FROM N_ISI")), QStringList{""});
}

TEST(LvlToEurTest, TheRateInExtendedPrecision) {
    struct Case {
        double lats, euros;
    };
    const Case cases[] = {{1.00, 1.42}, {0.35, 0.50}, {7.03, 10.00}, {2.50, 3.56}, {0.01, 0.01}, {0, 0}, {100, 142.29}, {-1, -1.43}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(LvlToEur(c.lats), c.euros) << c.lats;
}

}  // namespace
