#include "forwarding.h"

#include "base64.h"
#include "clock.h"
#include "com.h"
#include "serial_link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace payvo {
namespace {

const char* const kInterfacePipe = "dravel_ecr_lib_pipe_if";
const char* const kSerialPipe = "dravel_ecr_lib_pipe_serial";
const char* const kTcpPipe = "dravel_ecr_lib_pipe_tcpip";
const char* const kLoyaltyPipe = "dravel_ecr_lib_pipe_loyalty";

constexpr int kPollMs = 10;
// The longest a port command can wait for the serial worker: a frame it is receiving (3 s) and an
// answer it is sending to the terminal (three 5 s attempts), with room to spare.
constexpr int kPortCommandWaitMs = 30'000;
// The longest time-out a gateway request may name that an operation waits out.
constexpr std::int32_t kLongestGatewaySeconds = 600;
constexpr std::size_t kMaxDecoded = 8192;
constexpr std::size_t kMaxReceive = 3000;

std::atomic<int> hubCount{0};

platform::PipeMessage codeOnly(std::int32_t code) { return PipeWriter(code).message(); }

void sleepPoll() { platform::clock().sleepMs(kPollMs); }

// Waits, by the clock, until the socket can be read or written; false on time-out or error.
bool waitSocket(int fd, short events, int seconds) {
    const auto deadline = platform::clock().steadyNow() + std::chrono::seconds(seconds);
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, 0);
        if (r > 0) return !(p.revents & POLLNVAL);
        if (r < 0 && errno != EINTR) return false;
        if (platform::clock().steadyNow() >= deadline) return false;
        platform::clock().sleepMs(kPollMs);
    }
}

// The TCP/IP routines of the worker; one socket.
class GatewaySocket {
public:
    ~GatewaySocket() { close(); }

    std::int32_t connect(const std::string& address, std::int32_t port, std::int32_t seconds) {
        close();
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(std::uint16_t(port));
        if (address.empty() || ::inet_pton(AF_INET, address.c_str(), &a.sin_addr) != 1) return -1;
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd_ < 0) return -1;
        if (::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return 0;
        if (errno != EINPROGRESS || !waitSocket(fd_, POLLOUT, seconds)) return fail();
        int error = 0;
        socklen_t len = sizeof error;
        if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0) return fail();
        return 0;
    }

    std::int32_t send(const std::string& data, std::int32_t seconds) {
        if (fd_ < 0) return -1;
        std::size_t done = 0;
        while (done < data.size()) {
            if (!waitSocket(fd_, POLLOUT, seconds)) return -1;
            const ssize_t n = ::send(fd_, data.data() + done, data.size() - done, MSG_NOSIGNAL);
            if (n < 0 && errno != EAGAIN && errno != EINTR) return -1;
            if (n > 0) done += std::size_t(n);
        }
        return 0;
    }

    // 0 with the data, or the receive's result (0 peer closed, -1 error or time-out) and none.
    std::int32_t receive(std::int32_t maxLength, std::int32_t seconds, std::string& data) {
        data.clear();
        if (fd_ < 0 || maxLength <= 0) return -1;
        if (!waitSocket(fd_, POLLIN, seconds)) return -1;
        std::string buf(std::min<std::size_t>(std::size_t(maxLength), kMaxReceive), '\0');
        const ssize_t n = ::recv(fd_, buf.data(), buf.size(), MSG_DONTWAIT);
        if (n <= 0) return n == 0 ? 0 : -1;
        data.assign(buf.data(), std::size_t(n));
        return 0;
    }

    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    std::int32_t fail() {
        close();
        return -1;
    }
    int fd_ = -1;
};

}  // namespace

PipeWriter& PipeWriter::number(std::int32_t v) {
    for (int i = 0; i < 4; ++i) m_.push_back(std::uint8_t(std::uint32_t(v) >> (8 * i)));
    return *this;
}

PipeWriter& PipeWriter::text(std::string_view t) {
    number(std::int32_t(t.size()));
    return bytes(t);
}

PipeWriter& PipeWriter::bytes(std::string_view b) {
    m_.insert(m_.end(), b.begin(), b.end());
    return *this;
}

std::int32_t PipeReader::number() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4 && pos_ < m_.size(); ++i) v |= std::uint32_t(m_[pos_++]) << (8 * i);
    return std::int32_t(v);
}

std::string PipeReader::text() {
    const std::int32_t n = number();
    const std::size_t take = n > 0 ? std::min(std::size_t(n), m_.size() - std::min(pos_, m_.size())) : 0;
    std::string t(m_.begin() + long(pos_), m_.begin() + long(pos_ + take));
    pos_ += take;
    return t;
}

std::string PipeReader::rest() {
    std::string t(m_.begin() + long(std::min(pos_, m_.size())), m_.end());
    pos_ = m_.size();
    return t;
}

GatewayParameters parseGatewayParameters(std::string_view text) {
    GatewayParameters p;
    while (!text.empty()) {
        const auto end = text.find(';');
        const std::string_view part = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (part.empty()) continue;
        const auto eq = part.find('=');
        if (eq == std::string_view::npos) break;
        const std::string_view key = part.substr(0, eq), value = part.substr(eq + 1);
        if (value.size() > 19) break;
        if (key == "IP") p.address = value.size() <= 15 ? std::string(value) : std::string();
        else if (key == "PO") p.port = decimalValue(value);
        else if (key == "CT") p.connectSeconds = decimalValue(value);
        else if (key == "ST") p.sendSeconds = decimalValue(value);
        else if (key == "RT") p.receiveSeconds = decimalValue(value);
    }
    return p;
}

ForwardingHub::ForwardingHub(LoyaltyHandler loyalty)
    : loyalty_(std::move(loyalty)), pipeSuffix_("-" + std::to_string(++hubCount)) {}

ForwardingHub::~ForwardingHub() {
    ForwardShutdown();
    // The hub passes the shut-down on; should it not, the flag ends every loop all the same.
    stopping_ = true;
    for (std::thread* t : {&hub_, &serial_, &tcp_, &loyaltyThread_})
        if (t->joinable()) t->join();
}

int ForwardingHub::StartForwarding() {
    if (started_) return 0;
    if (!interfaceServer_.listen(kInterfacePipe + pipeSuffix_) || !serialServer_.listen(kSerialPipe + pipeSuffix_) ||
        !tcpServer_.listen(kTcpPipe + pipeSuffix_) || !loyaltyServer_.listen(kLoyaltyPipe + pipeSuffix_))
        return 4;
    try {
        serial_ = std::thread([this] { serialWorker(); });
        serialHub_ = serialServer_.accept(kPipeWaitMs);
        tcp_ = std::thread([this] { tcpWorker(); });
        tcpHub_ = tcpServer_.accept(kPipeWaitMs);
        loyaltyThread_ = std::thread([this] { loyaltyWorker(); });
        loyaltyHub_ = loyaltyServer_.accept(kPipeWaitMs);
        hub_ = std::thread([this] { hubLoop(); });
    } catch (const std::system_error&) {
        stopping_ = true;
        return 4;
    }
    if (!serialHub_.isOpen() || !tcpHub_.isOpen() || !loyaltyHub_.isOpen()) {
        stopping_ = true;
        return 4;
    }
    started_ = true;
    return 0;
}

bool ForwardingHub::sendToHub(const platform::PipeMessage& m) {
    if (!started_) return false;
    if (!interfaceClient_.isOpen()) interfaceClient_ = platform::connectLocalPipe(kInterfacePipe + pipeSuffix_, kPipeWaitMs);
    // One request is asked at a time: whatever waits unread answers one that was given up.
    while (interfaceClient_.receive()) {
    }
    return interfaceClient_.send(m);
}

std::optional<platform::PipeMessage> ForwardingHub::WaitForCode(std::int32_t code, int waitMs, std::optional<std::int32_t> request) {
    // Bounded: a hub that does not answer fails the operation instead of freezing the caller.
    const auto deadline = platform::clock().steadyNow() + std::chrono::milliseconds(waitMs);
    while (platform::clock().steadyNow() < deadline) {
        while (auto m = interfaceClient_.receive()) {
            PipeReader r(*m);
            if (r.number() != code) continue;
            // The answer to a gateway request carries that request's id next.
            if (!request || r.number() == *request) return m;
        }
        sleepPoll();
    }
    return std::nullopt;
}

int ForwardingHub::gatewayWaitMs(const Frame& request) const {
    std::string type, parameters;
    GetField(request, 1, type);
    std::int32_t seconds = 0;
    if (type == "WR") {
        GetField(request, 3, parameters);  // none: the defaults
        seconds = parseGatewayParameters(parameters).connectSeconds;
    } else if (type == "XR") seconds = sendSeconds_;
    else if (type == "YR") seconds = receiveSeconds_;
    return std::clamp(seconds, 0, kLongestGatewaySeconds) * 1000 + kPipeWaitMs;
}

bool ForwardingHub::ForwardOpenSerial(const std::string& name, const std::string& speed) {
    return sendToHub(PipeWriter(kTakePort).text(name).text(speed).message()) && WaitForCode(kHubPortTaken, kPortCommandWaitMs).has_value();
}

bool ForwardingHub::ForwardReleaseSerial() {
    return sendToHub(codeOnly(kHubReleasePort)) && WaitForCode(kHubPortReleased, kPortCommandWaitMs).has_value();
}

bool ForwardingHub::ForwardResumeSerial() { return sendToHub(codeOnly(kResumePort)) && WaitForCode(kHubPortTaken, kPortCommandWaitMs).has_value(); }

bool ForwardingHub::ForwardInputRequest(const Frame& request, Frame& answer) {
    answer.clear();
    // Ids run from 1 (0 marks the serial worker's requests) and wrap before they overflow.
    lastOperationRequest_ = lastOperationRequest_ == INT32_MAX ? 1 : lastOperationRequest_ + 1;
    const std::int32_t id = lastOperationRequest_;
    if (!sendToHub(PipeWriter(kInputRequest).text(request).number(id).message())) return false;
    auto m = WaitForCode(kInputAnswer, gatewayWaitMs(request), id);
    if (!m) return false;
    PipeReader r(*m);
    r.number();
    r.number();  // the request id
    answer = r.rest();
    return true;
}

int ForwardingHub::ForwardAndAnswer(const Frame& request, CCom& com) {
    Frame answer;
    if (!ForwardInputRequest(request, answer)) {
        // No answer in time: the terminal hears that its request failed, as from a dead peer.
        std::string type, number;
        GetField(request, 1, type);
        GetField(request, 2, number);
        if (type == "WR" || type == "XR") answer = buildFrame(type.substr(0, 1) + "A", {number, "-1"});
        else if (type == "YR") answer = buildFrame("YA", {number, "-1", ""});
    }
    return answer.empty() ? 0 : com.Send(answer, 5);
}

void ForwardingHub::ForwardShutdown() {
    if (started_) sendToHub(codeOnly(kShutdown));
}

void ForwardingHub::answerGatewayRequest(const std::string& type, const std::vector<std::string>& fields) {
    PendingGatewayRequest asked{};
    if (!pendingGateway_.empty()) {
        asked = pendingGateway_.front();
        pendingGateway_.pop_front();
    }
    std::vector<std::string> answerFields{asked.requestNumber};
    answerFields.insert(answerFields.end(), fields.begin(), fields.end());
    const Frame answer = type.empty() ? Frame() : buildFrame(type, answerFields);
    if (asked.operationRequest != 0) {
        // Tagged with the operation's request, so an answer it gave up on is never taken for the next.
        interfaceHub_.send(PipeWriter(kInputAnswer).number(asked.operationRequest).bytes(answer).message());
    } else if (!answer.empty() && portTaken_) {
        serialHub_.send(PipeWriter(kSendFrame).number(0).bytes(answer).message());
    }
    // A request the serial worker heard, answered once an operation has taken the port, is
    // dropped: the operation's line is not the place for it.
}

void ForwardingHub::routeFrame(const Frame& frame, std::int32_t operationRequest) {
    std::string type, f2, f3;
    GetField(frame, 1, type);
    GetField(frame, 2, f2);
    GetField(frame, 3, f3);
    if (type == "WR" || type == "XR" || type == "YR" || type == "ZR") pendingGateway_.push_back({type == "ZR" ? std::string() : f2, operationRequest});
    if (type == "WR") {
        const GatewayParameters p = parseGatewayParameters(f3);
        sendSeconds_ = p.sendSeconds;
        receiveSeconds_ = p.receiveSeconds;
        tcpHub_.send(PipeWriter(kTcpOpen).text(p.address).number(p.port).number(p.connectSeconds).message());
    } else if (type == "XR") {
        auto data = platform::base64Decode(f3);
        std::string bytes;
        if (data && data->size() <= kMaxDecoded) bytes.assign(data->begin(), data->end());
        tcpHub_.send(PipeWriter(kTcpSend).text(bytes).number(sendSeconds_).message());
    } else if (type == "YR") {
        tcpHub_.send(PipeWriter(kTcpReceive).number(decimalValue(f3)).number(receiveSeconds_).message());
    } else if (type == "ZR") {
        tcpHub_.send(codeOnly(kTcpClose));
    } else if (type == "LR") {
        loyaltyHub_.send(PipeWriter(kLoyaltyData).text(f2).message());
    } else if (operationRequest != 0) {
        // Nothing will answer this frame: tell the waiting operation at once.
        interfaceHub_.send(PipeWriter(kInputAnswer).number(operationRequest).message());
    }
}

void ForwardingHub::hubLoop() {
    for (; !stopping_; sleepPoll()) {
        // The operations' end connects on first use.
        if (auto client = interfaceServer_.accept(0); client.isOpen()) interfaceHub_ = std::move(client);

        if (auto m = interfaceHub_.receive()) {
            PipeReader r(*m);
            switch (r.number()) {
            case kTakePort: serialHub_.send(*m); break;
            case kResumePort: serialHub_.send(codeOnly(kTakePort)); break;
            case kHubReleasePort: serialHub_.send(codeOnly(kReleasePort)); break;
            case kInputRequest: {
                const Frame frame = r.text();
                routeFrame(frame, r.number());
                break;
            }
            case kShutdown:
                // Every worker ends, the loyalty worker too: it would otherwise fire events on a
                // control that is being destroyed.
                serialHub_.send(codeOnly(kShutdown));
                tcpHub_.send(codeOnly(kShutdown));
                loyaltyHub_.send(codeOnly(kShutdown));
                return;
            default: break;
            }
        }
        if (auto m = serialHub_.receive()) {
            PipeReader r(*m);
            switch (r.number()) {
            case kPortTaken: interfaceHub_.send(codeOnly(kHubPortTaken)); break;
            case kPortReleased: interfaceHub_.send(codeOnly(kHubPortReleased)); break;
            case kFrameReceived: routeFrame(r.rest(), 0); break;
            default: break;
            }
        }
        if (auto m = tcpHub_.receive()) {
            PipeReader r(*m);
            const std::int32_t code = r.number();
            const std::int32_t result = r.number();
            if (code == kTcpOpened) answerGatewayRequest("WA", {std::to_string(result)});
            else if (code == kTcpSent) answerGatewayRequest("XA", {std::to_string(result)});
            else if (code == kTcpReceived) {
                const std::string data = r.text();
                std::string encoded = data.empty() ? std::string() : platform::base64Encode(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
                answerGatewayRequest("YA", {std::to_string(result), encoded});
            } else if (code == kTcpClosed) {
                answerGatewayRequest("", {});  // a close is answered with no frame
            }
        }
        if (auto m = loyaltyHub_.receive()) {
            PipeReader r(*m);
            if (r.number() == kLoyaltyAnswer) {
                const std::int32_t status = r.number();
                serialHub_.send(PipeWriter(kSendFrame).number(0).bytes(buildFrame("LA", {std::to_string(status), ""})).message());
            }
        }
    }
}

void ForwardingHub::serialWorker() {
    platform::LocalPipe pipe = platform::connectLocalPipe(kSerialPipe + pipeSuffix_, kPipeWaitMs);
    // No port until one is named: a printer or display on a port the terminal is not on stays free.
    std::string lastName, lastSpeed;
    PortHandle handle = kInvalidPort;
    for (; !stopping_; sleepPoll()) {
        if (handle != kInvalidPort && handle != processPortHandle()) {
            // Another control's shut-down closed the port under us: its descriptor is not ours.
            handle = kInvalidPort;
            portTaken_ = false;
        }
        if (handle != kInvalidPort && HasInput(handle)) {
            Frame frame;
            if (SerialReceive(frame, 3, handle) == 0) pipe.send(PipeWriter(kFrameReceived).bytes(frame).message());
        }
        auto m = pipe.receive();
        if (!m) continue;
        PipeReader r(*m);
        switch (r.number()) {
        case kTakePort:
            if (!r.atEnd()) {
                lastName = r.text();
                lastSpeed = r.text();
            }
            {
                std::string name = lastName;
                handle = SerialOpen(name, lastSpeed);
            }
            portTaken_ = handle != kInvalidPort;
            pipe.send(codeOnly(kPortTaken));
            break;
        case kReleasePort:
            SerialClose(handle);
            handle = kInvalidPort;
            portTaken_ = false;
            pipe.send(codeOnly(kPortReleased));
            break;
        case kSendFrame:
            r.number();  // the zero word
            SerialSend(r.rest(), 5, handle);
            break;
        case kShutdown:
            portTaken_ = false;
            closeProcessPort();
            return;
        default: break;
        }
    }
}

void ForwardingHub::tcpWorker() {
    platform::LocalPipe pipe = platform::connectLocalPipe(kTcpPipe + pipeSuffix_, kPipeWaitMs);
    GatewaySocket socket;
    for (; !stopping_; sleepPoll()) {
        auto m = pipe.receive();
        if (!m) continue;
        PipeReader r(*m);
        switch (r.number()) {
        case kTcpOpen: {
            const std::string address = r.text();
            const std::int32_t port = r.number();
            const std::int32_t seconds = r.number();
            pipe.send(PipeWriter(kTcpOpened).number(socket.connect(address, port, seconds)).message());
            break;
        }
        case kTcpSend: {
            const std::string data = r.text();
            pipe.send(PipeWriter(kTcpSent).number(socket.send(data, r.number())).message());
            break;
        }
        case kTcpReceive: {
            const std::int32_t max = r.number();
            const std::int32_t seconds = r.number();
            std::string data;
            const std::int32_t result = socket.receive(max, seconds, data);
            pipe.send(PipeWriter(kTcpReceived).number(result).text(data).message());
            break;
        }
        case kTcpClose:
            socket.close();
            pipe.send(codeOnly(kTcpClosed));
            break;
        case kShutdown: return;
        default: break;
        }
    }
}

void ForwardingHub::loyaltyWorker() {
    platform::LocalPipe pipe = platform::connectLocalPipe(kLoyaltyPipe + pipeSuffix_, kPipeWaitMs);
    for (; !stopping_; sleepPoll()) {
        auto m = pipe.receive();
        if (!m) continue;
        PipeReader r(*m);
        const std::int32_t code = r.number();
        if (code == kShutdown) return;
        if (code != kLoyaltyData) continue;
        const std::int32_t status = loyalty_ ? loyalty_(r.text()) : 0;
        pipe.send(PipeWriter(kLoyaltyAnswer).number(status == 0 ? 0 : 9998).message());
    }
}

}  // namespace payvo
