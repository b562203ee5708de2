// Closing a 20-line cash receipt (printing and fiscal registration, with the pending receipt's file
// and its marker record at each step) against the printer simulator taking bytes at 9600 baud and
// the fiscal-memory module simulator at 115200 baud. Prints elapsed / (wire time of both lines,
// the marker's bytes included, + the waits the printer type prescribes); the aim is <= 1.2.
#include "bench_folder.h"
#include "fiscal_memory_sim.h"
#include "fiscal_registration.h"
#include "fmproc.h"
#include "memorix.h"
#include "printclass.h"
#include "printer_sim.h"
#include "receipt_print.h"
#include "receipt_printing.h"
#include "receipt_recovery.h"
#include "settings_store.h"
#include "ui_services.h"

#include <QDateTime>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPrinterType = 5;  // a 9600-baud printer without waits of its own
constexpr long kPrinterBaud = 9600;
constexpr long kModuleBaud = 115200;
constexpr int kLines = 20;

class BenchWindow : public ClosingHost {
public:
    explicit BenchWindow(TPrintClass& print) : print_(print) {}
    int PrintCekaRinda(const TCekaRinda& line) override {
        LinePrintSettings settings;
        settings.Printeris = kPrinterType;
        settings.CekaValutaKods = QStringLiteral("EUR");
        for (const QString& text : CekaRindasTeksts(settings, {line.Nodala, line.Nosaukums, line.Cena,
                                                               line.Daudzums * line.Iepakojums, line.Atlaide,
                                                               line.Artikuls, line.Mervieniba, false}))
            if (print_.DrukaUzAbam(text, 1) < 0) return -1;
        return 1;
    }
    QStringList MaksatajaRindas() override { return {}; }
    void AnuletCeku() override { std::fprintf(stderr, "the receipt was annulled\n"); }
    void SetStatusText(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void ShowPazinojums(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }

private:
    TPrintClass& print_;
};

}  // namespace

int main() {
    platform::ui::setMessageHandler([](const platform::ui::MessageRequest& m) {
        std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
        return int(platform::ui::Ok);
    });
    const auto dir = std::filesystem::temp_directory_path() / ("tillora-close-bench-" + std::to_string(::getpid()));
    auto& settings = enterBenchFolder(dir);
    const char* key = "Software\\TOVEL\\Tillora\\Setup";
    settings.writeInteger(key, "FMTips", 1);
    settings.writeInteger(key, "FMPort", 3);
    settings.writeInteger(key, "PrinteraPorts", 1);
    settings.writeInteger(key, "KlDisplejsPorts", 2);

    sim::FiscalMemorySim module(dir / "fiscal-memory.bin");
    sim::PrinterSimulator printer(kPrinterType);
    if (!module.start(dir / "ports", "COM3", kModuleBaud) || !printer.start(dir / "ports", "COM1")) {
        std::fprintf(stderr, "a simulator did not start\n");
        return 1;
    }
    printer.setReceivePacing(kPrinterBaud);
    if (MEMORIX_OpenComPort(3, kModuleBaud) != 0 || HT_ClearAll() != 0) {
        std::fprintf(stderr, "the module did not answer\n");
        return 1;
    }
    TFMProc fm;
    QString rates;
    for (int slot = 1; slot <= 24; ++slot) rates += "21       0";
    fm.FMWrite("NOD_D_SUM", rates);
    fm.FMWrite("CEKAGALVA1", "SIA Veikals");
    TPrintClass print(kPrinterType, &fm);
    print.DrukaCekaGalvu();  // the first header, as at start-up
    printer.waitIdle(200);
    BenchWindow window(print);

    std::vector<TCekaRinda> lines(kLines);
    for (int i = 0; i < kLines; ++i) {
        TCekaRinda& line = lines[std::size_t(i)];
        line.Artikuls = QString::number(4750001000000LL + i);
        line.Nosaukums = QStringLiteral("Āboli šķirne Nr.%1").arg(i + 1);
        line.Mervieniba = QStringLiteral("kg ");
        line.Cena = 1.25 + i * 0.1;
        line.Daudzums = 1 + i % 3;
        line.Iepakojums = 1;
        line.Nodala = 1 + i % 3;
    }
    ClosingReceipt receipt;
    receipt.lines = lines;
    for (const TCekaRinda& line : lines) receipt.CekaSumma += RindasSumma(line);
    receipt.Sanemts = 100;
    receipt.payments[0] = {100, QStringLiteral("0-Skaidra nauda EUR"), 0};
    ClosingSettings closing;
    closing.CekaValutaKods = QStringLiteral("EUR");
    MarkedClosing marked(fm, dir / kPendingReceiptFile, receipt, closing, [](int number) {
        ReceiptRows rows;
        rows.CekaNr = number;
        return rows;
    });
    ReceiptPrintJob job;
    job.beforePrinting = [&marked](int number, const QString& taxRates) { return marked.beforePrinting(number, taxRates); };
    job.KasierisFullName = QStringLiteral("Anna Ozola");
    job.now = QDateTime::currentDateTime();
    LastReceipt last;

    const long printerBefore = printer.bytesReceived();
    const auto moduleBefore = module.bytesReceived() + module.bytesSent();
    const auto start = std::chrono::steady_clock::now();
    const int printed = PrintAllCeks(job, receipt, closing, print, fm, window, last);
    const bool registered = printed == kPrintAllCeksPrinted && marked.printed() && marked.count() && marked.done();
    // The printer has the whole receipt once the next receipt's header is on its paper too.
    const auto headers = [&printer] {
        const auto paper = printer.receipt();
        return std::count(paper.begin(), paper.end(), std::string("SIA Veikals"));
    };
    while (headers() < 2) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const double printerWire = double(printer.bytesReceived() - printerBefore) * 10 / kPrinterBaud;
    const double moduleWire = double(module.bytesReceived() + module.bytesSent() - moduleBefore) * 10 / kModuleBaud;
    const double ratio = elapsed / (printerWire + moduleWire);
    std::printf("PrintAllCeks %d  counted %d\n", printed, int(registered));
    std::printf("printer wire %6.3f s  module wire %6.3f s  waits 0.000 s  elapsed %6.3f s  ratio %.3f (target <= 1.2)\n",
                printerWire, moduleWire, elapsed, ratio);
    MEMORIX_CloseComPort();
    // The simulators' threads end before their state goes.
    printer.stop();
    module.stop();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(dir);
    return registered ? 0 : 1;
}
