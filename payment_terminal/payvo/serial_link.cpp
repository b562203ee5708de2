#include "serial_link.h"

#include "clock.h"
#include "errors.h"
#include "serial_port.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <charconv>
#include <mutex>

namespace payvo {
namespace {

// The one port of the process, with the name and speed it was set up with. The forwarding serial
// worker and CCom take turns on it; the mutex only guards the state itself.
struct ProcessPort {
    std::mutex mutex;
    platform::SerialPort port;
    std::string name;
    long speed = 0;
};

ProcessPort& processPort() {
    static ProcessPort p;
    return p;
}

long speedValue(const std::string& text) {
    if (text.empty()) return 115200;
    long v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

using Steady = std::chrono::steady_clock::time_point;
Steady deadlineIn(int ms) { return platform::clock().steadyNow() + std::chrono::milliseconds(ms); }
bool passed(Steady deadline) { return platform::clock().steadyNow() >= deadline; }

// A write that the port does not take within this fails (the line's own pace is far faster).
constexpr int kWriteDeadlineMs = 5000;

int readOneByte(PortHandle handle, char& byte) { return int(SerialRead(&byte, 1, handle)); }

// A frame the terminal started instead of acknowledging: read to ETX and two more bytes (or the
// time-out), then ACK it whether it was complete or not; its content is dropped.
void absorbFrame(std::uint16_t ackTimeoutSeconds, PortHandle handle) {
    const auto deadline = deadlineIn(ackTimeoutSeconds * 1000);
    int afterEtx = -1;
    while (afterEtx < 2 && !passed(deadline)) {
        char c;
        const int got = readOneByte(handle, c);
        if (got == kReadFailed) return;  // nobody left to acknowledge
        if (got == 1) {
            if (afterEtx >= 0) ++afterEtx;
            else if (c == ETX) afterEtx = 0;
        } else {
            platform::clock().sleepMs(1);
        }
    }
    SerialWrite(&ACK, 1, handle);
}

}  // namespace

bool CheckPortName(std::string& name) {
    if (name.find("COM") == std::string::npos) {
        int n = 0;
        auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), n);
        if (ec == std::errc() && n >= 1 && n <= 256) name = platform::comPortName(n);
    }
    return name.size() > 3 && name.find("COM") != std::string::npos;
}

PortHandle SerialOpen(std::string& name, const std::string& speed) {
    if (!CheckPortName(name)) return kInvalidPort;
    auto& p = processPort();
    std::lock_guard lock(p.mutex);
    const long baud = speedValue(speed);
    bool setUp = false;
    if (name != p.name || baud != p.speed) {
        p.port.close();
        p.name = name.substr(0, 99);
        p.speed = baud;
        setUp = true;
    }
    if (!p.port.isOpen()) {
        if (!p.port.open(platform::resolvePortName(name))) return kInvalidPort;
        setUp = true;  // a port opened afresh has the driver's settings, not ours
    }
    if (setUp) {
        platform::SerialSettings settings;
        settings.baud = baud;
        if (!p.port.configure(settings)) {
            p.port.close();
            return kInvalidPort;
        }
    }
    return p.port.fd();
}

void SerialClose(PortHandle) {}

PortHandle processPortHandle() {
    auto& p = processPort();
    std::lock_guard lock(p.mutex);
    return p.port.isOpen() ? p.port.fd() : kInvalidPort;
}

void closeProcessPort() {
    auto& p = processPort();
    std::lock_guard lock(p.mutex);
    p.port.close();
}

bool HasInput(PortHandle handle) {
    if (handle == kInvalidPort) return false;
    int waiting = 0;
    return ::ioctl(handle, FIONREAD, &waiting) == 0 && waiting > 0;
}

long SerialRead(char* buffer, std::size_t count, PortHandle handle) {
    if (handle == kInvalidPort) return -1;
    pollfd p{handle, POLLIN, 0};
    const int ready = ::poll(&p, 1, 0);
    if (ready < 0) return errno == EINTR ? -1 : kReadFailed;
    if (ready == 0) return -1;
    // An adapter pulled out (or a line hung up) reports an error or a hang-up, not silence.
    if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) return kReadFailed;
    const ssize_t n = ::read(handle, buffer, count);
    if (n > 0) return long(n);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return -1;
    return kReadFailed;  // readable, yet nothing or an error: the device is gone
}

int SerialWrite(const char* data, std::size_t count, PortHandle handle) {
    if (handle == kInvalidPort) return 0;
    // A port that takes nothing (flow control held, a driver stuck) fails the write at its deadline
    // instead of holding the caller for ever.
    const auto deadline = deadlineIn(kWriteDeadlineMs);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(handle, data + done, count - done);
        if (n > 0) {
            done += std::size_t(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return 0;
        if (passed(deadline)) return 0;
        platform::clock().sleepMs(1);
    }
    return 1;
}

void SerialClear(PortHandle handle) {
    const auto deadline = deadlineIn(2000);
    char drop[10];
    while (!passed(deadline) && SerialRead(drop, sizeof drop, handle) > 0) platform::clock().sleepMs(1);
}

int SerialSend(std::string_view frame, std::uint16_t ackTimeoutSeconds, PortHandle handle) {
    if (handle == kInvalidPort) return kLinkNoPort;
    int attempts = 0;
    Steady deadline;
    auto sendOnce = [&] {
        ++attempts;
        deadline = deadlineIn(ackTimeoutSeconds * 1000);
        return SerialWrite(frame.data(), frame.size(), handle) >= 1;
    };
    if (!sendOnce()) return kLinkWriteError;
    for (;;) {
        char c;
        const int got = readOneByte(handle, c);
        if (got == kReadFailed) return kLinkReadError;
        if (got != 1) {
            if (passed(deadline)) {
                if (attempts >= 3) return kLinkTimeout;
                if (!sendOnce()) return kLinkWriteError;
            } else {
                platform::clock().sleepMs(1);
            }
            continue;
        }
        if (c == ACK) return kLinkOk;
        if (c == NAK) {
            if (attempts >= 3) return kLinkTooManyNaks;
            if (!sendOnce()) return kLinkWriteError;
        } else if (c == STX) {
            absorbFrame(ackTimeoutSeconds, handle);
            --attempts;
            if (!sendOnce()) return kLinkWriteError;
        }
    }
}

int SerialReceive(Frame& message, std::uint16_t answerTimeoutSeconds, PortHandle handle, std::atomic<std::int32_t>* cancel) {
    if (handle == kInvalidPort) return kLinkNoPort;
    const auto deadline = deadlineIn(answerTimeoutSeconds * 1000);
    std::string collected;
    bool inFrame = false;
    for (;; platform::clock().sleepMs(1)) {
        if (cancel && cancel->load() == 1) {
            cancel->store(0);
            return kLinkCancelled;
        }
        if (passed(deadline)) return kLinkTimeout;
        if (collected.size() > 4900) return kLinkOverflow;
        if (!inFrame) {
            // Byte by byte until a frame starts.
            char c;
            int got;
            while ((got = readOneByte(handle, c)) == 1) {
                if (c == STX) {
                    collected.assign(1, STX);
                    inFrame = true;
                    break;
                }
                if (c == EOT) return kLinkEot;
                if (c == GS) {
                    message.assign(1, GS);
                    return SerialWrite(&ACK, 1, handle) ? kLinkOk : kLinkWriteError;
                }
            }
            if (got == kReadFailed) return kLinkReadError;
            if (!inFrame) continue;
        }
        char chunk[100];
        const long n = SerialRead(chunk, sizeof chunk, handle);
        if (n == kReadFailed) return kLinkReadError;
        if (n > 0) collected.append(chunk, std::size_t(n));
        const CollectedFrames found = scanCollected(collected);
        switch (found.last) {
        case CollectedFrames::Last::None:
            continue;
        case CollectedFrames::Last::Good:
            message = found.frame;
            return SerialWrite(&ACK, 1, handle) ? kLinkOk : kLinkWriteError;
        case CollectedFrames::Last::BadCheck:
            if (found.badCount >= 3) {
                SerialWrite(&EOT, 1, handle);
                return kLinkTooManyNaks;
            }
            SerialWrite(&NAK, 1, handle);
            return kLinkBadCheck;
        case CollectedFrames::Last::Malformed:
            return kLinkMalformed;
        }
    }
}

}  // namespace payvo
