// The set-up program's print of day-close records by date: a 5-day range out of 400 records, read
// from the module simulator at 115200 baud and printed on the printer simulator taking bytes at
// 9600 baud. Prints elapsed / (wire time of both lines + the prescribed waits); the aim is <= 1.2.
#include "bench_folder.h"
#include "fiscal_memory_sim.h"
#include "fmproc.h"
#include "memorix.h"
#include "printer_sim.h"
#include "setup_form.h"
#include "ui_services.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr int kRecords = 400;
constexpr int kDaysInRange = 5;
constexpr long kModuleBaud = 115200;
constexpr long kPrinterBaud = 9600;
constexpr int kPrinterType = 1;          // CITIZEN CBM-262: no pause of its own after each line
constexpr double kRecordWaits = 4 * 0.3;  // the 300 ms pauses after four of a record's five lines
constexpr int kModulePort = 3;

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::ui::setMessageHandler([](const platform::ui::MessageRequest&) { return int(platform::ui::Ok); });
    const auto dir = std::filesystem::temp_directory_path() / ("tillora-setup-print-bench-" + std::to_string(::getpid()));
    auto& settings = enterBenchFolder(dir);
    const char* key = "Software\\TOVEL\\Tillora\\Setup";
    settings.writeInteger(key, "FMTips", 1);
    settings.writeInteger(key, "FMPort", kModulePort);
    settings.writeInteger(key, "PrinteraPorts", 1);
    settings.writeInteger(key, "KlDisplejsPorts", 2);

    // The records are written at full speed; the measured print then runs on the paced line.
    sim::FiscalMemorySim::Options big;
    big.fiscalSize = 0x40000;
    auto module = std::make_unique<sim::FiscalMemorySim>(dir / "fiscal-memory.bin", big);
    if (!module->start(dir / "ports", "COM3")) fail("module simulator did not start");
    {
        TFMProc fm;
        if (fm.Status != 0) fail("fiscal memory not ready");
        const QDate first(2025, 1, 1);
        for (int n = 1; n < kRecords; ++n) {
            DayCloseRecord r;
            r.nr = n + 1;
            r.date = first.addDays(n);
            r.time = QStringLiteral("21:00");
            r.grandTotal = 100000.0 * n;
            r.grandVat = 17355.0 * n;
            r.daySum = 100000;
            r.dayVat = 17355;
            r.check = QStringLiteral("0BADF00D");
            if (!fm.FMAppendDayClose(r)) fail("append failed");
        }
    }
    MEMORIX_CloseComPort();
    module->stop();
    if (!module->start(dir / "ports", "COM3", kModuleBaud)) fail("module simulator did not restart");
    MEMORIX_OpenComPort(kModulePort, int(kModuleBaud));

    sim::PrinterSimulator printer(kPrinterType);
    printer.setReceivePacing(kPrinterBaud);
    if (!printer.start(dir / "ports", "COM1")) fail("printer simulator did not start");

    TSetup form;
    form.rdPrinteris->SetItemIndex(kPrinterType);
    const QDate from = QDate(2025, 1, 1).addDays(200);
    form.SakDatums->setDate(from);
    form.BeiguDatums->setDate(from.addDays(kDaysInRange - 1));
    const auto moduleBytes = [&] { return module->bytesReceived() + module->bytesSent(); };
    const std::uint64_t moduleBefore = moduleBytes();
    const long printerBefore = printer.bytesReceived();

    const auto start = std::chrono::steady_clock::now();
    form.btDrukatClick();
    // Until the printer has taken the last byte.
    constexpr int kQuietMs = 200;
    printer.waitIdle(kQuietMs, 600000);
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() - kQuietMs / 1000.0;

    const double moduleWire = double(moduleBytes() - moduleBefore) * 10 / kModuleBaud;
    const double printerWire = double(printer.bytesReceived() - printerBefore) * 10 / kPrinterBaud;
    const double waits = kDaysInRange * kRecordWaits;
    const double ratio = elapsed / (moduleWire + printerWire + waits);
    std::printf("module wire %6.3f s  printer wire %6.3f s  waits %6.3f s  elapsed %6.3f s  ratio %.3f (target <= 1.2)\n",
                moduleWire, printerWire, waits, elapsed, ratio);
    printer.stop();
    MEMORIX_CloseComPort();
    module->stop();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(dir);
    return 0;
}
