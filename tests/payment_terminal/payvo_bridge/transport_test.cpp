// The bridge's lines and log: the serial send's answer rules on a bare pseudo-terminal, the
// TCP/IP send and receive against a loopback peer and the simulated terminal's connection faults,
// the settings, the address check, the request bytes and the log's size limit.
#include "bridge_fixture.h"
#include "bridge_log.h"
#include "ecr_wire.h"
#include "messages.h"
#include "serial_transport.h"
#include "tcp_transport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <termios.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <future>

using namespace bridgetest;
using namespace payvo_bridge;
using sim::PaymentTerminalSim;

namespace {

std::string bytes(const sim::Bytes& b) { return std::string(b.begin(), b.end()); }


// Everything waiting on the pseudo-terminal's master side.
std::string drain(int master) {
    std::string got;
    pollfd p{master, POLLIN, 0};
    while (::poll(&p, 1, 20) > 0) {
        char chunk[512];
        const long n = ::read(master, chunk, sizeof chunk);
        if (n <= 0) break;
        got.append(chunk, std::size_t(n));
    }
    return got;
}

// A loopback peer that accepts one connection and lets the test write and read raw bytes.
class RawPeer {
public:
    RawPeer() {
        listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listen_, 2);
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &length);
        port_ = ntohs(a.sin_port);
    }
    ~RawPeer() {
        if (client_ >= 0) ::close(client_);
        ::close(listen_);
    }
    int port() const { return port_; }
    void accept() { client_ = ::accept(listen_, nullptr, nullptr); }
    void write(const std::string& b) { ::send(client_, b.data(), b.size(), MSG_NOSIGNAL); }
    // Reads until count bytes came.
    std::string read(std::size_t count) {
        std::string got;
        char c;
        while (got.size() < count && ::recv(client_, &c, 1, 0) == 1) got += c;
        return got;
    }

private:
    int listen_ = -1;
    int client_ = -1;
    int port_ = 0;
};

class BridgeLineTest : public BridgeTest {
protected:
    // Opens the line to the peer; the pause after connecting passes at once on the stepped clock.
    bool openTo(RawPeer& peer, TcpTransport& line) {
        useSteppedClock();
        auto opened = std::async(std::launch::async, [&] { return line.open(); });
        peer.accept();
        return opened.get();
    }
};

}  // namespace

TEST_F(BridgeLineTest, SerialSendAnswerRules) {
    const std::string request = bytes(sim::ecr::encode("A|2.2.5.1|4.4.12"));
    const struct {
        std::string answers;
        int result;
        int writes;
    } cases[] = {
        {"\x06", kTransportOk, 1},
        {"\x15\x15\x06", kTransportOk, 3},
        {"\x15\x15x", kTooManyNaks, 3},
        {"\x15\x15\x15", kTooManyNaks, 3},
        {"\x11", kUnexpectedDc, 1},
        {"\x15\x12", kUnexpectedDc, 2},
        {"zz\x06", kTransportOk, 1},
    };
    terminal.stop();  // the test plays the terminal on a bare pseudo-terminal
    for (const auto& c : cases) {
        sim::PseudoTerminal line;
        ASSERT_TRUE(line.linkAs(portsDir(), "COM7"));
        SerialTransport serial("COM7", "9600");
        ASSERT_TRUE(serial.open());
        ASSERT_EQ(::write(line.masterFd(), c.answers.data(), c.answers.size()), long(c.answers.size()));
        std::string held;
        EXPECT_EQ(serial.send(request, held, 5), c.result) << sim::hex({c.answers.begin(), c.answers.end()});
        const std::string written = drain(line.masterFd());
        std::string expected;
        for (int i = 0; i < c.writes; ++i) expected += request;
        EXPECT_EQ(written, expected) << sim::hex({c.answers.begin(), c.answers.end()});
        serial.close();
    }
}

TEST_F(BridgeLineTest, SerialReceiveAcknowledgesAndKeepsAnUnfinishedAnswer) {
    terminal.stop();
    sim::PseudoTerminal line;
    ASSERT_TRUE(line.linkAs(portsDir(), "COM7"));
    SerialTransport serial("COM7", "9600");
    ASSERT_TRUE(serial.open());
    const std::string first = bytes(sim::ecr::encode("2|GAIDIET|1"));
    const std::string second = bytes(sim::ecr::encode("2|SAZINA|1"));
    const std::string answer = bytes(sim::ecr::encode("IA|0|0|1|01|SEB"));
    const std::string arrived = first + second + answer.substr(0, 6);
    ::write(line.masterFd(), arrived.data(), arrived.size());
    std::string got, held;
    std::atomic<bool> cancel{false};
    ASSERT_EQ(serial.receive(got, held, 5, cancel), kTransportOk);
    EXPECT_EQ(got, arrived);
    EXPECT_EQ(drain(line.masterFd()), "\x06\x06");

    held = answer.substr(0, 6);
    const std::string rest = answer.substr(6);
    ::write(line.masterFd(), rest.data(), rest.size());
    ASSERT_EQ(serial.receive(got, held, 5, cancel), kTransportOk);
    EXPECT_EQ(got, answer);
    EXPECT_EQ(drain(line.masterFd()), "\x06");

    const std::string spoilt = bytes(sim::ecr::encodeWithBadCheck("5|000"));
    const std::string good = bytes(sim::ecr::encode("5|000"));
    ::write(line.masterFd(), spoilt.data(), spoilt.size());
    auto receiving = std::async(std::launch::async, [&] { return serial.receive(got, held, 5, cancel); });
    char nak = 0;
    while (::read(line.masterFd(), &nak, 1) != 1) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(nak, 0x15);
    ::write(line.masterFd(), good.data(), good.size());
    ASSERT_EQ(receiving.get(), kTransportOk);
    EXPECT_EQ(got, good) << "the spoilt frame is not read with the one sent again";
}

TEST_F(BridgeLineTest, SerialPortNames) {
    const struct {
        std::string given;
        bool accepted;
        std::string name;
    } cases[] = {{"3", true, "COM3"}, {"COM12", true, "COM12"}, {"COM", false, "COM"}, {"LPT1", false, "LPT1"}, {"257", false, "257"}};
    for (auto c : cases) {
        std::string name = c.given;
        EXPECT_EQ(checkSerialPortName(name), c.accepted) << c.given;
        EXPECT_EQ(name, c.name) << c.given;
    }
    EXPECT_TRUE(logged("Warning: changing serial port value from [3] to [COM3]"));
    EXPECT_TRUE(logged("Invalid length of serial port. Serial value: COM"));
    EXPECT_TRUE(logged("'LPT1' not valid serial port value!"));
}

TEST_F(BridgeLineTest, SettingsFromTheIniFile) {
    const struct {
        std::string ini;
        bool tcp;
        std::string speed;
        std::string address;
    } cases[] = {
        {"", false, "9600", "127.0.0.1"},
        {"[PayvoBridge]\nCONTYPE=TCPIP\nIPADDRESS=10.0.0.5\nPORT=2001\n", true, "9600", "10.0.0.5"},
        {"[PayvoBridge]\nCONTYPE=tcpip\nSERIALPORTSPEED=\n", false, "", "127.0.0.1"},
        {"[PayvoBridge]\nSERIALPORTSPEED=1152000000\nIPADDRESS=100.100.100.100.1000\n", false, "", ""},
    };
    for (const auto& c : cases) {
        std::ofstream(dir() / "payvo.ini") << c.ini;
        const auto s = readBridgeSettings(dir());
        EXPECT_EQ(s.tcp, c.tcp) << c.ini;
        EXPECT_EQ(s.serialSpeed, c.speed) << c.ini;
        EXPECT_EQ(s.ipAddress, c.address) << c.ini;
    }
}

TEST_F(BridgeLineTest, EmptySpeedOpensAt9600) {
    SerialTransport serial("COM1", "");
    ASSERT_TRUE(serial.open());
    termios t{};
    const int fd = ::open(terminal.slavePath().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ::tcgetattr(fd, &t);
    ::close(fd);
    EXPECT_EQ(::cfgetospeed(&t), speed_t(B9600));
}

TEST_F(BridgeLineTest, Ipv4AddressCheck) {
    const struct {
        const char* address;
        bool valid;
    } cases[] = {{"127.0.0.1", true},     {"255.255.255.255", true}, {"192.168.1.256", false}, {"10.0.0.1a", false},
                 {"10.0.0", false},       {"10.0.0.1.", false},      {"1.2.3.0001", false},    {"", false},
                 {"10..0.1", false},      {" 10.0.0.1", false},      {"0.0.0.0", true}};
    for (const auto& c : cases) EXPECT_EQ(isValidIpv4(c.address), c.valid) << c.address;
}

TEST_F(BridgeLineTest, RequestBytes) {
    auto sale = transaction(0, 1234);
    auto topUp = transaction(4, 500);
    topUp.PrePaidCode = 3;
    auto batch = transaction(9, 700);
    std::strcpy(batch.HostID, "02");
    batch.BatchType = 1;
    T_PayvoFunctionRequest function{2, 1, 3};
    const struct {
        std::string frame;
        std::string text;
    } cases[] = {
        {*authorisationRequest(sale), "1|0|1234|0|1|0|R1|978|||0||4.4.12"},
        {*authorisationRequest(topUp), "1|4|500|0|1|0|R1|978|3||0||4.4.12"},
        {*authorisationRequest(batch), "1|9|0|0|1|0|R1|978||02|0|1|4.4.12"},
        {cancelRequest(), "6"},
        {approvalRequest(true), "8|0"},
        {approvalRequest(false), "8|1"},
        {stateRequest(), "A|2.2.5.1|4.4.12"},
        {cardRemovalRequest(), "C"},
        {*loyaltyRequest("BONUS"), "IR|2|BONUS"},
        {functionRequest(function), "TR|2|1|3"},
        {*receiptDataRequest(sale), "10|R1|1|0||"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.frame, bytes(sim::ecr::encode(c.text))) << c.text;
    EXPECT_EQ(cancelRequest(), std::string("\x02" "6\x03" "<:")) << "the check characters of a captured cancel";

    auto spoilt = transaction(0, 100);
    std::strcpy(spoilt.TransactionID, "R\x03" "1");
    EXPECT_FALSE(authorisationRequest(spoilt));
}

// Each answer field goes into its own member of the report, cut within that member: fields 4 to
// 17 and 19 to 56, and the prepaid block after its tag.
TEST_F(BridgeLineTest, AuthorisationAnswerFillsEachFieldWithinItsMember) {
    // Longer than its member at the ends of each run of members, short elsewhere (the whole answer
    // fits the terminal's message buffer).
    const auto text = [](int n) {
        const bool longer = n == 4 || n == 17 || n == 18 || n == 19 || n == 56 || n >= 59;
        return "F" + std::to_string(n) + std::string(longer ? 210 : 6, char('a' + n % 26));
    };
    std::string fields = "5|000|OK";
    for (int n = 4; n <= 56; ++n) fields += "|" + text(n);
    fields += "|PREPAID|NAME";
    for (int n = 59; n <= 64; ++n) fields += "|" + text(n);
    fields += "|DESC";
    auto report = std::make_unique<T_PayvoTransactionReport>();
    ASSERT_TRUE(readAuthorisationAnswer(bytes(sim::ecr::encode(fields)), *report));
    const struct {
        const char* member;
        const char* field;
        std::size_t size;
        int n;
    } cases[] = {
        {"CardName", report->CardName, 200, 4},           {"AppLabel", report->AppLabel, 200, 17},
        {"TransactionID", report->TransactionID, 200, 18}, {"TransactionDate", report->TransactionDate, 200, 19},
        {"Tag9F37", report->Tag9F37, 200, 42},             {"AltCurrAmount", report->AltCurrAmount, 200, 56},
        {"CardNumber", report->CardNumber, 200, 5},        {"MerchantID", report->MerchantID, 200, 20},
        {"PrePaidNominal", report->PrePaidNominal, 50, 59}, {"PrePaidExpirity", report->PrePaidExpirity, 50, 62},
        {"PrePaidSerial", report->PrePaidSerial, 50, 64},
    };
    for (const auto& c : cases) EXPECT_EQ(std::string(c.field), text(c.n).substr(0, c.size - 1)) << c.member;
    EXPECT_STREQ(report->PrePaidName, "NAME");
    EXPECT_STREQ(report->PrePaidDescription, "DESC");
}

TEST_F(BridgeLineTest, TcpSendKeepsTheBytesAfterTheAcknowledgement) {
    RawPeer peer;
    TcpTransport line("127.0.0.1", std::to_string(peer.port()));
    ASSERT_TRUE(openTo(peer, line));
    const std::string answer = bytes(sim::ecr::encode("5|000|OK"));
    const std::string request = bytes(sim::ecr::encode("6"));
    std::string held;
    auto sending = std::async(std::launch::async, [&] { return line.send(request, held, 5); });
    EXPECT_EQ(peer.read(request.size()), request);
    peer.write("\x06" + answer.substr(0, 4));
    ASSERT_EQ(sending.get(), kTransportOk);
    EXPECT_EQ(held, answer.substr(0, 4));

    peer.write(answer.substr(4) + "\x02" "9");
    std::string got;
    std::atomic<bool> cancel{false};
    ASSERT_EQ(line.receive(got, held, 5, cancel), kTransportOk);
    EXPECT_EQ(got, answer);
    EXPECT_EQ(held, "\x02" "9") << "the start of the next message waits for the next receive";
    EXPECT_EQ(peer.read(1), "\x06");

    held.clear();
    sending = std::async(std::launch::async, [&] { return line.send(request, held, 5); });
    EXPECT_EQ(peer.read(request.size()), request);
    peer.write("\x06\x04");
    ASSERT_EQ(sending.get(), kTransportOk);
    EXPECT_EQ(held, "\x04") << "an EOT with the ACK is kept too";
    ASSERT_EQ(line.receive(got, held, 5, cancel), kTransportOk);
    EXPECT_EQ(got, "\x04");
}

TEST_F(BridgeLineTest, TcpReceiveResults) {
    RawPeer peer;
    TcpTransport line("127.0.0.1", std::to_string(peer.port()));
    ASSERT_TRUE(openTo(peer, line));
    std::string got, held;
    std::atomic<bool> cancel{false};

    peer.write("\x04");
    EXPECT_EQ(line.receive(got, held, 5, cancel), kTransportOk);
    EXPECT_EQ(got, "\x04");
    EXPECT_TRUE(logged("EOT received"));

    auto waiting = std::async(std::launch::async, [&] { return line.receive(got, held, 5, cancel); });
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    stepped.advance(5000);
    EXPECT_EQ(waiting.get(), kTcpFailure);
    EXPECT_TRUE(logged("Wait for packet timeout."));

    cancel = true;
    EXPECT_EQ(line.receive(got, held, 5, cancel), kCancelled);
    EXPECT_FALSE(cancel);

    const std::string bad = bytes(sim::ecr::encodeWithBadCheck("5|000"));
    peer.write(bad);
    waiting = std::async(std::launch::async, [&] { return line.receive(got, held, 5, cancel); });
    EXPECT_EQ(peer.read(1), "\x15");
    peer.write(bad);
    EXPECT_EQ(peer.read(1), "\x15");
    peer.write(bad);
    EXPECT_EQ(peer.read(1), "\x04") << "the third spoilt frame ends the receive";
    EXPECT_EQ(waiting.get(), kTcpFailure);
}

// The network may split a long answer into many pieces: the receive gathers them until the frame
// is whole, and acknowledges it.
TEST_F(BridgeLineTest, TcpReceiveGathersAFrameThatComesInManyPieces) {
    RawPeer peer;
    TcpTransport line("127.0.0.1", std::to_string(peer.port()));
    ASSERT_TRUE(openTo(peer, line));
    const std::string answer = bytes(sim::ecr::encode("5|000|APPROVED|" + std::string(300, 'A')));
    std::string got, held;
    std::atomic<bool> cancel{false};
    auto receiving = std::async(std::launch::async, [&] { return line.receive(got, held, 5, cancel); });
    const std::size_t piece = answer.size() / 5 + 1;
    std::size_t sent = 0;
    for (; sent + piece < answer.size(); sent += piece) {
        peer.write(answer.substr(sent, piece));
        // The receive has taken the piece in once it logs what it holds.
        const std::string holding = "RECEIVED: " + printable(answer.substr(0, sent + piece)) + "\r\n";
        for (int i = 0; i < 20000 && !logged(holding) &&
                        receiving.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready;
             ++i) {
        }
        ASSERT_TRUE(logged(holding));
    }
    peer.write(answer.substr(sent));
    EXPECT_EQ(peer.read(1), "\x06");
    ASSERT_EQ(receiving.get(), kTransportOk);
    EXPECT_EQ(got, answer);
    EXPECT_FALSE(logged("There was received wrong packet 3 time."));
}

TEST_F(BridgeLineTest, TcpReconnectsAfterAResetOrAClose) {
    useLine(Line::Tcp);
    for (const char* fault : {"reset", "close"}) {
        const int before = tcp.connections();
        tcp.faults().arm(fault);
        T_Payvo payvo;
        T_PayvoState state{};
        EXPECT_TRUE(payvo.GetState(&state)) << fault;
        EXPECT_STREQ(state.ProtocolVersion, "4.4.12") << fault;
        EXPECT_EQ(tcp.connections(), before + 2) << fault;
    }
    EXPECT_TRUE(logged("=====>Reconnect processing..."));
    EXPECT_TRUE(logged("Timeout reset"));
}

TEST_F(BridgeLineTest, UnexpectedDcByteFailsTheSendOnBothLines) {
    for (Line l : {Line::Serial, Line::Tcp}) {
        useLine(l);
        terminal.faults().arm("dc1");
        T_Payvo payvo;
        T_PayvoState state{};
        EXPECT_FALSE(payvo.GetState(&state));
        EXPECT_EQ(state.TerminalState, 99);
        EXPECT_TRUE(logged(l == Line::Serial ? "The terminal get unexpected response." : "The terminal get unexpected packet."));
        settle();
    }
}

TEST_F(BridgeLineTest, EotInsteadOfTheAnswerEndsTheExchangeOnBothLines) {
    for (Line l : {Line::Serial, Line::Tcp}) {
        useLine(l);
        terminal.faults().arm("eot");
        T_Payvo payvo;
        T_HostListData host{};
        EXPECT_FALSE(payvo.GetHostList(&host)) << "no answer to read";
        EXPECT_FALSE(logged("Data receiving error!"));
        settle();
    }
}

TEST_F(BridgeLineTest, SerialTimeOutOfTheBatchKeepsThePrintLines) {
    useLine(Line::Serial);
    useSteppedClock();
    terminal.script("1", {PaymentTerminalSim::frame("9|RINDA 1"), PaymentTerminalSim::frame("9|RINDA 2")});
    T_Payvo payvo;
    auto request = transaction(9, 0);
    request.PrintingDevice = 1;
    T_PayvoTransactionReport report{};
    const bool result = payvotest::whileAdvancing(stepped, [&] { return payvo.TransactionRequest(&request, &report); },
                                                  [&] { return terminal.sentFrames().size() == 2 && terminal.idle(); });
    EXPECT_TRUE(result);
    EXPECT_STREQ(payvo.Receipt, "RINDA 1RINDA 2");
}

TEST_F(BridgeLineTest, LogLinesAndTheSizeLimit) {
    { T_Payvo payvo; }
    EXPECT_TRUE(logged("-Current dll version - 2.2.5.1\r\n"));
    EXPECT_TRUE(logged("-Supportet ECR protocol version - 4.4.12\r\n"));
    EXPECT_EQ(printable("\x02" "A\x1c" "B\x03"), "[0x02]A[0x1c]B[0x03]");

    for (long size : {kLogLimitBytes - 1, kLogLimitBytes}) {
        std::filesystem::remove(dir() / "payvo.log");
        std::ofstream(dir() / "payvo.log", std::ios::binary) << std::string(std::size_t(size), 'x');
        logLine("next %d", 1);
        const std::string text = log();
        const bool deleted = size >= kLogLimitBytes;
        EXPECT_EQ(text.size() > std::size_t(size), !deleted) << size;
        EXPECT_TRUE(text.ends_with("-next 1\r\n")) << size;
        if (deleted) {
            EXPECT_EQ(text.size(), std::string("dd.mm.yy hh:mm:ss-next 1\r\n").size());
        }
    }
}

TEST_F(BridgeLineTest, TcpReceiveNeverHoldsMoreThanItsBuffer) {
    RawPeer peer;
    TcpTransport line("127.0.0.1", std::to_string(peer.port()));
    ASSERT_TRUE(openTo(peer, line));
    peer.write("\x02" + std::string(3 * kMessageBufferSize, 'a'));
    std::string got, held;
    std::atomic<bool> cancel{false};
    EXPECT_EQ(line.receive(got, held, 5, cancel), kTcpFailure);
    EXPECT_TRUE(got.empty());
    EXPECT_TRUE(logged("Received data too long.") || logged("There was received wrong packet 3 time."));
}

TEST_F(BridgeLineTest, TcpSendGivesUpAfterThreeNaks) {
    RawPeer peer;
    TcpTransport line("127.0.0.1", std::to_string(peer.port()));
    ASSERT_TRUE(openTo(peer, line));
    const std::string request = bytes(sim::ecr::encode("C"));
    std::string held;
    auto sending = std::async(std::launch::async, [&] { return line.send(request, held, 5); });
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(peer.read(request.size()), request);
        peer.write("\x15");
    }
    EXPECT_EQ(sending.get(), kTcpFailure);
    EXPECT_TRUE(logged("Got 3 NAKs."));
}
