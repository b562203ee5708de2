#include "serial_transport.h"

#include "bridge_log.h"
#include "clock.h"
#include "frames.h"

#include <charconv>

namespace payvo_bridge {
namespace {

using Steady = std::chrono::steady_clock::time_point;
Steady now() { return platform::clock().steadyNow(); }
bool passed(Steady since, int ms) { return now() - since >= std::chrono::milliseconds(ms); }

constexpr int kClearSilenceMs = 1500;

}  // namespace

bool checkSerialPortName(std::string& name) {
    logLine("Check given serial port value: %s", name.c_str());
    if (name.find("COM") == std::string::npos) {
        int n = 0;
        const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), n);
        if (ec == std::errc() && end == name.data() + name.size() && n >= 1 && n <= 256) {
            logLine("Warning: changing serial port value from [%s] to [COM%d]", name.c_str(), n);
            name = platform::comPortName(n);
        }
    }
    if (name.size() < 4) {
        logLine("Invalid length of serial port. Serial value: %s", name.c_str());
        return false;
    }
    if (name.find("COM") == std::string::npos) {
        logLine("'%s' not valid serial port value!", name.c_str());
        return false;
    }
    return true;
}

SerialTransport::SerialTransport(std::string portName, std::string speed) : portName_(std::move(portName)), speed_(std::move(speed)) {}

bool SerialTransport::open() {
    std::string name = portName_;
    if (!checkSerialPortName(name)) return false;
    if (!port_.open(platform::resolvePortName(name))) {
        logLine("Cann't open '%s' port.", name.c_str());
        return false;
    }
    logLine("Serial port '%s' opened successful.", name.c_str());
    platform::SerialSettings settings;
    long baud = 9600;
    if (!speed_.empty()) std::from_chars(speed_.data(), speed_.data() + speed_.size(), baud);
    settings.baud = baud;
    if (!port_.configure(settings)) {
        port_.close();
        logLine("Error on setting com port status.");
        return false;
    }
    return true;
}

void SerialTransport::close() {
    if (!port_.isOpen()) return;
    port_.close();
    logLine("Serial port closed.");
}

long SerialTransport::readSome(char* buffer, std::size_t count) {
    const long n = port_.read(reinterpret_cast<std::uint8_t*>(buffer), count, 0);
    return n < 0 ? -2 : n;
}

bool SerialTransport::write(std::string_view bytes) {
    return port_.write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()) == long(bytes.size());
}

void SerialTransport::reply(char byte) {
    logLine("Send: %s", printable({&byte, 1}).c_str());
    write({&byte, 1});
}

void SerialTransport::clear() {
    logLine("Clearing serial port.");
    std::string firstBytes;
    Steady quietSince = now();
    for (;;) {
        char chunk[100];
        const long n = readSome(chunk, sizeof chunk);
        if (n == -2) return;  // a read error ends the drain without a word
        if (n > 0) {
            firstBytes += chunk[0];
            write({&payvo::ACK, 1});
            quietSince = now();
        } else if (passed(quietSince, kClearSilenceMs)) {
            break;
        }
        platform::clock().sleepMs(1);
    }
    if (!firstBytes.empty()) logLine("%s", printable(firstBytes).c_str());
    logLine("Serial port cleared.");
}

int SerialTransport::send(std::string_view message, std::string&, int seconds) {
    if (!port_.isOpen()) return kNoPort;
    int naks = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        logLine("Send: %s", printable(message).c_str());
        if (!write(message)) return kWriteError;
        const Steady began = now();
        while (!passed(began, seconds * 1000)) {
            char byte;
            const long n = readSome(&byte, 1);
            if (n == -2) return kReadError;
            if (n == 0) {
                platform::clock().sleepMs(1);
                continue;
            }
            if (byte == payvo::ACK) {
                logLine("Receive: %s", printable({&byte, 1}).c_str());
                return kTransportOk;
            }
            if (naks >= 2) {
                logLine("Receive: %s", printable({&byte, 1}).c_str());
                return kTooManyNaks;
            }
            if (byte == payvo::NAK) {
                logLine("Receive: %s", printable({&byte, 1}).c_str());
                logLine("Send: %s", printable(message).c_str());
                if (!write(message)) return kWriteError;
                ++naks;
            } else if (byte == DC1 || byte == DC2) {
                logLine("The terminal get unexpected response.");
                return kUnexpectedDc;
            }
        }
    }
    return kTimeout;
}

int SerialTransport::receive(std::string& answer, std::string& held, int seconds, std::atomic<bool>& cancel) {
    if (!port_.isOpen()) return kNoPort;
    std::string buffer;
    buffer.swap(held);
    if (!buffer.empty() && checkSerialMessage(buffer) == 0) {
        answer = buffer;
        logLine("Receive: %s", printable(answer).c_str());
        reply(payvo::ACK);
        return kTransportOk;
    }
    if (seconds == 0) seconds = 1;
    logLine("Start receiving data...");
    int naks = 0;
    std::size_t acked = 0;  // buffer[0, acked) holds the messages acknowledged so far
    const Steady began = now();
    for (;;) {
        if (cancel.exchange(false)) {
            logLine("Data receiving stopped by cancel.");
            return kCancelled;
        }
        char chunk[100];
        const long room = long(kMessageBufferSize - 1 - buffer.size());
        const long n = room > 0 ? readSome(chunk, std::size_t(std::min<long>(room, sizeof chunk))) : 0;
        if (n == -2) return kReadError;
        if (n == 0) {
            if (passed(began, seconds * 1000)) {
                logLine("Wait for packet timeout.");
                return kTimeout;
            }
            platform::clock().sleepMs(1);
            continue;
        }
        buffer.append(chunk, std::size_t(n));
        const auto messages = completeMessages(std::string_view(buffer).substr(acked));
        if (messages.empty()) {
            if (buffer.front() == payvo::EOT) {
                logLine("Receive: %s", printable(buffer).c_str());
                return kEotReceived;
            }
            if (buffer.front() == payvo::GS) {
                logLine("Receive: %s", printable(buffer).c_str());
                answer = buffer;
                return kTransportOk;
            }
            continue;
        }
        // Acknowledged messages stay at the front of the buffer; one that failed is dropped once
        // answered, so the frame sent again after a NAK is not read behind the spoilt one.
        std::string kept = buffer.substr(0, acked);
        const std::size_t scannedEnd = std::size_t(messages.back().data() + messages.back().size() - buffer.data());
        const std::string tail = buffer.substr(scannedEnd);
        for (std::size_t i = 0; i < messages.size(); ++i) {
            const std::string_view m = messages[i];
            const int check = checkSerialMessage(m);
            if (check == 0) {
                kept.append(m);
                acked = kept.size();
                logLine("Receive: %s", printable(m).c_str());
                reply(payvo::ACK);
                if (i + 1 == messages.size()) {
                    answer = kept + tail;
                    return kTransportOk;
                }
            } else if (m.front() == payvo::EOT) {
                return kEotReceived;
            } else if (m.front() == payvo::GS) {
                answer.assign(1, payvo::GS);
                return kTransportOk;
            } else if (check != kIncomplete) {
                if (naks >= 2) {
                    reply(payvo::EOT);
                    return kTooManyNaks;
                }
                reply(payvo::NAK);
                ++naks;
            }
        }
        buffer = kept + tail;
    }
}

}  // namespace payvo_bridge
