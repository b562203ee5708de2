// Wall clock and sleeps behind one switch, so tests can set the time and skip the waits.
#pragma once

#include <chrono>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::system_clock::time_point now() const = 0;
    // A monotonic reading for time-outs; the test clock moves it with its sleeps.
    virtual std::chrono::steady_clock::time_point steadyNow() const = 0;
    virtual void sleepMs(int ms) = 0;
};

// The clock in use: the system's unless a test installed another.
Clock& clock();
// Installs a clock (nullptr puts back the system clock). The caller keeps ownership.
void setClock(Clock* replacement);

// A clock that stands still until told to move; sleeping moves it instead of waiting.
class ManualClock : public Clock {
public:
    explicit ManualClock(std::chrono::system_clock::time_point start);
    std::chrono::system_clock::time_point now() const override;
    std::chrono::steady_clock::time_point steadyNow() const override;
    void sleepMs(int ms) override;
    void set(std::chrono::system_clock::time_point when);
    void advance(std::chrono::milliseconds by);

private:
    std::chrono::system_clock::time_point now_;
    std::chrono::steady_clock::time_point steady_;
};

// Local calendar time of the clock's now (date and time fields, as the programs print them).
struct LocalTime {
    int year, month, day, hour, minute, second, millisecond, weekday;  // weekday 0 = Sunday
};
LocalTime localNow();
LocalTime toLocal(std::chrono::system_clock::time_point when);

}  // namespace platform
