// A bridge authorisation over TCP/IP whose answer the simulated terminal holds back for 5 s, as
// a cardholder typing a PIN would. Prints the process's CPU time divided by the elapsed time of
// the call: the bridge should sleep on the socket while it waits. Run by hand; the target is a
// ratio of 0.05 or less.
#include "bench_folder.h"
#include "connection.h"
#include "payvo_bridge.h"
#include "terminal_sim.h"
#include "terminal_tcp_link.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

constexpr int kHoldMs = 5000;

double processCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    enterBenchFolder(fs::temp_directory_path() / ("payvo-bridge-bench-" + std::to_string(::getpid())));
    sim::PaymentTerminalSim terminal;
    sim::TerminalTcpLink tcp(terminal);
    if (!terminal.start("", "COM1") || !tcp.start()) {
        std::fprintf(stderr, "payvo_bridge_bench: the terminal could not start\n");
        return 1;
    }
    payvo_bridge::BridgeSettings settings;
    settings.tcp = true;
    settings.ipPort = std::to_string(tcp.port());
    payvo_bridge::CCom::instance().configure(settings);

    T_Payvo payvo;
    T_PayvoTransactionRequest request{};
    request.TransactionType = 0;
    request.Amount = 1234;
    request.Currency = 978;
    std::strcpy(request.TransactionID, "BENCH1");
    T_PayvoTransactionReport report{};

    tcp.setHoldMs(kHoldMs);
    tcp.faults().arm("hold");
    const double cpuBefore = processCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    const bool ok = payvo.TransactionRequest(&request, &report);
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = processCpuSeconds() - cpuBefore;
    tcp.stop();
    terminal.stop();
    if (!ok || report.TransactionReturn != 0 || elapsed * 1000 < kHoldMs) {
        std::fprintf(stderr, "payvo_bridge_bench: the authorisation failed (TransactionReturn %d, %.3f s)\n", report.TransactionReturn, elapsed);
        return 1;
    }
    std::printf("authorisation with a %d ms held answer: %.3f s elapsed, %.3f s CPU; ratio %.4f (target 0.05)\n", kHoldMs, elapsed, cpu,
                cpu / elapsed);
    return 0;
}
