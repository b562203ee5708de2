#include "card_reader_sim.h"

#include "cp1257_text.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace sim {
namespace {

using namespace std::chrono_literals;

std::string controlName(std::uint8_t byte) {
    switch (byte) {
    case reader::ENQ: return "ENQ";
    case reader::ACK: return "ACK";
    case reader::NAK: return "NAK";
    case reader::EOT: return "EOT";
    default: return "?";
    }
}

}  // namespace

CardReaderSim::~CardReaderSim() {
    stop();
    if (probe_ >= 0) ::close(probe_);
}

bool CardReaderSim::start(const std::filesystem::path& portsDir, const std::string& comName, long baud) {
    if (!SerialDevice::start(portsDir, comName, baud)) return false;
    probe_ = ::open(slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    return true;
}

void CardReaderSim::setCardIn(bool in) {
    std::lock_guard lock(stateMutex_);
    cardIn_ = in;
}

bool CardReaderSim::cardIn() {
    std::lock_guard lock(stateMutex_);
    return cardIn_;
}

std::string CardReaderSim::displayText() {
    std::lock_guard lock(stateMutex_);
    std::string text;
    for (std::uint8_t b : display_) text += utf8OfCp1257(b);
    return text;
}

void CardReaderSim::waitTaken() {
    if (probe_ < 0) return;
    // The bytes reach the slave's queue a moment after the write; once seen there, they are taken
    // when the queue is empty again. Never seen within 20 ms means they were taken at once.
    const auto start = std::chrono::steady_clock::now();
    bool seen = false;
    for (;;) {
        int waiting = 0;
        ::ioctl(probe_, FIONREAD, &waiting);
        const auto spent = std::chrono::steady_clock::now() - start;
        if (waiting > 0) seen = true;
        else if (seen || spent > 20ms) return;
        if (spent > 2s) return;
        std::this_thread::sleep_for(200us);
    }
}

Bytes CardReaderSim::queryAnswer() {
    std::string text = query_;
    if (faults().take("zero-check")) {
        // The status that makes the XOR of the frame 0.
        text += char(readerFrameCheck(text));
        return encodeReaderFrame(text);
    }
    if (!faults().take("short-answer")) {
        std::lock_guard lock(stateMutex_);
        text += cardIn_ ? '1' : '0';
    }
    Bytes frame = encodeReaderFrame(text);
    if (faults().take("bad-check")) frame.back() ^= 0x21;
    if (faults().take("garbage")) {
        frame.assign(2500, 'x');
        frame.front() = reader::STX;
    }
    return frame;
}

void CardReaderSim::answerQuery() {
    if (faults().take("ack-extra")) {
        Bytes both{reader::ACK};
        Bytes frame = queryAnswer();
        both.insert(both.end(), frame.begin(), frame.end());
        send(both, "ACK with the answer behind it");
        return;
    }
    send({reader::ACK}, "ACK");
    waitTaken();
    send(queryAnswer(), "answer " + query_);
}

void CardReaderSim::answerFrame(const std::string& text) {
    const bool query = text == "I051" || text == "I02";
    // A query is remembered until its answer is acknowledged: a NAK from the computer, even after
    // a refused query or an EOT, asks for the answer.
    if (query) query_ = text.substr(0, 3);
    if (faults().take("nak")) {
        send({reader::NAK}, "NAK (fault)");
        return;
    }
    if (query) {
        // A silent reader neither acknowledges the query nor answers it.
        if (faults().take("silent")) {
            trace().note("silent: " + text + " not answered");
            return;
        }
        answerQuery();
        return;
    }
    if (text.size() >= 3 && text.compare(0, 2, "Z2") == 0 && std::uint8_t(text[2]) == reader::SUB) {
        {
            std::lock_guard lock(stateMutex_);
            display_.assign(text.begin() + 3, text.end());
        }
        send({reader::ACK}, "ACK display");
        return;
    }
    send({reader::NAK}, "NAK unknown command");
}

void CardReaderSim::received(const Bytes& bytes) {
    inbound_.push(bytes);
    while (auto item = inbound_.next()) {
        switch (item->kind) {
        case ReaderInbound::Item::Control:
            trace().received(item->raw, controlName(item->control));
            if (item->control == reader::ENQ) {
                send({reader::ACK}, "ACK presence");
            } else if (item->control == reader::NAK && !query_.empty()) {
                // The computer did not take the answer (or asks for it after a refused query).
                send(queryAnswer(), "answer " + query_ + " again");
            } else if (item->control == reader::ACK) {
                query_.clear();
            }
            break;
        case ReaderInbound::Item::Frame:
            trace().received(item->raw, item->text.substr(0, 2) == "Z2" ? "display" : item->text);
            answerFrame(item->text);
            break;
        case ReaderInbound::Item::BadFrame:
            trace().received(item->raw, "bad check");
            send({reader::NAK}, "NAK bad check");
            break;
        }
    }
}

}  // namespace sim
