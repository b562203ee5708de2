// What the card tests share: the control registered in the test's settings, the terminal
// simulator on a COM link answering in its own time, the fields of a request, and a way to act on
// a window once a modal loop shows it.
#pragma once

#include "control.h"
#include "serial_link.h"
#include "terminal_sim.h"
#include "test_environment.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace cardtest {

// Field n of a frame's "|" text (0 is its type); empty when it has fewer.
inline std::string field(const std::string& text, int n) {
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        start = text.find('|', start);
        if (start == std::string::npos) return {};
        ++start;
    }
    return text.substr(start, text.find('|', start) - start);
}

// Runs action once the widget the getter gives is visible (polled from the event loop, so it also
// runs inside a modal loop); gives up after 10 s. A poll still waiting when the test ends goes
// with the application.
inline void whenVisible(std::function<QWidget*()> widget, std::function<void()> action) {
    auto* timer = new QTimer(QCoreApplication::instance());
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, widget, action, waited] {
        QWidget* w = widget();
        if ((w && w->isVisible()) || ++*waited > 2000) {
            timer->stop();
            timer->deleteLater();
            if (w && w->isVisible()) action();
        }
    });
    timer->start(5);
}

// One window's keys: when the window the getter gives is shown, it is activated (as a window
// manager activates a new modal window) and the keys go to whatever has the keyboard focus.
struct KeyStep {
    std::function<QWidget*()> window;
    std::vector<std::variant<Qt::Key, QString>> keys;  // a key, or a text typed
};

// Plays its steps in order as their windows come up, from the event loop (so also inside modal
// loops); gives up after 30 s. `seen` holds, for each step played, the window's caption and the
// object name of the widget that had the focus when the keys went.
class Keyboard {
public:
    explicit Keyboard(std::vector<KeyStep> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(5);
    }
    bool done() const { return next_ == steps_.size(); }
    std::vector<std::pair<QString, QString>> seen;

private:
    void poll() {
        if (done() || ++polls_ > 6000) return timer_.stop();
        QWidget* w = steps_[next_].window();
        if (!w || !w->isVisible()) return;
        if (QApplication::activeWindow() != w) return w->activateWindow();
        const KeyStep step = steps_[next_++];
        QWidget* focus = QApplication::focusWidget();
        seen.push_back({w->windowTitle(), focus ? focus->objectName() : QString()});
        // From a timer of their own: a key may open a modal loop, inside which this poll (a timer
        // Qt never fires into itself) must go on.
        QTimer::singleShot(0, [w, keys = step.keys] {
            for (const auto& key : keys) {
                QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : w;
                if (const auto* k = std::get_if<Qt::Key>(&key)) QTest::keyClick(target, *k);
                else QTest::keyClicks(target, std::get<QString>(key));
            }
        });
    }
    std::vector<KeyStep> steps_;
    std::size_t next_ = 0;
    int polls_ = 0;
    QTimer timer_;
};

// The terminal on `port`, the control registered, the system clock (the terminal answers in its
// own time; the till's waits are short).
class TerminalTest : public testsupport::TestEnvironment {
protected:
    void SetUp() override {
        TestEnvironment::SetUp();
        platform::setClock(nullptr);
        ASSERT_EQ(DllRegisterServer(), 0);
        ASSERT_TRUE(terminal.start(portsDir(), "COM1"));
    }
    void TearDown() override {
        if (HasFailure()) std::fprintf(stderr, "terminal's trace:\n%s\n", terminal.trace().text().c_str());
        terminal.stop();
        payvo::closeProcessPort();
        TestEnvironment::TearDown();
    }
    void settle() { terminal.waitIdle(50, 5000); }

    sim::PaymentTerminalSim terminal;
};

}  // namespace cardtest
