// The reader's side of its frames, written apart from the library's: STX, text, ETX, XOR check.
#pragma once

#include "serial_device.h"

#include <optional>
#include <string>

namespace sim {

namespace reader {
constexpr std::uint8_t STX = 0x02, ETX = 0x03, EOT = 0x04, ENQ = 0x05, ACK = 0x06, NAK = 0x15, SUB = 0x1A;
}

// The XOR of every byte after STX through ETX.
std::uint8_t readerFrameCheck(const std::string& text);
Bytes encodeReaderFrame(const std::string& text);

// Splits what the computer sends into frames and single control bytes. Bytes outside a frame that
// are not control bytes are dropped.
class ReaderInbound {
public:
    struct Item {
        enum Kind { Control, Frame, BadFrame } kind;
        std::uint8_t control = 0;  // Control
        std::string text;          // Frame: between STX and ETX
        Bytes raw;                 // as it came
    };
    // The next complete item from the bytes pushed so far, if there is one.
    std::optional<Item> next();
    void push(const Bytes& bytes) { pending_.insert(pending_.end(), bytes.begin(), bytes.end()); }

private:
    Bytes pending_;
};

}  // namespace sim
