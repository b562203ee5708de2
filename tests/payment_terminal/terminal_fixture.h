// What the payment-terminal tests start from: the common fixture, the simulated terminal on COM1,
// a clock (the system's while the terminal answers, a racing one for time-outs), and a recorder
// of the control's events that answers the terminal's prompts from a table.
#pragma once

#include "object_layer.h"
#include "serial_link.h"
#include "terminal_sim.h"
#include "test_environment.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

namespace payvotest {

// A clock whose sleeps move it at once (every thread's sleeps move the one shared time): waits of
// 60 and 120 s pass in moments. For time-outs against a silent terminal only, since an answer has
// no time to arrive.
class RacingClock : public platform::Clock {
public:
    std::chrono::system_clock::time_point now() const override { return std::chrono::system_clock::time_point{} + std::chrono::milliseconds(ms_.load()); }
    std::chrono::steady_clock::time_point steadyNow() const override { return std::chrono::steady_clock::time_point{} + std::chrono::milliseconds(ms_.load()); }
    void sleepMs(int ms) override {
        ms_ += ms > 0 ? ms : 0;
        std::this_thread::yield();
    }
    long elapsedMs() const { return ms_.load(); }

private:
    std::atomic<long> ms_{0};
};

struct RecordedEvent {
    std::int32_t dispid;
    std::vector<platform::com::Variant> args;
};

// Records every event; answers a form event with the status and text set for its DISPID.
class EventRecorder : public platform::com::EventSink {
public:
    void onEvent(std::int32_t dispid, std::vector<platform::com::Variant>& args) override {
        std::function<void()> action;
        {
            std::lock_guard lock(mutex_);
            events_.push_back({dispid, args});
            if (auto it = answers_.find(dispid); it != answers_.end() && args.size() >= 4) {
                args[2] = it->second.first;
                args[3] = it->second.second;
            }
            if (auto it = actions_.find(dispid); it != actions_.end()) action = it->second;
        }
        if (action) action();
    }
    void answer(std::int32_t dispid, std::int32_t status, const std::string& text) {
        std::lock_guard lock(mutex_);
        answers_[dispid] = {status, text};
    }
    // Runs inside the event handler (on the thread that fired it).
    void onFired(std::int32_t dispid, std::function<void()> action) {
        std::lock_guard lock(mutex_);
        actions_[dispid] = std::move(action);
    }
    std::vector<RecordedEvent> events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }
    int count(std::int32_t dispid) const {
        int n = 0;
        for (const auto& e : events())
            if (e.dispid == dispid) ++n;
        return n;
    }

private:
    mutable std::mutex mutex_;
    std::vector<RecordedEvent> events_;
    std::map<std::int32_t, std::pair<std::int32_t, std::string>> answers_;
    std::map<std::int32_t, std::function<void()>> actions_;
};

class TerminalTest : public testsupport::TestEnvironment {
protected:
    void SetUp() override {
        TestEnvironment::SetUp();
        platform::setClock(nullptr);  // the terminal answers in its own time
        ASSERT_TRUE(terminal.start(portsDir(), "COM1"));
    }
    void TearDown() override {
        terminal.stop();
        payvo::closeProcessPort();
        platform::setClock(nullptr);
        TestEnvironment::TearDown();
    }
    void useRacingClock() { platform::setClock(&racing); }

    // Waits (up to 5 s) until the terminal has nothing left to send and the line is quiet.
    void settle() { terminal.waitIdle(50, 5000); }

    sim::PaymentTerminalSim terminal;
    RacingClock racing;
};

// The frame as the terminal's "|" text (the check characters dropped).
inline std::string readable(const std::string& frame) {
    std::string text;
    for (std::size_t i = 1; i + 3 < frame.size(); ++i) text.push_back(frame[i] == 0x1C ? '|' : frame[i]);
    return text;
}

}  // namespace payvotest
