// One weighing per scale model through the port wrapper against the scale simulator pacing its
// bytes at the model's line rate (10 bits a byte). Prints, per model, the elapsed time against
// the physical limit: the wire time of the bytes exchanged plus 50 ms for every read step that got
// no character (none does in these readings: every frame is whole). Run by hand; the target is a
// ratio of 1.2 or less for each model.
#include "bench_folder.h"
#include "scale_sim.h"
#include "weighing.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <sstream>

namespace {

// Bytes that crossed the wire in the simulator's trace ("<- 05", "-> 06 ..."), two hex digits and
// a blank each.
long tracedBytes(const sim::Trace& trace) {
    long bytes = 0;
    for (const std::string& line : trace.lines()) {
        if (line.rfind("<- ", 0) != 0 && line.rfind("-> ", 0) != 0) continue;
        const std::string hexPart = line.substr(3, line.find("  ") == std::string::npos ? std::string::npos : line.find("  ") - 3);
        std::istringstream in(hexPart);
        for (std::string b; in >> b;) ++bytes;
    }
    return bytes;
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    enterBenchFolder(fs::temp_directory_path() / ("weighing-bench-" + std::to_string(::getpid())));
    bool within = true;
    for (int tips = 0; tips <= 3; ++tips) {
        const auto model = sim::ScaleModel(tips);
        const long baud = sim::lineOf(model).baud;
        sim::ScaleSim scale(model);
        if (!scale.start("ports", "COM4", baud)) return 1;
        scale.place(1.25);
        const auto start = std::chrono::steady_clock::now();
        const Weighing w = WeighOnScale(4, tips);
        const double elapsedMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        // The DIGI DS-788 talks unasked: the till reads one 13-byte frame per opening.
        const long bytes = model == sim::ScaleModel::DigiDs788 ? long(scale.openings()) * 13 : tracedBytes(scale.trace());
        const double limitMs = bytes * 10 * 1000.0 / double(baud);
        const double ratio = elapsedMs / limitMs;
        within = within && ratio <= 1.2 && w.check == WeightCheck::Taken;
        std::printf("%-12s %s  %3ld bytes at %5ld baud: %7.1f ms, limit %7.1f ms, ratio %.2f\n", ScaleModelOf(tips).name,
                    w.text.c_str(), bytes, baud, elapsedMs, limitMs, ratio);
    }
    std::printf(within ? "all within 1.2\n" : "NOT all within 1.2\n");
    return within ? 0 : 1;
}
