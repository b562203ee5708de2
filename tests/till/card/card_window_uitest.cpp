// Card payments on the real sale window, offscreen, against the terminal, printer, display and
// fiscal-memory simulators: a receipt paid by card with F12, a declined card, the command file's
// payment answered "EFT - Cancel", and the bank-card report.
#include "card_test_support.h"

#include "bank_report.h"
#include "closing_steps.h"
#include "command_file_exchange.h"
#include "fmproc.h"
#include "karsu_autorizacija.h"
#include "payment_entry.h"
#include "posmain.h"
#include "receipt_printing.h"
#include "receipt_recovery.h"
#include "receipt_return.h"
#include "small_dialogs.h"
#include "till_window.h"

#include <QFile>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <fstream>

namespace {

using sim::PaymentTerminalSim;

class CardWindow : public testsupport::TillWindowTest {
protected:
    CardWindow() : TillWindowTest({.printerType = 1}) {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TillWindowTest::SetUp());
        // The terminal answers in its own time: the till's waits are real ones.
        platform::setClock(nullptr);
        ASSERT_EQ(DllRegisterServer(), 0);
        ASSERT_TRUE(terminal.start(portsDir(), "COM4"));
        setupText("EFT", "2");
        setupInteger("CHIPReader", 4);
        setupText("SerialPortSpeed", "115200");
        ASSERT_NO_FATAL_FAILURE(writeRecords({{"CEKAGALVA1", "SIA Veikals"}, {"NOD_D_SUM", testsupport::departmentRates(21)}}));
        ASSERT_TRUE(startTill());
    }
    void TearDown() override {
        testsupport::closeTill();
        terminal.stop();
        payvo::closeProcessPort();
        TillWindowTest::TearDown();
    }

    // The cashier presses "Veikt operāciju" once the card dialog shows.
    void processOnTheTerminal() {
        cardtest::whenVisible([] { return KarsuAutorizacija.data(); }, [] { KarsuAutorizacija->btProcess->click(); });
    }
    int find(const std::vector<std::string>& paper, const std::string& line, int from = 0) {
        const auto it = std::find(paper.begin() + from, paper.end(), line);
        return it == paper.end() ? -1 : int(it - paper.begin());
    }

    sim::PaymentTerminalSim terminal;
};

TEST_F(CardWindow, AReceiptPaidByCardWithF12) {
    enter("4750001000017");
    ASSERT_EQ(w().RinduSkaits, 1);
    const QString cents = QString::number(std::lround(w().CekaSumma * 100));
    processOnTheTerminal();
    w().ApmaksaArKartiEFTClick();

    EXPECT_EQ(w().RinduSkaits, 0);
    const auto sent = terminal.requestsOfType("1");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(cardtest::field(sent[0], 2), cents.toStdString());
    EXPECT_EQ(terminal.requestsOfType("8").size(), 1u);  // the approved payment settled
    // The receipt, the customer's copy below it, then on the next paper the merchant's copy.
    const std::vector<std::string> p = paper();
    const int customer = find(p, "Saglabājiet čeku informācijai !");
    ASSERT_GE(customer, 0);
    const int merchant = find(p, "Pirkuma apmaksa", customer);
    EXPECT_GT(merchant, customer);
    EXPECT_GT(find(p, "SIA Veikals", customer), customer);
    // The customer's copy shows what the terminal answered, as a real slip does.
    const int slip = find(p, "Pirkuma apmaksa");
    ASSERT_GE(slip, 0);
    ASSERT_LT(slip, customer);
    const std::vector<std::string> copy(p.begin() + slip, p.begin() + customer);
    for (const char* line : {"TID:                   T0000001", "Tirgotāja ID:             M0001", "Kartes veids:              VISA",
                             "Kartes Nr : ****0119 VISA DEBIT", "A0000000031010", "Auth. code:              480213", "PIN ievadīts"})
        EXPECT_GE(find(copy, line), 0) << line << "\n" << printer->paperText();
    const QRegularExpression date(QStringLiteral(R"(^Datums  \d\d\.\d\d\.20\d\d \d\d:\d\d:\d\d$)"));
    EXPECT_TRUE(std::any_of(copy.begin(), copy.end(), [&](const std::string& l) { return date.match(QString::fromStdString(l)).hasMatch(); }))
        << printer->paperText();
    EXPECT_TRUE(std::filesystem::exists(dir() / "LastCC_Ceks1.rep"));
    EXPECT_TRUE(std::filesystem::exists(dir() / "LastCC_Ceks2.rep"));
    // The card day counter and the journal row (its kind stored one up: the card is 2).
    QString banka;
    ASSERT_TRUE(w().FMProc->FMRead("BANKA_SUM", banka));
    EXPECT_EQ(banka.trimmed(), cents);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE APM_VEIDS = 2 AND ANULETS = 'F'").toInt(), 1);
    const std::string log = testsupport::readFile(dir() / "KARTES.LOG");
    EXPECT_NE(log.find("Transaction Type=0\t PrePaidCode=0\t Ticket Number=\t Summa=" + cents.toStdString()), std::string::npos)
        << log;
}

TEST_F(CardWindow, ADeclinedCardLeavesTheReceiptOpen) {
    enter("4750001000017");
    terminal.script("1", {PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("051"))});
    processOnTheTerminal();
    w().ApmaksaArKartiEFTClick();

    EXPECT_EQ(w().RinduSkaits, 1);
    EXPECT_EQ(w().Sanemts, 0);
    EXPECT_TRUE(w().edArtikuls->text().isEmpty());
    ASSERT_FALSE(messages().texts().isEmpty());
    EXPECT_TRUE(messages().texts()[0].startsWith("Autorizācijas kļūda (5) !!!\n51-")) << messages().texts()[0].toStdString();
    EXPECT_TRUE(printed("***      PIRKUMS ATTEIKTS        ***"));
    EXPECT_EQ(terminal.requestsOfType("8").size(), 0u);
    QString banka;
    ASSERT_TRUE(w().FMProc->FMRead("BANKA_SUM", banka));
    EXPECT_EQ(banka.trimmed().toInt(), 0);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ").toInt(), 0);
}

TEST_F(CardWindow, TheCommandFilesCardPaymentDeclinedAnswersEftCancel) {
    terminal.script("1", {PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("051"))});
    processOnTheTerminal();
    std::ofstream(dir() / command_file::kCommandFileName, std::ios::binary)
        << "SALE:PLU=4750001000017;QNTY=1;\r\nPAYM:MEDIA=1;AMOUNT=2.15;\r\n";
    w().TimerFiskPrinterisTimer();
    const std::string reply = testsupport::readFile(dir() / "ret.pos");
    EXPECT_NE(reply.find("EFT - Cancel"), std::string::npos) << reply;
    EXPECT_EQ(w().RinduSkaits, 1);
}

TEST_F(CardWindow, ATopUpLineIsIssuedAfterTheReceiptWithItsTwoVoucherSlips) {
    enter("4750000000001");  // a top-up of 5.00, department 70
    enter("4750001000017");
    ASSERT_EQ(w().RinduSkaits, 2);
    terminal.script("1", {PaymentTerminalSim::frame(PaymentTerminalSim::authorisation(
                             "000", 57,
                             {"PREPAID", "LMT Karte", "500", "31.12.2027", "30 dienas", "-", "1234-5678", "000123",
                              "Zvaniet *123*kods#"}))});
    processOnTheTerminal();
    enter("/0=10");

    EXPECT_EQ(w().RinduSkaits, 0) << messages().texts().join(" | ").toStdString();
    EXPECT_EQ(terminal.requestsOfType("1").size(), 1u);
    EXPECT_EQ(terminal.requestsOfType("8").size(), 1u);  // the approved top-up settled
    const std::vector<std::string> p = paper();
    const int receipt = int(std::find_if(p.begin(), p.end(), [](const std::string& l) { return l.rfind("Čeks Nr", 0) == 0; }) - p.begin());
    const int shop = find(p, "       ATJAUNOŠANAS KARTE");
    const int customer = find(p, "       ATJAUNOŠANAS KARTE", shop + 1);
    ASSERT_GE(shop, 0) << printer->paperText();
    EXPECT_LT(receipt, shop);
    EXPECT_GT(customer, shop);
    // The paper shows lines without their trailing blanks; only the customer's copy has the code.
    EXPECT_GT(find(p, "KODS       1234-5678"), customer) << printer->paperText();
    EXPECT_EQ(std::count(p.begin(), p.end(), "KODS       1234-5678"), 1);
    EXPECT_GT(find(p, "Zvaniet *123*kods#"), customer);
    EXPECT_GT(find(p, "Atjaunošanas karte        5.00", customer), customer);
    EXPECT_NE(testsupport::readFile(dir() / "LastPrepaid2.rep").find("KODS       1234-5678 "), std::string::npos);
    EXPECT_EQ(testsupport::readFile(dir() / "LastPrepaid1.rep").find("KODS"), std::string::npos);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ARTIKULS = '4750000000001'").toInt(), 1);
}

TEST_F(CardWindow, TheBankCardReport) {
    enter("4750001000017");
    w().Bankaskaruatskaite1Click();
    EXPECT_TRUE(messages().shown(kReportWhileOpenMessage));
    EXPECT_TRUE(terminal.requests().empty());
    w().AnuletCeku();

    terminal.script("1", {PaymentTerminalSim::frame("9|KARTES ATSKAITE"), PaymentTerminalSim::frame("9|VISA 2 24.60"),
                          PaymentTerminalSim::raw({0x04})});  // the printout ends the batch
    w().Bankaskaruatskaite1Click();
    const auto sent = terminal.requestsOfType("1");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(cardtest::field(sent[0], 1), "9");
    EXPECT_TRUE(printed("VISA 2 24.60"));
    EXPECT_EQ(w().StatusText(0), kReportPrintedStatus);
}

// A card payment above the receipt total is refused before the terminal is asked.
TEST_F(CardWindow, ACardAmountAboveTheTotalIsRefusedInSale) {
    enter("4750001000017");
    enter("/1=99.00");
    EXPECT_TRUE(messages().shown(kOverAmountMessage));
    EXPECT_EQ(w().Sanemts, 0);
    EXPECT_TRUE(w().edArtikuls->text().isEmpty());
    EXPECT_EQ(w().RinduSkaits, 1);
    EXPECT_FALSE(KarsuAutorizacija->isVisible());
    EXPECT_TRUE(terminal.requests().empty());
}

// A return of a purchase by card: the terminal has no refund with an amount and its type 9 closes
// the batch, so the return is refused and nothing is counted; a cancel of the payment carries the
// amount and, approved, is counted as the card return.
TEST_F(CardWindow, ACardReturnIsRefundedWithItsAmountOrRefusedNeverCountedWithoutARefund) {
    w().rdPirkumsStorno->SetItemIndex(1);
    w().PirkumsStorno = 1;
    enter("4750001000017");
    ASSERT_EQ(w().RinduSkaits, 1);
    const QString cents = QString::number(std::lround(w().CekaSumma * 100));
    // The day's card returns in cents (no record before the first).
    const auto returnCounter = [this] {
        QString text;
        return w().FMProc->FMRead("BANKA_ATGR", text) ? std::abs(text.trimmed().toInt()) : 0;
    };

    cardtest::whenVisible([] { return KarsuAutorizacija.data(); }, [] {
        EXPECT_TRUE(KarsuAutorizacija->rdApmaksasAtcelsana->isChecked());
        KarsuAutorizacija->rdPirkumaAtgriesana->setChecked(true);
        KarsuAutorizacija->btProcess->click();
        KarsuAutorizacija->btClose->click();
    });
    w().ApmaksaArKartiEFTClick();
    EXPECT_TRUE(messages().shown(kReturnNotOnTerminalMessage));
    EXPECT_TRUE(terminal.requests().empty());  // neither a batch nor anything else
    EXPECT_EQ(w().RinduSkaits, 1);
    EXPECT_EQ(returnCounter(), 0);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ").toInt(), 0);

    processOnTheTerminal();  // the cancel of the payment, as the dialog offers it
    w().ApmaksaArKartiEFTClick();
    const auto sent = terminal.requestsOfType("1");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(cardtest::field(sent[0], 1), "1");
    EXPECT_EQ(cardtest::field(sent[0], 2), cents.toStdString());
    EXPECT_EQ(w().RinduSkaits, 0);
    EXPECT_EQ(QString::number(returnCounter()), cents);
}

// A stored card receipt returned by its number: "Yes" refunds it through the terminal once, as the
// payment's cancellation with the receipt's amount, and the return's card row is then booked
// without a second request.
TEST_F(CardWindow, AReceiptReturnedByItsNumberIsRefundedOnTheTerminalOnce) {
    enter("4750001000017");
    const QString cents = QString::number(std::lround(w().CekaSumma * 100));
    processOnTheTerminal();
    w().ApmaksaArKartiEFTClick();
    ASSERT_EQ(w().RinduSkaits, 0);
    const QString number = value("SELECT MAX(CEKA_NR) FROM REALIZ").toString();

    w().rdPirkumsStorno->SetItemIndex(1);
    w().PirkumsStorno = 1;
    messages().answerNext(platform::ui::Yes);  // return the receipt
    messages().answerNext(platform::ui::Yes);  // onto the card
    processOnTheTerminal();
    w().shAtgrnr->setText(number);
    w().ReturnReceipt();

    EXPECT_TRUE(messages().shown(kUzliktUzKartes)) << messages().texts().join(" | ").toStdString();
    const auto sent = terminal.requestsOfType("1");
    ASSERT_EQ(sent.size(), 2u);  // the sale and the refund, nothing more
    EXPECT_EQ(cardtest::field(sent[1], 1), "1");
    EXPECT_EQ(cardtest::field(sent[1], 2), cents.toStdString());
    EXPECT_EQ(w().RinduSkaits, 0);
    QString returned;
    ASSERT_TRUE(w().FMProc->FMRead("BANKA_ATGR", returned));
    EXPECT_EQ(QString::number(std::abs(returned.trimmed().toInt())), cents);
    EXPECT_EQ(value("SELECT COUNT(DISTINCT CEKA_NR) FROM REALIZ WHERE APM_VEIDS = 2 AND ANULETS = 'F'").toInt(), 2);
}

// The loyalty credit runs the card operation; its outcome is said once the card dialog exists.
TEST_F(CardWindow, TheLoyaltyCredit) {
    enter("4750001000017");
    w().MOLAlojalitteskarte1Click();  // the payment kind on cash, no card row: no terminal run
    EXPECT_TRUE(messages().shown(kLoyaltyNotCredited));
    EXPECT_TRUE(terminal.requests().empty());

    w().cmbApmaksasVeids->setCurrentIndex(w().ApmaksasVeidi.positionOf(1));
    processOnTheTerminal();
    w().MOLAlojalitteskarte1Click();
    EXPECT_TRUE(messages().shown(kLoyaltyCredited));
    EXPECT_EQ(terminal.requestsOfType("1").size(), 1u);
    EXPECT_EQ(w().RinduSkaits, 1);  // the receipt is not paid by it
}

// Two card rows, the second declined: the first stays charged, so the cashier's retry charges only
// what is still owed and never sends the approved row again; a receipt annulled after such a
// decline cancels its approved row on the terminal with its amount.
TEST_F(CardWindow, ARowTheTerminalApprovedIsNeverChargedAgainAndAnAnnulmentCancelsIt) {
    // The cashier presses "Veikt operāciju" every time the card dialog shows.
    QTimer cashier;
    QObject::connect(&cashier, &QTimer::timeout, [] {
        if (KarsuAutorizacija && KarsuAutorizacija->isVisible() && KarsuAutorizacija->btProcess->isEnabled())
            KarsuAutorizacija->btProcess->click();
    });
    cashier.start(5);
    const auto purchases = [this](const std::string& type) {
        std::vector<std::string> amounts;
        for (const std::string& request : terminal.requestsOfType("1"))
            if (cardtest::field(request, 1) == type) amounts.push_back(cardtest::field(request, 2));
        return amounts;
    };
    const auto declineSecond = [this] {
        terminal.script("1", {PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
        terminal.script("1", {PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("051"))});
    };
    const QString payment = "/1=1.00/0=2.15/1=0.50";  // 2.15 + 1.49 = 3.64 owed

    enter("4750001000017");
    enter("4750001000024");
    declineSecond();
    enter(payment);
    ASSERT_EQ(w().RinduSkaits, 2);
    EXPECT_EQ(purchases("0"), (std::vector<std::string>{"100", "50"}));
    enter(payment);
    EXPECT_EQ(w().RinduSkaits, 0) << messages().texts().join(" | ").toStdString();
    EXPECT_EQ(purchases("0"), (std::vector<std::string>{"100", "50", "50"}));
    QString banka;
    ASSERT_TRUE(w().FMProc->FMRead("BANKA_SUM", banka));
    EXPECT_EQ(banka.trimmed(), "150");

    terminal.clearRequests();
    enter("4750001000017");
    enter("4750001000024");
    declineSecond();
    enter(payment);
    ASSERT_EQ(w().RinduSkaits, 2);
    w().AnuletCeku();
    EXPECT_EQ(w().RinduSkaits, 0);
    EXPECT_EQ(purchases("1"), (std::vector<std::string>{"100"}));
    EXPECT_FALSE(std::filesystem::exists(dir() / kPendingReceiptFile));
}

// The printer gone right after the receipt and its customer's slip: the merchant's slip cannot be
// followed by the next header. The card has paid, so the receipt is counted and stored, not
// annulled, and the cashier is told to print its copy.
TEST_F(CardWindow, APrinterFailureAfterTheCardSlipNeverAnnulsTheCardPaidReceipt) {
    enter("4750001000017");
    const QString cents = QString::number(std::lround(w().CekaSumma * 100));
    SetClosingStepHook([this](std::string_view step) {
        if (step == "printed") printer.reset();
    });
    processOnTheTerminal();
    EXPECT_NO_THROW(w().ApmaksaArKartiEFTClick());
    SetClosingStepHook({});

    EXPECT_TRUE(messages().shown(kPaidReceiptReprintMessage)) << messages().texts().join(" | ").toStdString();
    EXPECT_EQ(w().RinduSkaits, 0);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS = 'F'").toInt(), 1);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS = 'T'").toInt(), 0);
    QString banka;
    ASSERT_TRUE(w().FMProc->FMRead("BANKA_SUM", banka));
    EXPECT_EQ(banka.trimmed(), cents);
}

// A stored card receipt returned by its number with "Yes" to the card while the printer is gone:
// the return cannot close, so nothing goes back to the card (the refund is the return's last step
// before it is counted and stored, once it is printed).
TEST_F(CardWindow, AReturnThatCannotCloseNeverRefundsTheCard) {
    enter("4750001000017");
    processOnTheTerminal();
    w().ApmaksaArKartiEFTClick();
    ASSERT_EQ(w().RinduSkaits, 0);
    const QString number = value("SELECT MAX(CEKA_NR) FROM REALIZ").toString();
    const auto refunds = [this] {
        int count = 0;
        for (const std::string& request : terminal.requestsOfType("1")) count += cardtest::field(request, 1) == "1";
        return count;
    };

    w().rdPirkumsStorno->SetItemIndex(1);
    w().PirkumsStorno = 1;
    messages().answerNext(platform::ui::Yes);  // return the receipt
    messages().answerNext(platform::ui::Yes);  // onto the card
    printer.reset();
    processOnTheTerminal();
    w().shAtgrnr->setText(number);
    w().ReturnReceipt();
    EXPECT_GT(w().RinduSkaits, 0);
    EXPECT_EQ(refunds(), 0);
    QString returned;
    ASSERT_TRUE(w().FMProc->FMRead("BANKA_ATGR", returned));
    EXPECT_EQ(returned.trimmed().toInt(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir() / kPendingReceiptFile));
}

// A top-up the terminal does not approve issues no code: the receipt is not counted with its line
// but stays open with a message, so the customer never pays for it.
TEST_F(CardWindow, ATopUpTheTerminalDeclinesIsNeverCounted) {
    enter("4750000000001");  // a top-up of 5.00, department 70
    enter("4750001000017");
    terminal.script("1", {PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("051"))});
    processOnTheTerminal();
    enter("/0=10");

    EXPECT_TRUE(messages().shown(kTopUpNotIssuedMessage)) << messages().texts().join(" | ").toStdString();
    EXPECT_EQ(w().RinduSkaits, 2);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ").toInt(), 0);
    QString marker;
    ASSERT_TRUE(w().FMProc->FMRead("CSLEGSANA", marker));
    EXPECT_TRUE(marker.trimmed().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(dir() / kPendingReceiptFile));
}

}  // namespace

// With the keyboard alone, as at the till: a payment whose terminal asks a yes/no question and the
// card's last four digits, a payment whose question is refused (the terminal then declines), and
// another payment. Each prompt is shown and answered by the keys; the card dialog comes up the
// same way every time, with its caption and the keyboard on "Veikt operāciju".
TEST_F(CardWindow, PaymentsAndPromptsWithTheKeyboardAlone) {
    auto prompt = [](const char* header) {
        return [header]() -> QWidget* { return GetKvitsNumurs && GetKvitsNumurs->lbInputCaption->text() == header ? GetKvitsNumurs.data() : nullptr; };
    };
    auto cardDialog = []() -> QWidget* { return KarsuAutorizacija.data(); };
    auto pay = [&] {
        const int before = int(terminal.requestsOfType("1").size());
        enter("4750001000017");
        w().ApmaksaArKartiEFTClick();
        return int(terminal.requestsOfType("1").size()) - before;
    };

    terminal.script("1", {PaymentTerminalSim::frame("FR|1004|||30|||1|APSTIPRINIET?|"), PaymentTerminalSim::awaitRequest("FA"),
                          PaymentTerminalSim::frame("FR|1002|||30|||4|PEDEJIE 4|"), PaymentTerminalSim::awaitRequest("FA"),
                          PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
    cardtest::Keyboard keys({{cardDialog, {Qt::Key_Space}}, {prompt("APSTIPRINIET?"), {Qt::Key_Return}}, {prompt("PEDEJIE 4"), {"4321", Qt::Key_Return}}});
    EXPECT_EQ(pay(), 1);
    EXPECT_EQ(w().RinduSkaits, 0) << "the first payment closed its receipt";

    terminal.script("1", {PaymentTerminalSim::frame("FR|1004|||30|||1|VAI TURPINAT?|"), PaymentTerminalSim::awaitRequest("FA"),
                          PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("888"))});
    cardtest::Keyboard refuse({{cardDialog, {Qt::Key_Space}}, {prompt("VAI TURPINAT?"), {Qt::Key_Escape}}});
    EXPECT_EQ(pay(), 1);
    EXPECT_EQ(w().RinduSkaits, 1) << "the declined payment left its receipt open";

    terminal.script("1", {PaymentTerminalSim::frame("FR|1004|||30|||1|VAI MAKSAT?|"), PaymentTerminalSim::awaitRequest("FA"),
                          PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
    cardtest::Keyboard again({{cardDialog, {Qt::Key_Space}}, {prompt("VAI MAKSAT?"), {Qt::Key_Return}}});
    w().ApmaksaArKartiEFTClick();
    EXPECT_EQ(w().RinduSkaits, 0) << "the payment after a refused prompt reached the terminal";

    std::vector<std::string> answers;
    for (const std::string& a : terminal.requestsOfType("FA")) answers.push_back(a);
    EXPECT_EQ(answers, (std::vector<std::string>{"FA|1004|0|1", "FA|1002|0|4321", "FA|1004|4|2", "FA|1004|0|1"}));
    EXPECT_EQ(terminal.requestsOfType("1").size(), 3u);
    EXPECT_TRUE(keys.done() && refuse.done() && again.done()) << "a window the keys waited for never came";
    EXPECT_TRUE(KarsuAutorizacija->btProcess->isDefault());
    EXPECT_FALSE(KarsuAutorizacija->btClose->isDefault()) << "Enter would close the dialog";
    const std::pair<QString, QString> onTheButton{"Norēķins ar magnētisko/chip karti", "btProcess"};
    for (const cardtest::Keyboard* k : {&keys, &refuse, &again}) {
        ASSERT_FALSE(k->seen.empty());
        EXPECT_EQ(k->seen[0], onTheButton);
        // Every prompt shows its own count-down from its full time-out.
        for (std::size_t i = 1; i < k->seen.size(); ++i) EXPECT_TRUE(k->seen[i].first.startsWith("(30) ")) << k->seen[i].first.toStdString();
    }
}
