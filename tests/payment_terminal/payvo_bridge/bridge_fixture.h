// What the bridge tests start from: the simulated terminal on COM1 and behind a loopback TCP/IP
// listener, the bridge's connection set to one of the two, and the log it writes.
#pragma once

#include "../terminal_fixture.h"
#include "connection.h"
#include "payvo_bridge.h"
#include "terminal_tcp_link.h"

#include <cstring>

namespace bridgetest {

enum class Line { Serial, Tcp };

inline std::string lineName(const ::testing::TestParamInfo<Line>& info) { return info.param == Line::Serial ? "Serial" : "Tcp"; }

class BridgeTest : public payvotest::TerminalTest {
protected:
    void SetUp() override {
        TerminalTest::SetUp();
        ASSERT_TRUE(tcp.start());
    }
    void TearDown() override {
        payvo_bridge::CCom::instance().close();
        tcp.stop();
        TerminalTest::TearDown();
    }
    void useLine(Line line) {
        payvo_bridge::BridgeSettings s;
        s.tcp = line == Line::Tcp;
        s.ipPort = std::to_string(tcp.port());
        payvo_bridge::CCom::instance().configure(s);
    }
    std::string log() const { return testsupport::readFile(dir() / "payvo.log"); }
    bool logged(const std::string& text) const { return log().find(text) != std::string::npos; }
    // The requests of a type the terminal took, once the line has gone quiet.
    std::vector<std::string> sent(const std::string& type) {
        settle();
        return terminal.requestsOfType(type);
    }

    sim::TerminalTcpLink tcp{terminal};
};

inline T_PayvoTransactionRequest transaction(int type, int amount) {
    T_PayvoTransactionRequest r{};
    r.TransactionType = type;
    r.Amount = amount;
    r.Language = 1;
    r.Currency = 978;
    r.BatchType = 99;
    std::strcpy(r.TransactionID, "R1");
    return r;
}

}  // namespace bridgetest
