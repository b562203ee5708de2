// The ECR link over the serial port: the process-wide port state, opening and set-up, and the
// acknowledged send and the frame receive with their retries and time-outs.
#pragma once

#include "link.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace payvo {

// The handle of the process-wide port (its descriptor); kInvalidPort when none is open.
using PortHandle = int;
inline constexpr PortHandle kInvalidPort = -1;

// Busy state and cancel flag of one CCom. Busy: 0 idle, 1 a payment runs, 2 a batch runs, 3 another
// operation runs, 4 a cancel was asked. Written on one thread and polled on another.
struct CSerialLink {
    std::atomic<std::int32_t> busy{0};
    std::atomic<std::int32_t> cancel{0};
};

// A bare number 1..256 becomes "COM<n>"; accepted are names longer than three characters that
// contain "COM".
bool CheckPortName(std::string& name);

// Opens (or keeps, for the same name and speed) the process-wide port; kInvalidPort on failure.
// name may be rewritten by CheckPortName.
PortHandle SerialOpen(std::string& name, const std::string& speed);
// Ends one operation's use; the port stays open.
void SerialClose(PortHandle handle);
// Reads and drops what the terminal has sent (for at most 2000 ms).
void SerialClear(PortHandle handle);
// One frame, waiting for its acknowledgement: 0, 2102, 2103, 2104, 2105, 2110.
int SerialSend(std::string_view frame, std::uint16_t ackTimeoutSeconds, PortHandle handle);
// One frame (or a lone GS) from the terminal, acknowledged: 0, 999, 2102, 2103, 2104, 2105, 2106,
// 2107, 2110, 2111 (cancel set to 1; it is cleared), -1.
int SerialReceive(Frame& message, std::uint16_t answerTimeoutSeconds, PortHandle handle, std::atomic<std::int32_t>* cancel = nullptr);
bool HasInput(PortHandle handle);
// SerialRead's answer when the port failed (an error, or the device gone), apart from -1 for
// nothing waiting.
inline constexpr long kReadFailed = -2;
// Bytes read (at least 1), -1 when nothing was waiting, kReadFailed when the read failed.
long SerialRead(char* buffer, std::size_t count, PortHandle handle);
// 1 written, 0 failed (an error, or the port took nothing for 5 s).
int SerialWrite(const char* data, std::size_t count, PortHandle handle);
// The handle of the port open now (kInvalidPort when none): a holder checks its handle against it,
// since another control's shut-down may have closed the port.
PortHandle processPortHandle();
// Closes the port and forgets it (the forwarding serial worker's shut-down); the next open opens afresh.
void closeProcessPort();

}  // namespace payvo
