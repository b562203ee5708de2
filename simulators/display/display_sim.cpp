#include "display_sim.h"

namespace sim {

DisplaySimulator::DisplaySimulator(int displayType, int printerType) : display_(displayType, printerType) {}

void DisplaySimulator::received(const Bytes& bytes) {
    if (faults().take("lose-chunk")) {
        trace().received(bytes, "lost on the line");
        return;
    }
    Bytes replies;
    {
        std::lock_guard lock(stateMutex_);
        replies = display_.feed(bytes);
        trace().received(bytes, "[" + display_.line(0) + "] [" + display_.line(1) + "]");
    }
    if (!replies.empty()) send(replies, "printer status");
}

std::string DisplaySimulator::line(int row) {
    std::lock_guard lock(stateMutex_);
    return display_.line(row);
}

std::string DisplaySimulator::scrolling(int row) {
    std::lock_guard lock(stateMutex_);
    return display_.scrolling(row);
}

std::map<std::uint8_t, std::string> DisplaySimulator::downloadedLetters() {
    std::lock_guard lock(stateMutex_);
    return display_.downloadedLetters;
}

int DisplaySimulator::garbageBytes() {
    std::lock_guard lock(stateMutex_);
    return display_.garbageBytes;
}

std::vector<std::string> DisplaySimulator::printerReceipt() {
    std::lock_guard lock(stateMutex_);
    return display_.printer() ? display_.printer()->receipt : std::vector<std::string>{};
}

std::vector<std::string> DisplaySimulator::printerJournal() {
    std::lock_guard lock(stateMutex_);
    return display_.printer() ? display_.printer()->journal : std::vector<std::string>{};
}

std::string DisplaySimulator::screenText() {
    std::lock_guard lock(stateMutex_);
    return "|" + display_.line(0) + "|\n|" + display_.line(1) + "|\n";
}

}  // namespace sim
