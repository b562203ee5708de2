// The far side of the terminal's gateway connections: a loopback TCP server that echoes what it
// receives, or closes each connection at once, as a test chooses.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim {

class EchoPeer {
public:
    enum class Mode { Echo, CloseAtOnce, Silent };

    EchoPeer() = default;
    ~EchoPeer();
    EchoPeer(const EchoPeer&) = delete;
    EchoPeer& operator=(const EchoPeer&) = delete;

    // Listens on 127.0.0.1 on a free port; false when it cannot.
    bool start(Mode mode = Mode::Echo);
    void stop();
    int port() const { return port_; }
    // Everything received, over all connections.
    std::string received() const;
    int connections() const { return connections_; }

private:
    void serve();

    Mode mode_ = Mode::Echo;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> running_{false};
    std::atomic<int> connections_{0};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::string received_;
};

}  // namespace sim
