// What the payment-terminal tests start from: the common fixture, the simulated terminal on COM1,
// a clock (the system's while the terminal answers, one the test moves for time-outs), and a recorder
// of the control's events that answers the terminal's prompts from a table.
#pragma once

#include "object_layer.h"
#include "serial_link.h"
#include "terminal_sim.h"
#include "test_environment.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

namespace payvotest {

// A clock that moves only when the test says so; sleeps wait a real millisecond at most, so the
// library's polls go on while the test holds the time still. Waits of 60 and 120 s pass when the
// test advances past them, at the point it chooses.
class SteppedClock : public platform::Clock {
public:
    std::chrono::system_clock::time_point now() const override { return std::chrono::system_clock::time_point{} + std::chrono::milliseconds(ms_.load()); }
    std::chrono::steady_clock::time_point steadyNow() const override { return std::chrono::steady_clock::time_point{} + std::chrono::milliseconds(ms_.load()); }
    void sleepMs(int ms) override {
        if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void advance(long ms) { ms_ += ms; }
    long elapsedMs() const { return ms_.load(); }

private:
    std::atomic<long> ms_{0};
};

// Runs work on another thread and, once ready() says the terminal has had its say, moves the
// clock on a second at a time until the work is done. Returns what the work returned.
template <class Work>
auto whileAdvancing(SteppedClock& clock, Work work, std::function<bool()> ready = [] { return true; }) {
    auto result = std::async(std::launch::async, work);
    for (int i = 0; i < 10'000 && !ready(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    while (result.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) clock.advance(1000);
    return result.get();
}

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
        if (HasFailure()) std::fprintf(stderr, "terminal's trace:\n%s\n", terminal.trace().text().c_str());
        terminal.stop();
        payvo::closeProcessPort();
        platform::setClock(nullptr);
        TestEnvironment::TearDown();
    }
    void useSteppedClock() { platform::setClock(&stepped); }
    // True once the control has acknowledged the notification the terminal sends in answer to
    // the request: the control has then left the send and waits for the answer, and moving the
    // clock can only end that wait.
    std::function<bool()> controlWaitsForAnswer() {
        return [this] { return !terminal.sentFrames().empty() && terminal.idle(); };
    }
    static sim::TerminalStep pleaseWait() { return sim::PaymentTerminalSim::frame("2|LUDZU GAIDIET|1"); }

    // Waits (up to 5 s) until the terminal has nothing left to send and the line is quiet.
    void settle() { terminal.waitIdle(50, 5000); }

    sim::PaymentTerminalSim terminal;
    SteppedClock stepped;
};

// The frame as the terminal's "|" text (the check characters dropped).
inline std::string readable(const std::string& frame) {
    std::string text;
    for (std::size_t i = 1; i + 3 < frame.size(); ++i) text.push_back(frame[i] == 0x1C ? '|' : frame[i]);
    return text;
}

}  // namespace payvotest
