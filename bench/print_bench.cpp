// Printing speed: a 40-line receipt to the printer simulator taking bytes at 9600 baud, per printer
// type. Prints elapsed / (wire time + the waits the printer type prescribes); the aim is <= 1.1.
#include "bench_folder.h"
#include "fmproc.h"
#include "printclass.h"
#include "printer_sim.h"
#include "settings_store.h"
#include "ui_services.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int kLines = 40;
constexpr long kBaud = 9600;
constexpr int kLineWaitMs = 300;

double runType(int type, const std::filesystem::path& root) {
    const auto dir = root / ("type" + std::to_string(type));
    auto& settings = enterBenchFolder(dir);
    const char* key = "Software\\TOVEL\\Tillora\\Setup";
    settings.writeInteger(key, "FMTips", 0);
    settings.writeInteger(key, "PrinteraPorts", 1);
    settings.writeInteger(key, "KlDisplejsPorts", 2);

    sim::PrinterSimulator printer(type);
    if (!printer.start(dir / "ports", "COM1")) {
        std::fprintf(stderr, "printer simulator did not start\n");
        std::exit(1);
    }
    printer.setReceivePacing(kBaud);
    TFMProc fm;
    TPrintClass print(type, &fm);
    printer.waitIdle(200);
    const long before = printer.bytesReceived();
    const std::size_t linesBefore = printer.receipt().size();

    const auto start = std::chrono::steady_clock::now();
    for (int i = 1; i <= kLines; ++i)
        print.DrukaUzCeka(QStringLiteral("%1 Āboli Šķirne Nr.%2   1.000 x 1.25").arg(i, 2).arg(i), false, 1);
    while (printer.receipt().size() < linesBefore + kLines) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const long bytes = printer.bytesReceived() - before;
    const double wire = double(bytes) * 10 / kBaud;
    const bool waits = print::printerType(type).waitAfterEveryLine;
    const double prescribed = waits ? kLines * kLineWaitMs / 1000.0 : 0;
    const double ratio = elapsed / (wire + prescribed);
    std::printf("type %d %-28s %5ld bytes  wire %6.3f s  waits %6.3f s  elapsed %6.3f s  ratio %.3f\n", type,
                std::string(print::printerType(type).name).c_str(), bytes, wire, prescribed, elapsed, ratio);
    printer.stop();
    return ratio;
}

}  // namespace

int main(int argc, char** argv) {
    platform::ui::setMessageHandler([](const platform::ui::MessageRequest&) { return int(platform::ui::Ok); });
    const auto root = std::filesystem::temp_directory_path() / ("tillora-print-bench-" + std::to_string(::getpid()));
    std::vector<int> types;
    for (int i = 1; i < argc; ++i) types.push_back(std::atoi(argv[i]));
    if (types.empty()) types = {0, 1, 2, 5, 6, 7};  // the 9600-baud types
    double worst = 0;
    for (int type : types) worst = std::max(worst, runType(type, root));
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(root);
    std::printf("worst ratio %.3f (target <= 1.1)\n", worst);
    return 0;
}
