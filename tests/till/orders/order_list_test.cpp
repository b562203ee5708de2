// The orders list on a real till database: which lines each filter lists, names with quotes bound
// as parameters, the item names by 13 characters, the rounded total, the tabs' names, the next
// order number and the quick items.
#include "order_fixture.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using testsupport::StoredLine;

class OrderList : public testsupport::OrderDatabaseTest {
protected:
    std::set<QString> listed(const OrderFilter& filter) {
        std::set<QString> articles;
        for (const OrderLine& l : ReadOrderList(db(), filter)) articles.insert(l.artikuls);
        return articles;
    }
};

TEST_F(OrderList, DeletedAndPaidFlagsUnderEachFilterItem) {
    const struct {
        const char* tag;
        QVariant dzests, apmaksats;
    } rows[] = {
        {"N-N", {}, {}},     {"N-F", {}, "F"},     {"N-T", {}, "T"},
        {"T-N", "T", {}},    {"T-F", "T", "F"},    {"T-T", "T", "T"},
        {"X-F", "X", "F"},  // anything but 'T' is live
    };
    for (const auto& r : rows) store({.artikuls = r.tag, .apmaksats = r.apmaksats, .dzests = r.dzests});

    const struct {
        PaymentFilter filter;
        std::set<QString> expected;
    } cases[] = {
        {PaymentFilter::Unpaid, {"N-F", "X-F"}},
        {PaymentFilter::Paid, {"N-T"}},
        {PaymentFilter::All, {"N-N", "N-F", "N-T", "X-F"}},
    };
    for (const auto& c : cases) EXPECT_EQ(listed(day(c.filter)), c.expected) << int(c.filter);
}

TEST_F(OrderList, WaiterTableAndPeriodFiltersBindTheirTexts) {
    store({.artikuls = "a", .barmenis = "O'Brien", .galds = "Terase'2"});
    store({.artikuls = "b", .barmenis = "O'Brien", .galds = "1"});
    store({.artikuls = "c", .barmenis = "Anna", .galds = "Terase'2"});
    store({.artikuls = "d", .barmenis = "Visi Bārmeņi", .galds = "Visi"});
    store({.artikuls = "e", .barmenis = "Anna", .galds = "1", .datums = QDate(2026, 5, 5)});

    OrderFilter f = day();
    f.barmenis = "O'Brien";
    EXPECT_EQ(listed(f), (std::set<QString>{"a", "b"}));
    f.galds = "Terase'2";
    EXPECT_EQ(listed(f), (std::set<QString>{"a"}));
    f.barmenis.reset();
    EXPECT_EQ(listed(f), (std::set<QString>{"a", "c"}));
    f.barmenis = "Visi Bārmeņi";
    f.galds = "Visi";
    EXPECT_EQ(listed(f), (std::set<QString>{"d"}));

    OrderFilter period = day();
    period.to = QDate(2026, 5, 5);
    EXPECT_EQ(listed(period).size(), 5u);
    period.from = QDate(2026, 5, 6);
    EXPECT_TRUE(listed(period).empty());

    EXPECT_EQ(ReadWaiters(db()), (QStringList{"Anna", "O'Brien", "Visi Bārmeņi"}));
    EXPECT_EQ(ReadTables(db(), QString("O'Brien"), QDate(2026, 5, 4), QDate(2026, 5, 4)), (QStringList{"1", "Terase'2"}));
    EXPECT_EQ(ReadTables(db(), std::nullopt, QDate(2026, 5, 5), QDate(2026, 5, 5)), QStringList{"1"});
}

TEST_F(OrderList, OrderAndTabsOfTheList) {
    const int second = store({.pasutNr = 2, .artikuls = "x"});
    const int first = store({.pasutNr = 1, .artikuls = "y"});
    const int third = store({.pasutNr = 1, .artikuls = "z"});
    std::vector<int> keys;
    for (const OrderLine& l : ReadOrderList(db(), day())) keys.push_back(l.isn);
    EXPECT_EQ(keys, (std::vector<int>{first, third, second}));
}

TEST_F(OrderList, EmptyTable) {
    EXPECT_TRUE(ReadOrderList(db(), day(PaymentFilter::All)).empty());
    EXPECT_TRUE(ReadWaiters(db()).isEmpty());
    EXPECT_TRUE(ReadTables(db(), std::nullopt, QDate(2026, 5, 4), QDate(2026, 5, 4)).isEmpty());
    EXPECT_EQ(OrderTotalText(OrderListTotal({})), "      0.00");
    EXPECT_EQ(NextOrderNumber(db()), 1);
}

TEST_F(OrderList, NextNumberCountsEveryLineOfEveryDate) {
    store({.pasutNr = 4});
    store({.pasutNr = 9, .apmaksats = "T", .dzests = "T", .datums = QDate(2020, 1, 1)});
    EXPECT_EQ(NextOrderNumber(db()), 10);
}

TEST_F(OrderList, TotalRoundsEachLineBeforeAdding) {
    store({.cena = 0.005});
    store({.cena = 0.005});
    EXPECT_EQ(OrderTotalText(OrderListTotal(ReadOrderList(db(), day()))), "      0.02");

    // A discount lowers the line: 3 x 2.15 less 10 % is 5.805, 5.81 in the total.
    exec("DELETE FROM O_PASUT");
    store({.cena = 2.15, .daudzums = 3, .atlaide = -10});
    const auto lines = ReadOrderList(db(), day());
    EXPECT_EQ(OrderTotalText(OrderListTotal(lines)), "      5.81");
    EXPECT_DOUBLE_EQ(lines.front().summa(), 6.45);
}

TEST_F(OrderList, ItemNamesByTheFirstThirteenCharacters) {
    store({.artikuls = "4750001000017XYZ"});
    store({.artikuls = "100"});
    store({.artikuls = "999"});
    std::vector<QString> names;
    for (const OrderLine& l : ReadOrderList(db(), day())) names.push_back(l.nosaukums);
    EXPECT_EQ(names, (std::vector<QString>{"Rupjmaize", "Kafija", ""}));
}

TEST_F(OrderList, QuickItemsByNameAndTheirArticles) {
    for (int i = 0; i < 12; ++i)
        exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, SHORTKEY) VALUES (:A, :G, 1, :K)",
             {{"A", QString("Q%1").arg(i)}, {"G", QString("Ātrais %1").arg(i, 2, 10, QChar('0'))},
              {"K", QString("Ctrl+%1").arg(i)}});
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, SHORTKEY) VALUES ('E', 'Bez', 1, '')");
    const auto items = ReadQuickItems(db(), 11);
    ASSERT_EQ(items.size(), 11u);
    EXPECT_EQ(items.front().gnos, "Ātrais 00");
    EXPECT_EQ(items.back().gnos, "Ātrais 10");
    EXPECT_EQ(QuickItemArticle(db(), "Ctrl+3"), "Q3");
    EXPECT_EQ(QuickItemArticle(db(), "F12"), "");
}

}  // namespace
