#include "link.h"

#include "memorix.h"

namespace memorix {

std::uint16_t MemorixCheckWord(std::uint16_t check, std::uint8_t byte) {
    for (int pass = 0; pass < 8; ++pass) {
        bool bit = ((byte ^ check) & 1) != 0;
        check >>= 1;
        if (bit) check ^= 0xA001;
        check >>= 1;
    }
    return check;
}

std::uint16_t MemorixCheckWord(std::span<const std::uint8_t> bytes, std::uint16_t start) {
    for (std::uint8_t b : bytes) start = MemorixCheckWord(start, b);
    return start;
}

void stuff(std::uint8_t byte, Bytes& out) {
    if (byte == kStx || byte == kEsc) {
        out.push_back(kEsc);
        out.push_back(byte == kStx ? 0x01 : 0x00);
    } else {
        out.push_back(byte);
    }
}

Bytes MemorixFrame::bytes() const {
    Bytes all = head;
    all.insert(all.end(), tail.begin(), tail.end());
    return all;
}

int encodeRequest(std::span<const std::uint8_t> payload, MemorixFrame& frame) {
    if (payload.empty() || payload.size() > kMaxPayload) return MEMORIX_INTERNAL;
    auto length = std::uint8_t(payload.size() + 2);
    std::uint16_t check = MemorixCheckWord(payload, MemorixCheckWord(0, length));
    frame.head.clear();
    frame.tail.clear();
    frame.head.push_back(kStx);
    stuff(length, frame.head);
    for (std::uint8_t b : payload) stuff(b, frame.head);
    stuff(std::uint8_t(check & 0xFF), frame.head);
    stuff(std::uint8_t(check >> 8), frame.tail);
    return 0;
}

ReplyDecoder::State ReplyDecoder::fail(int code) {
    code_ = code;
    return state_ = State::Failed;
}

ReplyDecoder::State ReplyDecoder::push(std::uint8_t raw) {
    if (state_ != State::NeedMore) return state_;
    if (field_ == Field::Start) {
        if (raw != kStx) return fail(MEMORIX_TIMEOUT);
        field_ = Field::Length;
        return state_;
    }
    if (escaped_) {
        escaped_ = false;
        if (raw > 0x01) return fail(MEMORIX_BAD_DATA);
        return field(raw == 0x01 ? kStx : kEsc);
    }
    if (raw == kStx) return fail(MEMORIX_INTERNAL);
    if (raw == kEsc) {
        escaped_ = true;
        return state_;
    }
    return field(raw);
}

ReplyDecoder::State ReplyDecoder::field(std::uint8_t byte) {
    switch (field_) {
    case Field::Start:
        break;
    case Field::Length:
        if (byte < 3) return fail(MEMORIX_INVALID_RECORD_LENGTH);
        check_ = MemorixCheckWord(0, byte);
        length_ = byte;
        field_ = Field::Status;
        return state_;
    case Field::Status: {
        check_ = MemorixCheckWord(check_, byte);
        if (byte == 0) {
            if (expected_ != 0) return fail(MEMORIX_BAD_DATA);
            field_ = Field::CheckLow;
        } else if (byte == 1) {
            if (std::size_t(length_) - 3 != expected_) return fail(MEMORIX_INVALID_RECORD_LENGTH);
            field_ = expected_ ? Field::Data : Field::CheckLow;
        } else {
            return fail(byte);  // the module's own error status, passed on unchanged
        }
        return state_;
    }
    case Field::Data:
        check_ = MemorixCheckWord(check_, byte);
        data_.push_back(byte);
        if (data_.size() == expected_) field_ = Field::CheckLow;
        return state_;
    case Field::CheckLow:
        checkLow_ = byte;
        field_ = Field::CheckHigh;
        return state_;
    case Field::CheckHigh:
        if (std::uint16_t(checkLow_ | (byte << 8)) != check_) return fail(MEMORIX_INTERFACE_CRC);
        return state_ = State::Done;
    }
    return state_;
}

}  // namespace memorix
