// Annulling the open receipt against the fiscal-memory module and printer simulators and the
// demo database: the number taken from CEKANRCOUN, the printed annulled receipt, the REALIZ rows
// with their signs, the cleared screen, and the failures that stop it.
#include "sale_fixture.h"

#include "fiscal_memory_sim.h"
#include "fmproc.h"
#include "memorix.h"
#include "printclass.h"
#include "printer_sim.h"
#include "realiz_rows.h"
#include "receipt_number.h"
#include "session.h"

#include <QSqlQuery>

#include <thread>

namespace {

using namespace sale_messages;

class AnnulmentTest : public SaleTest {
protected:
    void SetUp() override {
        SaleTest::SetUp();
        addItem("555", "Maizīte", 0.50);
        memorix::setReadTimeoutMs(300);
        module = std::make_unique<sim::FiscalMemorySim>(dir() / "fiscal-memory.bin");
        ASSERT_TRUE(module->start(portsDir(), "COM3"));
        printer = std::make_unique<sim::PrinterSimulator>(0);
        ASSERT_TRUE(printer->start(portsDir(), "COM1"));
        setupInteger("FMTips", 1);
        setupInteger("FMPort", 3);
        setupInteger("PrinteraPorts", 1);
        setupInteger("KlDisplejsPorts", 2);
        fm = std::make_unique<TFMProc>();
        ASSERT_EQ(fm->Status, 0);
        print = std::make_unique<TPrintClass>(0, fm.get());
        window.fm = fm.get();
        window.printer = print.get();
        window.customerKey = "K001";
    }

    void TearDown() override {
        engine.reset();
        print.reset();
        fm.reset();
        MEMORIX_CloseComPort();
        printer->stop();
        module.reset();
        memorix::setReadTimeoutMs(5000);
        SaleTest::TearDown();
    }

    QString counter() {
        QString text;
        EXPECT_TRUE(fm->FMRead("CEKANRCOUN", text));
        return text;
    }

    std::vector<std::string> paper() {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        printer->waitIdle(100);
        return printer->receipt();
    }

    bool printed(const std::string& text) {
        for (const std::string& line : paper())
            if (line.find(text) != std::string::npos) return true;
        return false;
    }

    int rows() { return value("SELECT COUNT(*) FROM REALIZ").toInt(); }

    std::unique_ptr<sim::FiscalMemorySim> module;
    std::unique_ptr<sim::PrinterSimulator> printer;
    std::unique_ptr<TFMProc> fm;
    std::unique_ptr<TPrintClass> print;
};

TEST_F(AnnulmentTest, TakesANumberPrintsStoresAndClears) {
    ASSERT_TRUE(fm->FMWrite("CEKANRCOUN", "00000000041"));
    type("2*555");
    type("999=2.50");
    window.discount = "100";
    type("555");
    window.discount = "10";
    type("3*555");
    type("--");

    EXPECT_EQ(counter(), "00000000042");
    EXPECT_EQ(lines(), 0);
    EXPECT_EQ(window.screensCleared, 1);
    EXPECT_EQ(window.entry, "");
    EXPECT_EQ(window.ceks.CekaSumma, 0);
    EXPECT_EQ(window.sums, (QStringList{"   0.00", "   0.00", "   0.00"}));
    EXPECT_TRUE(printed("Čeks Nr 42"));
    EXPECT_TRUE(printed("       ČEKS ANULĒTS"));
    EXPECT_TRUE(printed("555 Maizīte"));
    EXPECT_EQ(printer->drawerPulses(), 1);
    // The copy of the last receipt stays with the last stored one, not the annulled receipt.
    EXPECT_EQ(window.ceks.PedejaisCeks.PedejaisCekaNr, 0);

    QSqlQuery q = exec("SELECT CEKA_NR, DATUMS, LAIKS, KL_KODS, ARTIKULS, CENA, NODOKLIS, DAUDZUMS, ATLAIDE, NODALA, KASIERIS,"
                       " PIEZIMES, ANULETS FROM REALIZ ORDER BY ISN");
    struct Row {
        const char* artikuls;
        double cena, daudzums, atlaide;
        const char* piezimes;
    };
    for (const Row& r : {Row{"555", 0.50, 2, 0, ""}, Row{"999", 2.50, 1, 0, "BR.CENA"}, Row{"555", 0, 1, 100, ""},
                         Row{"555", 1.35 / (0.9 * 3), 3, 10, ""}}) {
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value("CEKA_NR").toInt(), 42);
        EXPECT_EQ(q.value("DATUMS").toDate(), QDate(2026, 3, 2));
        EXPECT_TRUE(q.value("LAIKS").toString().startsWith("10:15:")) << q.value("LAIKS").toString().toStdString();
        EXPECT_EQ(q.value("KL_KODS").toString(), "K001");
        EXPECT_EQ(q.value("ARTIKULS").toString(), r.artikuls);
        EXPECT_NEAR(q.value("CENA").toDouble(), r.cena, 1e-9) << r.artikuls;
        EXPECT_EQ(q.value("NODOKLIS").toInt(), 1);
        EXPECT_DOUBLE_EQ(q.value("DAUDZUMS").toDouble(), r.daudzums);
        EXPECT_DOUBLE_EQ(q.value("ATLAIDE").toDouble(), r.atlaide);
        EXPECT_EQ(q.value("NODALA").toInt(), 1);
        EXPECT_EQ(q.value("KASIERIS").toString(), "ANNA");
        EXPECT_EQ(q.value("PIEZIMES").toString(), r.piezimes);
        EXPECT_EQ(q.value("ANULETS").toString(), "T");
    }
    EXPECT_FALSE(q.next());
}

TEST_F(AnnulmentTest, AReturnReceiptStoresNegativeQuantitiesAndPrintsItsBanner) {
    window.saleMode = 1;
    window.customerKey = "0";
    type("4*555");
    type("--");
    EXPECT_TRUE(printed("PIRKUMA ATGRIEŠANA"));
    EXPECT_DOUBLE_EQ(value("SELECT DAUDZUMS FROM REALIZ").toDouble(), -4);
    EXPECT_DOUBLE_EQ(value("SELECT CENA FROM REALIZ").toDouble(), 0.5);
    EXPECT_EQ(value("SELECT KL_KODS FROM REALIZ").toString(), "");
    EXPECT_EQ(value("SELECT CEKA_NR FROM REALIZ").toInt(), 2);  // a counter never written counts as 1
}

TEST_F(AnnulmentTest, WithoutPrintingTheNumberIsStillTakenAndTheRowsStored) {
    window.settings.NedrukatAnuletosCekus = true;
    type("555");
    type("vv");
    EXPECT_EQ(counter(), "00000000002");
    EXPECT_EQ(rows(), 1);
    EXPECT_FALSE(printed("ANUL"));
    EXPECT_EQ(printer->drawerPulses(), 0);
    EXPECT_EQ(lines(), 0);
}

TEST_F(AnnulmentTest, AnEmptyReceiptOnlyClearsTheScreen) {
    ASSERT_TRUE(fm->FMWrite("CEKANRCOUN", "00000000041"));
    type("--");
    EXPECT_EQ(counter(), "00000000041");
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(window.screensCleared, 1);
    EXPECT_EQ(printer->drawerPulses(), 0);
}

TEST_F(AnnulmentTest, ALineThatCannotBePrintedLeavesTheReceiptOpen) {
    type("555");
    TCekaRinda& bad = window.ceks.CekaRindas[1];
    bad = window.ceks.CekaRindas[0];
    bad.Nodala = 0;  // as a receipt loaded from elsewhere might hold
    window.ceks.RinduSkaits = 2;
    type("--");
    EXPECT_EQ(window.status, "PrintAllCeks = -1");
    EXPECT_EQ(window.pazinojumi, QStringList{kNodalasNr});
    EXPECT_EQ(lines(), 2);
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(counter(), "00000000002");  // the number is used up
    EXPECT_EQ(window.screensCleared, 0);
}

TEST_F(AnnulmentTest, ACounterThatIsNotANumberEndsTheProgramWithoutReusingANumber) {
    ASSERT_TRUE(fm->FMWrite("CEKANRCOUN", "ABC"));
    type("555");
    EXPECT_THROW(type("--"), platform::ui::ProgramEnded);
    EXPECT_EQ(window.dialogs, (QStringList{kCekaNrBojats, kDarbsTiekPartraukts}));
    EXPECT_EQ(counter().trimmed(), "ABC");
    EXPECT_EQ(rows(), 0);
    EXPECT_FALSE(printed("Čeks Nr"));
}

TEST_F(AnnulmentTest, AFailedCounterWriteEndsTheProgram) {
    ASSERT_TRUE(fm->FMWrite("CEKANRCOUN", "00000000041"));
    type("555");
    module->faults().arm("power-lost");  // the write is the first command that changes the memory
    EXPECT_THROW(type("--"), platform::ui::ProgramEnded);
    EXPECT_EQ(window.dialogs.last(), kDarbsTiekPartraukts);
    ASSERT_FALSE(messages().texts().isEmpty());
    EXPECT_TRUE(messages().texts()[0].startsWith("Problēmas ar fiskālo bloku !!!"));
    EXPECT_EQ(rows(), 0);
    EXPECT_FALSE(printed("Čeks Nr"));
}

TEST_F(AnnulmentTest, ReceiptNumberCounterTexts) {
    EXPECT_EQ(CekaNrTeksts(42), "00000000042");
    EXPECT_EQ(RealizLaiks(9, 5, 7), "09:05:07");
    EXPECT_EQ(RealizLaiks(19, 5, 7), "19:05:07");
    ASSERT_TRUE(fm->FMWrite("CEKANRCOUN", " 41"));
    EXPECT_EQ(TakeReceiptNumber(*fm).Numurs, 42);
    EXPECT_EQ(counter(), "00000000042");
    ASSERT_TRUE(fm->FMWrite("CEKANRCOUN", "-5"));
    EXPECT_EQ(TakeReceiptNumber(*fm).Failure, ReceiptNumberFailure::NotANumber);
}

}  // namespace
