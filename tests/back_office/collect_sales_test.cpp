#include "fleet_test.h"

#include "send_receive_pass.h"

#include <fstream>

namespace {

using testsupport::FleetTest;
using tills::SoldLine;

class CollectSalesTest : public FleetTest {
protected:
    const QDate day{2015, 2, 10};

    // R_ARTIK.DBF as "KASE|DATUMS|KL_KODS|ARTIKULS|DAUDZUMS|SUMMA|NODOKLIS|ATLAIDE|APM_VEIDS" rows.
    QStringList rArtik() {
        const DbfTable table = DbfTable::open(dbf() / "R_ARTIK.DBF");
        QStringList out;
        for (int r = 0; r < table.recordCount(); ++r) {
            QStringList values;
            for (const char* column : {"KASE", "DATUMS", "KL_KODS", "ARTIKULS"})
                values << QString::fromStdString(table.text(r, table.column(column)));
            for (const char* column : {"DAUDZUMS", "SUMMA", "NODOKLIS", "ATLAIDE"})
                values << QString::number(table.number(r, table.column(column)));
            values << QString::fromStdString(table.text(r, table.column("APM_VEIDS")));
            out << values.join(u'|');
        }
        return out;
    }
};

TEST_F(CollectSalesTest, SalesByItemGatherTillsSalesAndReturns) {
    for (const QString& till : {QStringLiteral("K1"), QStringLiteral("K2")}) {
        fleet().addTill(till);
        fleet().sell(till, 1, day, {{"1001", 1.5, 2}, {"1002", 10, 1, 10}});
        fleet().sell(till, 2, day, {{"1001", 1.5, 1}}, false, {}, 1);
        fleet().sell(till, 3, day, {{"1001", 1.5, 1}}, true);
        fleet().annul(till, 4, day, {{"1001", 1.5, 7}});
        fleet().sell(till, 5, day.addMonths(2), {{"1001", 1.5, 9}});
    }
    std::ofstream(dbf() / "R_ARTIK.DBF") << "left from the last run";
    SanemRArtik(context(), fleet().path("K1"), QStringLiteral("K1"), true);
    SanemRArtik(context(), fleet().path("K2"), QStringLiteral("K2"), false);
    // One item sold three times and returned once: +3 and -1; the annulled receipt nowhere.
    const QStringList expected = {"|20150210||1001|-1|-1.5|1|0|1", "|20150210||1001|3|4.5|1|0|1", "|20150210||1002|1|9|1|10|1"};
    QStringList both;
    for (const char* till : {"K1", "K2"})
        for (const QString& row : expected) both << till + row;
    // Sales and returns of one group tie in the order; the rest is by date, customer, discount.
    QStringList collected = rArtik();
    ASSERT_EQ(collected.size(), 6);
    EXPECT_TRUE(collected[2].contains("|1002|") && collected[5].contains("|1002|"));
    collected.sort();
    EXPECT_EQ(collected, both);
    EXPECT_EQ(lines(), (QStringList{"Saņem R_ARTIK : Sāku procesu", "Saņem R_ARTIK : OK. Summa=12.00", "Saņem R_ARTIK : Sāku procesu",
                                    "Saņem R_ARTIK : OK. Summa=12.00"}));
}

TEST_F(CollectSalesTest, AZNumberChoosesTheRowsBetweenTwoZRows) {
    fleet().addTill(QStringLiteral("K1"));
    // Receipt n before the Z row of report n: quantity n, so the collected sum tells the range.
    for (int z = 1; z <= 10; ++z) {
        fleet().sell(QStringLiteral("K1"), z, day, {{"1001", 1, double(z)}});
        fleet().zReport(QStringLiteral("K1"), z, day);
    }
    struct Case {
        const char* zNr;
        const char* logged;
    };
    const Case cases[] = {
        {"", "Saņem R_ARTIK : OK. Summa=55.00"},
        {"5", "Saņem R_ARTIK : OK. Summa=5.00"},
        {"1", "Saņem R_ARTIK : OK. Summa=1.00"},
        {"10", "Saņem R_ARTIK : OK. Summa=10.00"},
        {"9", "Saņem R_ARTIK : OK. Summa=9.00"},
        // A number the journal lacks is this till's failure, not a day without sales.
        {"x", "Saņem R_ARTIK : kasē nav Z atskaites Nr. x"},
        {"11", "Saņem R_ARTIK : kasē nav Z atskaites Nr. 11"},
    };
    for (const Case& c : cases) {
        clearLines();
        SanemRArtik(context(QString::fromLatin1(c.zNr)), fleet().path("K1"), QStringLiteral("K1"), true);
        EXPECT_EQ(lines().last(), QString::fromUtf8(c.logged)) << c.zNr;
    }
    QSqlDatabase till = fleet().db(QStringLiteral("K1"));
    const auto isnOfZ = [&](int n) {
        return testsupport::selectValue(till, QStringLiteral("SELECT ISN FROM REALIZ WHERE PIEZIMES=:P"), {{"P", "Z=" + QString::number(n)}}).toInt();
    };
    const ZRange ten = AtrodZRobezas(till, QStringLiteral("10"));
    EXPECT_EQ(ten.ISN_NO, isnOfZ(9));
    EXPECT_EQ(ten.ISN_LIDZ, isnOfZ(10));
    const ZRange first = AtrodZRobezas(till, QStringLiteral("1"));
    EXPECT_EQ(first.ISN_NO, 0);
    EXPECT_EQ(first.ISN_LIDZ, isnOfZ(1));
    const ZRange all = AtrodZRobezas(till, QString());
    EXPECT_EQ(all.ISN_NO, 1);
    EXPECT_EQ(all.ISN_LIDZ, 1410065407);
}

TEST_F(CollectSalesTest, JournalCopyAndFreePriceLines) {
    fleet().addTill(QStringLiteral("K1"));
    fleet().addTill(QStringLiteral("K2"));
    fleet().sell(QStringLiteral("K1"), 1, day, {{"1001", 1.5, 2}, {"FREE1", 1.5, 2, 0, 1, true}});
    fleet().annul(QStringLiteral("K1"), 2, day, {{"FREE2", 3, 1, 0, 1, true}});
    fleet().zReport(QStringLiteral("K1"), 1, day);
    // The till stores the price that gives the line's rounded amount: 12345.68.
    fleet().sell(QStringLiteral("K2"), 1, day, {{"Ā1", 12345.6789, -0.5, 0, 1, true}});
    for (const char* till : {"K1", "K2"}) SanemBrivasCenas(context(), fleet().path(till));
    EXPECT_EQ(testsupport::readFile(dir() / "NOITEMS.TXT"),
              "Artikuls=FREE1 Cena=     1.500 Daudzums=     2.000 \r\n"
              "Artikuls=\xC2""1 Cena= 12345.680 Daudzums=    -0.500 \r\n");

    SanemRKontr(context(), fleet().path("K1"));
    {
        const DbfTable copy = DbfTable::open(dbf() / "R_KONTR.DBF");
        // Sale rows and the Z row; no annulled row. Names cut to ten characters.
        EXPECT_EQ(copy.recordCount(), 3);
        EXPECT_NO_THROW(copy.column("KL_NOSAUKU"));
        EXPECT_NO_THROW(copy.column("KARTES_SUM"));
        EXPECT_EQ(copy.text(2, copy.column("PIEZIMES")), "Z=1");
        EXPECT_EQ(copy.text(2, copy.column("CEKA_NR")), "");
        EXPECT_EQ(copy.text(2, copy.column("FREEKOMENT")), "SUMMA=0.00");
    }
    SanemRKontr(context(), fleet().path("K2"));
    EXPECT_EQ(DbfTable::open(dbf() / "R_KONTR.DBF").recordCount(), 1);
    SanemRKontr(context(), fleet().missingFilePath());
    EXPECT_EQ(DbfTable::open(dbf() / "R_KONTR.DBF").recordCount(), 1);
    EXPECT_TRUE(lines().last().startsWith("Saņem R_KONTR : Nevarēju pieslēgties kasei ??? ")) << lines().last().toStdString();
}

TEST_F(CollectSalesTest, ThePassSkipsInactiveTillsAndGoesOnPastFailingOnes) {
    for (const char* till : {"K1", "K2", "K3", "K4", "K5"}) {
        fleet().addTill(QString::fromLatin1(till));
        fleet().sell(QString::fromLatin1(till), 1, day, {{"1001", 1, 1}});
    }
    fleet().hold(QStringLiteral("K5"));
    std::ofstream(dir() / "NOITEMS.TXT") << "old run";
    // The first processed till, not the first row, makes the file anew.
    std::ofstream(dbf() / "R_ARTIK.DBF") << "old run";
    const std::vector<TillRow> kases = {
        {"EMPTY", "", "F", {}},
        {"OFF", fleet().path("K1"), "T", {}},
        {"K2", fleet().path("K2"), "F", {}},
        {"K3", fleet().path("K3"), "", {}},
        {"K4", fleet().path("K4"), "x", {}},
        {"GONE", tills::TillFleet::refusedServerPath(), "F", {}},
        {"K5", fleet().path("K5"), "F", {}},
    };
    LedvikChecks checks;
    checks.R_ARTIK = true;
    checks.BrivaCena = true;
    // The tills a step failed for, named for the log's last line.
    EXPECT_EQ(RunSendReceivePass(context(), checks, kases), (QStringList{"GONE", "K5"}));
    const QStringList rows = rArtik();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].startsWith("K2|") && rows[1].startsWith("K3|") && rows[2].startsWith("K4|")) << rows.join(u'\n').toStdString();
    // The run's free-price lines only: the tills sold none.
    EXPECT_EQ(testsupport::readFile(dir() / "NOITEMS.TXT"), "");
    QStringList started, failed;
    for (const QString& line : lines()) {
        if (line.startsWith("Sūta Konfigurāciju : Sāku procesu ")) started << line.section(u' ', -1);
        if (line.contains("Nevarēju pieslēgties kasei ??? ")) failed << line.section(u':', 0, 0).trimmed();
    }
    EXPECT_EQ(started, (QStringList{"K2", "K3", "K4", "GONE", "K5"}));
    // Each ticked step of an unreachable or held till fails on its own.
    EXPECT_EQ(failed, (QStringList{"Suta Konfigurāciju", "Saņem R_ARTIK", "Saņem BRĪVĀ CENA", "Suta Konfigurāciju", "Saņem R_ARTIK",
                                   "Saņem BRĪVĀ CENA"}));
}

}  // namespace
