// The day reports on the real sale window, offscreen, on the demo database with the fiscal-memory
// module on COM1 and the receipt printer on COM2: a sold receipt closed by the Z report through
// the menu command, cash in through its form, the copy of the last Z report.
#include "datumodelis.h"
#include "day_close_process.h"
#include "fmproc.h"
#include "mainainkasacija.h"
#include "password_dlg.h"
#include "posmain.h"
#include "scripted_processes.h"
#include "start_form.h"
#include "report_fiscal_memory.h"
#include "xz_report.h"

#include "fiscal_memory_sim.h"
#include "memorix.h"
#include "printer_sim.h"
#include "session.h"
#include "test_database.h"
#include "till_database.h"

#include <QTest>
#include <QTimer>

#include <algorithm>
#include <thread>

namespace {

class ReportWindowTest : public testsupport::DatabaseTest {
protected:
    void SetUp() override {
        prepareTill();
        ASSERT_TRUE(startTill()) << messages().texts().join(" | ").toStdString();
        messages().clear();
    }

    // The database, the devices and the log-in form; the window is not made yet.
    void prepareTill() {
        DatabaseTest::SetUp();
        platform::runScript(platform::parseDatabaseLocation(databaseFile().string()), schema::demoDataScript());
        settings().writeText("Control Panel\\International", "sDecimal", ".");
        setupInteger("FMTips", 1);
        setupInteger("FMPort", 1);
        setupInteger("Printeris", 6);
        setupInteger("PrinteraPorts", 2);
        setupInteger("KlDisplejsPorts", 3);
        setupInteger("CekaValuta", 1);
        fiscal = std::make_unique<sim::FiscalMemorySim>(dir() / "fiscal-memory.bin");
        ASSERT_TRUE(fiscal->start(portsDir(), "COM1"));
        memorix::setReadTimeoutMs(300);
        ASSERT_EQ(MEMORIX_OpenComPort(1, 115200), 0);
        ASSERT_EQ(HT_ClearAll(), 0);
        // The module's first record is its opening record, never a day-close record.
        ASSERT_EQ(FM_AppendRecord("0", "opening", 7), 0);
        printer = std::make_unique<sim::PrinterSimulator>(6);
        ASSERT_TRUE(printer->start(portsDir(), "COM2"));
        processScope = std::make_unique<ProcessListScope>(processes);
        DatuModelis = new TDatuModelis(nullptr);
        StartForm = new TStartForm;
        StartForm->show();
    }

    // The cashier logs in and the sale window starts; false when its start-up ended the program.
    bool startTill() {
        PasswordDlg = new TPasswordDlg(StartForm);
        PasswordDlg->shLietotajs->setText("ADMIN");
        PasswordDlg->Password->setText("1");
        PasswordDlg->BtOKClick();
        try {
            new TPOSMain;
        } catch (const platform::ui::ProgramEnded&) {
            return false;
        }
        EXPECT_FALSE(POSMain.isNull());
        return !POSMain.isNull();
    }

    void TearDown() override {
        delete POSMain;
        delete StartForm;
        delete DatuModelis;
        MEMORIX_CloseComPort();
        memorix::setReadTimeoutMs(5000);
        printer.reset();
        fiscal.reset();
        processScope.reset();
        DatabaseTest::TearDown();
    }

    TPOSMain& w() { return *POSMain; }

    void enter(const QString& text) {
        w().edArtikuls->setText(text);
        QTest::keyClick(w().edArtikuls, Qt::Key_Return);
    }

    std::vector<std::string> paper() {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        printer->waitIdle(100);
        return printer->receipt();
    }

    bool printed(const std::string& line) {
        const auto all = paper();
        return std::find(all.begin(), all.end(), line) != all.end();
    }

    QString record(const char* name) {
        QString text;
        EXPECT_TRUE(w().FMProc->FMRead(QString::fromLatin1(name), text));
        return text;
    }

    ScriptedProcesses processes;
    std::unique_ptr<ProcessListScope> processScope;
    std::unique_ptr<sim::FiscalMemorySim> fiscal;
    std::unique_ptr<sim::PrinterSimulator> printer;
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

// A till whose previous run was killed while its Z report closed the day: right after the
// day-close record was appended, before the counters were zeroed.
class ReportWindowAfterCrash : public ReportWindowTest {
protected:
    void SetUp() override { prepareTill(); }

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
