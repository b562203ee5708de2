#include "terminal_tcp_link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace sim {
namespace {

constexpr char kAck = 0x06;
constexpr int kPollMs = 10;

using SteadyClock = std::chrono::steady_clock;

}  // namespace

TerminalTcpLink::~TerminalTcpLink() { stop(); }

bool TerminalTcpLink::start() {
    line_ = ::open(terminal_.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (line_ < 0) return false;
    listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listenFd_, 4) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        stop();
        return false;
    }
    port_ = ntohs(address.sin_port);
    running_ = true;
    thread_ = std::thread([this] { serve(); });
    return true;
}

void TerminalTcpLink::stop() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
    for (int* fd : {&client_, &listenFd_, &line_}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

void TerminalTcpLink::serve() {
    while (running_) {
        const bool holding = SteadyClock::now() < holdUntil_;
        pollfd p[2] = {{client_ >= 0 ? client_ : listenFd_, POLLIN, 0}, {line_, POLLIN, 0}};
        // The terminal's bytes wait in its line while they are held back, or while nobody is
        // connected after a fault ended the connection.
        const int watched = (client_ >= 0 && !holding) || (client_ < 0 && clientLeft_) ? 2 : 1;
        ::poll(p, nfds_t(watched), kPollMs);
        if (client_ < 0) {
            if (watched == 2 && (p[1].revents & POLLIN)) dropFromTerminal();
            if (p[0].revents & POLLIN) acceptClient();
            continue;
        }
        if (!holding && !toClient_.empty()) {
            const std::string held = std::move(toClient_);
            toClient_.clear();
            sendToClient(held);
        }
        if (p[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            char buffer[4096];
            const long n = long(::recv(client_, buffer, sizeof buffer, 0));
            if (n <= 0) {
                endConnection(false);
                clientLeft_ = true;
                toClient_.clear();
                continue;
            }
            for (long written = 0; written < n;) {
                const long w = long(::write(line_, buffer + written, std::size_t(n - written)));
                if (w > 0) written += w;
                else std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        if (watched == 2 && (p[1].revents & POLLIN)) fromTerminal();
    }
}

void TerminalTcpLink::dropFromTerminal() {
    char buffer[4096];
    while (::read(line_, buffer, sizeof buffer) > 0) {
    }
}

void TerminalTcpLink::acceptClient() {
    client_ = ::accept(listenFd_, nullptr, nullptr);
    if (client_ < 0) return;
    clientLeft_ = false;
    const int one = 1;
    ::setsockopt(client_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    ++connections_;
}

void TerminalTcpLink::fromTerminal() {
    char buffer[4096];
    const long n = long(::read(line_, buffer, sizeof buffer));
    if (n <= 0) return;
    std::string bytes(buffer, std::size_t(n));
    const auto ack = bytes.find(kAck);
    if (ack == std::string::npos) {
        sendToClient(bytes);
        return;
    }
    const bool reset = faults_.take("reset");
    const bool close = !reset && faults_.take("close");
    const bool hold = !reset && !close && faults_.take("hold");
    if (!reset && !close && !hold) {
        sendToClient(bytes);
        return;
    }
    sendToClient(bytes.substr(0, ack + 1));
    toClient_ = bytes.substr(ack + 1);
    if (hold) holdUntil_ = SteadyClock::now() + std::chrono::milliseconds(holdMs_.load());
    else endConnection(reset);
}

void TerminalTcpLink::endConnection(bool reset) {
    if (client_ < 0) return;
    if (reset) {
        // Let the client's side take what was sent before the reset arrives.
        for (int i = 0; i < 1000; ++i) {
            int unsent = 0;
            if (::ioctl(client_, SIOCOUTQ, &unsent) != 0 || unsent == 0) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        const linger abort{1, 0};
        ::setsockopt(client_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    }
    ::close(client_);
    client_ = -1;
}

void TerminalTcpLink::sendToClient(const std::string& bytes) {
    for (std::size_t sent = 0; sent < bytes.size() && client_ >= 0;) {
        const long n = long(::send(client_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL));
        if (n <= 0) return;
        sent += std::size_t(n);
    }
}

}  // namespace sim
