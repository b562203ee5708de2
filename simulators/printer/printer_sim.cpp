#include "printer_sim.h"

#include <thread>

namespace sim {

PrinterSimulator::PrinterSimulator(int printerType) : paper_(printerType) {}

void PrinterSimulator::pace(std::size_t count) {
    if (receiveBaud_ <= 0) return;
    const auto now = std::chrono::steady_clock::now();
    const auto wire = std::chrono::microseconds(long(count) * 10 * 1000000 / receiveBaud_);
    lineFree_ = std::max(lineFree_, now) + wire;
    std::this_thread::sleep_until(lineFree_);
}

void PrinterSimulator::received(const Bytes& bytes) {
    pace(bytes.size());
    if (faults().take("lose-chunk")) {
        trace().received(bytes, "lost on the line");
        return;
    }
    Bytes replies;
    {
        std::lock_guard lock(stateMutex_);
        paper_.paperOut = faults().armed("paper-out");
        const auto before = paper_.receipt.size();
        replies = paper_.feed(bytes);
        std::string note;
        for (auto i = before; i < paper_.receipt.size(); ++i) note += (note.empty() ? "" : " | ") + paper_.receipt[i];
        trace().received(bytes, note);
    }
    if (!replies.empty()) send(replies, "status");
}

std::vector<std::string> PrinterSimulator::receipt() {
    std::lock_guard lock(stateMutex_);
    return paper_.receipt;
}

std::vector<std::string> PrinterSimulator::journal() {
    std::lock_guard lock(stateMutex_);
    return paper_.journal;
}

int PrinterSimulator::cuts() {
    std::lock_guard lock(stateMutex_);
    return paper_.cuts;
}

int PrinterSimulator::drawerPulses() {
    std::lock_guard lock(stateMutex_);
    return paper_.drawerPulses;
}

int PrinterSimulator::garbageBytes() {
    std::lock_guard lock(stateMutex_);
    return paper_.garbageBytes;
}

int PrinterSimulator::overlongLines() {
    std::lock_guard lock(stateMutex_);
    return paper_.overlongLines;
}

long PrinterSimulator::bytesReceived() {
    std::lock_guard lock(stateMutex_);
    return paper_.bytesTaken;
}

ReceiptPaper PrinterSimulator::paper() {
    std::lock_guard lock(stateMutex_);
    return paper_;
}

std::string PrinterSimulator::paperText() {
    std::lock_guard lock(stateMutex_);
    std::string text;
    for (const auto& line : paper_.receipt) text += line + "\n";
    text += "== journal ==\n";
    for (const auto& line : paper_.journal) text += line + "\n";
    return text;
}

}  // namespace sim
