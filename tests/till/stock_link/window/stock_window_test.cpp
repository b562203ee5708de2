// The stock link from the real sale window, offscreen, on the demo database and the simulated
// devices, with the stock product's database under the alias STOCKARA: receipts move balances once
// stored, "Preces atlikums" shows the balance, and with the link off neither happens.
#include "stock_fixture.h"

#include "payment_entry.h"
#include "posmain.h"
#include "till_window.h"

#include <QLabel>
#include <QLineEdit>

namespace {

using testsupport::execSql;

constexpr const char* kMilk = "4750001000017";  // 2.15 in department 1 of the demo database

class StockWindowTest : public testsupport::TillWindowTest, protected testsupport::StockDatabase {
protected:
    StockWindowTest() : TillWindowTest({.printerType = 6, .display = false, .openingRecord = true}) {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TillWindowTest::SetUp());
        create(dir());
        milk = addGoods(kMilk);
        addBalance(milk, 10);
    }

    // The link switched on or off in Setup, then the till started.
    void startWithLink(bool on) {
        settings().writeInteger(kSetupKey, "StockaraConect", on ? 1 : 0);
        settings().writeText(kSetupKey, "StockaraNodalasKods", kKods.toStdString());
        ASSERT_TRUE(startTill()) << messages().texts().join(" | ").toStdString();
        messages().clear();
    }

    void sellTwoMilk() {
        enter(QStringLiteral("2*") + kMilk);
        enter("/0=5.00");
    }
    int storedRows() { return value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS = 'F'").toInt(); }
    void showBalanceOf(const QString& code) {
        w().edArtikuls->setText(code);
        w().Precesatlikums1Click();
    }

    int milk = 0;
};

TEST_F(StockWindowTest, AStoredReceiptMovesTheBalanceAndCtrlTShowsIt) {
    startWithLink(true);
    sellTwoMilk();
    ASSERT_EQ(storedRows(), 1);
    EXPECT_DOUBLE_EQ(changeable(milk), 8);
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();

    showBalanceOf(kMilk);
    EXPECT_EQ(w().shAtlikums->text(), "Atlik=  8.000");
}

// The till database refusing the receipt's rows rolls them back: the stock is not moved either.
TEST_F(StockWindowTest, AReceiptTheTillDatabaseRefusesMovesNoStock) {
    startWithLink(true);
    exec("CREATE EXCEPTION E_REFUSED 'row refused'");
    exec("CREATE TRIGGER T_REFUSE FOR REALIZ BEFORE INSERT AS BEGIN EXCEPTION E_REFUSED; END");
    sellTwoMilk();
    EXPECT_EQ(storedRows(), 0);
    EXPECT_TRUE(messages().texts().join("|").contains(kStoreFailedMessage)) << messages().texts().join(" | ").toStdString();
    EXPECT_DOUBLE_EQ(changeable(milk), 10);
}

// The stock database refusing the change: the cashier is told, and the receipt is stored.
TEST_F(StockWindowTest, ARefusedStockChangeIsToldAndTheReceiptIsStored) {
    startWithLink(true);
    execSql(stock, "CREATE EXCEPTION E_LOCKED 'balance locked'");
    execSql(stock, "CREATE TRIGGER T_LOCK FOR O_TEKATLIK BEFORE UPDATE AS BEGIN EXCEPTION E_LOCKED; END");
    sellTwoMilk();
    EXPECT_EQ(storedRows(), 1);
    EXPECT_EQ(w().RinduSkaits, 0);
    ASSERT_EQ(messages().texts().size(), 1) << messages().texts().join(" | ").toStdString();
    EXPECT_TRUE(messages().texts()[0].startsWith(kStockUpdateFailedMessage));
    EXPECT_TRUE(messages().texts()[0].contains("balance locked"));
    EXPECT_DOUBLE_EQ(changeable(milk), 10);
}

// A look-up on a lost connection: told, and the balance shown is 0.
TEST_F(StockWindowTest, ALookUpThatFailsShowsNoBalance) {
    startWithLink(true);
    QSqlDatabase::database("STOCKARA", false).close();
    showBalanceOf(kMilk);
    ASSERT_EQ(messages().texts().size(), 1) << messages().texts().join(" | ").toStdString();
    EXPECT_TRUE(messages().texts()[0].startsWith(kStockLookupFailedMessage));
    EXPECT_EQ(w().shAtlikums->text(), "Atlik=  0.000");
}

TEST_F(StockWindowTest, WithTheLinkOffNothingTouchesTheStock) {
    startWithLink(false);
    sellTwoMilk();
    ASSERT_EQ(storedRows(), 1);
    EXPECT_DOUBLE_EQ(changeable(milk), 10);
    const QString label = w().shAtlikums->text();
    showBalanceOf(kMilk);
    EXPECT_EQ(w().shAtlikums->text(), label);
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();
    EXPECT_FALSE(QSqlDatabase::contains("STOCKARA") && QSqlDatabase::database("STOCKARA", false).isOpen());
}

}  // namespace
