#include "session.h"

#include "cardeon.h"
#include "commands.h"
#include "exchange_log.h"

#include "clock.h"

#include <chrono>
#include <exception>
#include <string>

namespace cardeon {
namespace {

MessagePump gPump = nullptr;
void* gPumpContext = nullptr;

// A write waits this long for room on the line; the reader's line never holds bytes back.
constexpr int kWriteLimitMs = 2000;

}  // namespace

void setMessagePump(MessagePump pump, void* context) {
    gPump = pump;
    gPumpContext = context;
}

int Session::open(std::int32_t port) {
    std::string name;
    try {
        name = platform::comPortName(std::uint16_t(port));
    } catch (const std::exception&) {
        WriteLog("Exception on formatin number of serial port.");
        return CARDEON_PORT_OPEN;
    }
    try {
        if (!port_.open(name)) return CARDEON_PORT_OPEN;
        platform::SerialSettings line;
        line.baud = kReaderBaud;
        if (!port_.configure(line)) {
            port_.close();
            return CARDEON_PORT_STATE_WRITE;
        }
    } catch (const std::exception&) {
        WriteLog("Exception on open serial port.");
        port_.close();
        return CARDEON_PORT_OPEN;
    }
    return CARDEON_OK;
}

int Session::writeBytes(std::span<const std::uint8_t> bytes) {
    try {
        WriteLog("Send packet: " + loggedBytes(bytes));
        // A write that leaves part of the frame behind is as failed as one that sends nothing.
        if (port_.write(bytes.data(), bytes.size(), kWriteLimitMs) != long(bytes.size())) return CARDEON_WRITE;
    } catch (const std::exception&) {
        WriteLog("Exception on sending data to serial port.");
        return CARDEON_WRITE;
    }
    return CARDEON_OK;
}

int Session::writeByte(std::uint8_t byte) { return writeBytes(std::span(&byte, 1)); }

long Session::readWithin(std::uint8_t* buffer, std::size_t room, int seconds) {
    platform::Clock& clock = platform::clock();
    const auto start = clock.steadyNow();
    const auto limit = std::chrono::seconds(seconds);
    try {
        for (;;) {
            long n = port_.read(buffer, room, kWaitPassMs);
            if (n != 0) return n < 0 ? CARDEON_READ : n;
            if (gPump) gPump(gPumpContext);
            if (clock.steadyNow() - start >= limit) return 0;
        }
    } catch (const std::exception&) {
        WriteLog("Exception on reading data from serial port.");
        return CARDEON_READ;
    }
}

int Session::SendFrame(std::span<const std::uint8_t> frame, int seconds) {
    int silences = 0;
    int refusals = 0;
    std::uint8_t answer[kCollectionSize];
    for (;;) {
        if (int code = writeBytes(frame)) return code;
        const long n = readWithin(answer, sizeof answer, seconds);
        if (n < 0) return int(n);
        if (n == 0) {
            WriteLog("Wait for aonswer timeout");
            if (++silences == kTries) return CARDEON_TIMEOUT;
            continue;
        }
        silences = 0;
        if (answer[0] == kAck) {
            WriteLog("Receive packet: " + loggedBytes(std::span(answer, std::size_t(n))));
            return n > 1 ? CARDEON_ACK_WITH_DATA : CARDEON_OK;
        }
        if (++refusals == kTries) {
            writeByte(kEot);
            return CARDEON_BAD_PACKET;
        }
    }
}

int Session::ReceiveFrame(Bytes& frame, int seconds) {
    Bytes collection;
    collection.reserve(kCollectionSize);
    std::uint8_t chunk[kCollectionSize];
    int badFrames = 0;
    for (;;) {
        // Never more than the collection holds; a full collection without a frame is bad.
        const long n = readWithin(chunk, kCollectionSize - collection.size(), seconds);
        if (n < 0) return int(n);
        if (n == 0) return CARDEON_TIMEOUT;
        collection.insert(collection.end(), chunk, chunk + n);

        const FrameCheck check = CheckReaderFrame(collection);
        if (check.code == kFrameGood) {
            frame.assign(collection.begin() + long(check.start), collection.begin() + long(check.end));
            if (int code = writeByte(kAck)) return code;
            WriteLog("Receive packet: " + loggedBytes(frame));
            return CARDEON_OK;
        }
        if (check.code == kFrameIncomplete && collection.size() < kCollectionSize) continue;
        if (++badFrames == kTries) {
            writeByte(kEot);
            return CARDEON_BAD_PACKET;
        }
        collection.clear();
        if (int code = writeByte(kNak)) return code;
    }
}

int Session::ShowText(std::string_view text, int seconds) { return SendFrame(displayTextFrame(text), seconds); }

}  // namespace cardeon
