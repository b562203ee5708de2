// The transaction request against the simulated terminal: the type-1 frame, the answers, the
// terminal's prompts, cancel, and the outcome a till relies on.
#include "control.h"
#include "terminal_fixture.h"

#include <thread>

using namespace payvo;
using payvotest::EventRecorder;
using payvotest::TerminalTest;
using sim::PaymentTerminalSim;

namespace {

class TransactionTest : public TerminalTest {
protected:
    void SetUp() override {
        TerminalTest::SetUp();
        control = std::make_unique<CPayvoCtrl>();
        control->advise(recorder);
    }
    void TearDown() override {
        control.reset();
        TerminalTest::TearDown();
    }
    T_Payvo& payvo() { return control->payvo(); }
    void purchase(std::int32_t amount) {
        payvo().TransactionType = 0;
        payvo().Amount = amount;
    }
    std::string lastRequest(const std::string& type) {
        settle();
        auto r = terminal.requestsOfType(type);
        return r.empty() ? std::string() : r.back();
    }

    std::unique_ptr<CPayvoCtrl> control;
    std::shared_ptr<EventRecorder> recorder = std::make_shared<EventRecorder>();
};

}  // namespace

TEST_F(TransactionTest, TheRequestFrameCarriesTheFields) {
    struct Case {
        const char* what;
        std::function<void(T_Payvo&)> set;
        std::string frame;
    } cases[] = {
        {"purchase", [](T_Payvo& p) { p.TransactionType = 0; p.Amount = 1230; p.Currency = 978; p.TransactionID = "R1"; },
         "1|0|1230|0|0|0|R1|978|||0||4.4.33||||||||||"},
        {"batch: amount 0 and the host", [](T_Payvo& p) { p.TransactionType = 9; p.Amount = 1230; p.HostID = "01"; },
         "1|9|0|0|0|0||0||01|0||4.4.33||||||||||"},
        {"receipt type 12 goes as 6", [](T_Payvo& p) { p.ReceiptType = 12; },
         "1|0|0|0|0|6||0|||0||4.4.33||||||||||"},
        {"prepaid, formatting, forwarding and input",
         [](T_Payvo& p) { p.TransactionType = 4; p.PrePaidCode = 7; p.PrintDataFormattingType = 3; p.bUseCommForwarding = 1; p.bUseECRInput = 1; },
         "1|4|0|0|0|0||0|7||0||4.4.33|2||CF|UI||||||"},
        {"capabilities", [](T_Payvo& p) { p.bMagstripeLoyaltySupport = 1; p.bEEIDLoyaltySupport = 1; p.bAmountUpdateSupport = 1; },
         "1|0|0|0|0|0||0|||0||4.4.33||||||||||MLOY;EEID;AMOD;"},
    };
    for (const auto& c : cases) {
        control = std::make_unique<CPayvoCtrl>();
        c.set(payvo());
        payvo().TransactionRequest();
        EXPECT_EQ(lastRequest("1"), c.frame) << c.what;
    }
    EXPECT_EQ(payvo().ReceiptType, 0);
    control = std::make_unique<CPayvoCtrl>();
    payvo().ReceiptType = 12;
    payvo().TransactionRequest();
    EXPECT_EQ(payvo().ReceiptType, 6);
}

TEST_F(TransactionTest, TheAuthorisationAnswerDecidesTheOutcome) {
    struct Case {
        std::string answer;
        bool result;
        std::int16_t transactionReturn;
        std::int16_t statusCode;
    } cases[] = {
        {PaymentTerminalSim::authorisation("000"), true, 0, 0},
        {PaymentTerminalSim::authorisation("888"), true, 1, 888},
        {PaymentTerminalSim::authorisation("051"), true, 5, 51},
    };
    for (const auto& c : cases) {
        terminal.script("1", {PaymentTerminalSim::frame(c.answer)});
        purchase(1230);
        EXPECT_EQ(payvo().TransactionRequest(), c.result) << c.answer.substr(0, 6);
        EXPECT_EQ(payvo().TransactionReturn, c.transactionReturn) << c.answer.substr(0, 6);
        EXPECT_EQ(payvo().StatusCode, c.statusCode) << c.answer.substr(0, 6);
    }
    // The fields of the last answer, a refusal, each in its property.
    EXPECT_EQ(payvo().StatusDisplayMsg, "DECLINED");
    EXPECT_EQ(payvo().CardName, "VISA");
    EXPECT_EQ(payvo().AuthCode, "");
    EXPECT_EQ(payvo().TerminalID, "TID: T0000001");
    EXPECT_EQ(payvo().ResponseCode, "51");
    EXPECT_EQ(payvo().TransactionID, "000000123");
    EXPECT_EQ(payvo().MerchantCashNr, "1");
    EXPECT_EQ(payvo().MerchTicketCardNumber, "PAN: 476173******0119");
}

TEST_F(TransactionTest, ShortAnswersAndThePrepaidPart) {
    terminal.script("1", {PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000", 12))});
    purchase(100);
    ASSERT_TRUE(payvo().TransactionRequest());
    EXPECT_EQ(payvo().TSI, "TSI: E800");
    EXPECT_EQ(payvo().API, "");
    EXPECT_EQ(payvo().MerchantName, "");

    // "PREPAID" as field 40: the eight fields after it are the prepaid block (and also tags).
    std::string answer = "5|000";
    for (int i = 3; i <= 39; ++i) answer += "|f" + std::to_string(i);
    answer += "|PREPAID|NAME|10|30|5|2027|9.99|SN1|DESC|f49";
    terminal.script("1", {PaymentTerminalSim::frame(answer)});
    purchase(100);
    ASSERT_TRUE(payvo().TransactionRequest());
    EXPECT_EQ(payvo().PrePaidName, "NAME");
    EXPECT_EQ(payvo().PrePaidSerial, "SN1");
    EXPECT_EQ(payvo().PrePaidDescription, "DESC");
    EXPECT_EQ(payvo().Tag9F36, "NAME");
    EXPECT_EQ(payvo().IACDenial, "SN1");
    EXPECT_EQ(payvo().IACOnline, "DESC");
}

TEST_F(TransactionTest, ARequestEndedWithoutAnAuthorisationIsNeverApproved) {
    // An approval first, then requests that end without an answer "5": the till must not read
    // the earlier 0 as this payment's approval.
    purchase(1230);
    ASSERT_TRUE(payvo().TransactionRequest());
    ASSERT_EQ(payvo().TransactionReturn, 0);
    const std::vector<sim::TerminalStep> endings[] = {
        {PaymentTerminalSim::raw({0x04})},
        {PaymentTerminalSim::frame("F|0")},
    };
    for (const auto& ending : endings) {
        terminal.script("1", ending);
        purchase(1230);
        EXPECT_FALSE(payvo().TransactionRequest());
        EXPECT_EQ(payvo().TransactionReturn, 1);
        payvo().TransactionReturn = 0;
    }
}

TEST_F(TransactionTest, RefusalsBeforeAnythingIsSent) {
    struct Case {
        std::int16_t type;
        std::int32_t amount;
        std::int16_t transactionReturn;
    } cases[] = {{5, 100, 3}, {0, -1, 2}, {0, 100'000'000, 2}};
    for (const auto& c : cases) {
        payvo().TransactionType = c.type;
        payvo().Amount = c.amount;
        EXPECT_FALSE(payvo().TransactionRequest());
        EXPECT_EQ(payvo().TransactionReturn, c.transactionReturn);
    }
    settle();
    EXPECT_TRUE(terminal.requestsOfType("1").empty());
}

TEST_F(TransactionTest, ABatchIsNeverAPayment) {
    // Type 9 runs the batch: the amount goes as 0, and the answer "F" leaves no approval fields.
    payvo().TransactionType = 9;
    payvo().Amount = 1230;
    payvo().HostID = "01";
    payvo().AuthCode = "OLD";
    terminal.script("1", {PaymentTerminalSim::frame("F|7")});
    EXPECT_TRUE(payvo().TransactionRequest());
    EXPECT_EQ(payvo().TransactionReturn, 0);
    EXPECT_EQ(payvo().StatusCode, 7);
    EXPECT_EQ(payvo().AuthCode, "");
    EXPECT_EQ(sim::ecr::field(lastRequest("1"), 2), "0");

    terminal.script("1", {PaymentTerminalSim::frame("F")});
    EXPECT_FALSE(payvo().TransactionRequest());
    EXPECT_EQ(payvo().TransactionReturn, 4);
}

TEST_F(TransactionTest, InputRequestsFireTheirEventsAndAreAnswered) {
    struct Case {
        std::string form;
        std::int32_t event;
        std::int32_t status;
        std::string text;
        std::string fa;
    } cases[] = {
        {"1002", kEnterLast4Digits, 0, "1234", "FA|1002|0|1234"},
        {"1002", kEnterLast4Digits, 0, "12345", "FA|1002|4|12345"},
        {"1004", kAskYesNo, 0, "YY", "FA|1004|4|YY"},
        {"1005", kEnterAuthCode, 0, "123456", "FA|1005|0|123456"},
        {"1000", kEnterDailyPwd, -2, "", "FA|1000|3|"},
        {"1001", kEnterMerchantPwd, -1, "", "FA|1001|4|"},
        {"1020", kEnterDate, 7, "x", "FA|1020|1|x"},
        {"1026", kCheckCardSecurity, 0, "OK", "FA|1026|0|OK"},
        {"1018", kEnterSTAN, 0, "42", "FA|1018|0|42"},
        {"1999", 0, 0, "", "FA|1999|1|"},  // no event for an unknown form
    };
    for (const auto& c : cases) {
        if (c.event) recorder->answer(c.event, c.status, c.text);
        terminal.script("1", {PaymentTerminalSim::frame("FR|" + c.form + "|||30|||8|HEADER|DEF"), PaymentTerminalSim::awaitRequest("FA"),
                              PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
        purchase(100);
        EXPECT_TRUE(payvo().TransactionRequest()) << c.form;
        EXPECT_EQ(lastRequest("FA"), c.fa) << c.form;
    }
    auto events = recorder->events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(platform::com::toText(events[0].args[0]), "HEADER");
    EXPECT_EQ(platform::com::toInteger(events[0].args[1]), 30);
}

TEST_F(TransactionTest, AnUnhandledPromptIsAnsweredWithStatusOneAndNoText) {
    terminal.script("1", {PaymentTerminalSim::frame("FR|1005|||30|||6|AUTH|"), PaymentTerminalSim::awaitRequest("FA"),
                          PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
    purchase(100);
    EXPECT_TRUE(payvo().TransactionRequest());
    EXPECT_EQ(lastRequest("FA"), "FA|1005|1|");
}

TEST_F(TransactionTest, TheAnswerSizeTheTerminalNamesNeverSizesTheAnswer) {
    // Whatever field 8 says (none, negative, huge), the answer is the handler's text cut to 255.
    recorder->answer(kEnterReceiptNr, 0, std::string(300, '7'));
    for (const std::string size : {"0", "-5", "2000000000", ""}) {
        terminal.script("1", {PaymentTerminalSim::frame("FR|1003|||30|||" + size + "|NR|0001"), PaymentTerminalSim::awaitRequest("FA"),
                              PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
        purchase(100);
        EXPECT_TRUE(payvo().TransactionRequest()) << size;
        EXPECT_EQ(lastRequest("FA"), "FA|1003|0|" + std::string(255, '7')) << size;
    }
    EXPECT_EQ(platform::com::toText(recorder->events().back().args[4]), "0001");
}

TEST_F(TransactionTest, NotificationsAndLoyaltyRequestsDuringARequest) {
    recorder->answer(kProcessLoyaltyData, 0, "1100");
    terminal.script("1", {PaymentTerminalSim::frame("2|IEVIETOJIET KARTI|5"), PaymentTerminalSim::frame("9|ignored"),
                          PaymentTerminalSim::frame("LR|CARD123"), PaymentTerminalSim::awaitRequest("LA"),
                          PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
    purchase(1230);
    EXPECT_TRUE(payvo().TransactionRequest());
    EXPECT_EQ(lastRequest("LA"), "LA|0|1100");
    ASSERT_EQ(recorder->count(kNotification), 1);
    EXPECT_EQ(platform::com::toInteger(recorder->events()[0].args[0]), 5);
    // The request clears the display text at its start; the notification set it afterwards.
    EXPECT_EQ(payvo().displayText, "IEVIETOJIET KARTI");

    const std::pair<std::int32_t, std::string> statuses[] = {{-2, "LA|9996|"}, {-1, "LA|9994|"}, {3, "LA|9998|"}};
    for (const auto& [status, la] : statuses) {
        recorder->answer(kProcessLoyaltyData, status, "1100");
        terminal.script("1", {PaymentTerminalSim::frame("LR|CARD123"), PaymentTerminalSim::awaitRequest("LA"),
                              PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
        payvo().TransactionRequest();
        EXPECT_EQ(lastRequest("LA"), la);
    }
}

TEST_F(TransactionTest, CancelAnsweredWithOneLetsTheTransactionGoOn) {
    terminal.script("1", {PaymentTerminalSim::frame("2|GAIDU KARTI|1")});
    terminal.script("6", {PaymentTerminalSim::frame("7|1")});
    bool cancelled = true;
    std::thread canceller;
    // The cancel comes from another thread while the request waits for its answer.
    recorder->onFired(kNotification, [&] {
        canceller = std::thread([&] {
            cancelled = payvo().Cancel();
            terminal.sendNow({PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
        });
    });
    purchase(1230);
    EXPECT_TRUE(payvo().TransactionRequest());
    canceller.join();
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(payvo().TransactionReturn, 0);
    EXPECT_EQ(terminal.requestsOfType("6").size(), 1u);
}

TEST_F(TransactionTest, CancelAnsweredWithZeroEndsTheTransaction) {
    terminal.script("1", {PaymentTerminalSim::frame("2|GAIDU KARTI|1")});
    terminal.script("6", {PaymentTerminalSim::frame("7|0")});
    bool cancelled = false;
    std::thread canceller;
    recorder->onFired(kNotification, [&] { canceller = std::thread([&] { cancelled = payvo().Cancel(); }); });
    purchase(1230);
    EXPECT_FALSE(payvo().TransactionRequest());
    EXPECT_EQ(payvo().TransactionReturn, 1);
    canceller.join();
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(payvo().Cancel());  // nothing runs any more
}

TEST_F(TransactionTest, ASecondRequestWhileOneRunsLeavesTheRunningOneAlone) {
    terminal.script("1", {PaymentTerminalSim::frame("2|GAIDU KARTI|1")});
    bool second = true;
    std::int16_t secondReturn = -1;
    bool workerHeldPort = true;
    recorder->onFired(kNotification, [&] {
        // Inside the running exchange, on its thread, as a host's event handler would.
        second = payvo().TransactionRequest();
        secondReturn = payvo().TransactionReturn;
        workerHeldPort = payvo().hub().serialWorkerHoldsPort();
        terminal.sendNow({PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
    });
    purchase(1230);
    EXPECT_TRUE(payvo().TransactionRequest());
    EXPECT_FALSE(second);
    EXPECT_EQ(secondReturn, 5);
    EXPECT_FALSE(workerHeldPort) << "the refused request handed the port to the serial worker";
    EXPECT_EQ(payvo().TransactionReturn, 0);
    EXPECT_TRUE(payvo().hub().serialWorkerHoldsPort());
}

TEST_F(TransactionTest, PrintLinesAfterAnEncashGoIntoTheReceipt) {
    terminal.setPrintLines({"KARTE VISA", "SUMMA 12.30"});
    payvo().PrintingDevice = 1;
    purchase(1230);
    ASSERT_TRUE(payvo().TransactionRequest());
    terminal.script("8", {PaymentTerminalSim::frame("9|KARTE VISA"), PaymentTerminalSim::raw({0x1D}), PaymentTerminalSim::frame("9|SUMMA 12.30\r\n"),
                          PaymentTerminalSim::raw({0x04})});
    EXPECT_TRUE(payvo().EncashTransaction());
    EXPECT_EQ(payvo().Receipt, "KARTE VISA\r\n\x1D\r\nSUMMA 12.30\r\n");
    EXPECT_EQ(lastRequest("8"), "8|0");

    // A line holding an FS byte (the "|" of the terminal's text) is kept whole.
    ASSERT_TRUE(payvo().TransactionRequest());
    terminal.script("8", {PaymentTerminalSim::frame("9|KARTE|VISA"), PaymentTerminalSim::raw({0x04})});
    EXPECT_TRUE(payvo().EncashTransaction());
    EXPECT_EQ(payvo().Receipt, "KARTE\x1CVISA\r\n");

    payvo().PrintingDevice = 0;
    ASSERT_TRUE(payvo().TransactionRequest());
    EXPECT_TRUE(payvo().EncashTransaction());
    EXPECT_EQ(payvo().Receipt, "");
}

TEST_F(TransactionTest, TheWaitsRunOnTheClock) {
    // A terminal that never answers: the 120 s wait ends with the link's time-out code.
    terminal.script("1", {pleaseWait()});
    useSteppedClock();
    purchase(1230);
    EXPECT_FALSE(payvotest::whileAdvancing(stepped, [&] { return payvo().TransactionRequest(); }, controlWaitsForAnswer()));
    EXPECT_EQ(payvo().TransactionReturn, 1);
    EXPECT_EQ(payvo().StatusCode, 2102);
    EXPECT_GE(stepped.elapsedMs(), 120'000);
}
