// The card dialog over the real control against the terminal simulator: its set-up from the
// settings, what one press of "Veikt operāciju" sends, how the terminal's states and results reach
// the cashier, the prompts answered through the timed input dialog, and a return that the
// terminal's protocol cannot refund.
#include "card_test_support.h"

#include "karsu_autorizacija.h"
#include "small_dialogs.h"

#include <QTimer>

namespace {

using sim::PaymentTerminalSim;

class CardDialog : public cardtest::TerminalTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TerminalTest::SetUp());
        setupInteger("CHIPReader", 1);
        setupText("SerialPortSpeed", "115200");
    }
    void TearDown() override {
        delete KarsuAutorizacija.data();
        TerminalTest::TearDown();
    }
    TKarsuAutorizacija& Dialog(int eft = 2) {
        auto* d = new TKarsuAutorizacija(nullptr, eft);
        KarsuAutorizacija = d;
        d->PrintSlip = [this](int copy) { slips.push_back(copy); };
        return *d;
    }
    // One press of the operation button with the amount field and the operation chosen.
    void Press(TKarsuAutorizacija& d, const QString& amount, KartesOperacija operacija, int nodala = 0) {
        d.FormActivate();  // as every showing of the dialog
        d.Nodala = nodala;
        d.SetOperacija(operacija);
        d.shSumma->setText(amount);
        d.btProcessClick();
    }
    // The transaction requests on the wire, as their type and amount fields.
    std::vector<std::pair<std::string, std::string>> Transactions() {
        std::vector<std::pair<std::string, std::string>> sent;
        for (const std::string& r : terminal.requestsOfType("1")) sent.push_back({cardtest::field(r, 1), cardtest::field(r, 2)});
        return sent;
    }
    std::vector<int> slips;
};

TEST_F(CardDialog, SetUpFromTheSettings) {
    TKarsuAutorizacija& d = Dialog();
    EXPECT_EQ(d.ChipPorts, 1);
    EXPECT_EQ(d.Payvo1->Text("SerialPortNumber"), "COM1");
    EXPECT_EQ(d.Payvo1->Number("Currency"), 428);  // no ValutasKodsFTP: the lats
    EXPECT_EQ(d.Payvo1->Text("SerialPortSpeed"), "115200");
    EXPECT_TRUE(GetKvitsNumurs);
}

struct SetupCase {
    std::optional<int> chipReader, currency;
    std::optional<std::string> speed;
    int eft;
    int chipPorts, controlCurrency;
    const char* controlSpeed;
    const char* storedSpeed;
    const char* port;  // the control's port afterwards
};

TEST_F(CardDialog, SetUpTable) {
    const SetupCase cases[] = {
        {3, 978, std::string("19200"), 2, 3, 978, "19200", "19200", "COM3"},
        {std::nullopt, std::nullopt, std::nullopt, 2, 0, 428, "", "9600", "COM1"},  // speed missing: 9600 written for the next start
        {0, 978, std::string("96"), 2, 0, 978, "96", "9600", "COM1"},
        {3, 978, std::string("19200"), 0, 3, 978, "19200", "19200", "COM1"},  // no terminal kind: the port is left alone
    };
    for (const SetupCase& c : cases) {
        settings().deleteKey(testsupport::kSetupKey);
        if (c.chipReader) setupInteger("CHIPReader", *c.chipReader);
        if (c.currency) setupInteger("ValutasKodsFTP", *c.currency);
        if (c.speed) setupText("SerialPortSpeed", *c.speed);
        setupInteger("Dummy", 0);  // the key exists
        TKarsuAutorizacija d(nullptr, c.eft);
        EXPECT_EQ(d.ChipPorts, c.chipPorts);
        EXPECT_EQ(d.Payvo1->Number("Currency"), c.controlCurrency);
        EXPECT_EQ(d.Payvo1->Text("SerialPortSpeed"), c.controlSpeed);
        EXPECT_EQ(settings().readText(testsupport::kSetupKey, "SerialPortSpeed"), c.storedSpeed);
        EXPECT_EQ(d.Payvo1->Text("SerialPortNumber"), c.port);
    }
}

TEST_F(CardDialog, AReaderThatCannotBeOpenedIsSwitchedOff) {
    setupInteger("CHIPReader", 7);  // nothing on COM7
    TKarsuAutorizacija d(nullptr, 1);
    EXPECT_EQ(d.ChipPorts, 0);
    ASSERT_EQ(messages().texts().size(), 1);
    EXPECT_TRUE(messages().texts()[0].startsWith(kChipInitFailedMessage + "\n"));
}

TEST_F(CardDialog, WhatEachOperationSends) {
    TKarsuAutorizacija& d = Dialog();
    Press(d, "1230", KartesOperacija::Apmaksa);
    EXPECT_TRUE(d.Apstiprinats);
    EXPECT_EQ(d.Payvo1->Number("bUseECRInput"), 100);
    Press(d, "12.9", KartesOperacija::Apmaksa);  // whole cents
    Press(d, "1230", KartesOperacija::Atcelsana);
    Press(d, "500", KartesOperacija::Atcelsana, 75);  // a top-up whatever the buttons say
    EXPECT_EQ(d.Payvo1->Number("PrePaidCode"), 75);
    EXPECT_EQ(d.Payvo1->Number("bUseECRInput"), 0);
    EXPECT_EQ(Transactions(), (std::vector<std::pair<std::string, std::string>>{{"0", "1230"}, {"0", "12"}, {"1", "1230"}, {"4", "500"}}));
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join("|").toStdString();
    const std::string log = testsupport::readFile(dir() / "KARTES.LOG");
    EXPECT_NE(log.find("Transaction Type=4\t PrePaidCode=75\t Ticket Number="), std::string::npos) << log;
    EXPECT_NE(log.find("\t Summa=500\r\n"), std::string::npos) << log;
}

TEST_F(CardDialog, RefusedInputNeverReachesTheTerminal) {
    TKarsuAutorizacija& d = Dialog();
    Press(d, "0", KartesOperacija::Apmaksa);
    EXPECT_EQ(messages().texts(), QStringList{kNoCardAmountMessage});
    messages().clear();
    Press(d, "", KartesOperacija::Apmaksa);
    EXPECT_EQ(messages().texts(), (QStringList{kBadCardAmountMessage, kNoCardAmountMessage}));
    messages().clear();
    {
        // A second control holds the port between its operations: it goes before the next one.
        setupInteger("CHIPReader", 0);  // no reader: COM1 is the terminal's
        TKarsuAutorizacija chip(nullptr, 1);
        Press(chip, "1230", KartesOperacija::Apmaksa);
        EXPECT_EQ(messages().texts(), QStringList{kChipTerminalMessage});
    }
    EXPECT_TRUE(terminal.requests().empty());
    EXPECT_FALSE(d.Apstiprinats);

    // A cancel may go with an empty amount field: 0 after the message.
    settle();
    messages().clear();
    Press(d, "", KartesOperacija::Atcelsana);
    EXPECT_EQ(messages().texts(), QStringList{kBadCardAmountMessage});
    EXPECT_EQ(Transactions(), (std::vector<std::pair<std::string, std::string>>{{"1", "0"}}));
}

// The terminal's protocol has no refund with an amount, and its type 9 closes the batch: a
// return by card is refused at the dialog, nothing goes on the wire, and nothing is approved.
TEST_F(CardDialog, AReturnOfAPurchaseIsRefusedAndNeverClosesTheBatch) {
    TKarsuAutorizacija& d = Dialog();
    Press(d, "1230", KartesOperacija::Apmaksa);
    ASSERT_TRUE(d.Apstiprinats);
    settle();
    terminal.clearRequests();
    d.SetOperacija(KartesOperacija::Atgriesana);
    d.btProcessClick();  // pressed again on the same showing
    EXPECT_EQ(messages().texts(), QStringList{kReturnNotOnTerminalMessage});
    EXPECT_FALSE(d.Apstiprinats);
    EXPECT_TRUE(terminal.requests().empty());
    EXPECT_TRUE(slips.empty());
}

struct OutcomeCase {
    std::string state;       // the state answer "B|state|connection|..."
    std::string authorised;  // the transaction's response code, empty when none is asked
    QString message;         // empty: none
    bool declinedSlip;
    bool approved;
};

TEST_F(CardDialog, OutcomesReachTheCashier) {
    const QString stateTail = "\n0-";
    const OutcomeCase cases[] = {
        {"B|0|1|T0000001", "", kConnectionMessage, false, false},
        {"B|1|0|T0000001", "", "Termināls ir aizņemts (1) !!!" + stateTail, true, false},
        {"B|2|0|T0000001", "", "Nestrādā PinPad (2) !!!" + stateTail, true, false},
        {"B|3|0|T0000001", "", "Tranzakciju fails ir pilns (3) !!!" + stateTail, true, false},
        {"B|4|0|T0000001", "", "Nepareizi parametri (4) !!!" + stateTail, true, false},
        {"B|5|0|T0000001", "", "Nav atbildes no termināla (5) !!!" + stateTail, true, false},
        {"B|6|0|T0000001", "", "Aizmirsta karte (6) !!!" + stateTail, true, false},
        {"B|7|0|T0000001", "", "Nezināma kļūda (7) !!!" + stateTail, true, false},
        {"B|8|0|T0000001", "", "", true, false},  // no text for the state, the slip all the same
        {"B|0|0|T0000001", "000", "", false, true},
        {"B|0|0|T0000001", "888", "Tranzakcija kancelēta (1) !!!\n888-", true, false},
        {"B|0|0|T0000001", "051", "Autorizācijas kļūda (5) !!!\n51-", true, false},
    };
    TKarsuAutorizacija& d = Dialog();
    for (const OutcomeCase& c : cases) {
        messages().clear();
        slips.clear();
        terminal.script("A", {PaymentTerminalSim::frame(c.state)});
        if (!c.authorised.empty()) terminal.script("1", {PaymentTerminalSim::frame(PaymentTerminalSim::authorisation(c.authorised))});
        Press(d, "1230", KartesOperacija::Apmaksa);
        const QStringList shown = messages().texts();
        if (c.message.isEmpty()) {
            EXPECT_TRUE(shown.isEmpty()) << c.state << " " << shown.join("|").toStdString();
        } else {
            ASSERT_EQ(shown.size(), 1) << c.state;
            EXPECT_TRUE(shown[0].startsWith(c.message)) << c.state << " " << shown[0].toStdString();
        }
        EXPECT_EQ(slips, c.declinedSlip ? std::vector<int>{3} : std::vector<int>{}) << c.state;
        EXPECT_EQ(d.Apstiprinats, c.approved) << c.state << c.authorised;
        EXPECT_EQ(terminal.requestsOfType("1").size(), c.authorised.empty() ? 0u : 1u) << c.state;
        settle();
        terminal.clearRequests();
    }
}

// The terminal asks for the card's last four digits; the cashier answers, or lets it time out.
TEST_F(CardDialog, PromptsAnsweredThroughTheInputDialog) {
    TKarsuAutorizacija& d = Dialog();
    for (const bool answer : {true, false}) {
        terminal.script("1", {PaymentTerminalSim::frame("FR|1002|||1|||4|PEDEJIE 4|"), PaymentTerminalSim::awaitRequest("FA"),
                              PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
        if (answer)
            cardtest::whenVisible([] { return GetKvitsNumurs.data(); }, [] {
                EXPECT_EQ(GetKvitsNumurs->lbInputCaption->text(), "PEDEJIE 4");
                GetKvitsNumurs->edKvitsNumurs->setText("1234");
                GetKvitsNumurs->btOKClick();
            });
        Press(d, "1230", KartesOperacija::Apmaksa);
        const auto answers = terminal.requestsOfType("FA");
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0], answer ? "FA|1002|0|1234" : "FA|1002|4|");
        settle();
        terminal.clearRequests();
    }
}

}  // namespace
