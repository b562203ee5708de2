// Framing of the fiscal-memory module's serial protocol: byte stuffing, the check word, request
// frames and a decoder of reply frames. Pure functions over bytes; no I/O.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace memorix {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kStx = 0x02;  // frame start, sent raw nowhere else
constexpr std::uint8_t kEsc = 0x1B;  // 1B 00 stands for 1B, 1B 01 for 02
constexpr std::size_t kMaxPayload = 250;

// One step of the check word over a byte. The byte is not shifted between the eight passes, so
// only its bit 0 takes part; the module builds and checks its frames with exactly this step.
std::uint16_t MemorixCheckWord(std::uint16_t check, std::uint8_t byte);
std::uint16_t MemorixCheckWord(std::span<const std::uint8_t> bytes, std::uint16_t start = 0);

// Appends byte to out, stuffed.
void stuff(std::uint8_t byte, Bytes& out);

// A request frame on the wire: STX, L = n + 2, the payload and the check word's low byte in head;
// the check word's high byte (stuffed) in tail. The sender purges its input before the tail, so
// the first byte read afterwards belongs to the reply.
struct MemorixFrame {
    Bytes head;
    Bytes tail;
    Bytes bytes() const;
};

// 0, or 255 for a payload outside 1 to 250 bytes.
int encodeRequest(std::span<const std::uint8_t> payload, MemorixFrame& frame);

// Decodes one reply frame fed a byte at a time as it arrives, expecting a given number of data
// bytes. There is no resynchronisation: the first failure ends the reply with its code.
class ReplyDecoder {
public:
    enum class State { NeedMore, Done, Failed };

    explicit ReplyDecoder(std::size_t expected) : expected_(expected) {}
    State push(std::uint8_t raw);
    State state() const { return state_; }
    // 0 when done; the failure's code (or the module's own status) when failed.
    int code() const { return code_; }
    const Bytes& data() const { return data_; }

private:
    enum class Field { Start, Length, Status, Data, CheckLow, CheckHigh };
    State field(std::uint8_t byte);
    State fail(int code);

    std::size_t expected_;
    Field field_ = Field::Start;
    State state_ = State::NeedMore;
    bool escaped_ = false;
    int code_ = 0;
    std::uint8_t length_ = 0;
    std::uint16_t check_ = 0;
    std::uint8_t checkLow_ = 0;
    Bytes data_;
};

}  // namespace memorix
