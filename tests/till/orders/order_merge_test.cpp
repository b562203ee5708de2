// Merging one order into another and moving marked lines into a new order, on a real embedded
// till database.
#include "order_merge.h"

#include "test_database.h"

#include <gtest/gtest.h>

namespace {

class OrderMergeTest : public testsupport::DatabaseTest {
protected:
    static std::string lines(const QStringList& rows) { return rows.join(u'\n').toStdString(); }
    int line(int pasutNr, const QString& galds, const QString& barmenis, const QString& apmaksats, const QVariant& dzests,
             const QString& artikuls = "100")
    {
        exec("INSERT INTO O_PASUT (DATUMS, PASUT_NR, GALDS, BARMENIS, ARTIKULS, CENA, DAUDZUMS, APMAKSATS, DZESTS, PRN_BARS) "
             "VALUES ('2026-03-02', :NR, :GALDS, :BARMENIS, :ARTIKULS, 1.5, 2, :APMAKSATS, :DZESTS, 'T')",
             {{":NR", pasutNr}, {":GALDS", galds}, {":BARMENIS", barmenis}, {":ARTIKULS", artikuls}, {":APMAKSATS", apmaksats},
              {":DZESTS", dzests}});
        return value("SELECT GEN_ID(O_PASUTGEN,0) FROM N_ISI").toInt();
    }
    // Every row as "ISN:order:table:waiter:paid:deleted:bar flag", by key, a line each.
    std::string rows()
    {
        QStringList all;
        QSqlQuery q = exec("SELECT ISN, PASUT_NR, COALESCE(GALDS, '<null>'), BARMENIS, APMAKSATS, COALESCE(DZESTS, '-'), PRN_BARS "
                           "FROM O_PASUT ORDER BY ISN");
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < 7; ++i) cells << q.value(i).toString();
            all << cells.join(u':');
        }
        return all.join(u'\n').toStdString();
    }
};

TEST_F(OrderMergeTest, EveryRowOfTheSourceTakesTheTargetsNumberAndTable)
{
    const int a = line(5, "1", "Anna", "F", {});
    const int b = line(5, "1", "Anna", "T", {});
    const int c = line(5, "2", "Jānis", "F", "T");
    const int d = line(7, "3", "Pēteris", "F", {});
    const int e = line(8, "4", "Anna", "F", {});
    QString galds = "9";
    EXPECT_EQ(MergeOrders(db(), "5", "7", galds), "");
    EXPECT_EQ(galds, "3");
    const auto k = [](int isn) { return QString::number(isn); };
    EXPECT_EQ(rows(), lines({k(a) + ":7:3:Anna:F:-:T", k(b) + ":7:3:Anna:T:-:T", k(c) + ":7:3:Jānis:F:T:T",
                                   k(d) + ":7:3:Pēteris:F:-:T", k(e) + ":8:4:Anna:F:-:T"}));
}

TEST_F(OrderMergeTest, ATargetWithoutATableTakesTheTableTheFormShows)
{
    const int a = line(5, "1", "Anna", "F", {});
    const int b = line(6, "", "Anna", "F", {});
    const auto k = [](int isn) { return QString::number(isn); };
    // No target rows and an empty box: the rows move with an empty table.
    QString galds;
    ASSERT_EQ(MergeOrders(db(), "5", "12", galds), "");
    EXPECT_EQ(galds, "");
    EXPECT_EQ(rows(), lines({k(a) + ":12::Anna:F:-:T", k(b) + ":6::Anna:F:-:T"}));
    // A target whose row has no table leaves the box as it is, and the rows take the box's table.
    galds = "2";
    ASSERT_EQ(MergeOrders(db(), "12", "6", galds), "");
    EXPECT_EQ(galds, "2");
    EXPECT_EQ(rows(), lines({k(a) + ":6:2:Anna:F:-:T", k(b) + ":6::Anna:F:-:T"}));
}

TEST_F(OrderMergeTest, RefusalsChangeNothing)
{
    line(5, "1", "Anna", "F", {});
    line(7, "3", "Anna", "F", {});
    const std::string before = rows();
    struct Case {
        QString from, to, message, galds;
    };
    const std::vector<Case> cases{
        {"", "7", kNoMergeSource, "9"},
        {"", "", kNoMergeSource, "9"},
        {"5", "", kNoMergeTarget, "9"},
        {"5", "7a", "'7a' is not a valid integer value", "9"},
        {"5", "7.0", "'7.0' is not a valid integer value", "9"},
        // The target is read before the source number is converted.
        {"x", "7", "'x' is not a valid integer value", "3"},
    };
    for (const Case& c : cases) {
        QString galds = "9";
        EXPECT_EQ(MergeOrders(db(), c.from, c.to, galds).toStdString(), c.message.toStdString())
            << c.from.toStdString() << "/" << c.to.toStdString();
        EXPECT_EQ(galds, c.galds);
        EXPECT_EQ(rows(), before);
    }
}

TEST_F(OrderMergeTest, MarkedLinesOfTwoOrdersMoveIntoOneNewOrder)
{
    const int a = line(5, "1", "Anna", "F", {});
    const int b = line(5, "1", "Anna", "F", {}, "200");
    const int c = line(7, "3", "Jānis", "T", {});
    const int d = line(7, "3", "Jānis", "F", "T");
    EXPECT_EQ(MoveLinesToNewOrder(db(), {b, c}), 8);
    const auto k = [](int isn) { return QString::number(isn); };
    EXPECT_EQ(rows(), lines({k(a) + ":5:1:Anna:F:-:T", k(b) + ":8:1:Anna:F:-:T", k(c) + ":8:3:Jānis:T:-:T",
                                   k(d) + ":7:3:Jānis:F:T:T"}));

    const std::string before = rows();
    EXPECT_EQ(MoveLinesToNewOrder(db(), {}), 0);
    EXPECT_EQ(rows(), before);
}

}  // namespace
