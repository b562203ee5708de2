#include "echo_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace sim {

EchoPeer::~EchoPeer() { stop(); }

bool EchoPeer::start(Mode mode) {
    mode_ = mode;
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&a), len) != 0 || ::listen(listenFd_, 8) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        ::close(listenFd_);
        listenFd_ = -1;
        return false;
    }
    port_ = ntohs(a.sin_port);
    running_ = true;
    thread_ = std::thread([this] { serve(); });
    return true;
}

void EchoPeer::stop() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
    if (listenFd_ >= 0) ::close(listenFd_);
    listenFd_ = -1;
}

std::string EchoPeer::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

void EchoPeer::serve() {
    std::vector<int> clients;
    while (running_) {
        std::vector<pollfd> fds{{listenFd_, POLLIN, 0}};
        for (int c : clients) fds.push_back({c, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), 20) <= 0) continue;
        if (fds[0].revents & POLLIN) {
            int c = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (c >= 0) {
                ++connections_;
                if (mode_ == Mode::CloseAtOnce) ::close(c);
                else clients.push_back(c);
            }
        }
        for (std::size_t i = 1; i < fds.size(); ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buf[4096];
            const ssize_t n = ::recv(fds[i].fd, buf, sizeof buf, 0);
            if (n <= 0) {
                ::close(fds[i].fd);
                std::erase(clients, fds[i].fd);
                continue;
            }
            {
                std::lock_guard lock(mutex_);
                received_.append(buf, std::size_t(n));
            }
            if (mode_ == Mode::Echo) ::send(fds[i].fd, buf, std::size_t(n), MSG_NOSIGNAL);
        }
    }
    for (int c : clients) ::close(c);
}

}  // namespace sim
