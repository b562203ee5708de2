// The fiscal-memory module's own framing: it finds request frames in what the computer sends and
// builds its reply frames. Written apart from the driver's framing on purpose, so a mistake made
// on one side is not silently shared by the other.
#pragma once

#include "serial_device.h"

#include <cstdint>
#include <optional>

namespace sim {

// The module's check word step: eight passes over bit 0 of (byte xor word).
std::uint16_t moduleCheckWord(const Bytes& bytes);

// Reply frame: STX, L = data + 3, status, data, check word (low, high), stuffed after the STX.
Bytes moduleReply(std::uint8_t status, const Bytes& data = {}, bool spoilCheck = false);

// Collects request frames from a byte stream. Bytes before an STX are skipped; an STX inside a
// frame starts a new one; a broken escape drops the frame.
class RequestParser {
public:
    struct Frame {
        Bytes payload;      // command byte and arguments
        Bytes raw;          // the frame as it came over the wire
        bool checkOk = false;
    };

    void push(std::uint8_t byte);
    // The next complete frame, if any.
    std::optional<Frame> take();
    // True while a frame has begun and is not complete.
    bool inFrame() const { return inFrame_; }

private:
    void restart();

    bool inFrame_ = false;
    bool escape_ = false;
    Bytes body_;  // L, payload, check low, check high (unstuffed)
    Bytes raw_;
    std::vector<Frame> ready_;
};

}  // namespace sim
