// The sale engine in the real sale window, started offscreen on the demo database with the
// fiscal-memory module on COM1 and the receipt printer on COM2: ringing up, voiding, refusals and
// annulling.
#include "datumodelis.h"
#include "fmproc.h"
#include "password_dlg.h"
#include "posmain.h"
#include "scripted_processes.h"
#include "start_form.h"

#include "fiscal_memory_sim.h"
#include "memorix.h"
#include "printer_sim.h"
#include "session.h"
#include "test_database.h"
#include "till_database.h"

#include <QTest>

#include <thread>

namespace {

using namespace sale_messages;

class SaleWindowTest : public testsupport::DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        platform::runScript(platform::parseDatabaseLocation(databaseFile().string()), schema::demoDataScript());
        settings().writeText("Control Panel\\International", "sDecimal", ".");
        setupText("EFT", "3");
        setupInteger("FMTips", 1);
        setupInteger("FMPort", 1);
        setupInteger("Printeris", 0);
        setupInteger("PrinteraPorts", 2);
        setupInteger("KlDisplejsPorts", 3);
        setupInteger("CekaValuta", 1);
        fiscal = std::make_unique<sim::FiscalMemorySim>(dir() / "fiscal-memory.bin");
        ASSERT_TRUE(fiscal->start(portsDir(), "COM1"));
        memorix::setReadTimeoutMs(300);
        ASSERT_EQ(MEMORIX_OpenComPort(1, 115200), 0);
        ASSERT_EQ(HT_ClearAll(), 0);
        printer = std::make_unique<sim::PrinterSimulator>(0);
        ASSERT_TRUE(printer->start(portsDir(), "COM2"));
        processScope = std::make_unique<ProcessListScope>(processes);
        DatuModelis = new TDatuModelis(nullptr);
        StartForm = new TStartForm;
        StartForm->show();
        PasswordDlg = new TPasswordDlg(StartForm);
        PasswordDlg->shLietotajs->setText("ADMIN");
        PasswordDlg->Password->setText("1");
        PasswordDlg->BtOKClick();
        new TPOSMain;
        ASSERT_FALSE(POSMain.isNull());
        messages().clear();
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

    bool printed(const std::string& text) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        printer->waitIdle(100);
        for (const std::string& line : printer->receipt())
            if (line.find(text) != std::string::npos) return true;
        return false;
    }

    ScriptedProcesses processes;
    std::unique_ptr<ProcessListScope> processScope;
    std::unique_ptr<sim::FiscalMemorySim> fiscal;
    std::unique_ptr<sim::PrinterSimulator> printer;
};

TEST_F(SaleWindowTest, RingUpVoidAndAnnul) {
    enter("3*4750001000185");  // chocolate at 1.99
    ASSERT_EQ(w().RinduSkaits, 1);
    EXPECT_EQ(w().edArtikuls->text(), "");
    EXPECT_EQ(w().shCekaSumma->text(), "   5.97");
    ASSERT_EQ(w().PirkumuSaraksts->count(), 2);
    EXPECT_TRUE(w().PirkumuSaraksts->item(0)->text().endsWith("|0|"));
    EXPECT_EQ(w().PirkumuSaraksts->currentRow(), 1);

    // The grave accent enters like Enter and is not typed.
    w().edArtikuls->setText("4750001000024");
    QTest::keyClick(w().edArtikuls, '`');
    ASSERT_EQ(w().RinduSkaits, 2);
    EXPECT_EQ(w().edArtikuls->text(), "");
    EXPECT_EQ(w().shCekaSumma->text(), "   7.46");

    enter("-");
    ASSERT_EQ(w().RinduSkaits, 3);
    EXPECT_EQ(w().shCekaSumma->text(), "   5.97");

    enter("--");
    EXPECT_EQ(w().RinduSkaits, 0);
    EXPECT_EQ(w().shCekaSumma->text(), "   0.00");
    EXPECT_EQ(w().PirkumuSaraksts->count(), 0);
    QString counter;
    ASSERT_TRUE(w().FMProc->FMRead("CEKANRCOUN", counter));
    EXPECT_EQ(counter, "00000000002");
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS='T' AND CEKA_NR=2").toInt(), 3);
    EXPECT_DOUBLE_EQ(value("SELECT SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) FROM REALIZ").toDouble(), 5.97);
    EXPECT_TRUE(printed("ČEKS ANULĒTS"));
    EXPECT_TRUE(printed("Čeks Nr 2"));
}

TEST_F(SaleWindowTest, RefusalsKeepTheTextAndUseTheirChannel) {
    enter("2*-5");
    EXPECT_EQ(w().edArtikuls->text(), "2*-5");
    EXPECT_TRUE(messages().shown(kZvaigzneMinuss));
    enter("-");
    EXPECT_EQ(w().edArtikuls->text(), "-");
    EXPECT_TRUE(messages().shown(kNesapratu));
    EXPECT_EQ(w().RinduSkaits, 0);
}

TEST_F(SaleWindowTest, ClosingTheWindowAnnulsAnOpenReceipt) {
    enter("4750001000031");
    delete POSMain;
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS='T'").toInt(), 1);
}

}  // namespace
