// The stock link against a real embedded stock database: balances moved by stored receipts'
// lines (sale, return, weighed, pack, void), rows made and rows never touched, how codes are
// matched by the update and by the look-up, and the failures that are told line by line.
#include "stock_fixture.h"

#include "receipt_store.h"

#include <QSqlError>

#include <functional>
#include <vector>

namespace {

using testsupport::execSql;
using testsupport::selectValue;

TCekaRinda line(const QString& artikuls, double daudzums, double iepakojums = 1) {
    TCekaRinda r;
    r.Artikuls = artikuls;
    r.Daudzums = daudzums;
    r.Iepakojums = iepakojums;
    r.Cena = 1;
    r.Nodala = 1;
    return r;
}

class StockLinkTest : public testsupport::DatabaseTest, protected testsupport::StockDatabase {
protected:
    QStringList told;

    void SetUp() override {
        DatabaseTest::SetUp();
        create(dir());
    }

    void storeStock(const std::vector<TCekaRinda>& lines, bool isReturn = false,
                    const std::function<void()>& onTell = {}) {
        ClosingReceipt receipt;
        receipt.lines = lines;
        receipt.isReturn = isReturn;
        UpdateReceiptStock(
            link(), receipt, 0,
            [&](const QString& text) {
                told << text;
                if (onTell) onTell();
            },
            [](std::size_t) {});
    }
};

TEST_F(StockLinkTest, ReceiptLinesMoveTheBalanceByTheirOwnQuantity) {
    struct Case {
        const char* what;
        std::vector<TCekaRinda> lines;
        bool isReturn;
        double balance;
    };
    const std::vector<Case> cases{
        {"a sale of 2", {line("A", 2)}, false, 8},
        {"a return of 2", {line("A", 2)}, true, 12},
        {"a weighed 0.125", {line("A", 0.125)}, false, 9.875},
        {"a box of 12 sold once", {line("A", 1, 12)}, false, 9},
        {"a line and its void", {line("A", 3), line("A", -3)}, false, 10},
        {"a returned line and its void", {line("A", 3), line("A", -3)}, true, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        execSql(stock, "DELETE FROM O_TEKATLIK");
        execSql(stock, "DELETE FROM N_KLPREC");
        const int goods = addGoods("A");
        addBalance(goods, 10);
        storeStock(c.lines, c.isReturn);
        EXPECT_TRUE(told.isEmpty()) << told.join(" | ").toStdString();
        EXPECT_DOUBLE_EQ(changeable(goods), c.balance);
        EXPECT_EQ(balanceRows(), 1);
    }
}

TEST_F(StockLinkTest, TheFirstSaleMakesTheBalanceRow) {
    const int goods = addGoods("A");
    storeStock({line("A", 2)});
    EXPECT_EQ(balanceRows(), 1);
    EXPECT_DOUBLE_EQ(changeable(goods), -2);
    EXPECT_EQ(selectValue(stock, "SELECT NELEGALIZ FROM O_TEKATLIK").toString(), "F");
    EXPECT_EQ(selectValue(stock, "SELECT ISNODALA FROM O_TEKATLIK").toInt(), department);
}

// A row flagged 'T' is never changed, yet counts in the balance shown; a row with no flag is
// changed as an 'F' row is; another department's row is neither changed nor shown.
TEST_F(StockLinkTest, RowsTheTillMayNotChange) {
    const int flagged = addGoods("T");
    addBalance(flagged, 5, "T");
    addBalance(flagged, 10, "F");
    addBalance(flagged, 100, "F", department - 1);
    storeStock({line("T", 2)});
    EXPECT_DOUBLE_EQ(selectValue(stock, "SELECT ATLIKUMS FROM O_TEKATLIK WHERE NELEGALIZ = 'T'").toDouble(), 5);
    EXPECT_DOUBLE_EQ(changeable(flagged), 8);
    EXPECT_DOUBLE_EQ(GetPrecesAtlikums(link(), "T"), 13);
    EXPECT_DOUBLE_EQ(selectValue(stock, "SELECT ATLIKUMS FROM O_TEKATLIK WHERE ISNODALA <> :N", {{":N", department}}).toDouble(),
                     100);

    // Only a flagged row: the sale makes an 'F' row beside it.
    const int onlyFlagged = addGoods("U");
    addBalance(onlyFlagged, 5, "T");
    storeStock({line("U", 2)});
    EXPECT_DOUBLE_EQ(changeable(onlyFlagged), -2);
    EXPECT_DOUBLE_EQ(GetPrecesAtlikums(link(), "U"), 3);

    const int unflagged = addGoods("N");
    addBalance(unflagged, 4, QVariant(QMetaType(QMetaType::QString)));
    storeStock({line("N", 1)});
    EXPECT_DOUBLE_EQ(changeable(unflagged), 3);
    EXPECT_TRUE(told.isEmpty()) << told.join(" | ").toStdString();
}

// A code of 20 characters: the update matches its first 16 against ARTIKULS and ARTIKULS7 and
// its first 13 against ARTIKULS2..ARTIKULS6; the look-up matches it whole against
// ARTIKULS..ARTIKULS6.
TEST_F(StockLinkTest, LongCodesAreMatchedAsTheStockProductKeepsThem) {
    const QString code = QStringLiteral("47500010000170123456");
    struct Case {
        const char* what;
        int column;  // 0 for ARTIKULS .. 6 for ARTIKULS7
        QString stored;
        bool updated, found;
    };
    const std::vector<Case> cases{
        {"ARTIKULS, 16 characters", 0, code.left(16), true, false},
        {"ARTIKULS7, 16 characters", 6, code.left(16), true, false},
        {"ARTIKULS3, 13 characters", 2, code.left(13), true, false},
        {"ARTIKULS6, 13 characters", 5, code.left(13), true, false},
        {"ARTIKULS2, 16 characters", 1, code.left(16), false, false},
        {"ARTIKULS, whole", 0, code, false, true},
        {"ARTIKULS4, whole", 3, code, false, true},
        {"ARTIKULS7, whole", 6, code, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        execSql(stock, "DELETE FROM O_TEKATLIK");
        execSql(stock, "DELETE FROM N_KLPREC");
        std::array<QString, 7> codes;
        codes[std::size_t(c.column)] = c.stored;
        if (c.column != 0) codes[0] = QStringLiteral("other");
        const int goods = addGoods(codes);
        addBalance(goods, 10);
        storeStock({line(code, 1)});
        EXPECT_DOUBLE_EQ(changeable(goods), c.updated ? 9 : 10);
        EXPECT_DOUBLE_EQ(GetPrecesAtlikums(link(), code), c.found ? 10 : 0);
    }
}

// Goods or a department the stock product does not know get no balance row.
TEST_F(StockLinkTest, UnknownGoodsOrDepartmentWriteNothing) {
    addGoods("A");
    storeStock({line("B", 1), line("", 1)});
    UpdateAtlikumi({stock, "X9"}, "A", -1);
    EXPECT_EQ(balanceRows(), 0);
    EXPECT_TRUE(told.isEmpty()) << told.join(" | ").toStdString();
    EXPECT_DOUBLE_EQ(GetPrecesAtlikums(link(), "B"), 0);
}

// A row the stock database will not take, whether changed or new, is told with the update's
// message and left as it was; the next line is still moved.
TEST_F(StockLinkTest, ARefusedPostIsToldAndChangesNothing) {
    const int locked = addGoods("L");
    const int fresh = addGoods("F");
    const int open = addGoods("O");
    addBalance(locked, 10);
    addBalance(open, 10);
    execSql(stock, "CREATE EXCEPTION E_LOCKED 'balance locked'");
    execSql(stock, "CREATE TRIGGER T_LOCK_U FOR O_TEKATLIK BEFORE UPDATE AS BEGIN "
                   "IF (OLD.ISPRECE = " + QString::number(locked) + ") THEN EXCEPTION E_LOCKED; END");
    execSql(stock, "CREATE TRIGGER T_LOCK_I FOR O_TEKATLIK BEFORE INSERT AS BEGIN "
                   "IF (NEW.ISPRECE = " + QString::number(fresh) + ") THEN EXCEPTION E_LOCKED; END");
    storeStock({line("L", 2), line("F", 2), line("O", 2)});
    ASSERT_EQ(told.size(), 2);
    for (const QString& text : told) {
        EXPECT_TRUE(text.startsWith(kStockUpdateFailedMessage)) << text.toStdString();
        EXPECT_TRUE(text.contains("balance locked")) << text.toStdString();
    }
    EXPECT_DOUBLE_EQ(changeable(locked), 10);
    EXPECT_EQ(selectValue(stock, "SELECT COUNT(*) FROM O_TEKATLIK WHERE ISPRECE = :P", {{":P", fresh}}).toInt(), 0);
    EXPECT_DOUBLE_EQ(changeable(open), 8);
}

// The connection lost while a receipt's lines are moved: the lines before are moved, each line
// after is told, and nothing is thrown at the receipt's save.
TEST_F(StockLinkTest, TheConnectionLostInTheMiddleOfAReceipt) {
    const int a = addGoods("A"), b = addGoods("B"), c = addGoods("C");
    for (int goods : {a, b, c}) addBalance(goods, 10);
    execSql(stock, "CREATE EXCEPTION E_REFUSED 'refused'");
    execSql(stock, "CREATE TRIGGER T_REFUSE FOR O_TEKATLIK BEFORE UPDATE AS BEGIN "
                   "IF (OLD.ISPRECE = " + QString::number(b) + ") THEN EXCEPTION E_REFUSED; END");
    EXPECT_NO_THROW(storeStock({line("A", 1), line("B", 1), line("C", 1)}, false, [this] { stock.close(); }));
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[0].startsWith(kStockUpdateFailedMessage)) << told[0].toStdString();
    EXPECT_TRUE(told[1].startsWith(kStockUpdateFailedMessage)) << told[1].toStdString();
    EXPECT_GT(told[1].size(), kStockUpdateFailedMessage.size());  // the database's text follows

    EXPECT_THROW(GetPrecesAtlikums(link(), "A"), StockLinkError);
    reopen();
    EXPECT_DOUBLE_EQ(changeable(a), 9);
    EXPECT_DOUBLE_EQ(changeable(b), 10);
    EXPECT_DOUBLE_EQ(changeable(c), 10);
}

TEST(StockBalanceText, ThreeDecimalsInSevenCharacters) {
    EXPECT_EQ(AtlikumaTeksts(12.5), "Atlik= 12.500");
    EXPECT_EQ(AtlikumaTeksts(0), "Atlik=  0.000");
    EXPECT_EQ(AtlikumaTeksts(-0.125), "Atlik= -0.125");
    EXPECT_EQ(AtlikumaTeksts(12345.5), "Atlik=12345.500");
}

}  // namespace
