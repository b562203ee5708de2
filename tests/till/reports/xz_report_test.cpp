// The X and Z reports against the fiscal-memory module and printer simulators and a real till
// database: the paper line by line, numbering, the day close, the Z row and the kept files.
#include "counter_fields.h"
#include "report_fixture.h"
#include "z_row.h"

#include <QDate>
#include <QFile>

#include <zlib.h>

namespace {

const QString kTotals = QStringLiteral(
    "SAK_ATL=100.00|"
    "PVN_NR_L=1|PVN_L=21|BEZ_PVN_L=121.00|PVN_SUM_L=21.00|"
    "PVN_NR_L=2|PVN_L=12|BEZ_PVN_L=56.00|PVN_SUM_L=6.00|"
    "PVN_NR_L=3|PVN_L=21|BEZ_PVN_L=24.20|PVN_SUM_L=4.20|"
    "PVN_NR_L=5|PVN_L=5|BEZ_PVN_L=10.01|PVN_SUM_L=0.48|"
    "PVN_NR_L=6|PVN_L=-1|BEZ_PVN_L=10.00|PVN_SUM_L=0.00|"
    "BEZ_PVN=189.53|PVN_SUM=31.68|MAINA=50.00|INKAS=20.50|ATGR_SK=15.00|INKAS_TARA=1.00|ATGR_BANKA=5.00|"
    "KOREKC_SUM=-2.50|KOREKC_SK=1|ATLAIDES=3.00|APM_BANKA=25.00|APM_1=10.00|APM_2=5.00|APM_KASE=185.21|"
    "ATL_KASE=296.71|GR_TOTAL=1221.21|GR_PVN=201.68|");

TEST_F(DayReport, XReportPrintsTheDayAndOnlyAdvancesItsNumber)
{
    const QString daySums = record("NOD_D_SUM");
    ASSERT_EQ(run(kXReport), kReportDone);
    const Lines expected = reportBody("            X atskaites Nr    7", "GR.TOTAL   1000.00 GR.PVN    170.00");
    EXPECT_EQ(printedFrom(expected.front(), expected.size()), onPaper(expected));
    EXPECT_EQ(printer->drawerPulses(), 1);
    // The next receipt's header follows the report.
    const Lines all = paper();
    EXPECT_NE(std::find(all.end() - 8, all.end(), "SIA Veikals"), all.end());

    EXPECT_EQ(record("X_REPORTNR"), QStringLiteral("          8"));
    EXPECT_EQ(record("NOD_D_SUM"), daySums);
    EXPECT_EQ(record("APM_SUM1"), QStringLiteral("1000") + QString(9, u' '));
    EXPECT_EQ(recordCount(), 2);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ").toInt(), 0);
    const auto kept = LoadReportFile(QString::fromLatin1(kLastXReportFile));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->first(), QStringLiteral("            X atskaites Nr    7"));
    EXPECT_FALSE(QFile::exists(QString::fromLatin1(kLastZReportFile)));

    // Two X reports in a row: consecutive numbers, the same sums.
    ASSERT_EQ(run(kXReport), kReportDone);
    const Lines second = reportBody("            X atskaites Nr    8", "GR.TOTAL   1000.00 GR.PVN    170.00");
    EXPECT_EQ(printedFrom(second.front(), second.size()), onPaper(second));
    EXPECT_TRUE(window.pazinojumi.isEmpty()) << window.pazinojumi.join('\n').toStdString();
}

TEST_F(DayReport, ZReportClosesTheDay)
{
    ASSERT_EQ(run(kZReport), kReportDone);
    const Lines expected = reportBody("            Z atskaites Nr    5", "GR.TOTAL   1221.21 GR.PVN    201.68");
    EXPECT_EQ(printedFrom(expected.front(), expected.size()), onPaper(expected));
    EXPECT_TRUE(window.pazinojumi.isEmpty()) << window.pazinojumi.join('\n').toStdString();

    // The day-close record: number + 1, the grand totals with the day, and the check value of the
    // journal file as it stood closed after the report (the next header follows it in the file).
    const DayCloseRecord last = lastDayClose();
    EXPECT_EQ(last.nr, 6);
    EXPECT_EQ(last.grandTotal, 122121);
    EXPECT_EQ(last.grandVat, 20168);
    EXPECT_EQ(last.daySum, 22121);
    EXPECT_EQ(last.dayVat, 3168);
    const std::string journal = testsupport::readFile(print->KontrMape / print->KontrFails.toStdString());
    const std::size_t reportEnd = journal.find("SIA Veikals", journal.find("Z atskaites Nr"));
    ASSERT_NE(reportEnd, std::string::npos);
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(journal.data()), uInt(reportEnd));
    EXPECT_EQ(last.check, QString::asprintf("%08lX", crc));

    // Every counter zeroed; the rates and currency codes stay; the cash balance carried.
    EXPECT_EQ(record("NOD_D_SUM"), QString::asprintf("%2i%8i%2i%8i%2i%8i%2i%8i%2i%8i%2i%8i", 21, 0, 12, 0, 21, 0, 5, 0, 5, 0, -1, 0) +
                                       QString::asprintf("%2i%8i", 21, 0).repeated(18) + QString(11, u' '));
    for (const char* name : {"IELIKTS", "IZNEMTS", "KOREKCIJA", "ATGRTARA", "DIENAS_ATL", "BANKA_ATGR"})
        EXPECT_EQ(record(QString::fromLatin1(name)), zeros(13)) << name;
    for (const char* name : {"STORNO_SUM", "BANKA_SUM"})
        EXPECT_EQ(record(QString::fromLatin1(name)), zeros(9)) << name;
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(record("APM_SUM" + QString::number(n)), zeros(13)) << n;
    EXPECT_EQ(record("VALUT_D_S"), (QStringLiteral("USD       0GBP       0") + QStringLiteral("          0").repeated(28) +
                                    QString(1, u' ')));
    EXPECT_EQ(record("ATLNOIEPR").trimmed(), QStringLiteral("29671"));
    EXPECT_EQ(record("APMVEID1"), QStringLiteral("Dāvanu karte   "));
    EXPECT_EQ(record("X_REPORTNR").trimmed(), QStringLiteral("7"));

    // The Z row.
    QSqlQuery row = exec(QStringLiteral("SELECT DATUMS, LAIKS, PIEZIMES, FREEKOMENT, CEKA_NR FROM REALIZ"));
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.value(0).toDate(), QDate(2026, 3, 2));
    EXPECT_EQ(row.value(1).toString(), QStringLiteral("10:15:00"));
    EXPECT_EQ(row.value(2).toString(), QStringLiteral("Z=5"));
    EXPECT_EQ(row.value(3).toString(), kTotals);
    EXPECT_TRUE(row.value(4).isNull());
    EXPECT_FALSE(row.next());

    // The kept file holds every printed text, the final feed included.
    const auto kept = LoadReportFile(QString::fromLatin1(kLastZReportFile));
    ASSERT_TRUE(kept);
    QStringList expectedFile;
    for (const std::string& line : expected)
        expectedFile << QString::fromStdString(line);
    expectedFile << QString(5, u'\n').split(u'\n');
    EXPECT_EQ(*kept, expectedFile);

    // The next day: X numbers run on, the balance opens the day, the grand totals are the new ones.
    ASSERT_EQ(run(kXReport), kReportDone);
    const Lines all = paper();
    const auto title = std::find(all.begin(), all.end(), "            X atskaites Nr    7");
    ASSERT_NE(title, all.end());
    EXPECT_EQ(*(title + 2), "Sākuma atl.kasē    296.71");
    EXPECT_EQ(*(title + 4), "Kopā realizēts=      0.00");
    EXPECT_NE(std::find(title, all.end(), "GR.TOTAL   1221.21 GR.PVN    201.68"), all.end());
    EXPECT_NE(std::find(title, all.end(), "Atlikums kasē =    296.71"), all.end());
}

// The day close of a till whose database is on a Firebird server (loopback here).
class DayReportOnServer : public DayReport {
protected:
    bool throughFirebirdServer() const override { return true; }
};

TEST_F(DayReportOnServer, ZReportStoresItsRowThroughTheServer)
{
    ASSERT_EQ(connectionProtocol(), "TCPv4");
    ASSERT_EQ(run(kZReport), kReportDone);
    EXPECT_TRUE(window.pazinojumi.isEmpty()) << window.pazinojumi.join('\n').toStdString();
    EXPECT_EQ(lastDayClose().nr, 6);
    QSqlQuery row = exec(QStringLiteral("SELECT PIEZIMES, FREEKOMENT FROM REALIZ"));
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.value(0).toString(), QStringLiteral("Z=5"));
    EXPECT_EQ(row.value(1).toString(), kTotals);
    EXPECT_FALSE(row.next());
}

TEST_F(DayReport, TwoZReportsOnOneDay)
{
    ASSERT_EQ(run(kZReport), kReportDone);
    clock().advance(std::chrono::minutes(2));
    ASSERT_EQ(run(kZReport), kReportDone);
    const Lines all = paper();
    EXPECT_NE(std::find(all.begin(), all.end(), "            Z atskaites Nr    6"), all.end());
    const DayCloseRecord last = lastDayClose();
    EXPECT_EQ(last.nr, 7);
    EXPECT_EQ(last.grandTotal, 122121);  // the day is counted once
    EXPECT_EQ(last.daySum, 0);
    QSqlQuery rows = exec(QStringLiteral("SELECT DATUMS, PIEZIMES, LAIKS, FREEKOMENT FROM REALIZ ORDER BY ISN"));
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.value(1).toString(), QStringLiteral("Z=5"));
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.value(0).toDate(), QDate(2026, 3, 2));
    EXPECT_EQ(rows.value(1).toString(), QStringLiteral("Z=6"));
    EXPECT_EQ(rows.value(2).toString(), QStringLiteral("10:17:00"));
    // A day without sales: no tax group and no payment kind.
    EXPECT_EQ(rows.value(3).toString(),
              QStringLiteral("SAK_ATL=296.71|BEZ_PVN=0.00|PVN_SUM=0.00|MAINA=0.00|INKAS=0.00|ATGR_SK=0.00|"
                             "INKAS_TARA=0.00|ATGR_BANKA=0.00|KOREKC_SUM=0.00|KOREKC_SK=0|ATLAIDES=0.00|APM_BANKA=0.00|"
                             "APM_KASE=0.00|ATL_KASE=296.71|GR_TOTAL=1221.21|GR_PVN=201.68|"));
    EXPECT_FALSE(rows.next());
}

TEST_F(DayReport, OpenReceiptIsRefused)
{
    job.RinduSkaits = 2;
    const QString daySums = record("NOD_D_SUM");
    ASSERT_EQ(run(kZReport), kReportDone);
    EXPECT_EQ(window.pazinojumi, QStringList{kReportOpenReceiptMessage});
    EXPECT_EQ(printer->drawerPulses(), 0);
    EXPECT_EQ(record("NOD_D_SUM"), daySums);
    EXPECT_EQ(recordCount(), 2);

    // The menu commands refuse before asking anything.
    window.pazinojumi.clear();
    ReportFiscalMemory access(*fm);
    EXPECT_FALSE(Zatskaite(job, access, *print, window, {}));
    Xatskaite(job, access, *print, window);
    EXPECT_EQ(window.pazinojumi, (QStringList{kMenuOpenReceiptMessage, kMenuOpenReceiptMessage}));
    EXPECT_TRUE(messages().texts().isEmpty());
    EXPECT_EQ(record("X_REPORTNR").trimmed(), QStringLiteral("7"));
}

TEST_F(DayReport, DeclinedZQuestionChangesNothing)
{
    messages().answerNext(platform::ui::No);
    ReportFiscalMemory access(*fm);
    int dayEnds = 0;
    EXPECT_FALSE(Zatskaite(job, access, *print, window, [&] { ++dayEnds; }));
    EXPECT_EQ(messages().texts(), QStringList{kZQuestion});
    EXPECT_EQ(dayEnds, 0);
    EXPECT_EQ(printer->drawerPulses(), 0);
    EXPECT_EQ(recordCount(), 2);

    EXPECT_TRUE(Zatskaite(job, access, *print, window, [&] { ++dayEnds; }));
    EXPECT_EQ(dayEnds, 1);
    EXPECT_EQ(lastDayClose().nr, 6);
}

TEST_F(DayReport, FiscalFailureInTheMenuEndsTheProgram)
{
    FailingFiscalMemory failing(*fm, *module, "read IELIKTS");
    EXPECT_THROW(Zatskaite(job, failing, *print, window, {}), platform::ui::ProgramEnded);
    EXPECT_EQ(window.pazinojumi, QStringList{kZFatalMessage});
    EXPECT_FALSE(QFile::exists(QString::fromLatin1(kLastZReportFile)));

    window.pazinojumi.clear();
    FailingFiscalMemory failingX(*fm, *module, "read IELIKTS");
    EXPECT_THROW(Xatskaite(job, failingX, *print, window), platform::ui::ProgramEnded);
    EXPECT_EQ(window.pazinojumi, QStringList{kXFatalMessage});
    EXPECT_EQ(record("X_REPORTNR").trimmed(), QStringLiteral("7"));
}

// The database refusing the Z row leaves the day closed: the cashier is told, the kept file is
// written and the next header printed.
TEST_F(DayReport, RefusedZRowStillKeepsTheReport)
{
    exec(QStringLiteral("ALTER TABLE REALIZ ADD CONSTRAINT NO_Z_ROWS CHECK (PIEZIMES NOT LIKE 'Z=%')"));
    ASSERT_EQ(run(kZReport), kReportDone);
    ASSERT_EQ(window.pazinojumi.size(), 1);
    EXPECT_TRUE(window.pazinojumi[0].startsWith(kZRowNotStoredMessage)) << window.pazinojumi[0].toStdString();
    EXPECT_GT(window.pazinojumi[0].size(), kZRowNotStoredMessage.size());
    EXPECT_TRUE(QFile::exists(QString::fromLatin1(kLastZReportFile)));
    EXPECT_EQ(lastDayClose().nr, 6);
    EXPECT_EQ(record("BANKA_SUM"), zeros(9));
    const Lines all = paper();
    EXPECT_NE(std::find(all.end() - 8, all.end(), "SIA Veikals"), all.end());
    EXPECT_EQ(window.annulled, 0);
}

}  // namespace
