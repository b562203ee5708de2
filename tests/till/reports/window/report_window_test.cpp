// The day reports on the real sale window, offscreen, on the demo database with the fiscal-memory
// module on COM1 and the receipt printer on COM2: a sold receipt closed by the Z report through
// the menu command, cash in through its form, the copy of the last Z report.
#include "day_close_process.h"
#include "fmproc.h"
#include "mainainkasacija.h"
#include "posmain.h"
#include "start_form.h"
#include "report_fiscal_memory.h"
#include "xz_report.h"
#include "receipt_number.h"
#include "receipt_recovery.h"

#include "memorix.h"
#include "till_window.h"

#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {

class ReportWindowTest : public testsupport::TillWindowTest {
protected:
    ReportWindowTest() : TillWindowTest({.printerType = 6, .display = false, .openingRecord = true}) {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TillWindowTest::SetUp());
        ASSERT_TRUE(startTill()) << messages().texts().join(" | ").toStdString();
        messages().clear();
    }
};

TEST_F(ReportWindowTest, ADayClosedOnTheWindow) {
    enter("4750001000017");  // 2.15 in department 1
    ASSERT_EQ(w().RinduSkaits, 1);

    // Reports and cash are refused while the receipt is open.
    w().Zatskaite1Click();
    w().Xatskaite1Click();
    w().MaiaInkascija1Click();
    EXPECT_EQ(messages().texts(), (QStringList{kMenuOpenReceiptMessage, kMenuOpenReceiptMessage, "Sākumā jānobeidz čeks !!!"}));
    messages().clear();

    enter("/0=2.15");
    ASSERT_EQ(w().RinduSkaits, 0);

    // Cash in of 50 through the form.
    QTimer::singleShot(0, [] {
        MainaInkasacija->shIelikts->setText("50");
        MainaInkasacija->btDrukat->click();
    });
    w().MaiaInkascija1Click();
    EXPECT_EQ(MainaInkasacija->Statuss, 1);
    EXPECT_EQ(record("IELIKTS"), "   1    5000 ");
    EXPECT_TRUE(printed("Ielikts         50.00"));

    w().Zatskaite1Click();
    EXPECT_EQ(messages().texts(), QStringList{kZQuestion});
    EXPECT_TRUE(printed("            Z atskaites Nr    1"));
    EXPECT_TRUE(printed("Kopā realizēts=      2.15"));
    EXPECT_TRUE(printed("Maiņas nauda  =     50.00 reizes  1"));
    EXPECT_TRUE(printed("Atlikums kasē =     52.15"));
    DayCloseRecord last;
    ASSERT_TRUE(w().FMProc->FMReadGrand(-1, last.nr, last.grandTotal, last.grandVat, last.date, last.time, last.daySum,
                                        last.dayVat, last.check));
    EXPECT_EQ(last.nr, 2);
    EXPECT_EQ(last.daySum, 215);
    EXPECT_EQ(record("IELIKTS"), QString(13, u'0'));
    EXPECT_EQ(record("ATLNOIEPR").trimmed(), "5215");
    EXPECT_EQ(value("SELECT PIEZIMES FROM REALIZ WHERE PIEZIMES LIKE 'Z=%'").toString(), "Z=1");

    // The copy of the last Z report.
    const auto before = paper().size();
    w().PdjsZatskaiteskopija1Click();
    const auto all = paper();
    EXPECT_NE(std::find(all.begin() + std::ptrdiff_t(before), all.end(), "            Z atskaites Nr    1"), all.end());
}

// A receipt whose closing stopped after printing, with the till still running: the X report
// finishes it first (counted and stored once), and its counters include it.
TEST_F(ReportWindowTest, AnXReportFinishesAReceiptCutShortFirst) {
    const int number = record("CEKANRCOUN").left(11).trimmed().toInt() + 1;
    ASSERT_TRUE(w().FMProc->FMWrite("CEKANRCOUN", CekaNrTeksts(number)));
    const std::vector<TCekaRinda> lines{{.Cena = 2.15, .Daudzums = 1, .Iepakojums = 1, .Artikuls = "4750001000017",
                                         .Nosaukums = "Piens", .Mervieniba = "gab", .Nodala = 1}};
    TApmaksas payments{};
    payments[0] = {2.15, "Nauda", 0};
    const ClosingReceipt receipt{lines, payments, 2.15, 2.15};
    MarkedClosing marked(*w().FMProc, std::filesystem::current_path() / kPendingReceiptFile, receipt, {}, [](int n) {
        ReceiptRows rows;
        rows.CekaNr = n;
        rows.Datums = QDate(2026, 3, 2);
        rows.Laiks = "10:00:00";
        rows.Kasieris = "ADMIN";
        return rows;
    });
    ASSERT_EQ(marked.prepare(record("NOD_D_SUM")), CounterCheck::Ready);
    ASSERT_TRUE(marked.beforePrinting(number));
    ASSERT_TRUE(marked.printed());

    w().Xatskaite1Click();
    EXPECT_TRUE(messages().shown(FinishedAfterInterruption(number))) << messages().texts().join(" | ").toStdString();
    EXPECT_TRUE(printed("Kopā realizēts=      2.15"));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM REALIZ WHERE CEKA_NR=%1").arg(number)).toInt(), 1);
    EXPECT_EQ(record("CSLEGSANA").trimmed(), "");

    // Finished once: the next report finds nothing left.
    messages().clear();
    w().Xatskaite1Click();
    EXPECT_FALSE(messages().shown(FinishedAfterInterruption(number)));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM REALIZ WHERE CEKA_NR=%1").arg(number)).toInt(), 1);
}

// A till whose previous run was killed while its Z report closed the day: right after the
// day-close record was appended, before the counters were zeroed.
class ReportWindowAfterCrash : public ReportWindowTest {
protected:
    void SetUp() override { TillWindowTest::SetUp(); }

    // The day sold 12.10 at 21 %, took 50.00 in and 2.00 by card, on an opening balance of 10.00;
    // a till process closes it and is killed right after its append.
    void crashInDayClose() {
        {
            TFMProc fm;
            ASSERT_EQ(fm.Status, 0);
            ASSERT_TRUE(fm.FMWrite("NOD_D_SUM", QString::asprintf("%2i%8i", 21, 1210) + QString::asprintf("%2i%8i", 12, 0).repeated(23)));
            ASSERT_TRUE(fm.FMWrite("IELIKTS", "   1    5000"));
            ASSERT_TRUE(fm.FMWrite("BANKA_SUM", "200"));
            ASSERT_TRUE(fm.FMWrite("ATLNOIEPR", "1000"));
        }
        MEMORIX_CloseComPort();
        DayCloseProcess till(QStringLiteral("z"));
        ASSERT_TRUE(till.waitFor("appended")) << till.errorOutput().toStdString();
        till.kill();
    }

    int recordCount() {
        int count = -1;
        EXPECT_EQ(FM_GetRecordCount(&count), 0);
        return count;
    }
};

TEST_F(ReportWindowAfterCrash, TheStartZeroesTheClosedDayOnce) {
    crashInDayClose();
    ASSERT_TRUE(startTill()) << messages().texts().join(" | ").toStdString();
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();
    EXPECT_EQ(recordCount(), 2);  // the opening record and the closed day's, number 2
    EXPECT_EQ(record("NOD_D_SUM").left(20), "21       012       0");
    EXPECT_EQ(record("IELIKTS"), QString(13, u'0'));
    EXPECT_EQ(record("BANKA_SUM"), QString(9, u'0'));
    EXPECT_EQ(record("ATLNOIEPR").trimmed(), "7010");
    EXPECT_EQ(record("ZSLEGSANA").trimmed(), "");

    // The next Z report starts from the carried balance and counts nothing of the closed day.
    w().Zatskaite1Click();
    EXPECT_TRUE(printed("            Z atskaites Nr    2"));
    EXPECT_TRUE(printed("Sākuma atl.kasē     70.10"));
    EXPECT_TRUE(printed("Kopā realizēts=      0.00"));
    DayCloseRecord last;
    ASSERT_TRUE(w().FMProc->FMReadGrand(-1, last.nr, last.grandTotal, last.grandVat, last.date, last.time, last.daySum,
                                        last.dayVat, last.check));
    EXPECT_EQ(last.nr, 3);
    EXPECT_EQ(last.daySum, 0);
    EXPECT_EQ(last.grandTotal, 1210);
}

TEST_F(ReportWindowAfterCrash, ADayCloseThatCannotBeFinishedEndsTheStart) {
    {
        TFMProc fm;
        ASSERT_EQ(fm.Status, 0);
        ASSERT_TRUE(fm.FMCreateRecord(kDayCloseMarker, kDayCloseMarkerSize));
        ASSERT_TRUE(fm.FMWrite(kDayCloseMarker, "          2   no balance"));
    }
    EXPECT_FALSE(startTill());
    EXPECT_TRUE(POSMain.isNull());
    EXPECT_TRUE(messages().shown(kStartupDayCloseMessage)) << messages().texts().join(" | ").toStdString();
    EXPECT_FALSE(StartForm->isVisible());
}

}  // namespace
