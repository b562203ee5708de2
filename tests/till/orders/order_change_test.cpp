// Changing orders on a real till database: the entry line decoded, the insert's own key, the
// corrections, the join of lines and what paying hands over and marks.
#include "order_corrections.h"
#include "order_entry.h"
#include "order_fixture.h"
#include "order_join.h"
#include "order_payment.h"
#include "receipt_order_lines.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using testsupport::StoredLine;

TEST(OrderEntryText, Decoded) {
    const struct {
        const char* text;
        OrderEntry::Kind kind;
        double daudzums;
        bool quantityError;
        const char* artikuls;
        bool typedPrice, serviceCharge;
        std::optional<double> cena;
    } cases[] = {
        {"2*101", OrderEntry::Item, 2, false, "101", false, false, {}},
        {"101", OrderEntry::Item, 1, false, "101", false, false, {}},
        {"2*101=4.5", OrderEntry::Item, 2, false, "101", true, false, 4.5},
        {"2,5*101", OrderEntry::Item, 1, true, "101", false, false, {}},
        {"101=abc", OrderEntry::Item, 1, false, "101", true, false, {}},
        {"101= AP ", OrderEntry::Item, 1, false, "101", true, true, {}},
        {"3*APK=AP", OrderEntry::Item, 3, false, "APK", true, true, {}},
        {" 101 =1=2", OrderEntry::Item, 1, false, " 101 ", true, false, {}},
        {"", OrderEntry::Item, 1, false, "", false, false, {}},
        {"/0=20", OrderEntry::Pay, 1, false, "", false, false, {}},
        {"t", OrderEntry::Pay, 1, false, "", false, false, {}},
        {"s", OrderEntry::Pay, 1, false, "", false, false, {}},
        {"S", OrderEntry::Item, 1, false, "S", false, false, {}},
    };
    for (const auto& c : cases) {
        const OrderEntry e = ParseOrderEntry(c.text);
        EXPECT_EQ(e.kind, c.kind) << c.text;
        EXPECT_DOUBLE_EQ(e.daudzums, c.daudzums) << c.text;
        EXPECT_EQ(e.quantityError, c.quantityError) << c.text;
        EXPECT_EQ(e.artikuls, c.artikuls) << c.text;
        EXPECT_EQ(e.typedPrice, c.typedPrice) << c.text;
        EXPECT_EQ(e.serviceCharge, c.serviceCharge) << c.text;
        EXPECT_EQ(e.cena, c.cena) << c.text;
    }
    const OrderEntry customer = ParseOrderEntry("> K5");
    EXPECT_EQ(customer.kind, OrderEntry::Customer);
    EXPECT_EQ(customer.klKods, " K5");
}

TEST(OrderEntryText, DiscountsAreStoredNegated) {
    const std::pair<const char*, double> cases[] = {{"15", -15}, {"100", -100}, {"101", -101}, {"-5", 5}, {"", 0},
                                                    {"abc", 0}, {" 2.5 ", -2.5}};
    for (const auto& [field, stored] : cases) EXPECT_DOUBLE_EQ(OrderDiscount(field), stored) << field;
    EXPECT_EQ(WholeOrderDiscount("10.1"), double(-10.1f));
    EXPECT_NE(WholeOrderDiscount("10.1"), -10.1);
}

TEST(OrderEntryText, LineTextsForTheSaleWindow) {
    PayLine l;
    l.daudzums = 2.00049;
    l.artikuls = "101";
    l.cena = 1.806;
    EXPECT_EQ(OrderLineEntryText(l), "   2.000*101=    1.81");
    l.daudzums = -1;
    l.cena = 12345.5;
    EXPECT_EQ(OrderLineEntryText(l), "  -1.000*101=12345.50");
    EXPECT_EQ(OrderLineDiscountText(-10), " 10.00");
    EXPECT_EQ(OrderLineDiscountText(0), "  0.00");
    EXPECT_EQ(OrderLineDiscountText(5), " -5.00");
    l.barmenis = "Anna";
    l.pasutNr = 12;
    l.galds = "Terase'2";
    EXPECT_EQ(OrderReceiptNote(l), "Viesm.Anna P.Nr 12 Galds Terase'2");
}

class OrderChange : public testsupport::OrderDatabaseTest {
protected:
    // Article and quantity of every row of the order, by key.
    std::vector<std::pair<QString, double>> rows(int pasutNr) {
        std::vector<std::pair<QString, double>> r;
        QSqlQuery q = exec("SELECT ARTIKULS, DAUDZUMS FROM O_PASUT WHERE PASUT_NR=:N ORDER BY ISN", {{"N", pasutNr}});
        while (q.next()) r.emplace_back(q.value(0).toString(), q.value(1).toDouble());
        return r;
    }
};

TEST_F(OrderChange, InsertReturnsTheKeyOfItsOwnLine) {
    // Another till drew keys meanwhile: the key handed back is still this line's.
    exec("SELECT GEN_ID(O_PASUTGEN, 5) FROM N_ISI");
    NewOrderLine line{QDate(2026, 5, 4), "Anna", 3, "Terase'2", "logs", "100", 1.8, -10, 2};
    const int isn = InsertOrderLine(db(), line);
    EXPECT_EQ(value("SELECT ARTIKULS || '/' || GALDS || '/' || APMAKSATS || '/' || VIETA FROM O_PASUT WHERE ISN=:I",
                    {{"I", isn}})
                  .toString(),
              "100/Terase'2/F/logs");
    EXPECT_EQ(value("SELECT COUNT(*) FROM O_PASUT WHERE KL_KODS IS NULL AND DZESTS IS NULL AND PRN_BARS IS NULL").toInt(), 1);
}

TEST_F(OrderChange, ServiceBaseIsTheDiscountedSumOfLiveLines) {
    EXPECT_DOUBLE_EQ(OrderLinesSum(db(), 1), 0);
    store({.cena = 10, .daudzums = 2});
    store({.cena = 10, .atlaide = -50});
    store({.cena = 100, .dzests = "T"});
    store({.pasutNr = 2, .cena = 100});
    EXPECT_DOUBLE_EQ(OrderLinesSum(db(), 1), 25);
}

TEST_F(OrderChange, DeletingMarksOrRemoves) {
    const int a = store({});
    const int b = store({});
    MarkLineDeleted(db(), a);
    EXPECT_EQ(value("SELECT DZESTS FROM O_PASUT WHERE ISN=:I", {{"I", a}}).toString(), "T");
    RemoveLine(db(), b);
    EXPECT_EQ(value("SELECT COUNT(*) FROM O_PASUT").toInt(), 1);
}

TEST_F(OrderChange, OrderDiscountAndCustomerReachEveryLineOfTheOrder) {
    store({.atlaide = -3});
    store({.apmaksats = "T", .dzests = "T"});
    store({.pasutNr = 2, .atlaide = -7});
    SetOrderDiscount(db(), 1, -10);
    EXPECT_EQ(value("SELECT COUNT(*) FROM O_PASUT WHERE PASUT_NR=1 AND ATLAIDE=-10").toInt(), 2);
    EXPECT_DOUBLE_EQ(value("SELECT ATLAIDE FROM O_PASUT WHERE PASUT_NR=2").toDouble(), -7);

    const std::pair<const char*, double> customers[] = {{"K5", -5}, {"nav", 0}};
    for (const auto& [code, discount] : customers) {
        EXPECT_DOUBLE_EQ(CustomerOrderDiscount(db(), code), discount) << code;
        SetOrderCustomer(db(), 1, code, CustomerOrderDiscount(db(), code));
        EXPECT_EQ(value("SELECT COUNT(*) FROM O_PASUT WHERE PASUT_NR=1 AND KL_KODS=:K AND ATLAIDE=:A",
                        {{"K", code}, {"A", discount}})
                      .toInt(),
                  2)
            << code;
    }
}

TEST_F(OrderChange, JoinSumsOnlyLinesThatAgree) {
    using Rows = std::vector<std::pair<QString, double>>;
    const struct {
        const char* name;
        std::vector<StoredLine> lines;
        Rows expected;
    } cases[] = {
        {"two live and a deleted",
         {{.daudzums = 2}, {.daudzums = 1}, {.daudzums = 4, .dzests = "T"}},
         {{"100", 3}, {"100", 4}}},
        {"sum equals the first", {{.daudzums = 1}, {.daudzums = 0}}, {{"100", 1}, {"100", 0}}},
        {"prices differ",
         {{.artikuls = "APK", .cena = 2.5}, {.artikuls = "APK", .cena = 2.75}},
         {{"APK", 1}, {"APK", 1}}},
        {"discounts differ", {{.atlaide = -10}, {.atlaide = 0}}, {{"100", 1}, {"100", 1}}},
        {"paid and unpaid", {{.apmaksats = "T"}, {.apmaksats = "F"}, {.apmaksats = QVariant()}},
         {{"100", 1}, {"100", 2}}},
        // An addition not yet sent stays apart from the line already sent, or it would never be
        // made; only the flag of the place the item is made counts (100 is a bar item, 200 a
        // kitchen one).
        {"sent to the bar and an addition", {{.prnBars = "T"}, {.daudzums = 2}, {.daudzums = 3, .prnBars = "F"}},
         {{"100", 1}, {"100", 5}}},
        {"sent to the kitchen and an addition",
         {{.artikuls = "200", .prnVirtuve = "T"}, {.artikuls = "200", .daudzums = 2}},
         {{"200", 1}, {"200", 2}}},
        {"both sent", {{.prnBars = "T"}, {.daudzums = 2, .prnBars = "T"}}, {{"100", 3}}},
        {"the other place's and the bill's flags", {{.prnVirtuve = "T", .prnRekins = "T"}, {.daudzums = 2}},
         {{"100", 3}}},
        {"other articles apart", {{.artikuls = "a"}, {.artikuls = "b"}, {.artikuls = "a", .daudzums = 2}},
         {{"a", 3}, {"b", 1}}},
    };
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, NODALA) VALUES ('200', 'Zupa', 3.2, 2)");
    for (const auto& c : cases) {
        exec("DELETE FROM O_PASUT");
        for (const StoredLine& l : c.lines) store(l);
        store({.pasutNr = 2});
        store({.pasutNr = 2});
        JoinOrderLines(db(), 1);
        EXPECT_EQ(rows(1), c.expected) << c.name;
        EXPECT_EQ(rows(2).size(), 2u) << c.name;
    }
}

TEST_F(OrderChange, PayingTakesOnlyUnpaidLiveLinesAndMarksThem) {
    const int paid = store({.apmaksats = "T"});
    const int a = store({.artikuls = "100", .klKods = "K5"});
    const int deleted = store({.dzests = "T"});
    const int b = store({.artikuls = "4750001000017", .apmaksats = QVariant()});
    const int other = store({.pasutNr = 2});
    const auto lines = UnpaidOrderLines(db(), 1);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].isn, a);
    EXPECT_EQ(lines[0].klKods, "K5");
    EXPECT_EQ(lines[1].isn, b);

    const std::vector<OrderLineOnReceipt> onReceipt{{1, a}, {1, b}};
    MarkOrderLinesPaid(db(), onReceipt);
    std::map<int, QString> flags;
    QSqlQuery q = exec("SELECT ISN, APMAKSATS FROM O_PASUT");
    while (q.next()) flags[q.value(0).toInt()] = q.value(1).toString();
    EXPECT_EQ(flags, (std::map<int, QString>{{paid, "T"}, {a, "T"}, {deleted, "T"}, {b, "T"}, {other, "F"}}));
    EXPECT_TRUE(UnpaidOrderLines(db(), 1).empty());
}

}  // namespace
