// The service operations against the simulated terminal: state, card removal, host list and
// totals, loyalty card data and terminal functions.
#include "control.h"
#include "terminal_fixture.h"

using namespace payvo;
using payvotest::TerminalTest;
using sim::PaymentTerminalSim;

namespace {

class ServiceTest : public TerminalTest {
protected:
    void SetUp() override {
        TerminalTest::SetUp();
        control = std::make_unique<CPayvoCtrl>();
    }
    void TearDown() override {
        control.reset();
        TerminalTest::TearDown();
    }
    T_Payvo& payvo() { return control->payvo(); }
    std::vector<std::string> sent(const std::string& type) {
        settle();
        return terminal.requestsOfType(type);
    }
    std::unique_ptr<CPayvoCtrl> control;
};

}  // namespace

TEST_F(ServiceTest, StateAnswers) {
    struct Case {
        std::string answer;
        bool result;
        std::int16_t terminalState;
        std::int16_t connectionState;
    } cases[] = {
        {"B|3|0|T1|9.1|4.4.33|SN9|M9", true, 3, 0},
        {"B|12|3|T1", true, 99, 1},
        {"D|0", true, 99, 1},  // another answer: 99, and the connection state remembered from the last
    };
    for (const auto& c : cases) {
        terminal.script("A", {PaymentTerminalSim::frame(c.answer)});
        EXPECT_EQ(payvo().GetState(), c.result) << c.answer;
        EXPECT_EQ(payvo().TerminalState, c.terminalState) << c.answer;
        EXPECT_EQ(payvo().ConnectionState, c.connectionState) << c.answer;
    }
    terminal.script("A", {PaymentTerminalSim::frame("B|3|0|T1|9.1|4.4.33|SN9|M9")});
    ASSERT_TRUE(payvo().GetState());
    EXPECT_EQ(payvo().TerminalID, "T1");
    EXPECT_EQ(payvo().AppVersion, "9.1");
    EXPECT_EQ(payvo().TerminalSN, "SN9");
    EXPECT_EQ(payvo().MerchantID, "M9");
    EXPECT_EQ(sent("A").back(), "A|2.2.5.12|4.4.33|||||||");
}

TEST_F(ServiceTest, StateWhileATransactionRunsSendsNothing) {
    terminal.script("1", {PaymentTerminalSim::frame("2|GAIDU|1")});
    auto recorder = std::make_shared<payvotest::EventRecorder>();
    control->advise(recorder);
    bool state = true;
    std::int16_t terminalState = 0;
    recorder->onFired(kNotification, [&] {
        state = payvo().GetState();
        terminalState = payvo().TerminalState;
        terminal.sendNow({PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
    });
    payvo().Amount = 100;
    EXPECT_TRUE(payvo().TransactionRequest());
    EXPECT_FALSE(state);
    EXPECT_EQ(terminalState, 1);
    EXPECT_TRUE(sent("A").empty());
}

TEST_F(ServiceTest, StateOfASilentTerminal) {
    terminal.faults().arm("silent", 3);
    useSteppedClock();
    EXPECT_FALSE(payvotest::whileAdvancing(stepped, [&] { return payvo().GetState(); }));
    EXPECT_EQ(payvo().TerminalState, 88);
    EXPECT_EQ(payvo().ConnectionState, 1);
}

TEST_F(ServiceTest, CardRemoval) {
    const std::pair<std::string, std::int16_t> cases[] = {{"D|0", 0}, {"D|1", 1}};
    for (const auto& [answer, status] : cases) {
        terminal.script("C", {PaymentTerminalSim::frame("2|IZNEMIET KARTI|3"), PaymentTerminalSim::frame(answer)});
        EXPECT_TRUE(payvo().WaitForCardRemoving()) << answer;
        EXPECT_EQ(payvo().StatusCode, status) << answer;
    }
    settle();
    terminal.clearRequests();
    terminal.script("C", {pleaseWait()});
    useSteppedClock();
    EXPECT_FALSE(payvotest::whileAdvancing(stepped, [&] { return payvo().WaitForCardRemoving(); }, controlWaitsForAnswer()));
    EXPECT_EQ(payvo().StatusCode, -1);
}

TEST_F(ServiceTest, HostListWithSeparatorsAndWithOneHost) {
    terminal.script("IR", {PaymentTerminalSim::frame("IA|0|0|2|01|BANKA|X|\x1D|02|BANKB|\x1D")});
    ASSERT_TRUE(payvo().GetHostList());
    EXPECT_EQ(payvo().HostID, "01");
    EXPECT_EQ(payvo().HostName, "BANKA");
    ASSERT_TRUE(payvo().GetNextHostList());
    EXPECT_EQ(payvo().HostID, "02");
    EXPECT_EQ(payvo().HostName, "BANKB");
    EXPECT_FALSE(payvo().GetNextHostList());
    EXPECT_EQ(sent("IR").back(), "IR|0|");

    terminal.script("IR", {PaymentTerminalSim::frame("IA|0|00|1|07|VIENA")});
    ASSERT_TRUE(payvo().GetHostList());
    EXPECT_EQ(payvo().HostID, "07");
    EXPECT_FALSE(payvo().GetNextHostList());

    terminal.script("IR", {PaymentTerminalSim::frame("IA|0|0|0")});
    ASSERT_TRUE(payvo().GetHostList());
    EXPECT_EQ(payvo().HostID, "");
    EXPECT_FALSE(payvo().GetNextHostList());

    for (const std::string bad : {"IA|0|1|1|01|X", "IA|1|0|1|01|X", "IA|0|0|X"}) {
        terminal.script("IR", {PaymentTerminalSim::frame(bad)});
        EXPECT_FALSE(payvo().GetHostList()) << bad;
    }
}

TEST_F(ServiceTest, AnnouncedHostsBeyondTwentyAreNotKept) {
    std::string answer = "IA|0|0|25";
    for (int i = 1; i <= 25; ++i) answer += "|" + std::to_string(i) + "|H" + std::to_string(i) + "|\x1D";
    terminal.script("IR", {PaymentTerminalSim::frame(answer)});
    ASSERT_TRUE(payvo().GetHostList());
    int hosts = 1;
    while (payvo().GetNextHostList()) ++hosts;
    EXPECT_EQ(hosts, 20);
    EXPECT_EQ(payvo().HostID, "20");
}

TEST_F(ServiceTest, HostTotals) {
    payvo().HostID = "A1";
    EXPECT_FALSE(payvo().GetHostTotals());
    EXPECT_TRUE(sent("IR").empty());

    payvo().HostID = "1";
    ASSERT_TRUE(payvo().GetHostTotals());
    EXPECT_EQ(sent("IR").back(), "IR|1|1");
    EXPECT_EQ(payvo().RespCurrencyCode, "978");
    EXPECT_EQ(payvo().DebitCount, "3");
    EXPECT_EQ(payvo().DebitTotal, "3690");
    EXPECT_EQ(payvo().CreditCount, "1");
    EXPECT_EQ(payvo().CreditTotal, "500");

    terminal.script("IR", {PaymentTerminalSim::frame("IA|1|0|2|978|1|1|1|1")});
    EXPECT_FALSE(payvo().GetHostTotals());
}

TEST_F(ServiceTest, LoyaltyCardData) {
    ASSERT_TRUE(payvo().GetLoyaltyCardData("MOL"));
    EXPECT_EQ(sent("IR").back(), "IR|2|MOL");
    EXPECT_EQ(payvo().LoyaltyData1, "LOJ1");
    EXPECT_EQ(payvo().LoyaltyData2, "LOJ2");

    struct Case {
        std::string answer;
        bool result;
        std::int16_t status;
    } cases[] = {{"IA|2|05|NEW1|NEW2", true, 5}, {"IA|1|0|X|Y", false, 1}, {"B|2|0|X|Y", false, 99}, {"IA|2", false, 99}};
    for (const auto& c : cases) {
        terminal.script("IR", {PaymentTerminalSim::frame(c.answer)});
        EXPECT_EQ(payvo().GetLoyaltyCardData("MOL"), c.result) << c.answer;
        EXPECT_EQ(payvo().StatusCode, c.status) << c.answer;
        EXPECT_EQ(payvo().LoyaltyData1, "LOJ1") << c.answer;
    }
}

TEST_F(ServiceTest, TerminalFunctions) {
    struct Case {
        std::int16_t function;
        std::int16_t clearType;
        std::string hostId;
        bool runs;
        std::string type;
    } cases[] = {
        {1, 0, "", true, "312"}, {2, 0, "", true, "302"}, {3, 0, "", true, "305"}, {4, 0, "", true, "304"},
        {5, 0, "", false, ""},   {7, 0, "", true, "307"}, {9, 0, "", true, "300"}, {10, 0, "", false, ""},
        {15, 2, "01", true, "403"}, {15, 3, "", true, "404"}, {15, 4, "", false, ""}, {15, 1, "X1", false, ""},
    };
    for (const auto& c : cases) {
        terminal.clearRequests();
        payvo().FunctionType = c.function;
        payvo().ClearType = c.clearType;
        payvo().HostID = c.hostId;
        payvo().Amount = 500;
        payvo().bUseECRInput = 1;
        terminal.script("1", {PaymentTerminalSim::raw({0x04})});
        EXPECT_EQ(payvo().TerminalFunction(), c.runs) << c.function;
        auto requests = sent("1");
        if (!c.runs) {
            EXPECT_TRUE(requests.empty()) << c.function;
            continue;
        }
        ASSERT_EQ(requests.size(), 1u) << c.function;
        EXPECT_EQ(sim::ecr::field(requests[0], 1), c.type);
        EXPECT_EQ(sim::ecr::field(requests[0], 2), "0");
        EXPECT_EQ(sim::ecr::field(requests[0], 16), "");  // "UI" cleared
        EXPECT_EQ(payvo().bUseECRInput, 0);
        EXPECT_EQ(sent("8").size(), 1u) << "the encash follows";
    }
}
