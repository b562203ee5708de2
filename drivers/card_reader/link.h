// Framing of the reader's serial protocol: STX, text, ETX, and an XOR check byte. Pure functions
// over bytes; no I/O.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace cardeon {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kStx = 0x02;
constexpr std::uint8_t kEtx = 0x03;
constexpr std::uint8_t kEot = 0x04;
constexpr std::uint8_t kEnq = 0x05;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;
constexpr std::uint8_t kSub = 0x1A;

// XOR of the bytes, sent raw (not complemented).
std::uint8_t readerCheck(std::span<const std::uint8_t> bytes);

// STX, text, ETX and the XOR of everything after STX through ETX.
Bytes readerFrame(std::string_view text);

// Codes of the frame check.
constexpr int kFrameGood = 0;
constexpr int kFrameBadCheck = -1012;
constexpr int kFrameIncomplete = -1013;
constexpr int kFrameNoStx = -1014;

struct FrameCheck {
    int code = kFrameNoStx;
    std::size_t start = 0;  // the STX, when there is one
    std::size_t end = 0;    // one past the check byte, when the frame is good
};

// Looks at what has been collected: the first STX, the first ETX behind it, and the check byte
// behind that. A frame is incomplete until its check byte has been received, whatever its value.
FrameCheck CheckReaderFrame(std::span<const std::uint8_t> collected);

}  // namespace cardeon
