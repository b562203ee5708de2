#include "exchanges.h"

#include "bridge_log.h"
#include "frames.h"
#include "messages.h"

namespace payvo_bridge {
namespace {

constexpr std::size_t kCollectedTextSize = 10000;

void appendBounded(std::string& text, std::string_view more, std::size_t size) {
    const std::size_t room = text.size() < size - 1 ? size - 1 - text.size() : 0;
    text.append(more.substr(0, room));
}

bool beginsWith(std::string_view text, char c) { return !text.empty() && text.front() == c; }

std::string typeText(std::string_view message) { return field(message, 1).value_or(std::string()); }

void logStateResult(const T_PayvoState& state) {
    logLine("Terminal state: %d", state.TerminalState);
    logLine("Connection state: %d", state.ConnectionState);
}

}  // namespace

bool Exchange::open() {
    if (com_.open() != 0) return false;
    com_.clear();
    return true;
}

int Exchange::send(std::string_view frame, int seconds) { return com_.send(frame, held_, seconds); }

int Exchange::wait(int seconds, std::string& message) {
    if (!pending_.empty()) {
        message = std::move(pending_.front());
        pending_.pop_front();
        return kTransportOk;
    }
    std::string answer;
    const int result = com_.receive(answer, held_, seconds);
    if (result != kTransportOk) return result;
    // Over TCP/IP an EOT arrives as a successful read; both transports report it alike here.
    if (beginsWith(answer, payvo::EOT)) return kEotReceived;
    const auto messages = completeMessages(answer);
    if (messages.size() < 2) {
        message = answer;
        return kTransportOk;
    }
    // A serial read that brought several messages: they are taken one at a time, and an
    // unfinished one after them is read first on the next wait.
    message.assign(messages.front());
    for (std::size_t i = 1; i < messages.size(); ++i) pending_.emplace_back(messages[i]);
    const auto& last = messages.back();
    held_ = answer.substr(std::size_t(last.data() + last.size() - answer.data())) + held_;
    return kTransportOk;
}

void Exchange::showDisplayText(std::string_view message) { info_.set(displayText(message)); }

bool Exchange::request(std::string_view frame, std::string& answer) {
    logLine("Process authorization request.");
    answer.clear();
    if (!open()) return false;
    if (send(frame, 5) != kTransportOk) {
        logLine("Data sending error!");
        return false;
    }
    for (;;) {
        std::string message;
        const int result = wait(120, message);
        if (result == kEotReceived) return true;
        if (result != kTransportOk) {
            logLine("Data receiving error!");
            return false;
        }
        const std::string type = typeText(message);
        if (type == "5" || type == "IA" || type == "F" || type == "TA") {
            answer = message;
            return true;
        }
        if (type == "2") showDisplayText(message);
        else if (type == "B" || type == "7") return false;
        else if (type != "9") return true;
    }
}

bool Exchange::batch(std::string_view frame, std::string& answer, std::string& receipt) {
    logLine("Process batch sending...");
    answer.clear();
    if (!open()) return false;
    bool ok = true;
    if (send(frame, 5) != kTransportOk) {
        logLine("Data sending error!");
        ok = false;
    }
    for (int seconds = 120; ok;) {
        std::string message;
        const int result = wait(seconds, message);
        if (result == kTimeout || result == kEotReceived) break;
        if (result != kTransportOk) {
            ok = false;
            break;
        }
        if (beginsWith(message, payvo::GS)) {
            appendBounded(receipt, message + "\r\n", kPayvoReceiptSize);
            continue;
        }
        const int type = typeNumber(message);
        if (type == 15) {
            answer = message;
            break;
        }
        if (type == 9) {
            if (printCollection_) appendBounded(receipt, printText(message), kPayvoReceiptSize);
        } else if (type == 2) {
            showDisplayText(message);
            seconds = 90;
        } else if (type != 7) {
            break;
        }
    }
    com_.close();
    return ok;
}

bool Exchange::receiptData(std::string_view frame, std::string& receipt) {
    logLine("Process get receipt data...");
    if (!open()) return false;
    bool ok = true;
    if (send(frame, 5) != kTransportOk) {
        logLine("Data sending error!");
        ok = false;
    }
    while (ok) {
        std::string message;
        const int result = wait(120, message);
        if (result == kTimeout || result == kEotReceived) break;
        if (result != kTransportOk) {
            ok = false;
            break;
        }
        const int type = typeNumber(message);
        if (type == 9 && printCollection_) appendBounded(receipt, printText(message), kPayvoReceiptSize);
        else if (type == 2) showDisplayText(message);
        if (type != 2 && type != 7 && type != 9) break;
    }
    com_.close();
    return ok;
}

bool Exchange::printLines(std::string_view frame, std::string& receipt) {
    if (!open()) return false;
    bool ok = true;
    if (send(frame, 5) != kTransportOk) {
        logLine("Data sending error!");
        ok = false;
    } else if (!printCollection_ || beginsWith(held_, payvo::EOT)) {
        com_.close();
        return true;
    }
    std::string collected;
    while (ok) {
        std::string message;
        const int result = wait(15, message);
        if (result == kTimeout) break;
        if (result == kEotReceived) {
            receipt = collected.substr(0, kPayvoReceiptSize - 1);
            break;
        }
        if (result != kTransportOk) {
            ok = false;
            break;
        }
        if (beginsWith(message, payvo::GS)) {
            appendBounded(collected, message + "\r\n", kCollectedTextSize);
            continue;
        }
        const int type = typeNumber(message);
        if (type == 9) appendBounded(collected, printText(message), kCollectedTextSize);
        else if (type != 2 && type != 7) break;
    }
    com_.close();
    return ok;
}

bool Exchange::state(std::string_view frame, T_PayvoState& state) {
    logLine("Process GetState sending.");
    if (!open()) return false;
    bool ok = true;
    if (const int sent = send(frame, 4); sent != kTransportOk) {
        state.TerminalState = sent == kTimeout || sent == kReadError ? 88 : 99;
        state.ConnectionState = com_.lastConnectionState();
        logStateResult(state);
        logLine("Data sending error!");
        com_.close();
        return false;
    }
    std::string message;
    const int result = wait(60, message);
    if (result == kTimeout) {
        state.TerminalState = 88;
        state.ConnectionState = 1;
    } else if (result != kTransportOk) {
        ok = result == kEotReceived;  // an EOT ends the exchange with the record as it was
    } else {
        if (typeNumber(message) == 11) {
            ok = readStateAnswer(message, state);
        } else {
            state.TerminalState = 99;
            state.ConnectionState = com_.lastConnectionState();
            logStateResult(state);
        }
        com_.setLastConnectionState(state.ConnectionState);
    }
    com_.close();
    return ok;
}

bool Exchange::cardRemoval(std::string_view frame) {
    logLine("Process WaitForCardRemoving.");
    if (!open()) return false;
    bool ok = send(frame, 5) == kTransportOk;
    while (ok) {
        std::string message;
        const int result = wait(60, message);
        if (result == kTimeout || result == kEotReceived) break;
        if (result != kTransportOk) {
            ok = false;
            break;
        }
        if (typeNumber(message) == 13) {
            ok = field(message, 2).value_or(std::string()).starts_with('0');
            logLine(ok ? "Card removed" : "Card forgotten");
            break;
        }
        showDisplayText(message);
    }
    com_.close();
    return ok;
}

bool Exchange::cancel(std::string_view frame) {
    if (!open()) return false;
    bool ok = true;
    if (send(frame, 10) != kTransportOk) {
        logLine("Data sending error!");
        ok = false;
    }
    while (ok) {
        std::string message;
        const int result = wait(120, message);
        if (result == kTimeout || result == kEotReceived) break;
        if (result != kTransportOk) {
            ok = false;
            break;
        }
        const int type = typeNumber(message);
        if (type == 7) {
            // Field 2 "1": the terminal refused the cancel and the transaction goes on.
            if (payvo::decimalValue(field(message, 2).value_or(std::string())) == 1) {
                logLine("Cancellation refused, the transaction goes on.");
                ok = false;
            } else {
                logLine("Cancellation operation processed succesful.");
            }
            break;
        }
        if (type != 2 && type != 9) break;
    }
    com_.close();
    return ok;
}

}  // namespace payvo_bridge
