// One export call's use of the reader's port: opening and setting up the line, frames out with
// their acknowledgement, frames in with theirs, and the waits between, timed on the platform
// clock and turning the caller's message pump.
#pragma once

#include "link.h"

#include "serial_port.h"

#include <cstdint>
#include <string_view>

namespace cardeon {

// The hook turned on every pass of a wait (see CardeonSetMessagePump).
using MessagePump = void (*)(void* context);
void setMessagePump(MessagePump pump, void* context);

constexpr long kReaderBaud = 19200;
constexpr std::size_t kCollectionSize = 2000;
constexpr int kTries = 3;
// A pass of a wait looks at the line this long before it turns the pump and the clock again.
constexpr int kWaitPassMs = 10;

class Session {
public:
    Session() = default;
    ~Session() { close(); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Opens "COM<port>" (low 16 bits of the number) for this session alone at 19200 8N1:
    // 0, -1003 when it cannot be opened, -1002 when the line cannot be set up.
    int open(std::int32_t port);
    void close() { port_.close(); }

    // Sends frame until the reader acknowledges it: 0, -1004 after three silences, -1006 after
    // three refusals (EOT sent), -1016 for an ACK with further bytes, -1007, -1005.
    int SendFrame(std::span<const std::uint8_t> frame, int seconds);
    // Collects one frame from the reader and acknowledges it: 0 with frame from its STX through
    // its check byte, -1004 when nothing comes within seconds of a wait, -1006 after three bad
    // frames (EOT sent), -1005, -1007.
    int ReceiveFrame(Bytes& frame, int seconds);
    // Puts text on the reader's display: STX "Z2" SUB text ETX check, acknowledged.
    int ShowText(std::string_view text, int seconds);
    // One control byte (NAK, EOT): 0 or -1007.
    int writeByte(std::uint8_t byte);

private:
    int writeBytes(std::span<const std::uint8_t> bytes);
    // What arrives within seconds, at most room bytes: the count, 0 after the time-out, -1005.
    long readWithin(std::uint8_t* buffer, std::size_t room, int seconds);

    platform::SerialPort port_;
};

}  // namespace cardeon
