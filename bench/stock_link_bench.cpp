// Closing a 20-line cash receipt to the end (printing, fiscal registration, the journal rows in
// the till database) with the stock link on - each line's balance moved in the embedded stock
// database - against the same receipt with it off; the printer simulator takes bytes at 9600
// baud and the fiscal-memory module simulator at 115200 baud. Prints the two times and their
// ratio; the aim is <= 1.1.
#include "bench_folder.h"
#include "fiscal_memory_sim.h"
#include "fmproc.h"
#include "memorix.h"
#include "printclass.h"
#include "printer_sim.h"
#include "receipt_print.h"
#include "receipt_printing.h"
#include "receipt_recovery.h"
#include "receipt_store.h"
#include "stock_link.h"
#include "till_database.h"
#include "ui_services.h"

#include "database.h"

#include <QDateTime>
#include <QSqlQuery>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPrinterType = 5;  // a 9600-baud printer without waits of its own
constexpr long kPrinterBaud = 9600;
constexpr long kModuleBaud = 115200;
constexpr int kLines = 20;
constexpr int kRounds = 3;

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

bool run(QSqlDatabase db, const QString& sql) {
    QSqlQuery query(db);
    return query.exec(sql);
}

}  // namespace

int main() {
    platform::ui::setMessageHandler([](const platform::ui::MessageRequest& m) {
        std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
        return int(platform::ui::Ok);
    });
    const auto dir = std::filesystem::temp_directory_path() / ("tillora-stock-bench-" + std::to_string(::getpid()));
    auto& settings = enterBenchFolder(dir);
    const char* key = "Software\\TOVEL\\Tillora\\Setup";
    settings.writeInteger(key, "FMTips", 1);
    settings.writeInteger(key, "FMPort", 3);
    settings.writeInteger(key, "PrinteraPorts", 1);

    schema::createTillDatabase(dir / "POS_DATI.GDB");
    schema::createStockaraDatabase(dir / "STOCKARA.GDB");
    platform::defineAlias("POS_DB", (dir / "POS_DATI.GDB").string());
    platform::defineAlias("STOCKARA", (dir / "STOCKARA.GDB").string());
    const QSqlDatabase posDb = platform::openDatabase("POS_DB");
    const StockLink stock{platform::openDatabase("STOCKARA"), QStringLiteral("V1")};

    std::vector<TCekaRinda> lines(kLines);
    bool seeded = run(stock.stockara, "INSERT INTO N_DEPART (KODS) VALUES ('V1')");
    for (int i = 0; i < kLines; ++i) {
        TCekaRinda& line = lines[std::size_t(i)];
        line.Artikuls = QString::number(4750001000000LL + i);
        line.Nosaukums = QStringLiteral("Āboli šķirne Nr.%1").arg(i + 1);
        line.Mervieniba = QStringLiteral("kg ");
        line.Cena = 1.25 + i * 0.1;
        line.Daudzums = 1 + i % 3;
        line.Iepakojums = 1;
        line.Nodala = 1 + i % 3;
        seeded = seeded && run(stock.stockara, "INSERT INTO N_KLPREC (ARTIKULS) VALUES ('" + line.Artikuls + "')") &&
                 run(stock.stockara, QStringLiteral("INSERT INTO O_TEKATLIK (ISPRECE, ISNODALA, ATLIKUMS) VALUES (%1, 1, 1000)")
                                         .arg(i + 1));
    }
    if (!seeded) {
        std::fprintf(stderr, "the stock database could not be filled\n");
        return 1;
    }

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

    ClosingReceipt receipt;
    receipt.lines = lines;
    for (const TCekaRinda& line : lines) receipt.CekaSumma += RindasSumma(line);
    receipt.Sanemts = 100;
    receipt.payments[0] = {100, QStringLiteral("0-Skaidra nauda EUR"), 0};
    ClosingSettings closing;
    closing.CekaValutaKods = QStringLiteral("EUR");

    int failures = 0;
    // One receipt closed to the end; its time until the next receipt's header is on the paper.
    const auto closeReceipt = [&](bool linkOn) {
        MarkedClosing marked(fm, dir / kPendingReceiptFile, receipt, closing, [](int number) {
            ReceiptRows rows;
            rows.CekaNr = number;
            rows.Datums = QDate(2026, 3, 2);
            rows.Laiks = QStringLiteral("10:00:00");
            return rows;
        });
        ReceiptPrintJob job;
        job.beforePrinting = [&marked](int number, const QString& taxRates) { return marked.beforePrinting(number, taxRates); };
        job.KasierisFullName = QStringLiteral("Anna Ozola");
        job.now = QDateTime::currentDateTime();
        LastReceipt last;
        const auto headers = [&printer] {
            const auto paper = printer.receipt();
            return std::count(paper.begin(), paper.end(), std::string("SIA Veikals"));
        };
        const auto headersBefore = headers();
        const auto start = std::chrono::steady_clock::now();
        bool done = PrintAllCeks(job, receipt, closing, print, fm, window, last) == kPrintAllCeksPrinted && marked.printed() &&
                    marked.count();
        if (done) {
            StoreReceiptRows(posDb, receipt, marked.pending().rows);
            if (linkOn)
                UpdateReceiptStock(stock, receipt, [&](const QString& text) {
                    std::fprintf(stderr, "%s\n", qPrintable(text));
                    done = false;
                });
            done = marked.done() && done;
        }
        if (!done) ++failures;
        while (headers() <= headersBefore) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };

    double off = 0, on = 0;
    for (int round = 0; round < kRounds; ++round) {
        off += closeReceipt(false);
        on += closeReceipt(true);
    }
    std::printf("link off %6.3f s  link on %6.3f s  (%d receipts each)  ratio %.3f (target <= 1.1)\n", off / kRounds,
                on / kRounds, kRounds, on / off);
    MEMORIX_CloseComPort();
    // The simulators' threads end before their state goes.
    printer.stop();
    module.stop();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(dir);
    return failures == 0 ? 0 : 1;
}
