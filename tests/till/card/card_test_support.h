// What the card tests share: the control registered in the test's settings, the terminal
// simulator on a COM link answering in its own time, the fields of a request, and a way to act on
// a window once a modal loop shows it.
#pragma once

#include "control.h"
#include "serial_link.h"
#include "terminal_sim.h"
#include "test_environment.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

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
// runs inside a modal loop); gives up after 10 s.
inline void whenVisible(std::function<QWidget*()> widget, std::function<void()> action) {
    auto* timer = new QTimer;
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
