// Closing a receipt through the item field: a payment text or the payment dialog, then printing,
// fiscal registration, storing and the drawer check together, and the fiscal-memory failure at
// each step of the close.
#include "closing_fixture.h"
#include "payment_entry.h"
#include "sale_fixture.h"

#include <QSqlRecord>

#include "receipt_recovery.h"

#include <utility>

namespace {

class PaymentSaleWindow : public RecordingSaleWindow, public PaymentWindow, public CardSteps, public VoucherSteps {
public:
    PaymentKindList kinds;
    int selected = 0;
    std::pair<QString, int> dialogAnswer;
    int dialogs = 0, drawerChecks = 0;
    bool textCopy = false;
    std::function<void()> afterPrinting, onSums;
    PaymentEntryFlow* flow = nullptr;

    PaymentSaleWindow() {
        kinds.add(0, "0-Skaidra nauda EUR");
        kinds.add(1, "1-Bankas karte");
        kinds.add(4, "4-Pārskaitījums");
    }

    // SaleWindow: the payment half goes to the flow.
    void PaymentKey(int& key) override { flow->PaymentKey(key); }
    bool EnterPayment(const QString& lineText) override { return flow->EnterPayment(lineText); }
    int PaymentKindNumber() const override { return selected; }
    void ShowSums(const QString& total, const QString& received, const QString& change) override {
        RecordingSaleWindow::ShowSums(total, received, change);
        if (onSums) std::exchange(onSums, nullptr)();
    }

    // PaymentWindow
    const PaymentKindList& PaymentKinds() const override { return kinds; }
    int SelectedPaymentKind() const override { return selected; }
    void SelectPaymentKind(int number) override { selected = kinds.find(number) ? number : 0; }
    std::pair<QString, int> RunPaymentDialog() override {
        ++dialogs;
        return dialogAnswer;
    }
    bool AskYesNo(const QString&) override { return true; }
    void CheckNaudasLadi() override { ++drawerChecks; }
    bool TextCopyWanted() const override { return textCopy; }
    Settings ClosingIestatijumi() const override {
        Settings s;
        s.closing.CekaValuta = 1;
        s.closing.CekaValutaKods = "EUR";
        s.KasierisFullName = "Anna Ozola";
        return s;
    }
    CardSteps& Card() override { return *this; }
    VoucherSteps& Vouchers() override { return *this; }
    void AfterPrinting() override {
        if (afterPrinting) afterPrinting();
    }
};

class PaymentFlow : public ClosingTest {
protected:
    void SetUp() override {
        ClosingTest::SetUp();
        startPrinter(1);
        exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('A', 'Ābols', 'kg', 5, 7.75)");
        window.printer = print.get();
        window.fm = fm.get();
        window.settings.Druka.Printeris = 1;
        engine = std::make_unique<SaleEngine>(window);
        flow = std::make_unique<PaymentEntryFlow>(window, *engine, window);
        window.flow = flow.get();
    }
    void TearDown() override {
        flow.reset();
        engine.reset();
        ClosingTest::TearDown();
    }

    int type(const QString& text, int key = 13) {
        window.entry = text;
        engine->edArtikulsKeyPress(key);
        return key;
    }
    int rows() { return value("SELECT COUNT(*) FROM REALIZ").toInt(); }

    PaymentSaleWindow window;
    std::unique_ptr<SaleEngine> engine;
    std::unique_ptr<PaymentEntryFlow> flow;
};

TEST_F(PaymentFlow, CashReceiptClosesFromEndToEnd) {
    type("2*A");
    ASSERT_EQ(window.ceks.RinduSkaits, 1);
    EXPECT_DOUBLE_EQ(window.ceks.CekaSumma, 15.50);
    type("/0=20.00");

    EXPECT_EQ(window.ceks.RinduSkaits, 0);
    EXPECT_DOUBLE_EQ(window.ceks.Sanemts, 20.00);  // stays on screen
    EXPECT_EQ(window.sums, (QStringList{"  15.50", "  20.00", "   4.50"}));
    EXPECT_EQ(window.entry, "");
    EXPECT_EQ(flow->LastStoredNumber(), 42);
    EXPECT_EQ(window.drawerChecks, 1);
    // Paper, counters and rows agree.
    const auto p = paper();
    EXPECT_NE(std::find(p.begin(), p.end(), "Čeks Nr 42"), p.end());
    EXPECT_NE(std::find(p.begin(), p.end(), "Saņ.EUR    20.00 Izd.EUR     4.50"), p.end());
    EXPECT_EQ(record("NOD_D_SUM").mid(40, 10), "21    1550");
    EXPECT_EQ(record("CEKANRCOUN"), "00000000042");
    ASSERT_EQ(rows(), 1);
    QSqlQuery q = exec("SELECT CEKA_NR, DAUDZUMS, SANEMTS, IZDOTS, APM_VEIDS, APM_RINDA FROM REALIZ");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 42);
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 2);
    EXPECT_DOUBLE_EQ(q.value(2).toDouble(), 20);
    EXPECT_DOUBLE_EQ(q.value(3).toDouble(), 4.5);
    EXPECT_EQ(q.value(4).toInt(), 1);
    EXPECT_EQ(q.value(5).toString(), "");
    EXPECT_EQ(window.ceks.PedejaisCeks.IeprCekaRindas.size(), 1u);
}

TEST_F(PaymentFlow, DialogTextClosesWithAFurtherKind) {
    type("2*A");
    window.dialogAnswer = {"/4=15.50", 4};
    EXPECT_EQ(type("", '/'), 13);
    EXPECT_EQ(window.dialogs, 1);
    EXPECT_EQ(window.ceks.RinduSkaits, 0);
    EXPECT_EQ(record("APM_SUM3").trimmed(), "1550");
    EXPECT_EQ(value("SELECT APM_VEIDS FROM REALIZ").toInt(), 5);  // kind 4 plus one, not its place
    EXPECT_EQ(window.selected, 0);  // back to cash
}

TEST_F(PaymentFlow, DialogLeftWithoutPaying) {
    type("2*A");
    window.dialogAnswer = {"", 0};
    EXPECT_EQ(type("", '/'), 0);
    EXPECT_EQ(window.ceks.RinduSkaits, 1);
    EXPECT_EQ(rows(), 0);
}

TEST_F(PaymentFlow, RefusedPaymentKeepsTheReceipt) {
    type("2*A");
    type("/0=10.00");
    EXPECT_EQ(window.pazinojumi.back(), kNotEnoughMessage);
    EXPECT_EQ(window.ceks.RinduSkaits, 1);
    EXPECT_EQ(window.entry, "");
    EXPECT_EQ(record("CEKANRCOUN"), "00000000041");
    type("/7=15.50");
    EXPECT_EQ(window.pazinojumi.back(), kWrongKindMessage);
    EXPECT_EQ(window.entry, "/7=15.50");
}

// Amounts that no longer fit a day counter's field: refused before the number is taken, with
// nothing printed, counted or stored; once the counter is zeroed the same payment closes.
TEST_F(PaymentFlow, AnAmountThatWouldOverflowACounterIsRefusedBeforeAnythingIsWritten) {
    struct Case {
        const char* record;
        QString full, zeroed;
        QString payment;
    };
    const QString daySums = record("NOD_D_SUM");
    const Case cases[] = {
        {"NOD_D_SUM", QString(daySums).replace(40, 10, "2199999000"), daySums, "/0=20.00"},
        {"APM_SUM3", "99999000", "       0", "/4=15.50"},
    };
    int number = 42;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        ASSERT_TRUE(fm->FMWrite(c.record, c.full));
        const QString counter = record("CEKANRCOUN");
        const int pulses = printer->drawerPulses();
        type("2*A");
        type(c.payment);
        ASSERT_FALSE(window.pazinojumi.isEmpty());
        EXPECT_EQ(window.pazinojumi.back(), kCounterFullMessage);
        EXPECT_EQ(window.ceks.RinduSkaits, 1);
        EXPECT_EQ(record("CEKANRCOUN"), counter);
        EXPECT_EQ(printer->drawerPulses(), pulses);
        EXPECT_EQ(record(c.record).trimmed(), c.full.trimmed());
        EXPECT_FALSE(std::filesystem::exists(dir() / kPendingReceiptFile));
        EXPECT_EQ(rows(), number - 42);
        const auto p = paper();
        EXPECT_EQ(std::find(p.begin(), p.end(), "Čeks Nr " + std::to_string(number)), p.end());

        ASSERT_TRUE(fm->FMWrite(c.record, c.zeroed));
        type(c.payment);
        EXPECT_EQ(window.ceks.RinduSkaits, 0);
        EXPECT_EQ(flow->LastStoredNumber(), number);
        ++number;
    }
}

TEST_F(PaymentFlow, FailedPrintLeavesTheReceiptOpenAndUncounted) {
    type("2*A");
    const QString before = record("NOD_D_SUM");
    printer.reset();
    type("/0=20.00");
    EXPECT_EQ(window.ceks.RinduSkaits, 1);
    EXPECT_TRUE(window.status.startsWith("PrintAllCeks = -"));
    EXPECT_EQ(record("NOD_D_SUM"), before);
    EXPECT_EQ(rows(), 0);
}

TEST_F(PaymentFlow, FiscalMemoryFailingAfterPrintingEndsTheProgram) {
    type("2*A");
    window.afterPrinting = [this] { module->faults().arm("silent", 1000); };
    EXPECT_THROW(type("/0=20.00"), platform::ui::ProgramEnded);
    EXPECT_EQ(rows(), 0);
}

TEST_F(PaymentFlow, CounterThatIsNoNumberEndsTheProgramBeforePrinting) {
    type("2*A");
    ASSERT_TRUE(fm->FMWrite("CEKANRCOUN", "garbage"));
    EXPECT_THROW(type("/0=20.00"), platform::ui::ProgramEnded);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS='F'").toInt(), 0);
}

TEST_F(PaymentFlow, ReturnReceiptRefundsTheTotal) {
    window.saleMode = 1;
    type("2*A");
    type("/");
    EXPECT_EQ(window.ceks.RinduSkaits, 0);
    EXPECT_DOUBLE_EQ(value("SELECT DAUDZUMS FROM REALIZ").toDouble(), -2);
    EXPECT_EQ(record("NOD_D_SUM").mid(40, 10), "21   -1550");
    EXPECT_EQ(record("STORNO_SUM").trimmed(), "-1550");
}

// Tax rates that cannot be read before printing: the receipt is annulled and the till goes on.
TEST_F(PaymentFlow, UnreadableTaxRatesAnnulTheReceiptAndTheTillGoesOn) {
    type("2*A");
    module->faults().arm("status=27");  // the first command of the close: reading NOD_D_SUM
    EXPECT_NO_THROW(type("/0=20.00"));
    EXPECT_EQ(window.ceks.RinduSkaits, 0);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS='T' AND CEKA_NR=42").toInt(), 1);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS='F'").toInt(), 0);
    const auto printed = paper();
    EXPECT_TRUE(std::any_of(printed.begin(), printed.end(),
                            [](const std::string& line) { return line.find("ČEKS ANULĒTS") != std::string::npos; }));

    type("1*A");
    type("/0=10.00");
    EXPECT_EQ(value("SELECT CEKA_NR FROM REALIZ WHERE ANULETS='F'").toInt(), 43);
    EXPECT_EQ(record("CEKANRCOUN"), "00000000043");
}

// The fiscal memory failing once the receipt is counted: the receipt is stored under the number
// it was printed with, and the failure is told after that; the next start finds nothing to redo.
TEST_F(PaymentFlow, CountedReceiptIsStoredUnderItsPrintedNumberWhenTheFiscalMemoryFailsAfter) {
    type("2*A");
    // Storing starts by showing the sums: from there the module refuses its next command.
    window.afterPrinting = [this] { window.onSums = [this] { module->faults().arm("status=27"); }; };
    EXPECT_THROW(type("/0=20.00"), platform::ui::ProgramEnded);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS='F' AND CEKA_NR=42").toInt(), 1);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS='T'").toInt(), 0);
    ASSERT_FALSE(window.RecordingSaleWindow::dialogs.isEmpty());
    EXPECT_EQ(window.RecordingSaleWindow::dialogs.back(), kFiscalFailureMessage);
    EXPECT_EQ(record("NOD_D_SUM").mid(40, 10), "21    1550");

    RecoveryContext context{*fm, *print, db(), dir(), {}, true, QDate(2026, 3, 2)};
    EXPECT_EQ(RecoverPendingReceipt(context).outcome, ReceiptRecovery::Finished);
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(record("NOD_D_SUM").mid(40, 10), "21    1550");
    EXPECT_EQ(record("CSLEGSANA").trimmed(), "");
}

// The annulled receipt's rows go in together: a row the database refuses leaves none.
TEST_F(PaymentFlow, AnnulledRowsAreStoredAllOrNone) {
    exec("CREATE EXCEPTION E_REFUSED 'row refused'");
    exec("CREATE TRIGGER T_REFUSE FOR REALIZ BEFORE INSERT AS BEGIN IF (NEW.ARTIKULS = 'B') THEN EXCEPTION E_REFUSED; END");
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('B', 'Bumbieris', 'kg', 5, 1.00)");
    type("2*A");
    type("1*B");
    EXPECT_THROW(type("--"), ReceiptStoreError);
    EXPECT_EQ(rows(), 0);
}

}  // namespace
