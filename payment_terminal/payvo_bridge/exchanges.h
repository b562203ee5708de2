// The bridge's exchange loops: each sends one request over the connection and reads the
// terminal's messages until the answer, the end of the print lines, a time-out or a failure.
#pragma once

#include "connection.h"
#include "payvo_bridge.h"

#include <deque>
#include <mutex>
#include <string>

namespace payvo_bridge {

// The terminal's display text as the last display message left it; read by vcb_GetInfoText,
// possibly on another thread than the running exchange.
class InfoText {
public:
    void clear() { set({}); }
    void set(std::string text) {
        std::lock_guard lock(mutex_);
        text_ = std::move(text);
    }
    std::string get() const {
        std::lock_guard lock(mutex_);
        return text_;
    }

private:
    mutable std::mutex mutex_;
    std::string text_;
};

// One exchange's view of the line: the messages of a read that are still to be handled (serial
// reads can bring several, already acknowledged) and the bytes held for the next wait.
class Exchange {
public:
    Exchange(CCom& com, InfoText& info, bool printCollection) : com_(com), info_(info), printCollection_(printCollection) {}

    // Each returns the exchange's outcome; receipt collects print text (at most kPayvoReceiptSize - 1).
    bool request(std::string_view frame, std::string& answer);
    bool batch(std::string_view frame, std::string& answer, std::string& receipt);
    bool receiptData(std::string_view frame, std::string& receipt);
    bool printLines(std::string_view frame, std::string& receipt);
    bool state(std::string_view frame, T_PayvoState& state);
    bool cardRemoval(std::string_view frame);
    bool cancel(std::string_view frame);

private:
    bool open();
    int send(std::string_view frame, int seconds);
    // The next message: 0, kEotReceived (an EOT over either transport), or the transport's failure.
    int wait(int seconds, std::string& message);
    void showDisplayText(std::string_view message);

    CCom& com_;
    InfoText& info_;
    bool printCollection_;
    std::string held_;
    std::deque<std::string> pending_;
};

}  // namespace payvo_bridge
