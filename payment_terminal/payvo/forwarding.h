// Forwarding of the terminal's gateway and loyalty requests through local pipes: a hub thread,
// a serial worker that holds the port between operations, a TCP/IP worker with one socket, and
// a loyalty worker that hands loyalty data to the host program.
#pragma once

#include "link.h"
#include "local_pipe.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace payvo {

class CCom;

// Pipe message codes (every message starts with one, 32-bit little-endian).
enum PipeCode : std::int32_t {
    kTcpOpen = 1, kTcpSend = 2, kTcpReceive = 3, kTcpClose = 4,
    kTcpOpened = 5, kTcpSent = 6, kTcpReceived = 7, kTcpClosed = 8,
    kTakePort = 9, kPortTaken = 10, kReleasePort = 11, kPortReleased = 12,
    kSendFrame = 13, kFrameReceived = 14,
    kResumePort = 15, kHubPortTaken = 16, kHubReleasePort = 17, kHubPortReleased = 18,
    kInputRequest = 19, kInputAnswer = 20,  // 19: frame, then the request id; 20: that id, then the answer
    kShutdown = 23,
    kLoyaltyData = 24, kLoyaltyAnswer = 25,
};

// Pipe messages: a code, then 32-bit numbers and length-prefixed texts.
class PipeWriter {
public:
    explicit PipeWriter(std::int32_t code) { number(code); }
    PipeWriter& number(std::int32_t v);
    PipeWriter& text(std::string_view t);  // length, then the bytes
    PipeWriter& bytes(std::string_view b);  // the bytes alone
    const platform::PipeMessage& message() const { return m_; }

private:
    platform::PipeMessage m_;
};

class PipeReader {
public:
    explicit PipeReader(const platform::PipeMessage& m) : m_(m) {}
    std::int32_t number();
    std::string text();
    std::string rest();
    bool atEnd() const { return pos_ >= m_.size(); }

private:
    const platform::PipeMessage& m_;
    std::size_t pos_ = 0;
};

inline constexpr int kPipeWaitMs = 5000;  // the pipes' default time-out

// The parameters of a "WR" request: "IP=...;PO=...;CT=...;ST=...;RT=...".
struct GatewayParameters {
    std::string address;
    std::int32_t port = 0;
    std::int32_t connectSeconds = 10;
    std::int32_t sendSeconds = 10;
    std::int32_t receiveSeconds = 10;
};
// Keys are compared exactly; a value longer than 19 characters or a part without "=" ends the
// reading, and what was not read keeps its default (no address, port 0, 10 s time-outs). An
// address longer than 15 characters is not taken.
GatewayParameters parseGatewayParameters(std::string_view text);

class ForwardingHub {
public:
    // Called on the loyalty worker's thread with the terminal's loyalty data; returns the host
    // program's status (0 accepted).
    using LoyaltyHandler = std::function<std::int32_t(const std::string&)>;

    explicit ForwardingHub(LoyaltyHandler loyalty);
    ~ForwardingHub();  // shuts down and joins every thread
    ForwardingHub(const ForwardingHub&) = delete;
    ForwardingHub& operator=(const ForwardingHub&) = delete;

    // Starts the hub and its three workers; 0, or 4 when they could not start.
    int StartForwarding();
    // Each waits for the hub's answer (the port commands as long as the serial worker's longest
    // step can take); false when none came.
    bool ForwardOpenSerial(const std::string& name, const std::string& speed);
    bool ForwardReleaseSerial();
    bool ForwardResumeSerial();
    // A gateway request received during an operation: the answer frame (empty when there is none).
    // The wait is the request's own time-out and a margin; false when no answer came by then, and
    // a late answer is never taken for a later request's.
    bool ForwardInputRequest(const Frame& request, Frame& answer);
    // The same, and a non-empty answer is sent to the terminal; a request that got no answer in
    // time is answered with a failure. The send's result, or 0.
    int ForwardAndAnswer(const Frame& request, CCom& com);
    void ForwardShutdown();

    bool serialWorkerHoldsPort() const { return portTaken_; }

private:
    // A gateway request the TCP/IP worker is serving; its answers come back in this order.
    struct PendingGatewayRequest {
        std::string requestNumber;
        std::int32_t operationRequest;  // the operation's request id, 0 for one the serial worker heard
    };

    bool sendToHub(const platform::PipeMessage& m);
    // The first message of this code (and, for answers to gateway requests, of this request id)
    // within waitMs; others are dropped.
    std::optional<platform::PipeMessage> WaitForCode(std::int32_t code, int waitMs, std::optional<std::int32_t> request = {});
    // How long the TCP/IP worker may take with this gateway request, by the time-outs it carries.
    int gatewayWaitMs(const Frame& request) const;

    void hubLoop();
    void serialWorker();
    void tcpWorker();
    void loyaltyWorker();
    void routeFrame(const Frame& frame, std::int32_t operationRequest);
    void answerGatewayRequest(const std::string& type, const std::vector<std::string>& fields);

    LoyaltyHandler loyalty_;
    std::string pipeSuffix_;
    platform::LocalPipeServer interfaceServer_, serialServer_, tcpServer_, loyaltyServer_;
    platform::LocalPipe interfaceClient_;  // the operations' end
    platform::LocalPipe interfaceHub_, serialHub_, tcpHub_, loyaltyHub_;  // the hub's ends
    std::thread hub_, serial_, tcp_, loyaltyThread_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> portTaken_{false};
    std::atomic<bool> started_{false};
    // The gateway's requests in the TCP/IP worker's hands (hub thread only).
    std::deque<PendingGatewayRequest> pendingGateway_;
    // The send and receive time-outs of the last "WR", kept for the following requests; the
    // operations read them to bound their waits.
    std::atomic<std::int32_t> sendSeconds_{10};
    std::atomic<std::int32_t> receiveSeconds_{10};
    std::int32_t lastOperationRequest_ = 0;  // the operations' request ids (the caller's thread)
};

}  // namespace payvo
