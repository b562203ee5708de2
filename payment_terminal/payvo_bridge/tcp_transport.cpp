#include "tcp_transport.h"

#include "bridge_log.h"
#include "clock.h"
#include "frames.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace payvo_bridge {
namespace {

using Steady = std::chrono::steady_clock::time_point;
Steady now() { return platform::clock().steadyNow(); }
Steady after(int seconds) { return now() + std::chrono::seconds(seconds); }

// The longest single wait on the socket: the deadline and the cancel flag are looked at this often.
constexpr int kWaitSliceMs = 20;
constexpr std::size_t kAckReadSize = 1024;
constexpr std::size_t kReadSize = 4999;

}  // namespace

bool isValidIpv4(std::string_view address) {
    int numbers = 0;
    std::size_t i = 0;
    while (numbers < 4) {
        std::size_t digits = 0;
        int value = 0;
        while (i < address.size() && address[i] >= '0' && address[i] <= '9' && digits < 4) {
            value = value * 10 + (address[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255) return false;
        ++numbers;
        if (numbers < 4) {
            if (i >= address.size() || address[i] != '.') return false;
            ++i;
        }
    }
    return i == address.size();
}

TcpTransport::TcpTransport(std::string address, std::string port) : address_(std::move(address)), port_(std::move(port)) {}

TcpTransport::~TcpTransport() {
    if (socket_ >= 0) ::close(socket_);
}

bool TcpTransport::connectSocket() {
    socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket_ < 0) {
        logLine("Invalid socket. ERROR CODE:%d", errno);
        return false;
    }
    logLine("Socket created succesfull.");
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(std::uint16_t(payvo::decimalValue(port_)));
    ::inet_pton(AF_INET, address_.c_str(), &peer.sin_addr);
    if (::connect(socket_, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        logLine("Get error on create socket connection. ERROR CODE: %d", errno);
        ::close(socket_);
        socket_ = -1;
        return false;
    }
    const int one = 1;
    ::setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return true;
}

bool TcpTransport::open() {
    if (address_.empty() && port_.empty()) {
        logLine("IP address or port not set.");
        logLine("IP address: '%s' and port: %s", address_.c_str(), port_.c_str());
        return false;
    }
    if (!isValidIpv4(address_)) {
        logLine("Got invalid IP address: '%s'", address_.c_str());
        return false;
    }
    logLine("The socket parameters set.");
    if (!connectSocket()) return false;
    logLine("Connection created succesfull.");
    // The terminal wants a moment after the connection before the first frame.
    platform::clock().sleepMs(1000);
    const int flags = ::fcntl(socket_, F_GETFL, 0);
    if (flags < 0 || ::fcntl(socket_, F_SETFL, flags | O_NONBLOCK) != 0) {
        logLine("ioctlsocket failed with error: %ld", long(errno));
        close();
        return false;
    }
    return true;
}

void TcpTransport::close() {
    if (socket_ < 0) return;
    ::close(socket_);
    socket_ = -1;
    logLine("Socket closed.");
}

bool TcpTransport::reconnect(int seconds) {
    logLine("=====>Reconnect processing...");
    const Steady deadline = after(seconds == 0 ? 1 : seconds);
    while (now() < deadline) {
        if (socket_ >= 0) ::close(socket_);
        socket_ = -1;
        if (connectSocket()) {
            const int flags = ::fcntl(socket_, F_GETFL, 0);
            ::fcntl(socket_, F_SETFL, flags | O_NONBLOCK);
            logLine("Reconnect finished.");
            return true;
        }
        // A refused connection is tried again after a short wait rather than at once.
        platform::clock().sleepMs(kWaitSliceMs);
    }
    logLine("Reconnect timeout.");
    logLine("Reconnect finished.");
    return false;
}

long TcpTransport::readUntil(char* buffer, std::size_t count, Steady deadline, int& error) {
    error = 0;
    for (;;) {
        const long n = long(::recv(socket_, buffer, count, 0));
        if (n > 0) return n;
        if (n == 0) return -1;  // the peer closed
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            error = errno;
            return -1;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now()).count();
        if (left <= 0) return 0;
        pollfd p{socket_, POLLIN, 0};
        ::poll(&p, 1, int(std::min<long long>(left, kWaitSliceMs)));
    }
}

void TcpTransport::reply(char byte) {
    logLine("SEND: %s", printable({&byte, 1}).c_str());
    ::send(socket_, &byte, 1, MSG_NOSIGNAL);
}

int TcpTransport::send(std::string_view message, std::string& held, int seconds) {
    if (message.empty()) {
        logLine("Send data buffer empty.");
        return kTcpFailure;
    }
    if (socket_ < 0) return kTcpFailure;
    int timeouts = 0, naks = 0;
    for (;;) {
        logLine("SEND: %s", printable(message).c_str());
        const long sent = long(::send(socket_, message.data(), message.size(), MSG_NOSIGNAL));
        if (sent < long(message.size())) {
            logLine("Get error on packet sending. ERROR CODE: %d", errno);
            if (!reconnect(60)) return kTcpFailure;
            continue;
        }
        char got[kAckReadSize];
        int error = 0;
        const long n = readUntil(got, sizeof got, after(seconds), error);
        if (n < 0) {
            logLine("Got error code: %d", error);
            return kTcpFailure;
        }
        if (n == 0) {
            logLine("Get timeout on waiting the ACK.");
            if (++timeouts == 3) return kTcpFailure;
            continue;
        }
        const char first = got[0];
        if (first == payvo::ACK) {
            logLine("RECEIVE: %s", printable({got, 1}).c_str());
            // Whatever came with the ACK is the start of the terminal's next message (a frame, a
            // lone EOT or GS): kept for the next wait rather than lost.
            if (n > 1) held.assign(got + 1, std::size_t(n - 1));
            return kTransportOk;
        }
        if (first == payvo::NAK) {
            if (++naks == 3) {
                logLine("Got 3 NAKs.");
                return kTcpFailure;
            }
            continue;
        }
        if (first == DC1 || first == DC2) {
            logLine("The terminal get unexpected packet.");
            return kTcpFailure;
        }
        logLine("RECEIVE: %s", printable({got, std::size_t(n)}).c_str());
        logLine("Received unknown data.");
        return kTcpFailure;
    }
}

bool TcpTransport::readMore(std::string& buffer, Steady& deadline, int seconds, std::atomic<bool>& cancel, int& result) {
    if (cancel.exchange(false)) {
        logLine("Data receiving stoped by cancel.");
        result = kCancelled;
        return false;
    }
    // The buffer never grows past kMessageBufferSize - 1 bytes: a terminal that fills it
    // without a readable message is a failed receive.
    const std::size_t room = kMessageBufferSize - 1 - buffer.size();
    if (room == 0) {
        logLine("Received data too long.");
        result = kTcpFailure;
        return false;
    }
    char chunk[kReadSize];
    int error = 0;
    const long n = readUntil(chunk, std::min(room, sizeof chunk), std::min(deadline, now() + std::chrono::milliseconds(kWaitSliceMs)), error);
    if (n < 0) {
        logLine("Got error code: %d", error);
        result = kTcpFailure;
        if (error != 0 && error != ECONNRESET) return false;
        if (!reconnect(120)) {
            logLine("Reconnect fail.");
            return false;
        }
        logLine("Timeout reset");
        deadline = after(seconds);
        return true;
    }
    if (n == 0 && now() >= deadline) {
        logLine("Wait for packet timeout.");
        result = kTcpFailure;
        return false;
    }
    buffer.append(chunk, std::size_t(n));
    return true;
}

int TcpTransport::receive(std::string& answer, std::string& held, int seconds, std::atomic<bool>& cancel) {
    if (socket_ < 0) return kTcpFailure;
    std::string buffer;
    buffer.swap(held);
    // Bytes kept from the last read are looked at before anything new is read.
    bool unread = !buffer.empty();
    if (unread) logLine("Check incoming data.");
    if (seconds == 0) seconds = 1;
    int naks = 0;
    Steady deadline = after(seconds);
    for (;;) {
        if (!unread) {
            const std::size_t before = buffer.size();
            int result = kTcpFailure;
            if (!readMore(buffer, deadline, seconds, cancel, result)) return result;
            if (buffer.size() == before) continue;
        }
        unread = false;
        const int check = checkTcpMessage(buffer);
        if (check == 0) {
            const std::size_t length = leadingFrameLength(buffer);
            answer = buffer.substr(0, length);
            held = buffer.substr(length);
            logLine("RECEIVED: %s", printable(answer).c_str());
            reply(payvo::ACK);
            return kTransportOk;
        }
        if (buffer.front() == payvo::GS) {
            logLine("RECEIVED: %s", printable(buffer).c_str());
            answer = buffer;
            return kTransportOk;
        }
        if (buffer.front() == payvo::EOT) {
            logLine("EOT received");
            answer = buffer;
            return kTransportOk;
        }
        logLine("RECEIVED: %s", printable(buffer).c_str());
        // The network may split a frame into any number of pieces: they are gathered until the
        // frame is whole or the wait ends. Counting pieces as bad packets would end a long
        // authorisation answer as a failure, possibly after the terminal approved it.
        if (check == kIncomplete) continue;
        buffer.clear();
        if (naks >= 2) {
            reply(payvo::EOT);
            return kTcpFailure;
        }
        reply(payvo::NAK);
        ++naks;
    }
}

}  // namespace payvo_bridge
