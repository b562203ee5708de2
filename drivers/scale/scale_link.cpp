#include "scale_link.h"

#include <chrono>

namespace scalvia {

std::string scalePortName(int nCom) { return platform::comPortName(nCom >= 2 && nCom <= 8 ? nCom : 1); }

ScaleLink::ScaleLink(int nCom, int timeoutMs) : timeoutMs_(timeoutMs == 0 ? kDefaultTimeoutMs : timeoutMs) {
    if (!port_.open(scalePortName(nCom))) {
        error_ = true;
        return;
    }
    platform::SerialSettings line;
    line.baud = kScaleBaud;
    port_.configure(line);
    port_.purgeInput();
    port_.purgeOutput();
}

long ScaleLink::readTimed(std::uint8_t* buffer, std::size_t size) {
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(long(timeoutMs_) * long(size + 1));
    std::size_t got = 0;
    while (got < size) {
        const long left = long(duration_cast<milliseconds>(deadline - steady_clock::now()).count());
        if (left <= 0) break;
        const long n = port_.read(buffer + got, size - got, int(left));
        if (n < 0) return got ? long(got) : -1;
        if (n == 0) break;
        got += std::size_t(n);
    }
    return long(got);
}

long ScaleLink::poll() {
    const std::uint8_t enq = kEnq, dc2 = kDc2;
    std::uint8_t ignored = 0;
    port_.write(&enq, 1, timeoutMs_);
    readTimed(&ignored, 1);
    port_.write(&dc2, 1, timeoutMs_);
    return readTimed(answer_, kAnswerBuffer);
}

bool ScaleLink::update() {
    error_ = false;
    for (int polls = 1;; ++polls) {
        const long n = poll();
        if (n == long(kAnswerLength)) {
            last_ = readAnswer(std::span<const std::uint8_t, kAnswerLength>(answer_, kAnswerLength));
            return true;
        }
        // A wrong length is asked again up to the 100th poll, silence up to the fourth.
        if (polls < (n > 0 ? kMostPolls : kSilentPolls)) continue;
        error_ = true;
        return false;
    }
}

}  // namespace scalvia
