// One export call's exchange with the module over the open port: bytes with time-outs, request
// frames out, reply frames in, every failure turned into a code.
#pragma once

#include "commands.h"
#include "link.h"

#include <cstdint>

namespace platform {
class SerialPort;
}

namespace memorix {

// How long a read waits for a byte: 5000 ms on a real line, or MEMORIX_READ_TIMEOUT_MS from the
// environment. Tests shorten it.
void setReadTimeoutMs(int ms);
int readTimeoutMs();
constexpr int kWriteTimeoutMs = 2000;

class Session {
public:
    explicit Session(platform::SerialPort& port) : port_(port) {}

    // 0 or a code; nothing goes out for a payload outside 1 to 250 bytes.
    int sendRequest(std::span<const std::uint8_t> payload);
    // 0 with exactly expected data bytes in data, or a code (the module's status passes through).
    int receiveReply(std::size_t expected, Bytes& data);
    // One request and its reply; the library never has two requests outstanding.
    int exchange(const Request& request, Bytes& reply);
    int exchange(const Encoded& encoded, Bytes& reply);

private:
    std::uint8_t readByte();  // throws CCommError
    void writeBytes(const Bytes& bytes);  // throws CCommError
    void purgeInput();

    platform::SerialPort& port_;
    std::uint8_t buffer_[256];
    std::size_t buffered_ = 0;
    std::size_t next_ = 0;
};

}  // namespace memorix
