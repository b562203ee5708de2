// The waiter report's lines over order lines of a period, on a real embedded till database.
#include "waiter_report.h"

#include "test_database.h"

#include <gtest/gtest.h>

namespace {

class WaiterReportTest : public testsupport::DatabaseTest {
protected:
    void line(const QString& barmenis, const QDate& datums, const QString& artikuls, double summa, double atlaide,
              const QVariant& apmaksats, const QVariant& dzests)
    {
        exec("INSERT INTO O_PASUT (DATUMS, PASUT_NR, BARMENIS, ARTIKULS, CENA, DAUDZUMS, ATLAIDE, APMAKSATS, DZESTS) "
             "VALUES (:DATUMS, 1, :BARMENIS, :ARTIKULS, :CENA, 2, :ATLAIDE, :APMAKSATS, :DZESTS)",
             {{":DATUMS", datums}, {":BARMENIS", barmenis}, {":ARTIKULS", artikuls}, {":CENA", summa / 2}, {":ATLAIDE", atlaide},
              {":APMAKSATS", apmaksats}, {":DZESTS", dzests}});
    }
    static QStringList block(const QString& heading, const char* realised, const char* service, const char* deleted,
                             const char* unpaid)
    {
        return {heading, QStringLiteral("Kopā realizēts = ") + realised + " ", QStringLiteral("Servisa summa  = ") + service + " ",
                QStringLiteral("Dzēst          = ") + deleted + " ", QStringLiteral("Nenosl,neapmm. = ") + unpaid + " "};
    }
    static QStringList heading(const char* period)
    {
        return {"-----------------------------", "-    Viesmīļu atskaite     - ", QStringLiteral("-  ") + period + "   - "};
    }

    static std::string text(const QStringList& lines) { return lines.join(u'\n').toStdString(); }

    const QDate first{2026, 3, 1}, last{2026, 3, 7};
};

TEST_F(WaiterReportTest, OneBlockPerWaiterThenTheTotals)
{
    const QVariant live;
    // Anna: paid 10.00, unpaid 5.00 at -10, deleted 3.00.
    line("Anna", first, "100", 10, 0, "T", live);
    line("Anna", last, "100", 5, -10, "F", live);
    line("Anna", QDate(2026, 3, 4), "100", 3, 0, "F", "T");
    // Jānis: every line deleted.
    line("Jānis", first, "100", 7, 0, "F", "T");
    // Pēteris: service lines, one of them deleted; one line neither paid nor unpaid.
    line("Pēteris", QDate(2026, 3, 5), "APK", 1, 0, "F", live);
    line("Pēteris", QDate(2026, 3, 5), "APK", 2, 0, "F", "T");
    line("Pēteris", QDate(2026, 3, 5), "100", 4, 0, QVariant(), "F");
    // Outside the period.
    line("Anna", first.addDays(-1), "100", 100, 0, "F", live);
    line("Anna", last.addDays(1), "100", 100, 0, "F", live);

    QStringList expected = heading("01.03.2026-07.03.2026");
    expected << block("---------- Anna -----------", "  14.50", "   0.00", "   3.00", "   4.50")
             << block("---------- Jānis -----------", "   0.00", "   0.00", "   7.00", "   0.00")
             << block("---------- Pēteris -----------", "   5.00", "   1.00", "   2.00", "   1.00")
             << block("-------- KOPĀ VIESMĪĻIEM -------", "  19.50", "   1.00", "  12.00", "   5.50")
             << "----------------------------";
    EXPECT_EQ(text(WaiterReportLines(db(), first, last, " APK ")), text(expected));
}

TEST_F(WaiterReportTest, AnEmptyPeriodPrintsTheTotalsWithZeros)
{
    line("Anna", first, "APK", 10, 0, "F", QVariant());
    QStringList expected = heading("08.03.2026-09.03.2026");
    expected << block("-------- KOPĀ VIESMĪĻIEM -------", "   0.00", "   0.00", "   0.00", "   0.00")
             << "----------------------------";
    EXPECT_EQ(text(WaiterReportLines(db(), QDate(2026, 3, 8), QDate(2026, 3, 9), "APK")), text(expected));
    // Without a service article the service sums are 0.
    EXPECT_EQ(WaiterReportLines(db(), first, first, "").at(5).toStdString(), "Servisa summa  =    0.00 ");
    EXPECT_EQ(WaiterReportLines(db(), first, first, "APK").at(5).toStdString(), "Servisa summa  =   10.00 ");
}

}  // namespace
