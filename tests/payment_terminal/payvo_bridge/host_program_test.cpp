// A host program driving every member of the bridge over the serial line and over TCP/IP against
// the simulated terminal.
#include "bridge_fixture.h"

#include <future>

using namespace bridgetest;
using sim::PaymentTerminalSim;

namespace {

class HostProgramTest : public BridgeTest, public ::testing::WithParamInterface<Line> {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        useLine(GetParam());
    }
    T_Payvo payvo;
    T_PayvoTransactionReport report{};
};

// Blocks until the terminal has taken a request of this type.
void waitForRequest(PaymentTerminalSim& terminal, const std::string& type) {
    for (int i = 0; i < 10'000 && terminal.requestsOfType(type).empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Lines, HostProgramTest, ::testing::Values(Line::Serial, Line::Tcp), lineName);

TEST_P(HostProgramTest, SaleIsAuthorisedAndTheReportFilledFromTheAnswer) {
    auto request = transaction(0, 1234);
    ASSERT_TRUE(payvo.TransactionRequest(&request, &report));
    EXPECT_EQ(report.TransactionReturn, 0);
    EXPECT_STREQ(report.StatusDisplayMsg, "APPROVED");
    EXPECT_STREQ(report.CardName, "VISA");
    EXPECT_STREQ(report.AuthCode, "Auth. code: 480213");
    EXPECT_STREQ(report.AppLabel, "VISA DEBIT");
    EXPECT_STREQ(report.TransactionID, "000000123");
    EXPECT_EQ(std::string(report.TransactionDate).find_first_not_of("0123456789"), std::string::npos) << report.TransactionDate;
    EXPECT_EQ(std::strlen(report.TransactionDate), 14u) << "ddmmyyyyhhnnss";
    EXPECT_STREQ(report.MerchantCashNr, "1");
    EXPECT_EQ(sent("1"), std::vector<std::string>{"1|0|1234|0|1|0|R1|978|||0||4.4.12"});
    EXPECT_TRUE(logged("AUTHORIZATION SUCCESSFUL"));
}

TEST_P(HostProgramTest, ResponseCodesGiveTheirResults) {
    const struct {
        const char* code;
        int transactionReturn;
    } cases[] = {{"000", 0}, {"888", 1}, {"051", 5}};
    for (const auto& c : cases) {
        terminal.script("1", {PaymentTerminalSim::frame(PaymentTerminalSim::authorisation(c.code))});
        auto request = transaction(1, 500);
        EXPECT_TRUE(payvo.TransactionRequest(&request, &report)) << c.code;
        EXPECT_EQ(report.TransactionReturn, c.transactionReturn) << c.code;
    }
}

TEST_P(HostProgramTest, PrepaidPartFillsThePrepaidFields) {
    terminal.script("1", {PaymentTerminalSim::frame(PaymentTerminalSim::authorisation(
                             "000", 57, {"PREPAID", "LMT KARTE", "500", "30", "60", "2027-01-01", "5.00", "SN77", std::string(2500, 'd')}))});
    auto request = transaction(4, 500);
    request.PrePaidCode = 7;
    ASSERT_TRUE(payvo.TransactionRequest(&request, &report));
    EXPECT_STREQ(report.PrePaidName, "LMT KARTE");
    EXPECT_STREQ(report.PrePaidNominal, "500");
    EXPECT_STREQ(report.PrePaidSerial, "SN77");
    EXPECT_EQ(std::string(report.PrePaidDescription), std::string(1999, 'd')) << "cut at its field";
    EXPECT_EQ(sent("1"), std::vector<std::string>{"1|4|500|0|1|0|R1|978|7||0||4.4.12"});
}

TEST_P(HostProgramTest, CancelAnswerToAnAuthorisationFails) {
    terminal.script("1", {PaymentTerminalSim::frame("7|0")});
    auto request = transaction(0, 100);
    EXPECT_FALSE(payvo.TransactionRequest(&request, &report));
    EXPECT_EQ(report.TransactionReturn, 5);
    EXPECT_STREQ(report.StatusDisplayMsg, "Authorisation error.");
}

TEST_P(HostProgramTest, AnswerOfAnotherTypeIsDeclinedAtTheTerminal) {
    terminal.script("1", {PaymentTerminalSim::frame("E|0")});
    auto request = transaction(0, 100);
    EXPECT_FALSE(payvo.TransactionRequest(&request, &report));
    EXPECT_EQ(report.TransactionReturn, 4);
    EXPECT_STREQ(report.StatusDisplayMsg, "DECLINED");
    EXPECT_EQ(sent("8"), std::vector<std::string>{"8|1"});
}

TEST_P(HostProgramTest, BatchTakesTheStatusAndCollectsThePrintLines) {
    terminal.script("1", {PaymentTerminalSim::frame("9|SLEGUMS 01"), PaymentTerminalSim::frame("9|KOPA 12.34"),
                          PaymentTerminalSim::frame("F|000")});
    auto request = transaction(9, 1234);
    request.PrintingDevice = 1;
    std::strcpy(request.HostID, "01");
    request.BatchType = 2;
    ASSERT_TRUE(payvo.TransactionRequest(&request, &report));
    EXPECT_EQ(report.TransactionReturn, 0);
    EXPECT_STREQ(report.StatusDisplayMsg, "000");
    EXPECT_STREQ(payvo.Receipt, "SLEGUMS 01KOPA 12.34");
    EXPECT_EQ(sent("1"), std::vector<std::string>{"1|9|0|1|1|0|R1|978||01|0|2|4.4.12"});

    terminal.script("1", {PaymentTerminalSim::frame("F|051")});
    EXPECT_TRUE(payvo.TransactionRequest(&request, &report));
    EXPECT_EQ(report.TransactionReturn, 1);
}

TEST_P(HostProgramTest, ReceiptDataRequestFillsTheReport) {
    auto request = transaction(7, 0);
    ASSERT_TRUE(payvo.GetTrxReceiptData(&request, &report));
    EXPECT_STREQ(report.CardNumber, "476173******0119");
    EXPECT_STREQ(report.MerchantName, "TILLORA DEMO VEIKALS");
    EXPECT_EQ(sent("10"), std::vector<std::string>{"10|R1|1|0||"});

    ASSERT_TRUE(payvo.TransactionRequest(&request, &report));
    EXPECT_STREQ(report.TransactionID, "000000123");
}

TEST_P(HostProgramTest, EncashCollectsThePrintLinesAfterAPrintingSale) {
    auto request = transaction(0, 1230);
    request.PrintingDevice = 1;
    ASSERT_TRUE(payvo.TransactionRequest(&request, &report));
    ASSERT_TRUE(payvo.EncashTransaction());
    EXPECT_STREQ(payvo.Receipt, "KARTES MAKSAJUMSSUMMA EUR 12.30PALDIES");
    EXPECT_EQ(sent("8"), std::vector<std::string>{"8|0"});
}

TEST_P(HostProgramTest, EncashWithoutPrintCollectionSendsTheApprovalOnly) {
    ASSERT_TRUE(payvo.EncashTransaction());
    EXPECT_STREQ(payvo.Receipt, "");
    EXPECT_EQ(sent("8"), std::vector<std::string>{"8|0"});
}

TEST_P(HostProgramTest, StateAnswerFillsTheRecord) {
    T_PayvoState state{};
    ASSERT_TRUE(payvo.GetState(&state));
    EXPECT_EQ(state.TerminalState, 0);
    EXPECT_EQ(state.ConnectionState, 1);
    EXPECT_STREQ(state.TerminalID, "T0000001");
    EXPECT_STREQ(state.AppVersion, "1.2.3");
    EXPECT_STREQ(state.ProtocolVersion, "4.4.12");
    EXPECT_EQ(sent("A"), std::vector<std::string>{"A|2.2.5.1|4.4.12"});
}

TEST_P(HostProgramTest, StateValuesOutsideTheRange) {
    terminal.script("A", {PaymentTerminalSim::frame("B|12|3|T1")});
    T_PayvoState state{};
    ASSERT_TRUE(payvo.GetState(&state));
    EXPECT_EQ(state.TerminalState, 99);
    EXPECT_EQ(state.ConnectionState, 1);
    terminal.script("A", {PaymentTerminalSim::frame("B|5|0|T1")});
    ASSERT_TRUE(payvo.GetState(&state));
    EXPECT_EQ(state.TerminalState, 5);
    EXPECT_EQ(state.ConnectionState, 0);
}

TEST_P(HostProgramTest, StateAndCancelWhileAnAuthorisationWaits) {
    terminal.script("1", {PaymentTerminalSim::frame("2|IEVADIET PIN|1")});  // and then no answer
    auto request = transaction(0, 1000);
    auto sale = std::async(std::launch::async, [&] { return payvo.TransactionRequest(&request, &report); });
    waitForRequest(terminal, "1");
    settle();

    T_PayvoState state{};
    EXPECT_FALSE(payvo.GetState(&state));
    EXPECT_EQ(state.TerminalState, 1);
    int id = -1;
    char info[kPayvoInfoTextSize];
    payvo.vcb_GetInfoText(&id, info);
    EXPECT_EQ(id, 0);
    EXPECT_STREQ(info, "IEVADIET PIN");

    EXPECT_TRUE(payvo.Cancel());
    EXPECT_FALSE(sale.get());
    EXPECT_EQ(report.TransactionReturn, 5);
    EXPECT_STREQ(report.StatusDisplayMsg, "Authorisation error.");
    EXPECT_EQ(sent("6"), std::vector<std::string>{"6"});
    EXPECT_TRUE(payvo.GetState(&state)) << "the library is free again";
}

TEST_P(HostProgramTest, CancelRefusedByTheTerminalIsNotASuccess) {
    terminal.script("6", {PaymentTerminalSim::frame("7|1")});
    EXPECT_FALSE(payvo.Cancel());
    EXPECT_TRUE(logged("Cancellation refused, the transaction goes on."));
    terminal.script("6", {PaymentTerminalSim::frame("7|0")});
    EXPECT_TRUE(payvo.Cancel());
}

TEST_P(HostProgramTest, CancelIsRefusedWhileHostTotalsRun) {
    terminal.script("IR", {});
    T_HostTotalData totals{};
    auto running = std::async(std::launch::async, [&] { return payvo.GetHostTotal(2, &totals); });
    waitForRequest(terminal, "IR");
    EXPECT_FALSE(payvo.Cancel());
    EXPECT_TRUE(logged("Cancel not allowed!"));
    terminal.sendNow({PaymentTerminalSim::frame("IA|1|0|2|02|4|4000|1|100")});
    EXPECT_TRUE(running.get());
    EXPECT_STREQ(totals.HostID, "02");
    EXPECT_STREQ(totals.DebitTotal, "4000");
    EXPECT_STREQ(totals.CreditTotal, "100");
    EXPECT_TRUE(sent("6").empty());
}

TEST_P(HostProgramTest, HostListWalksThreeHosts) {
    terminal.script("IR", {PaymentTerminalSim::frame("IA|0|0|3|01|SWEDBANK|x|\x1d|02|SEB|\x1d|03|CITADELE")});
    T_HostListData host{};
    ASSERT_TRUE(payvo.GetHostList(&host));
    EXPECT_STREQ(host.HostID, "01");
    EXPECT_STREQ(host.HostName, "SWEDBANK");
    ASSERT_TRUE(payvo.GetNextHostList(&host));
    EXPECT_STREQ(host.HostName, "SEB");
    ASSERT_TRUE(payvo.GetNextHostList(&host));
    EXPECT_STREQ(host.HostID, "03");
    EXPECT_STREQ(host.HostName, "CITADELE");
    EXPECT_FALSE(payvo.GetNextHostList(&host));
    EXPECT_EQ(sent("IR"), std::vector<std::string>{"IR|0|"});
}

TEST_P(HostProgramTest, InformationAnswersAreChecked) {
    const struct {
        const char* answer;
        const char* logLine;
    } cases[] = {
        {"TA|1|0|2|02", "Got invalid response packet type"},
        {"IA|0|0|2|02", "Got invalid response information type"},
        {"IA|1|5|2|02", "Status code no 0."},
        {"IA|1|0|X|02", "Host ID not valid value."},
        {"IA|1|0|3|02", "Host ID not same as requested."},
    };
    for (const auto& c : cases) {
        terminal.script("IR", {PaymentTerminalSim::frame(c.answer)});
        T_HostTotalData totals{};
        EXPECT_FALSE(payvo.GetHostTotal(2, &totals)) << c.answer;
        EXPECT_TRUE(logged(c.logLine)) << c.answer;
    }
}

TEST_P(HostProgramTest, LoyaltyDataIsRead) {
    T_LoyaltyCardData data{};
    ASSERT_TRUE(payvo.GetLoyaltyCardData("BONUS", &data));
    EXPECT_STREQ(data.LoyaltyData1, "LOJ1");
    EXPECT_STREQ(data.LoyaltyData2, "LOJ2");
    EXPECT_EQ(sent("IR"), std::vector<std::string>{"IR|2|BONUS"});
    EXPECT_FALSE(payvo.GetLoyaltyCardData("BO\x1cNUS", &data)) << "a separator in the caller's text is not sent";
}

TEST_P(HostProgramTest, TerminalFunctionTextIsBoundedByTheCallersBuffer) {
    T_PayvoFunctionRequest function{5, 1, 0};
    char text[kPayvoFunctionTextSize];
    ASSERT_TRUE(payvo.TerminalFunction(&function, text));
    EXPECT_STREQ(text, "FUNCTION 5 DONE");
    EXPECT_EQ(sent("TR"), std::vector<std::string>{"TR|5|1|0"});

    terminal.script("TR", {PaymentTerminalSim::frame("TA|5|" + std::string(3000, 'z'))});
    ASSERT_TRUE(payvo.TerminalFunction(&function, text));
    EXPECT_EQ(std::string(text), std::string(kPayvoFunctionTextSize - 1, 'z'));

    terminal.script("TR", {PaymentTerminalSim::frame("TA|6|X")});
    EXPECT_FALSE(payvo.TerminalFunction(&function, text));
    EXPECT_TRUE(logged("Got invalid function type form terminal."));
}

TEST_P(HostProgramTest, CardRemoval) {
    EXPECT_TRUE(payvo.WaitForCardRemoving());
    terminal.script("C", {PaymentTerminalSim::frame("2|IZNEMIET KARTI|1"), PaymentTerminalSim::frame("D|1")});
    EXPECT_FALSE(payvo.WaitForCardRemoving());
    EXPECT_TRUE(logged("Card forgotten"));
}

TEST_P(HostProgramTest, DisplayTextsBeforeTheAnswerGoToTheInfoText) {
    terminal.script("IR", {PaymentTerminalSim::frame("2|SAZINA AR BANKU|1"), PaymentTerminalSim::frame("2|GAIDIET|1"),
                           PaymentTerminalSim::frame("IA|2|0|A|B")});
    T_LoyaltyCardData data{};
    ASSERT_TRUE(payvo.GetLoyaltyCardData("X", &data));
    EXPECT_STREQ(data.LoyaltyData1, "A");
    int id = -1;
    char info[kPayvoInfoTextSize];
    payvo.vcb_GetInfoText(&id, info);
    EXPECT_STREQ(info, "GAIDIET");
}

TEST_P(HostProgramTest, RefusedRequestsLeaveTheLibraryFree) {
    const struct {
        int type;
        int amount;
        int transactionReturn;
    } cases[] = {{5, 100, 3}, {0, 100000000, 2}, {0, -1, 2}};
    for (const auto& c : cases) {
        auto request = transaction(c.type, c.amount);
        EXPECT_FALSE(payvo.TransactionRequest(&request, &report));
        EXPECT_EQ(report.TransactionReturn, c.transactionReturn) << c.type << " " << c.amount;
    }
    T_PayvoState state{};
    EXPECT_TRUE(payvo.GetState(&state));
    EXPECT_TRUE(sent("1").empty());
}
