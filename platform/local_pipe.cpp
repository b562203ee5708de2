#include "local_pipe.h"

#include "clock.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace platform {
namespace {

// Abstract socket address: a leading zero byte, then "tillora-<pid>-<name>".
socklen_t pipeAddress(const std::string& name, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const std::string path = "tillora-" + std::to_string(::getpid()) + "-" + name;
    const std::size_t n = std::min(path.size(), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, path.data(), n);
    return socklen_t(offsetof(sockaddr_un, sun_path) + 1 + n);
}

bool readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0;
}

// Abstract sockets carry no file permissions: any local user may connect to one. The pipes link
// threads of one program, so the other end must run as the same user.
bool sameUser(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == ::geteuid();
}

}  // namespace

LocalPipe::~LocalPipe() { close(); }

LocalPipe::LocalPipe(LocalPipe&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

LocalPipe& LocalPipe::operator=(LocalPipe&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void LocalPipe::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool LocalPipe::send(const PipeMessage& message) {
    if (fd_ < 0) return false;
    ssize_t n;
    do {
        n = ::send(fd_, message.data(), message.size(), MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n == ssize_t(message.size());
}

bool LocalPipe::hasMessage() const { return fd_ >= 0 && readable(fd_); }

std::optional<PipeMessage> LocalPipe::receive() {
    if (!hasMessage()) return std::nullopt;
    PipeMessage message(kPipeMessageMax);
    ssize_t n;
    do {
        n = ::recv(fd_, message.data(), message.size(), MSG_DONTWAIT);
    } while (n < 0 && errno == EINTR);
    // A zero-length read on a sequenced-packet socket is the other end closing.
    if (n <= 0) return std::nullopt;
    message.resize(std::size_t(n));
    return message;
}

std::optional<PipeMessage> LocalPipe::receiveWithin(int timeoutMs) {
    const auto deadline = clock().steadyNow() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (hasMessage()) return receive();
        if (clock().steadyNow() >= deadline) return std::nullopt;
        clock().sleepMs(10);
    }
}

LocalPipeServer::~LocalPipeServer() { close(); }

void LocalPipeServer::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool LocalPipeServer::listen(const std::string& name) {
    close();
    fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return false;
    sockaddr_un address;
    const socklen_t length = pipeAddress(name, address);
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd_, 255) != 0) {
        close();
        return false;
    }
    return true;
}

LocalPipe LocalPipeServer::accept(int timeoutMs) {
    if (fd_ < 0) return LocalPipe();
    const auto deadline = clock().steadyNow() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (readable(fd_)) {
            LocalPipe client(::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC));
            if (client.isOpen() && sameUser(client.fd_)) return client;
            // Another user's connection is closed unheard; the wait goes on.
        }
        if (clock().steadyNow() >= deadline) return LocalPipe();
        clock().sleepMs(1);
    }
}

LocalPipe connectLocalPipe(const std::string& name, int timeoutMs) {
    sockaddr_un address;
    const socklen_t length = pipeAddress(name, address);
    const auto deadline = clock().steadyNow() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        if (fd < 0) return LocalPipe();
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0) {
            if (sameUser(fd)) return LocalPipe(fd);
            ::close(fd);
            return LocalPipe();  // the name is held by another user's program
        }
        ::close(fd);
        if (clock().steadyNow() >= deadline) return LocalPipe();
        clock().sleepMs(10);
    }
}

}  // namespace platform
