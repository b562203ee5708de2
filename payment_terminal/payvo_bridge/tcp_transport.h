// The bridge's TCP/IP line to the terminal: address check, connect, reconnect, and the
// acknowledged send and frame receive. Waits block on the socket with a time-out rather than spin.
#pragma once

#include "transport.h"

#include <chrono>
#include <string>

namespace payvo_bridge {

// Four dotted decimal numbers of at most three digits, each at most 255, nothing else.
bool isValidIpv4(std::string_view address);

class TcpTransport : public Transport {
public:
    TcpTransport(std::string address, std::string port);
    ~TcpTransport() override;
    bool open() override;
    void close() override;
    void clear() override {}
    int send(std::string_view message, std::string& held, int seconds) override;
    int receive(std::string& answer, std::string& held, int seconds, std::atomic<bool>& cancel) override;

private:
    bool connectSocket();
    bool reconnect(int seconds);
    // Waits for bytes (up to the deadline) and reads up to count of them: the count, 0 when none
    // came in time, -1 with error set when the connection failed (error 0: the peer closed).
    long readUntil(char* buffer, std::size_t count, std::chrono::steady_clock::time_point deadline, int& error);
    // One wait for more bytes into buffer (cancel, reconnect and time-out handled): false when the
    // receive ends, with its result.
    bool readMore(std::string& buffer, std::chrono::steady_clock::time_point& deadline, int seconds, std::atomic<bool>& cancel, int& result);
    void reply(char byte);

    std::string address_;
    std::string port_;
    int socket_ = -1;
};

}  // namespace payvo_bridge
