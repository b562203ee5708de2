#include "clock.h"

#include <gtest/gtest.h>

namespace {

TEST(ClockTest, ManualClockMovesOnlyWhenToldAndSleepsWithoutWaiting) {
    using namespace std::chrono;
    platform::ManualClock manual(system_clock::from_time_t(0) + hours(24 * 365));
    platform::setClock(&manual);
    auto before = platform::clock().now();
    auto steadyBefore = platform::clock().steadyNow();
    auto wallStart = steady_clock::now();
    platform::clock().sleepMs(60 * 60 * 1000);  // an hour, at once
    EXPECT_LT(steady_clock::now() - wallStart, seconds(5));
    EXPECT_EQ(platform::clock().now() - before, hours(1));
    EXPECT_EQ(platform::clock().steadyNow() - steadyBefore, hours(1));
    platform::setClock(nullptr);
    EXPECT_GT(platform::clock().now(), before);  // the system clock is back
}

TEST(ClockTest, LocalTimeFields) {
    std::tm tm{};
    tm.tm_year = 2026 - 1900;
    tm.tm_mon = 11;
    tm.tm_mday = 31;
    tm.tm_hour = 23;
    tm.tm_min = 59;
    tm.tm_sec = 58;
    tm.tm_isdst = -1;
    auto t = platform::toLocal(std::chrono::system_clock::from_time_t(std::mktime(&tm)) + std::chrono::milliseconds(250));
    EXPECT_EQ(t.year, 2026);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 31);
    EXPECT_EQ(t.hour, 23);
    EXPECT_EQ(t.second, 58);
    EXPECT_EQ(t.millisecond, 250);
    EXPECT_EQ(t.weekday, 4);  // a Thursday
}

}  // namespace
