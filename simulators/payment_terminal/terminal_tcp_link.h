// The payment terminal's TCP/IP side on loopback: a listener that carries each client connection
// to the simulated terminal's line, so the terminal answers TCP/IP clients as it does the serial
// one, with the connection faults as switches:
//   "reset" - once the terminal's next ACK has reached the client, the connection is reset;
//   "close" - the same, but the connection is closed in order;
//   "hold"  - what the terminal sends after its next ACK is held back for the hold time.
// After a reset or close, what the terminal sends goes to the next connection; what it sends after
// the client closed its connection is lost, as on a real line.
#pragma once

#include "terminal_sim.h"

#include <atomic>
#include <thread>

namespace sim {

class TerminalTcpLink {
public:
    explicit TerminalTcpLink(PaymentTerminalSim& terminal) : terminal_(terminal) {}
    ~TerminalTcpLink();
    TerminalTcpLink(const TerminalTcpLink&) = delete;
    TerminalTcpLink& operator=(const TerminalTcpLink&) = delete;

    // Listens on 127.0.0.1 on a free port; the terminal must be started. False when it cannot.
    bool start();
    void stop();
    int port() const { return port_; }
    int connections() const { return connections_; }
    FaultSwitches& faults() { return faults_; }
    void setHoldMs(int ms) { holdMs_ = ms; }

private:
    void serve();
    void acceptClient();
    void fromTerminal();
    void dropFromTerminal();
    void endConnection(bool reset);
    void sendToClient(const std::string& bytes);

    PaymentTerminalSim& terminal_;
    FaultSwitches faults_;
    int listenFd_ = -1;
    int line_ = -1;    // the terminal's line, as a program opens it
    int client_ = -1;
    bool clientLeft_ = false;  // the client closed the last connection
    int port_ = 0;
    std::atomic<int> holdMs_{5000};
    std::atomic<int> connections_{0};
    std::atomic<bool> running_{false};
    std::string toClient_;  // held bytes from the terminal, sent when the hold ends or a client comes
    std::chrono::steady_clock::time_point holdUntil_{};
    std::thread thread_;
};

}  // namespace sim
