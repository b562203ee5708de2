// What the bridge's connection needs of a line to the terminal: the serial and the TCP/IP
// transports behind one interface, with their result codes.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

namespace payvo_bridge {

// Result codes of the serial transport; the TCP/IP transport gives 0, kTcpFailure or kCancelled.
enum TransportResult : int {
    kTransportOk = 0,
    kTcpFailure = -1,
    kEotReceived = 999,
    kUnexpectedDc = 1007,
    kTimeout = 2102,
    kReadError = 2103,
    kTooManyNaks = 2104,
    kWriteError = 2105,
    kIncomplete = 2106,
    kWrongCheck = 2107,
    kNoStx = 2108,
    kNoPort = 2110,
    kCancelled = 2111,
};

// Every received message, and the bytes kept between waits, fit in this buffer (with a NUL).
inline constexpr std::size_t kMessageBufferSize = 5000;

class Transport {
public:
    virtual ~Transport() = default;
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual void clear() = 0;
    // Sends message and waits up to seconds for its acknowledgement. Bytes of the terminal's next
    // message that came with the ACK are put into held.
    virtual int send(std::string_view message, std::string& held, int seconds) = 0;
    // Waits up to seconds for the terminal's next message and acknowledges it. held goes first;
    // it is left holding the bytes that came after the answer.
    virtual int receive(std::string& answer, std::string& held, int seconds, std::atomic<bool>& cancel) = 0;
};

}  // namespace payvo_bridge
