// The ground of the receipt-closing benches: the printer simulator taking bytes at 9600 baud on
// COM1 and the fiscal-memory module simulator at 115200 baud on COM3, the device objects with the
// first header printed, a window that prints receipt lines, and the benches' 20-line cash receipt.
#pragma once

#include "bench_folder.h"
#include "closing_receipt.h"
#include "fiscal_memory_sim.h"
#include "fmproc.h"
#include "memorix.h"
#include "printclass.h"
#include "printer_sim.h"
#include "receipt_print.h"
#include "receipt_printing.h"
#include "receipt_recovery.h"
#include "ui_services.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace bench {

constexpr int kPrinterType = 5;  // a 9600-baud printer without waits of its own
constexpr long kPrinterBaud = 9600;
constexpr long kModuleBaud = 115200;
constexpr int kLines = 20;
inline const std::string kHeader = "SIA Veikals";

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

// The benches' receipt lines: 20 articles 4750001000000.., in departments 1 to 3.
inline std::vector<TCekaRinda> BenchLines() {
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
    return lines;
}

// The lines paid with 100 in cash.
inline ClosingReceipt CashReceipt(const std::vector<TCekaRinda>& lines) {
    ClosingReceipt receipt;
    receipt.lines = lines;
    for (const TCekaRinda& line : lines) receipt.CekaSumma += RindasSumma(line);
    receipt.Sanemts = 100;
    receipt.payments[0] = {100, QStringLiteral("0-Skaidra nauda EUR"), 0};
    return receipt;
}

// The bench's folder, the simulators and the device objects, made in that order and undone in
// the reverse one.
class PacedTill {
public:
    explicit PacedTill(const char* name)
        : dir_(std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid()))) {
        platform::ui::setMessageHandler([](const platform::ui::MessageRequest& m) {
            std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
            return int(platform::ui::Ok);
        });
        auto& settings = enterBenchFolder(dir_);
        const char* key = "Software\\TOVEL\\Tillora\\Setup";
        settings.writeInteger(key, "FMTips", 1);
        settings.writeInteger(key, "FMPort", 3);
        settings.writeInteger(key, "PrinteraPorts", 1);
        settings.writeInteger(key, "KlDisplejsPorts", 2);
    }
    ~PacedTill() {
        print.reset();
        fm.reset();
        MEMORIX_CloseComPort();
        // The simulators' threads end before their state goes.
        if (printer) printer->stop();
        if (module) module->stop();
        std::filesystem::current_path(std::filesystem::temp_directory_path());
        std::filesystem::remove_all(dir_);
    }

    // False (and said why) when a device does not start.
    bool start() {
        module = std::make_unique<sim::FiscalMemorySim>(dir_ / "fiscal-memory.bin");
        printer = std::make_unique<sim::PrinterSimulator>(kPrinterType);
        if (!module->start(dir_ / "ports", "COM3", kModuleBaud) || !printer->start(dir_ / "ports", "COM1")) {
            std::fprintf(stderr, "a simulator did not start\n");
            return false;
        }
        printer->setReceivePacing(kPrinterBaud);
        if (MEMORIX_OpenComPort(3, kModuleBaud) != 0 || HT_ClearAll() != 0) {
            std::fprintf(stderr, "the module did not answer\n");
            return false;
        }
        fm = std::make_unique<TFMProc>();
        QString rates;
        for (int slot = 1; slot <= 24; ++slot) rates += "21       0";
        fm->FMWrite("NOD_D_SUM", rates);
        fm->FMWrite("CEKAGALVA1", QString::fromStdString(kHeader));
        print = std::make_unique<TPrintClass>(kPrinterType, fm.get());
        print->DrukaCekaGalvu();  // the first header, as at start-up
        printer->waitIdle(200);
        window = std::make_unique<BenchWindow>(*print);
        return true;
    }

    // Receipt headers on the paper: the printer has a whole receipt once the next one's is there.
    long headers() const {
        const auto paper = printer->receipt();
        return long(std::count(paper.begin(), paper.end(), kHeader));
    }

    const std::filesystem::path& dir() const { return dir_; }

    std::unique_ptr<sim::FiscalMemorySim> module;
    std::unique_ptr<sim::PrinterSimulator> printer;
    std::unique_ptr<TFMProc> fm;
    std::unique_ptr<TPrintClass> print;
    std::unique_ptr<BenchWindow> window;

private:
    std::filesystem::path dir_;
};

// The print job of a receipt closed as the till closes it: marked in the fiscal memory before its
// first printed byte.
inline ReceiptPrintJob MarkedPrintJob(MarkedClosing& marked) {
    ReceiptPrintJob job;
    job.prepare = [&marked](const QString& taxRates) { return marked.prepare(taxRates); };
    job.beforePrinting = [&marked](int number) { return marked.beforePrinting(number); };
    job.KasierisFullName = QStringLiteral("Anna Ozola");
    job.now = QDateTime::currentDateTime();
    return job;
}

}  // namespace bench
