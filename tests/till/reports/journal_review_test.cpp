// The journal review's statement, customer names, search and "Turpināt meklēt", and the goods
// browser's ordering and search, over a real till database.
#include "goods_browser.h"
#include "journal_review.h"
#include "test_database.h"

#include <gtest/gtest.h>

namespace {

const QDate kDay1(2026, 3, 2), kDay2(2026, 3, 3), kDay3(2026, 3, 4);

class JournalReviewTest : public testsupport::DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, NODALA) VALUES ('120', 'Piens Rīgas', 0.89, 1)");
        exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, NODALA) VALUES ('12A', 'Maize rudzu', 1.20, 1)");
        exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, NODALA) VALUES ('4750', 'Siers ''Dzintars''', 3.10, 2)");
        exec("INSERT INTO N_KLIENTI (KODS, GNOS) VALUES ('K1', 'SIA Alfa')");
        struct Row {
            QDate day;
            const char* time;
            int receipt;
            const char* article;
            const char* code;
            const char* name;
            const char* annulled;
        };
        for (const Row& r : std::vector<Row>{{kDay1, "07:59:59", 1, "120", "", "", "F"},
                                             {kDay1, "08:00:00", 2, "12A", "K1", "", "F"},
                                             {kDay2, "12:00:40", 3, "4750", "K2", "", "F"},
                                             {kDay2, "10:30:00", 4, "120", "K1", "Saglabātais", "F"},
                                             {kDay3, "11:59:59", 5, "999", "", "", "F"},
                                             {kDay3, "23:59:30", 6, "12A", "", "", "F"},
                                             {kDay3, "09:00:00", 7, "120", "", "", "T"}})
            exec("INSERT INTO REALIZ (CEKA_NR, DATUMS, LAIKS, KL_KODS, KL_NOSAUKUMS, ARTIKULS, CENA, DAUDZUMS, ATLAIDE, "
                 "ANULETS) VALUES (:NR, :D, :T, :K, :N, :A, 1.005, 1, 0, :AN)",
                 {{":NR", r.receipt}, {":D", r.day}, {":T", r.time}, {":K", r.code}, {":N", r.name}, {":A", r.article},
                  {":AN", r.annulled}});
    }

    std::vector<int> receipts(const JournalWindow& window)
    {
        std::vector<int> found;
        for (const JournalLine& line : ReadJournal(db(), window)) found.push_back(line.ceka_nr);
        return found;
    }

    int isnOf(int receipt) { return value("SELECT ISN FROM REALIZ WHERE CEKA_NR=:N", {{":N", receipt}}).toInt(); }
};

TEST_F(JournalReviewTest, PeriodTimeWindowAndReceiptFilter)
{
    struct Case {
        const char* name;
        JournalWindow window;
        std::vector<int> receipts;
    };
    const std::vector<Case> cases{
        {"08:00-12:00 over three days", {kDay1, kDay3, "08:00", "12:00", ""}, {2, 3, 4, 5}},
        {"the whole day, last minute whole", {kDay3, kDay3, "00:00", "23:59", ""}, {5, 6}},
        {"first day after the last", {kDay3, kDay1, "00:00", "23:59", ""}, {}},
        {"one receipt", {kDay1, kDay3, "00:00", "23:59", "3"}, {3}},
        {"an annulled receipt named by the filter", {kDay1, kDay3, "00:00", "23:59", "7"}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(receipts(c.window), c.receipts) << c.name;
    EXPECT_THROW(ReadJournal(db(), {kDay1, kDay3, "00:00", "23:59", "x"}), JournalError);
}

TEST_F(JournalReviewTest, CalculatedFields)
{
    const std::vector<JournalLine> lines = ReadJournal(db(), {kDay1, kDay3, "00:00", "23:59", ""});
    ASSERT_EQ(lines.size(), 6u);
    QStringList names;
    for (const JournalLine& line : lines) names << line.ShKlientaNosaukums;
    // No code; code in N_KLIENTI; code not in N_KLIENTI; stored name kept over the customer's.
    EXPECT_EQ(names, (QStringList{"", "SIA Alfa", "", "Saglabātais", "", ""}));
    EXPECT_DOUBLE_EQ(lines[0].SummaShow, 1.01);
    EXPECT_EQ(lines[1].precnos, "Maize rudzu");
    EXPECT_EQ(lines[4].precnos, "");  // article not in N_PRECE
}

TEST_F(JournalReviewTest, SearchAndTurpinatMeklet)
{
    const JournalWindow all{kDay1, kDay3, "00:00", "23:59", ""};
    struct Case {
        const char* name;
        SearchBy by;
        QString text;
        std::vector<int> receipts;
    };
    const std::vector<Case> cases{
        {"article inside", SearchBy::ArticleOrName, "2A", {2, 6}},
        {"name in another case", SearchBy::ArticleOrName, "RĪGAS", {1, 4}},
        {"a quote in the text", SearchBy::ArticleOrName, "'Dzint", {3}},
        {"a quote that would end the text", SearchBy::ArticleOrName, "x' OR 1=1 OR 'x", {}},
        {"article not in the item table", SearchBy::ArticleOrName, "999", {}},
        {"receipt number", SearchBy::Receipt, "5", {5}},
    };
    for (const Case& c : cases) {
        std::vector<int> expected;
        for (const int receipt : c.receipts) expected.push_back(isnOf(receipt));
        EXPECT_EQ(SearchJournal(db(), all, c.by, c.text), expected) << c.name;
    }
    EXPECT_THROW(SearchJournal(db(), all, SearchBy::Receipt, ""), JournalError);

    // One hit: Enter shows it; the button shows it again and is then used up.
    SearchHits one;
    EXPECT_EQ(one.Start({41}), 41);
    bool usedUp = false;
    EXPECT_EQ(one.Next(usedUp), 41);
    EXPECT_TRUE(usedUp);
    // Two hits: the button shows the second and is used up.
    SearchHits two;
    EXPECT_EQ(two.Start({41, 42}), 41);
    EXPECT_EQ(two.Next(usedUp), 42);
    EXPECT_TRUE(usedUp);
    // No hit leaves the last search as it was.
    EXPECT_FALSE(two.Start({}).has_value());
}

TEST_F(JournalReviewTest, JournalPrintTitleAndRows)
{
    const JournalWindow window{kDay1, kDay2, "08:00", "12:00", "3"};
    EXPECT_EQ(JournalPrintTitle(window), "ČEKU LENTAS IZDRUKA 02.03.2026 08:00-03.03.2026 12:00 Čeks Nr.3");
    const platform::report::Report report =
        BuildCekuLenta(ReadJournal(db(), {kDay1, kDay3, "00:00", "23:59", ""}), {"A", "", "", "", "E"}, "T");
    EXPECT_EQ(report.rows.size(), 6u);
    EXPECT_EQ(report.headLines.first(), "A");
}

TEST_F(JournalReviewTest, GoodsBrowserSearch)
{
    std::vector<GoodsRow> rows = LoadGoods(db(), GoodsOrder("ARTIKULS"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].artikuls, "120");
    // 1 then 2: 120 both times (12A follows 120 in the article order).
    EXPECT_EQ(FindGoods(rows, db(), "1"), 0);
    EXPECT_EQ(FindGoods(rows, db(), "12"), 0);
    EXPECT_EQ(FindGoods(rows, db(), "12A"), 1);
    // A mid-name word in any case, through the database.
    EXPECT_EQ(FindGoods(rows, db(), "rudzu"), 1);
    EXPECT_EQ(FindGoods(rows, db(), "RĪGAS"), 0);
    EXPECT_EQ(FindGoods(rows, db(), "'Dz"), 2);
    EXPECT_EQ(FindGoods(rows, db(), "nekas"), -1);
    // Enter with and without a match.
    EXPECT_TRUE(GoodsMatch(rows[0], "piens"));
    EXPECT_TRUE(GoodsMatch(rows[1], "rudzu"));
    EXPECT_FALSE(GoodsMatch(rows[1], "RUDZU"));
    EXPECT_FALSE(GoodsMatch(rows[2], "Piens"));
    // Ordering by price, by an unknown column.
    EXPECT_EQ(GoodsOrder("CENA"), "N_PRECE.CENA ");
    EXPECT_EQ(GoodsOrder("X"), "N_PRECE.ARTIKULS ");
    rows = LoadGoods(db(), GoodsOrder("CENA"));
    EXPECT_EQ(rows[0].artikuls, "120");
    EXPECT_EQ(rows[2].artikuls, "4750");
}

TEST(VoucherProducts, NoneUntilTheVoucherClientIsInstalled)
{
    EXPECT_TRUE(GetVoucherProducts("c", "p", "u").isEmpty());
    QStringList asked;
    SetVoucherProductSource([&](const QString& c, const QString& p, const QString& u) {
        asked = {c, p, u};
        return QStringList{"EAN:1 SKU:2 Cena:5.00 Karte"};
    });
    EXPECT_EQ(GetVoucherProducts("c", "p", "u").size(), 1);
    EXPECT_EQ(asked, (QStringList{"c", "p", "u"}));
    SetVoucherProductSource({});
}

}  // namespace
