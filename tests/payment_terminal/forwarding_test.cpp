// The terminal's gateway requests between and during operations, served through the control's
// hub and workers against a loopback peer, and the hand-over of the serial port.
#include "base64.h"
#include "com.h"
#include "control.h"
#include "echo_peer.h"
#include "terminal_fixture.h"

using namespace payvo;
using payvotest::TerminalTest;
using sim::PaymentTerminalSim;

namespace {

class ForwardingTest : public TerminalTest {
protected:
    void SetUp() override {
        TerminalTest::SetUp();
        control = std::make_unique<CPayvoCtrl>();
        // The worker takes the terminal's port after the first operation there.
        ASSERT_TRUE(control->payvo().GetState());
        ASSERT_TRUE(control->payvo().hub().serialWorkerHoldsPort());
    }
    void TearDown() override {
        control.reset();
        peer.stop();
        TerminalTest::TearDown();
    }
    std::string open(int port, int connectSeconds = 2) {
        return "WR|" + std::to_string(++request) + "|IP=127.0.0.1;PO=" + std::to_string(port) + ";CT=" + std::to_string(connectSeconds) + ";ST=2;RT=1";
    }
    // Sends the steps between operations and returns the terminal's last received frame of answerType.
    std::string exchange(const std::vector<sim::TerminalStep>& steps, const std::string& answerType) {
        terminal.clearRequests();
        terminal.sendNow(steps);
        for (int i = 0; i < 100 && terminal.requestsOfType(answerType).empty(); ++i) settle();
        auto got = terminal.requestsOfType(answerType);
        return got.empty() ? std::string() : got.back();
    }
    static int closedPort() {
        sim::EchoPeer p;
        p.start();
        const int port = p.port();
        p.stop();
        return port;
    }

    std::unique_ptr<CPayvoCtrl> control;
    sim::EchoPeer peer;
    int request = 0;
};

}  // namespace

TEST(GatewayParameters, ReadKeysUntilAnOverlongValue) {
    auto p = parseGatewayParameters("IP=10.0.0.1;PO=5000;CT=7;ST=8;RT=9");
    EXPECT_EQ(p.address, "10.0.0.1");
    EXPECT_EQ(p.port, 5000);
    EXPECT_EQ(p.connectSeconds, 7);
    EXPECT_EQ(p.sendSeconds, 8);
    EXPECT_EQ(p.receiveSeconds, 9);
    p = parseGatewayParameters("PO=5000;IP=" + std::string(20, '1') + ";CT=7");
    EXPECT_EQ(p.port, 5000);
    EXPECT_EQ(p.address, "");
    EXPECT_EQ(p.connectSeconds, 10);
    EXPECT_EQ(parseGatewayParameters("IP=1234567890123456").address, "");  // 16 characters
}

TEST_F(ForwardingTest, OpenSendReceiveAndCloseBetweenOperations) {
    ASSERT_TRUE(peer.start());
    EXPECT_EQ(exchange({PaymentTerminalSim::frame(open(peer.port())), PaymentTerminalSim::awaitRequest("WA")}, "WA"), "WA|1|0");

    const std::string data = "HELLO HOST";
    const std::string encoded = platform::base64Encode(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    EXPECT_EQ(exchange({PaymentTerminalSim::frame("XR|2|" + encoded), PaymentTerminalSim::awaitRequest("XA")}, "XA"), "XA|2|0");
    EXPECT_EQ(exchange({PaymentTerminalSim::frame("YR|3|100"), PaymentTerminalSim::awaitRequest("YA")}, "YA"), "YA|3|0|" + encoded);
    EXPECT_EQ(peer.received(), data);

    // Closing sends the terminal nothing; the next request number answers the next request.
    terminal.clearRequests();
    terminal.sendNow({PaymentTerminalSim::frame("ZR")});
    settle();
    settle();
    EXPECT_TRUE(terminal.requests().empty());
}

TEST_F(ForwardingTest, UnreachablePeerClosedPeerAndSilentPeer) {
    EXPECT_EQ(exchange({PaymentTerminalSim::frame(open(closedPort())), PaymentTerminalSim::awaitRequest("WA")}, "WA"), "WA|1|-1");

    ASSERT_TRUE(peer.start(sim::EchoPeer::Mode::CloseAtOnce));
    EXPECT_EQ(exchange({PaymentTerminalSim::frame(open(peer.port())), PaymentTerminalSim::awaitRequest("WA")}, "WA"), "WA|2|0");
    EXPECT_EQ(exchange({PaymentTerminalSim::frame("YR|3|100"), PaymentTerminalSim::awaitRequest("YA")}, "YA"), "YA|3|0|");
    peer.stop();

    sim::EchoPeer silent;
    ASSERT_TRUE(silent.start(sim::EchoPeer::Mode::Silent));
    request = 3;
    EXPECT_EQ(exchange({PaymentTerminalSim::frame(open(silent.port())), PaymentTerminalSim::awaitRequest("WA")}, "WA"), "WA|4|0");
    EXPECT_EQ(exchange({PaymentTerminalSim::frame("YR|5|100"), PaymentTerminalSim::awaitRequest("YA")}, "YA"), "YA|5|-1|");
}

TEST_F(ForwardingTest, AGatewayRequestDuringAnOperationIsAnsweredByTheOperation) {
    ASSERT_TRUE(peer.start());
    bool workerHeldPort = true;
    auto recorder = std::make_shared<payvotest::EventRecorder>();
    control->advise(recorder);
    recorder->onFired(kNotification, [&] { workerHeldPort = control->payvo().hub().serialWorkerHoldsPort(); });
    terminal.script("1", {PaymentTerminalSim::frame("2|SAVIENOJUMS|1"), PaymentTerminalSim::frame(open(peer.port())), PaymentTerminalSim::awaitRequest("WA"),
                          PaymentTerminalSim::frame("ZR"), PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
    control->payvo().Amount = 100;
    EXPECT_TRUE(control->payvo().TransactionRequest());
    EXPECT_FALSE(workerHeldPort) << "the port belongs to the operation while it runs";
    EXPECT_TRUE(control->payvo().hub().serialWorkerHoldsPort()) << "and to the worker again afterwards";
    settle();
    ASSERT_EQ(terminal.requestsOfType("WA").size(), 1u);
    EXPECT_EQ(terminal.requestsOfType("WA")[0], "WA|1|0");
    EXPECT_EQ(peer.connections(), 1);
}

// A gateway request that takes longer than the pipes' 5 s: its answer goes to it, and the next
// request gets its own.
TEST_F(ForwardingTest, ASlowGatewayRequestDuringAnOperationKeepsItsAnswer) {
    sim::EchoPeer silent;
    ASSERT_TRUE(silent.start(sim::EchoPeer::Mode::Silent));
    const std::string data = "PING";
    const std::string encoded = platform::base64Encode(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    terminal.script("1", {PaymentTerminalSim::frame("WR|1|IP=127.0.0.1;PO=" + std::to_string(silent.port()) + ";CT=2;ST=2;RT=6"),
                          PaymentTerminalSim::awaitRequest("WA"), PaymentTerminalSim::frame("YR|2|100"), PaymentTerminalSim::awaitRequest("YA"),
                          PaymentTerminalSim::frame("XR|3|" + encoded), PaymentTerminalSim::awaitRequest("XA"),
                          PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
    control->payvo().Amount = 100;
    EXPECT_TRUE(control->payvo().TransactionRequest());
    settle();
    std::vector<std::string> answers;
    for (const std::string& r : terminal.requests())
        if (r.starts_with("WA|") || r.starts_with("XA|") || r.starts_with("YA|")) answers.push_back(r);
    EXPECT_EQ(answers, (std::vector<std::string>{"WA|1|0", "YA|2|-1|", "XA|3|0"}));
}

// A hub that gives no answer in time (here one that has stopped): the operation answers the
// terminal's request with a failure after the request's own time-out and a margin.
TEST_F(ForwardingTest, AGatewayRequestNotServedInTimeIsAnsweredWithAFailure) {
    ForwardingHub& hub = control->payvo().hub();
    hub.ForwardShutdown();
    for (int i = 0; i < 5000 && processPortHandle() != kInvalidPort; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(processPortHandle(), kInvalidPort) << "the worker let go of the port as it stopped";
    CCom& com = CCom::instance();
    com.SetPortName("COM1");
    com.SetPortSpeed("115200");
    ASSERT_EQ(com.Open(), 0);
    useSteppedClock();
    const int before = terminal.framesReceived();
    auto answered = std::async(std::launch::async, [&] { return hub.ForwardAndAnswer(buildFrame("WR", {"7", "IP=127.0.0.1;PO=1;CT=2"}), com); });
    // The clock moves until the answer is on the line, then stands still for its acknowledgement.
    for (int i = 0; i < 10'000 && terminal.framesReceived() == before && answered.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready; ++i)
        stepped.advance(500);
    EXPECT_EQ(answered.get(), 0);
    com.Close();
    settle();
    EXPECT_EQ(terminal.requestsOfType("WA"), std::vector<std::string>{"WA|7|-1"});
    EXPECT_GE(stepped.elapsedMs(), 2000 + kPipeWaitMs);
}

// The worker is sending the terminal a gateway answer that goes unacknowledged (three tries, 5 s
// apart) when a payment starts: the payment waits until the worker has let go of the port, and
// only then uses it.
TEST_F(ForwardingTest, APaymentWaitsUntilTheWorkerHasLetGoOfThePort) {
    ASSERT_TRUE(peer.start());
    auto waitFrames = [this](int n) {
        for (int i = 0; i < 10'000 && terminal.framesReceived() < n; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return terminal.framesReceived() >= n;
    };
    terminal.faults().arm("dc1", 3);  // answered with DC1: neither taken nor acknowledged
    useSteppedClock();
    const int before = terminal.framesReceived();
    terminal.sendNow({PaymentTerminalSim::frame(open(peer.port()))});
    ASSERT_TRUE(waitFrames(before + 1)) << "the worker's first answer";
    control->payvo().Amount = 100;
    auto paid = std::async(std::launch::async, [&] { return control->payvo().TransactionRequest(); });
    for (int sent = 2; sent <= 3; ++sent) {
        stepped.advance(5000);
        ASSERT_TRUE(waitFrames(before + sent)) << "the worker's answer, try " << sent;
    }
    stepped.advance(5000);  // the worker gives up its answer and lets go
    const bool ended = paid.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    EXPECT_TRUE(ended) << "the payment is stuck";
    while (paid.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) stepped.advance(1000);
    EXPECT_TRUE(paid.get()) << control->payvo().StatusCode;
    settle();
    // On the wire: the worker's three tries, then the payment.
    EXPECT_EQ(terminal.framesReceived(), before + 4);
    EXPECT_EQ(terminal.requestsOfType("1").size(), 1u);
    EXPECT_EQ(control->payvo().TransactionReturn, 0);
}

// Creating the control opens no port: COM1 may be a printer's or a display's. The worker waits for
// the terminal's port.
class ControlCreation : public TerminalTest {};

TEST_F(ControlCreation, OpensNoPort) {
    CPayvoCtrl control;
    EXPECT_EQ(processPortHandle(), kInvalidPort);
    EXPECT_FALSE(control.payvo().hub().serialWorkerHoldsPort());
    EXPECT_EQ(terminal.framesReceived(), 0);
}

TEST_F(ForwardingTest, TheWorkerTakesTheControlsOwnPortBack) {
    // A terminal on COM4: after an operation there, the gateway requests on COM4 are served.
    sim::PaymentTerminalSim second;
    ASSERT_TRUE(second.start(portsDir(), "COM4"));
    control->payvo().SerialPortNumber = "COM4";
    control->payvo().Amount = 100;
    ASSERT_TRUE(control->payvo().TransactionRequest());
    ASSERT_TRUE(peer.start());
    second.sendNow({PaymentTerminalSim::frame(open(peer.port())), PaymentTerminalSim::awaitRequest("WA")});
    for (int i = 0; i < 100 && second.requestsOfType("WA").empty(); ++i) second.waitIdle(50, 5000);
    EXPECT_EQ(second.requestsOfType("WA").size(), 1u);
    control.reset();
    second.stop();
}

TEST_F(ForwardingTest, LoyaltyDataBetweenOperationsReachesTheHost) {
    auto recorder = std::make_shared<payvotest::EventRecorder>();
    control->advise(recorder);
    recorder->answer(kProcessLoyaltyData, 0, "");
    EXPECT_EQ(exchange({PaymentTerminalSim::frame("LR|CARD9"), PaymentTerminalSim::awaitRequest("LA")}, "LA"), "LA|0|");
    ASSERT_EQ(recorder->count(kProcessLoyaltyData), 1);
    EXPECT_EQ(platform::com::toText(recorder->events()[0].args[0]), "CARD9");
    recorder->answer(kProcessLoyaltyData, 4, "");
    EXPECT_EQ(exchange({PaymentTerminalSim::frame("LR|CARD9"), PaymentTerminalSim::awaitRequest("LA")}, "LA"), "LA|9998|");
}

TEST_F(ForwardingTest, AControlThatIsGoneGetsNoLoyaltyEvents) {
    // The second control is the most recent one; after it is destroyed, a loyalty request that
    // the first control's worker serves must not reach the destroyed one.
    auto first = std::make_shared<payvotest::EventRecorder>();
    auto second = std::make_shared<payvotest::EventRecorder>();
    control->advise(first);
    {
        CPayvoCtrl other;
        other.advise(second);
    }
    control->payvo().Amount = 100;
    ASSERT_TRUE(control->payvo().TransactionRequest());  // the first control's worker takes the port again
    EXPECT_EQ(exchange({PaymentTerminalSim::frame("LR|CARD9"), PaymentTerminalSim::awaitRequest("LA")}, "LA"), "LA|0|");
    EXPECT_EQ(second->count(kProcessLoyaltyData), 0);
    EXPECT_EQ(first->count(kProcessLoyaltyData), 0);
}

TEST(ForwardingHubTest, ADeadHubFailsTheOperationInsteadOfFreezingIt) {
    payvotest::SteppedClock clock;
    ForwardingHub hub({});
    ASSERT_EQ(hub.StartForwarding(), 0);
    hub.ForwardShutdown();  // the hub thread ends; its pipe stays, unanswered
    platform::setClock(&clock);
    EXPECT_FALSE(payvotest::whileAdvancing(clock, [&] { return hub.ForwardReleaseSerial(); }));
    EXPECT_GE(clock.elapsedMs(), 5000);
    Frame answer;
    EXPECT_FALSE(payvotest::whileAdvancing(clock, [&] { return hub.ForwardInputRequest(buildFrame("WR", {"1", ""}), answer); }));
    platform::setClock(nullptr);
}
