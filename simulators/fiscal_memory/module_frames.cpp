#include "module_frames.h"

#include <algorithm>

namespace sim {
namespace {

constexpr std::uint8_t STX = 0x02;
constexpr std::uint8_t ESC = 0x1B;

void putStuffed(Bytes& out, std::uint8_t b) {
    if (b == ESC) {
        out.insert(out.end(), {ESC, 0x00});
    } else if (b == STX) {
        out.insert(out.end(), {ESC, 0x01});
    } else {
        out.push_back(b);
    }
}

}  // namespace

std::uint16_t moduleCheckWord(const Bytes& bytes) {
    std::uint16_t word = 0;
    for (std::uint8_t d : bytes) {
        for (int pass = 0; pass < 8; ++pass) {
            const unsigned low = (d ^ word) & 1u;
            word = std::uint16_t(word >> 1);
            if (low) word = std::uint16_t(word ^ 0xA001);
            word = std::uint16_t(word >> 1);
        }
    }
    return word;
}

Bytes moduleReply(std::uint8_t status, const Bytes& data, bool spoilCheck) {
    Bytes covered(data.size() + 2);
    covered[0] = std::uint8_t(data.size() + 3);
    covered[1] = status;
    std::copy(data.begin(), data.end(), covered.begin() + 2);
    std::uint16_t check = moduleCheckWord(covered);
    if (spoilCheck) check ^= 0x0101;
    Bytes frame{STX};
    for (std::uint8_t b : covered) putStuffed(frame, b);
    putStuffed(frame, std::uint8_t(check));
    putStuffed(frame, std::uint8_t(check >> 8));
    return frame;
}

void RequestParser::restart() {
    inFrame_ = true;
    escape_ = false;
    body_.clear();
    raw_.assign(1, STX);
}

void RequestParser::push(std::uint8_t byte) {
    if (byte == STX) {
        restart();
        return;
    }
    if (!inFrame_) return;
    raw_.push_back(byte);
    if (escape_) {
        escape_ = false;
        if (byte > 1) {
            inFrame_ = false;
            return;
        }
        body_.push_back(byte == 1 ? STX : ESC);
    } else if (byte == ESC) {
        escape_ = true;
        return;
    } else {
        body_.push_back(byte);
    }
    // body: L, then L - 2 payload bytes (at least the command byte), then two check bytes.
    if (body_[0] < 3) {
        inFrame_ = false;
        return;
    }
    if (body_.size() == std::size_t(body_[0]) + 1) {
        Frame frame;
        const std::size_t payloadSize = body_[0] - 2u;
        frame.payload.assign(body_.begin() + 1, body_.begin() + 1 + long(payloadSize));
        Bytes covered(body_.begin(), body_.begin() + 1 + long(payloadSize));
        const std::uint16_t sent = std::uint16_t(body_[1 + payloadSize] | (body_[2 + payloadSize] << 8));
        frame.checkOk = sent == moduleCheckWord(covered);
        frame.raw = raw_;
        ready_.push_back(std::move(frame));
        inFrame_ = false;
    }
}

std::optional<RequestParser::Frame> RequestParser::take() {
    if (ready_.empty()) return std::nullopt;
    Frame frame = std::move(ready_.front());
    ready_.erase(ready_.begin());
    return frame;
}

}  // namespace sim
