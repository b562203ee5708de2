// A purchase through the Payvo control against the simulated terminal paced at 9600 baud: the
// state query, the request answered "5", and the encash with ten print lines. Prints the elapsed
// time against the time the exchanged bytes take on the line (10 bits a byte) plus one 10 ms poll
// period for every pipe hop of the port hand-overs. Run by hand; the target is a ratio of 1.2 or less.
#include "bench_folder.h"
#include "control.h"
#include "terminal_sim.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>

namespace {

constexpr long kBaud = 9600;
constexpr int kRuns = 5;
// A hand-over of the port passes four pipes (operation to hub, hub to worker, worker to hub, hub
// to operation), each read by a loop that polls every 10 ms; every operation has two hand-overs.
constexpr int kHopsPerOperation = 8;
constexpr int kOperations = 3;
constexpr double kPollSeconds = 0.010;

// Bytes that crossed the line, both ways, from the terminal's trace ("<- 02 31 ...  note").
long lineBytes(const std::string& trace) {
    std::istringstream lines(trace);
    long bytes = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("<- ", 0) != 0 && line.rfind("-> ", 0) != 0) continue;
        std::istringstream hexes(line.substr(3, line.find("  ", 3) - 3));
        for (std::string h; hexes >> h;) ++bytes;
    }
    return bytes;
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    enterBenchFolder(fs::temp_directory_path() / ("payvo-bench-" + std::to_string(::getpid())));
    sim::PaymentTerminalSim terminal;
    if (!terminal.start("ports", "COM1", kBaud)) {
        std::fprintf(stderr, "payvo_purchase_bench: the terminal could not start\n");
        return 1;
    }
    std::vector<std::string> lines;
    for (int i = 1; i <= 10; ++i) lines.push_back("KVITANCIJAS RINDA " + std::to_string(i));
    terminal.setPrintLines(lines);

    payvo::CPayvoCtrl control;
    payvo::T_Payvo& p = control.payvo();
    p.SerialPortSpeed = std::to_string(kBaud);
    p.PrintingDevice = 1;
    p.TransactionType = 0;
    p.Amount = 1230;
    // A first round sets the port up at the bench's speed.
    p.GetState();
    terminal.waitIdle(100, 5000);
    terminal.trace().clear();

    double elapsed = 0;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const bool ok = p.GetState() && p.TransactionRequest() && p.EncashTransaction();
        elapsed += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok || p.TransactionReturn != 0) {
            std::fprintf(stderr, "payvo_purchase_bench: run %d failed (TransactionReturn %d)\n", run, p.TransactionReturn);
            return 1;
        }
    }
    terminal.waitIdle(100, 5000);
    const long bytes = lineBytes(terminal.trace().text());
    const double wire = double(bytes) * 10.0 / double(kBaud);
    const double hops = kRuns * kOperations * kHopsPerOperation * kPollSeconds;
    std::printf("%d purchases: %.3f s; %ld bytes on the line %.3f s, pipe hops %.3f s; ratio %.2f (target 1.2)\n", kRuns, elapsed, bytes,
                wire, hops, elapsed / (wire + hops));
    terminal.stop();
    return 0;
}
