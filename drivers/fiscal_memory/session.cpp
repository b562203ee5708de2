#include "session.h"

#include "errors.h"
#include "serial_port.h"

#include <atomic>
#include <cstdlib>

namespace memorix {
namespace {

// MEMORIX_READ_TIMEOUT_MS lets a test that runs a whole program shorten the wait as well.
int initialReadTimeoutMs() {
    const char* text = std::getenv("MEMORIX_READ_TIMEOUT_MS");
    int ms = text ? std::atoi(text) : 0;
    return ms > 0 ? ms : 5000;
}

std::atomic<int> gReadTimeoutMs{initialReadTimeoutMs()};

}  // namespace

void setReadTimeoutMs(int ms) { gReadTimeoutMs = ms; }
int readTimeoutMs() { return gReadTimeoutMs; }

std::uint8_t Session::readByte() {
    // Whatever has arrived is taken in one call and handed out a byte at a time; a purge drops it.
    if (next_ == buffered_) {
        long n = port_.read(buffer_, sizeof buffer_, gReadTimeoutMs);
        if (n < 0) {
            port_.clearErrors();
            throw CCommError(MEMORIX_COM_PORT);
        }
        if (n == 0) throw CCommError(MEMORIX_TIMEOUT);
        buffered_ = std::size_t(n);
        next_ = 0;
    }
    return buffer_[next_++];
}

void Session::writeBytes(const Bytes& bytes) {
    long n = port_.write(bytes.data(), bytes.size(), kWriteTimeoutMs);
    if (n < 0) {
        port_.clearErrors();
        throw CCommError(MEMORIX_COM_PORT);
    }
    if (std::size_t(n) != bytes.size()) throw CCommError(MEMORIX_TIMEOUT);
}

void Session::purgeInput() {
    port_.purgeInput();
    buffered_ = next_ = 0;
}

int Session::sendRequest(std::span<const std::uint8_t> payload) {
    MemorixFrame frame;
    if (int code = encodeRequest(payload, frame)) return code;
    try {
        purgeInput();
        writeBytes(frame.head);
        purgeInput();
        writeBytes(frame.tail);
    } catch (const CCommError& e) {
        return e.code();
    }
    return 0;
}

int Session::receiveReply(std::size_t expected, Bytes& data) {
    if (expected > kMaxPayload) return MEMORIX_INTERNAL;
    ReplyDecoder decoder(expected);
    try {
        while (decoder.push(readByte()) == ReplyDecoder::State::NeedMore) {
        }
    } catch (const CCommError& e) {
        return e.code();
    }
    if (decoder.state() == ReplyDecoder::State::Failed) return decoder.code();
    data = decoder.data();
    return 0;
}

int Session::exchange(const Request& request, Bytes& reply) {
    if (int code = sendRequest(request.payload)) return code;
    return receiveReply(request.replyLength, reply);
}

int Session::exchange(const Encoded& encoded, Bytes& reply) {
    if (encoded.code) return encoded.code;
    return exchange(encoded.request, reply);
}

}  // namespace memorix
