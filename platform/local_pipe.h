// Local message pipes in place of Windows named pipes: AF_UNIX SOCK_SEQPACKET sockets, which keep
// message boundaries, in the abstract namespace under a name that carries the process id, so two
// programs never meet on one pipe. Waits go through platform::clock().
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

using PipeMessage = std::vector<std::uint8_t>;

// The longest message read whole; longer ones are cut (the Windows pipes' read buffer).
inline constexpr std::size_t kPipeMessageMax = 8191;

// One connected end of a pipe.
class LocalPipe {
public:
    LocalPipe() = default;
    explicit LocalPipe(int fd) : fd_(fd) {}
    ~LocalPipe();
    LocalPipe(LocalPipe&& other) noexcept;
    LocalPipe& operator=(LocalPipe&& other) noexcept;
    LocalPipe(const LocalPipe&) = delete;
    LocalPipe& operator=(const LocalPipe&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // Sends one message; false when the pipe is closed or broken.
    bool send(const PipeMessage& message);
    // True when a message (or the other end's closing) is waiting.
    bool hasMessage() const;
    // Takes one waiting message; nothing when none is waiting, or the other end has gone.
    std::optional<PipeMessage> receive();
    // Waits up to timeoutMs (by the clock, polling every 10 ms) for a message; nothing on time-out.
    std::optional<PipeMessage> receiveWithin(int timeoutMs);
    void close();

private:
    friend class LocalPipeServer;
    int fd_ = -1;
};

// The server end: creates the pipe and accepts its clients.
class LocalPipeServer {
public:
    LocalPipeServer() = default;
    ~LocalPipeServer();
    LocalPipeServer(const LocalPipeServer&) = delete;
    LocalPipeServer& operator=(const LocalPipeServer&) = delete;

    bool listen(const std::string& name);
    // Waits up to timeoutMs for a client of the same user; a closed pipe when none came. Another
    // user's connection is refused.
    LocalPipe accept(int timeoutMs);
    void close();

private:
    int fd_ = -1;
};

// Connects to the pipe of this process with that name, waiting up to timeoutMs for it to exist; a
// closed pipe when it does not, or when another user holds the name.
LocalPipe connectLocalPipe(const std::string& name, int timeoutMs);

}  // namespace platform
