// The scale's port while the object is connected: opening at 9600 8N1 with the object's read
// time-outs, and the ENQ/DC2 poll that fetches one answer.
#pragma once

#include "scale_answer.h"

#include "serial_port.h"

#include <string>

namespace scalvia {

constexpr long kScaleBaud = 9600;
constexpr std::size_t kAnswerBuffer = 49;
constexpr int kDefaultTimeoutMs = 5;
// An answer of the wrong length is polled again up to this many polls in all; an update that
// reads nothing gives up after this many.
constexpr int kMostPolls = 100;
constexpr int kSilentPolls = 4;

// "COM" plus nCom for 2 to 8, "COM1" for any other number.
std::string scalePortName(int nCom);

class ScaleLink {
public:
    // Opens the port; on failure the link stays with its error flag set.
    ScaleLink(int nCom, int timeoutMs);

    bool failed() const { return error_; }
    int timeoutMs() const { return timeoutMs_; }

    // Polls until an answer of exactly 37 bytes arrives and keeps its reading: true, or false
    // when the scale stayed silent for four polls or kept answering with the wrong length for
    // 100 (the reading before stays).
    bool update();
    // The texts and the stability mark of the last valid answer, all taken from that answer.
    const ScaleReading& last() const { return last_; }

private:
    // Reads up to size bytes, waiting at most timeoutMs x (size + 1) in all, as a line with a
    // read total multiplier and constant of timeoutMs and no interval time-out does.
    long readTimed(std::uint8_t* buffer, std::size_t size);
    long poll();

    platform::SerialPort port_;
    int timeoutMs_;
    bool error_ = false;
    std::uint8_t answer_[kAnswerBuffer] = {};
    ScaleReading last_;
};

}  // namespace scalvia
