// The link against the simulated terminal: the acknowledged send, the frame receive and the
// process-wide port.
#include "com.h"
#include "errors.h"
#include "terminal_fixture.h"

#include <termios.h>

#include <fstream>
#include <functional>

using namespace payvo;
using payvotest::TerminalTest;
using sim::PaymentTerminalSim;

namespace {

class SerialLinkTest : public TerminalTest {
protected:
    PortHandle open(const std::string& speed = "115200") {
        std::string name = "COM1";
        return SerialOpen(name, speed);
    }
    // The port's output speed as the line discipline has it.
    static speed_t lineSpeed(PortHandle h) {
        termios t{};
        ::tcgetattr(h, &t);
        return ::cfgetospeed(&t);
    }
};

const Frame kRequest = buildFrame("A", {"2.2.5.12", "4.4.33"});

}  // namespace

TEST_F(SerialLinkTest, SendWaitsForTheAcknowledgement) {
    const PortHandle h = open();
    ASSERT_NE(h, kInvalidPort);
    EXPECT_EQ(SerialSend(kRequest, 5, h), 0);
    settle();
    EXPECT_EQ(terminal.framesReceived(), 1);
}

TEST_F(SerialLinkTest, ThreeNaksGive2104AfterThreeWrites) {
    terminal.faults().arm("nak", 3);
    const PortHandle h = open();
    terminal.script("A", {});  // taken frames would be answered; none is taken here
    EXPECT_EQ(SerialSend(kRequest, 5, h), kLinkTooManyNaks);
    settle();
    EXPECT_EQ(terminal.framesReceived(), 3);
    EXPECT_TRUE(terminal.requests().empty());
}

TEST_F(SerialLinkTest, ThreeSilencesGive2102AfterThreeWrites) {
    terminal.faults().arm("silent", 3);
    const PortHandle h = open();
    useSteppedClock();
    auto sent = std::async(std::launch::async, [&] { return SerialSend(kRequest, 5, h); });
    for (int frames = 1; frames <= 3; ++frames) {
        while (terminal.framesReceived() < frames) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_EQ(sent.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout) << "no time-out before 5 s";
        stepped.advance(5000);
    }
    EXPECT_EQ(sent.get(), kLinkTimeout);
    EXPECT_EQ(terminal.framesReceived(), 3);
}

TEST_F(SerialLinkTest, AFrameOfTheTerminalInsteadOfAckIsAbsorbedAndNotCounted) {
    // Two NAKs, then the terminal's own frame, then the ACK: the frame went out four times, and
    // the absorbed frame did not count as one of the three attempts.
    terminal.faults().arm("nak", 2);
    terminal.faults().arm("own-frame", 1);
    const PortHandle h = open();
    terminal.script("A", {});
    EXPECT_EQ(SerialSend(kRequest, 5, h), 0);
    settle();
    EXPECT_EQ(terminal.framesReceived(), 4);
    EXPECT_EQ(terminal.requestsOfType("A").size(), 1u);
    EXPECT_TRUE(terminal.idle());  // the terminal's own frame was acknowledged
}

TEST_F(SerialLinkTest, ReceiveTakesFramesWhateverComesAroundThem) {
    const PortHandle h = open();
    const std::string answer = "5|000|OK";
    const sim::Bytes frame = sim::ecr::encode(answer);
    struct Case {
        const char* what;
        std::vector<sim::TerminalStep> steps;
        const char* fault;
    } cases[] = {
        {"bytes before STX", {PaymentTerminalSim::raw({'x', 0x06, 'y'}), PaymentTerminalSim::frame(answer)}, nullptr},
        {"a frame in two parts", {PaymentTerminalSim::frame(answer)}, "split"},
        {"a frame byte by byte", {PaymentTerminalSim::frame(answer)}, "dribble"},
    };
    for (const auto& c : cases) {
        if (c.fault) terminal.faults().arm(c.fault);
        terminal.sendNow(c.steps);
        Frame got;
        EXPECT_EQ(SerialReceive(got, 5, h), 0) << c.what;
        EXPECT_EQ(got, std::string(frame.begin(), frame.end())) << c.what;
        settle();
        EXPECT_TRUE(terminal.idle()) << c.what << ": the frame was acknowledged";
    }
}

TEST_F(SerialLinkTest, ReceiveResults) {
    const PortHandle h = open();
    Frame got;
    terminal.sendNow({PaymentTerminalSim::raw({0x04})});
    EXPECT_EQ(SerialReceive(got, 5, h), kLinkEot);

    terminal.sendNow({PaymentTerminalSim::raw({0x1D})});
    EXPECT_EQ(SerialReceive(got, 5, h), 0);
    EXPECT_EQ(got, std::string(1, GS));

    terminal.sendNow({PaymentTerminalSim::badFrame("5|000")});
    EXPECT_EQ(SerialReceive(got, 5, h), kLinkBadCheck);
    settle();
    EXPECT_EQ(terminal.controlBytesReceived(0x15), 1);

    std::atomic<std::int32_t> cancel{1};
    EXPECT_EQ(SerialReceive(got, 5, h, &cancel), kLinkCancelled);
    EXPECT_EQ(cancel.load(), 0);
}

TEST_F(SerialLinkTest, ThreeBadFramesInOneReadEndWithEot) {
    const PortHandle h = open();
    sim::Bytes three;
    for (int i = 0; i < 3; ++i) {
        const auto b = sim::ecr::encodeWithBadCheck("5|00" + std::to_string(i));
        three.insert(three.end(), b.begin(), b.end());
    }
    terminal.sendNow({PaymentTerminalSim::raw(three)});
    settle();  // all three are waiting before the receive starts
    Frame got;
    EXPECT_EQ(SerialReceive(got, 5, h), kLinkTooManyNaks);
    settle();
    EXPECT_EQ(terminal.controlBytesReceived(0x04), 1);
    EXPECT_EQ(terminal.controlBytesReceived(0x15), 0);
}

TEST_F(SerialLinkTest, OverlongGarbageEndsTheReceive) {
    const PortHandle h = open();
    sim::Bytes garbage{0x02};
    garbage.resize(5000, 'A');
    terminal.sendNow({PaymentTerminalSim::raw(garbage)});
    settle();
    Frame got;
    EXPECT_EQ(SerialReceive(got, 5, h), kLinkOverflow);
}

TEST_F(SerialLinkTest, SilenceWhileWaitingForAFrameIsATimeOut) {
    const PortHandle h = open();
    useSteppedClock();
    Frame got;
    EXPECT_EQ(payvotest::whileAdvancing(stepped, [&] { return SerialReceive(got, 120, h); }), kLinkTimeout);
    EXPECT_GE(stepped.elapsedMs(), 120'000);
    EXPECT_STREQ(linkResultText(kLinkTimeout), "time-out");
}

// An adapter pulled out while the link waits: the wait ends at once with the read error, the
// clock standing still, instead of running out its time-out as silence.
TEST_F(SerialLinkTest, APortThatFailsIsAReadErrorAtOnce) {
    struct Case {
        const char* what;
        bool frameWrittenFirst;  // the request went out before the adapter did
        std::function<int(PortHandle)> wait;
    } cases[] = {
        {"answer", false, [](PortHandle h) { Frame got; return SerialReceive(got, 120, h); }},
        {"acknowledgement", true, [](PortHandle h) { return SerialSend(kRequest, 5, h); }},
    };
    for (const auto& c : cases) {
        sim::PaymentTerminalSim adapter;
        ASSERT_TRUE(adapter.start(portsDir(), "COM3"));
        adapter.faults().arm("silent");
        std::string name = "COM3";
        const PortHandle h = SerialOpen(name, "115200");
        ASSERT_NE(h, kInvalidPort);
        useSteppedClock();
        auto result = std::async(std::launch::async, c.wait, h);
        for (int i = 0; i < 10'000 && c.frameWrittenFirst && adapter.framesReceived() == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        adapter.unplug();
        const bool endedAtOnce = result.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
        EXPECT_TRUE(endedAtOnce) << c.what << ": still waiting on a port that is gone";
        while (result.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) stepped.advance(1000);
        EXPECT_EQ(result.get(), kLinkReadError) << c.what;
        if (endedAtOnce) {
            EXPECT_EQ(stepped.elapsedMs(), 0) << c.what;
        }
        platform::setClock(nullptr);
        closeProcessPort();
    }
}

// Nobody takes what is written (the terminal stopped reading): the write gives up at its
// deadline with the write error.
TEST_F(SerialLinkTest, AWriteThePortDoesNotTakeFailsAtItsDeadline) {
    const PortHandle h = open();
    terminal.stop();
    useSteppedClock();
    const std::string big(1 << 20, 'x');
    auto written = std::async(std::launch::async, [&] { return SerialWrite(big.data(), big.size(), h); });
    for (int i = 0; i < 30'000 && written.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready; ++i) stepped.advance(100);
    const bool gaveUp = written.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    EXPECT_TRUE(gaveUp) << "the write never gave up";
    if (!gaveUp) closeProcessPort();  // ends the write, so the test can end
    EXPECT_EQ(written.get(), 0);
    EXPECT_GE(stepped.elapsedMs(), 5000);
}

TEST_F(SerialLinkTest, PortNames) {
    struct Case {
        std::string given;
        bool accepted;
        std::string becomes;
    } cases[] = {{"3", true, "COM3"}, {"0", false, "0"}, {"257", false, "257"}, {"COM", false, "COM"}, {"COM12", true, "COM12"}, {"tty", false, "tty"}};
    for (auto c : cases) {
        EXPECT_EQ(CheckPortName(c.given), c.accepted) << c.becomes;
        EXPECT_EQ(c.given, c.becomes);
    }
    std::string bad = "257";
    EXPECT_EQ(SerialOpen(bad, "115200"), kInvalidPort);
}

TEST_F(SerialLinkTest, TheHandleIsKeptForTheSameNameAndSpeedAndSetUpAgainForAnother) {
    const PortHandle h = open("9600");
    ASSERT_NE(h, kInvalidPort);
    EXPECT_EQ(lineSpeed(h), speed_t(B9600));
    // Someone changes the line; the same name and speed reuse the handle without setting it up.
    termios t{};
    ::tcgetattr(h, &t);
    ::cfsetspeed(&t, B4800);
    ::tcsetattr(h, TCSANOW, &t);
    EXPECT_EQ(open("9600"), h);
    EXPECT_EQ(lineSpeed(h), speed_t(B4800));
    const PortHandle again = open("19200");
    ASSERT_NE(again, kInvalidPort);
    EXPECT_EQ(lineSpeed(again), speed_t(B19200));
    // Without a port handle nothing is sent.
    EXPECT_EQ(SerialSend(kRequest, 5, kInvalidPort), kLinkNoPort);
    Frame got;
    EXPECT_EQ(SerialReceive(got, 5, kInvalidPort), kLinkNoPort);
}

TEST_F(SerialLinkTest, TheConnectionTakesItsPortFromPayvoIni) {
    {
        CCom defaults;
        EXPECT_EQ(defaults.GetPortName(), "COM1");
        EXPECT_EQ(defaults.GetPortSpeed(), "115200");
    }
    std::ofstream(dir() / "payvo.ini") << "[PayvoBridge]\nSERIAL=1\nSERIALPORTSPEED=9600\n";
    CCom com;
    EXPECT_EQ(com.GetPortName(), "1");
    ASSERT_EQ(com.Open(), 0);
    EXPECT_EQ(com.Open(), 0);  // a second open keeps the one link
    EXPECT_EQ(lineSpeed(processPortHandle()), speed_t(B9600));
    EXPECT_EQ(com.Send(kRequest, 5), 0);
    com.Close();
    EXPECT_EQ(com.Send(kRequest, 5), kLinkNoPort) << "a closed link sends nothing";

    // Ten characters do not fit the nine the connection keeps: refused, not cut to another port.
    com.SetPortName("COM1234567");
    EXPECT_EQ(com.GetPortName(), "");
    EXPECT_EQ(com.Open(), -1);
    com.SetPortName("COM1");
    com.SetPortSpeed("1152000000");
    EXPECT_EQ(com.Open(), -1);
}
