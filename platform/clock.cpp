#include "clock.h"

#include <atomic>
#include <ctime>
#include <thread>

namespace platform {
namespace {

class SystemClock : public Clock {
public:
    std::chrono::system_clock::time_point now() const override { return std::chrono::system_clock::now(); }
    std::chrono::steady_clock::time_point steadyNow() const override { return std::chrono::steady_clock::now(); }
    void sleepMs(int ms) override {
        if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

SystemClock systemClock;
std::atomic<Clock*> installed{&systemClock};

}  // namespace

Clock& clock() { return *installed.load(); }

void setClock(Clock* replacement) { installed.store(replacement ? replacement : &systemClock); }

ManualClock::ManualClock(std::chrono::system_clock::time_point start) : now_(start), steady_(std::chrono::steady_clock::time_point{}) {}

std::chrono::system_clock::time_point ManualClock::now() const { return now_; }
std::chrono::steady_clock::time_point ManualClock::steadyNow() const { return steady_; }
void ManualClock::sleepMs(int ms) { advance(std::chrono::milliseconds(ms > 0 ? ms : 0)); }
void ManualClock::set(std::chrono::system_clock::time_point when) { now_ = when; }
void ManualClock::advance(std::chrono::milliseconds by) {
    now_ += by;
    steady_ += by;
}

LocalTime toLocal(std::chrono::system_clock::time_point when) {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count();
    std::time_t seconds = std::time_t(ms / 1000);
    std::tm tm{};
    ::localtime_r(&seconds, &tm);
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, int(ms % 1000), tm.tm_wday};
}

LocalTime localNow() { return toLocal(clock().now()); }

}  // namespace platform
