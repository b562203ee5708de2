#include "scale_sim.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <string>

namespace sim {
namespace {

constexpr std::uint8_t ENQ = 0x05, ACK = 0x06, DC1 = 0x11, DC2 = 0x12, STX = 0x02, ETX = 0x03, CR = 0x0D, LF = 0x0A;

// The DIGI DS-788 keeps sending while the port is open; the simulator takes an opening as lasting
// this long after the program emptied its input queue (the till reopens within milliseconds
// between its readings).
constexpr long kStreamAfterOpeningMs = 500;
// A closed port drops what the device sends; past this many unread bytes the stream is dropped.
constexpr int kUnreadLimit = 64;

constexpr double kOverload = 99.999;

long nowMs() {
    return long(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
}

// A number with the given decimals, "." as the point whatever the locale, right-aligned in
// `width` characters with `pad` in front.
std::string fixed(double value, int width, int decimals, char pad = ' ') {
    char buf[40];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string text = ec == std::errc{} ? std::string(buf, end) : std::string("ERROR");
    if (int(text.size()) < width) text.insert(0, std::size_t(width) - text.size(), pad);
    return text;
}

std::string field7(double value, int decimals) { return fixed(value, 7, decimals).substr(0, 7); }

// A 7-bit character with even parity in the eighth bit, as an 8-bit port reads a 7E1 line.
std::uint8_t evenParity7(std::uint8_t c) {
    c &= 0x7F;
    int ones = 0;
    for (int bit = 0; bit < 7; ++bit) ones += (c >> bit) & 1;
    return std::uint8_t(c | ((ones & 1) << 7));
}

// The Magelan's weight: as few decimals as the value needs, up to three (1.5, 0.25, 15).
std::string shortestWeight(double kg) {
    std::string text = fixed(kg, 0, 3);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

ScaleLine lineOf(ScaleModel model) {
    switch (model) {
    case ScaleModel::Cas:
    case ScaleModel::DigiDs788: return {4800, 'e'};
    case ScaleModel::CasEr:
    case ScaleModel::Magelan: return {9600, 'n'};
    }
    return {9600, 'n'};
}

std::optional<ScaleModel> scaleModel(int svariTips) {
    if (svariTips < 0 || svariTips > 3) return std::nullopt;
    return ScaleModel(svariTips);
}

ScaleSim::ScaleSim(ScaleModel model) : model_(model) {
    if (model_ == ScaleModel::DigiDs788) watchInputFlushes();
}

ScaleSim::~ScaleSim() {
    streaming_ = false;
    if (stream_.joinable()) stream_.join();
    stop();
}

bool ScaleSim::start(const std::filesystem::path& portsDir, const std::string& comName, long baud) {
    if (model_ != ScaleModel::DigiDs788) return SerialDevice::start(portsDir, comName, baud);
    if (!SerialDevice::start(portsDir, comName, lineOf(model_).baud)) return false;
    streaming_ = true;
    stream_ = std::thread([this] { streamLoop(); });
    return true;
}

void ScaleSim::place(double weightKg, double pricePerKg, bool stable) {
    std::lock_guard lock(stateMutex_);
    weight_ = weightKg;
    price_ = pricePerKg;
    stable_ = stable;
}

Bytes ScaleSim::answer() {
    std::lock_guard lock(stateMutex_);
    // STX "C=" cost " S" or "  " weight "kg  U=" price "  " ETX: 37 bytes in all.
    std::string text;
    text += char(STX);
    text += "C=";
    text += field7(std::round(weight_ * price_ * 100) / 100, 2);
    text += "   ";
    text += stable_ ? 'S' : ' ';
    text += field7(weight_, 3);
    text += "kg  U=";
    text += field7(price_, 2);
    text += "  ";
    text += char(ETX);
    return Bytes(text.begin(), text.end());
}

Bytes ScaleSim::weightFrame() {
    Reading reading;
    {
        std::lock_guard lock(stateMutex_);
        reading.weight = weight_;
    }
    return frameFor(reading);
}

ScaleSim::Reading ScaleSim::takeReading() {
    Reading reading;
    {
        std::lock_guard lock(stateMutex_);
        reading.weight = weight_;
    }
    if (faults().take("unsteady")) reading.weight = 0;
    if (faults().take("overload")) reading.weight = kOverload;
    reading.notANumber = faults().take("not-a-number");
    reading.highByte = faults().take("high-byte");
    reading.shortFrame = faults().take("short");
    return reading;
}

Bytes ScaleSim::frameFor(const Reading& r) const {
    Bytes frame;
    switch (model_) {
    case ScaleModel::Cas: {
        // 19 bytes, each one decimal digit's value (not its character), of the weight in tenths
        // of a gram, most significant first.
        std::string digits = fixed(std::round(r.weight * 10000), 19, 0, '0');
        for (char c : digits.substr(digits.size() - 19)) frame.push_back(std::uint8_t(c - '0'));
        if (r.notANumber || r.highByte) frame[13] = 0x80;
        break;
    }
    case ScaleModel::DigiDs788: {
        // "ST," the weight in 8 characters with leading zeros, "kg": 13 bytes.
        std::string text = "ST," + (r.notANumber ? std::string("----.---") : fixed(r.weight, 8, 3, '0')) + "kg";
        frame.assign(text.begin(), text.end());
        if (r.highByte) frame[0] |= 0x80;
        break;
    }
    case ScaleModel::CasEr: {
        // A blank, the weight in 10 characters with four decimals, " kg", CR LF: 16 bytes.
        std::string text = " " + (r.notANumber ? std::string("-----.----") : fixed(r.weight, 10, 4, '0')) + " kg\r\n";
        frame.assign(text.begin(), text.end());
        if (r.highByte) frame[5] |= 0x80;
        break;
    }
    case ScaleModel::Magelan: {
        // STX, the weight, CR, LF, each a 7-bit character with even parity in the top bit.
        std::string text = r.notANumber ? std::string("--.-") : shortestWeight(r.weight);
        frame.push_back(evenParity7(STX));
        for (char c : text) frame.push_back(evenParity7(std::uint8_t(c)));
        if (r.highByte) frame.push_back(0xFF);
        frame.push_back(evenParity7(CR));
        frame.push_back(evenParity7(LF));
        break;
    }
    }
    if (r.shortFrame && !frame.empty()) frame.pop_back();
    return frame;
}

void ScaleSim::sendWeight() {
    const Reading reading = takeReading();
    send(frameFor(reading), fixed(reading.weight, 0, 3) + " kg");
}

void ScaleSim::received(const Bytes& bytes) {
    for (std::uint8_t b : bytes) {
        lastReceived_.push_back(b);
        if (lastReceived_.size() > 3) lastReceived_.erase(lastReceived_.begin());
        switch (model_) {
        case ScaleModel::CasEr:
            if (b == ENQ) {
                trace().received({b}, "ENQ");
                send({ACK}, "ready");
            } else if (b == DC1) {
                trace().received({b}, "DC1");
                sendWeight();
            } else if (b == DC2) {
                trace().received({b}, "DC2");
                Bytes out = answer();
                if (faults().take("short")) out.pop_back();
                else if (faults().take("long")) out.push_back(' ');
                send(out, std::to_string(out.size()) + " bytes");
            } else {
                trace().received({b}, "ignored");
            }
            break;
        case ScaleModel::Cas:
            if (lastReceived_ == Bytes{0x00, 0x00, ETX}) {
                trace().received(lastReceived_, "weight request");
                lastReceived_.clear();
                sendWeight();
            }
            break;
        case ScaleModel::Magelan:
            trace().received({b}, b == 'W' ? "W" : "ignored");
            if (b == 'W') sendWeight();
            break;
        case ScaleModel::DigiDs788: trace().received({b}, "ignored"); break;
        }
    }
}

void ScaleSim::inputFlushed() {
    ++openings_;
    const bool quiet = faults().take("silent");
    const Reading reading = takeReading();
    std::lock_guard lock(streamMutex_);
    restart_ = true;
    quiet_ = quiet;
    streamReading_ = reading;
    openedMs_ = nowMs();
    // A byte of the last frame sent before this was noticed goes with the emptied queue.
    terminal().discardPendingToProgram();
    trace().note("port opened: " + (quiet ? std::string("silent") : fixed(reading.weight, 0, 3) + " kg"));
}

void ScaleSim::streamLoop() {
    // Every frame of one opening shows the reading taken when the port was opened.
    Bytes frame;
    std::size_t next = 0;
    while (streaming_) {
        std::optional<std::uint8_t> byte;
        {
            std::lock_guard lock(streamMutex_);
            if (restart_) {
                restart_ = false;
                frame = quiet_ ? Bytes{} : frameFor(streamReading_);
                next = 0;
            }
            const bool open = openedMs_ >= 0 && nowMs() - openedMs_ < kStreamAfterOpeningMs;
            if (!open) {
                terminal().discardPendingToProgram();
            } else if (!frame.empty()) {
                if (terminal().pendingToProgram() > kUnreadLimit) terminal().discardPendingToProgram();
                byte = frame[next];
                next = (next + 1) % frame.size();
            }
        }
        if (byte) writePaced(Bytes{*byte});
        else std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

}  // namespace sim
