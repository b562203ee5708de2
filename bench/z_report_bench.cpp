// Closing a busy day: one Z report after 5,000 receipts (15,000 sale rows in the till database, the
// day's journal file, counters to match) against the fiscal-memory module simulator at 115200
// baud and the printer simulator taking bytes at 9600 baud, per printer type. Prints elapsed /
// (wire time of both lines + the waits the printer type prescribes); the aim is <= 1.2.
//
//   z_report_bench [printer types]   (default 6 and 0: a thermal type without waits, an impact
//                                     type waiting after every line)
#include "bench_folder.h"
#include "codepage_1257.h"
#include "database.h"
#include "fiscal_memory_sim.h"
#include "fmproc.h"
#include "memorix.h"
#include "print_devices.h"
#include "printclass.h"
#include "printer_sim.h"
#include "report_fiscal_memory.h"
#include "report_window.h"
#include "settings_store.h"
#include "till_database.h"
#include "ui_services.h"
#include "xz_report.h"

#include <QCoreApplication>
#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kReceipts = 5000;
constexpr long kPrinterBaud = 9600;
constexpr long kModuleBaud = 115200;
constexpr int kModulePort = 3;
constexpr int kLineWaitMs = 300;  // what a type that waits after every line waits
constexpr int kFirstReceipt = 42;
const QString kConnection = QStringLiteral("ZBENCH_POS_DB");
const QString kCashier = QStringLiteral("Anna Bērziņa");

// One sale line of the day: department (its tax slot), price and quantity.
struct SaleLine {
    int nodala;
    const char* artikuls;
    const char* nosaukums;
    int centi;  // price in cents
    int daudzums;
};

// Receipt r: three lines in the 21 %, 12 % and 5 % departments; every tenth paid by card.
std::array<SaleLine, 3> receiptLines(int r) {
    return {{{1, "4750001000017", "Āboli Golden", 125 + (r % 7) * 10, 2},
             {2, "4750001000024", "Maize rudzu", 89, 1 + r % 3},
             {5, "4750001000031", "Zāles C vit.", 310, 1}}};
}
bool paidByCard(int r) { return r % 10 == 9; }

// What the day's receipts add up to, in cents.
struct DayTotals {
    std::array<long long, 24> taxSlots{};
    long long card = 0;
    long long all() const {
        long long sum = 0;
        for (long long slot : taxSlots) sum += slot;
        return sum;
    }
};

class BenchWindow : public ReportWindow {
public:
    int messages = 0;
    void ShowPazinojums(const QString& text) override {
        ++messages;
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    void AnuletCeku() override { std::fprintf(stderr, "the open receipt was annulled\n"); }
    double GetValutasKurss(const QString&) override { return 1.0; }
};

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::exit(1);
}

// The day's sale rows, as the sale engine stores them, in one transaction.
DayTotals seedSaleRows(QSqlDatabase db) {
    DayTotals totals;
    if (!db.transaction()) fail("no transaction: " + db.lastError().text().toStdString());
    {
        QSqlQuery insert(db);
        if (!insert.prepare(QStringLiteral(
                "INSERT INTO REALIZ (CEKA_NR, DATUMS, LAIKS, KL_KODS, ARTIKULS, CENA, NODOKLIS, DAUDZUMS, ATLAIDE, "
                "SANEMTS, IZDOTS, BONUSS, APM_VEIDS, NODALA, KASIERIS, PIEZIMES, KARTES_NR, KARTES_SUMMA, ANULETS, "
                "APM_RINDA, CITASZINAS) VALUES (:CEKA_NR, :DATUMS, :LAIKS, '', :ARTIKULS, :CENA, :NODOKLIS, "
                ":DAUDZUMS, 0, :SANEMTS, :IZDOTS, 0, :APM_VEIDS, 0, :KASIERIS, '', '', 0, 'F', :APM_RINDA, '')")))
            fail("prepare: " + insert.lastError().text().toStdString());
        const QDate today = QDate::currentDate();
        for (int r = 0; r < kReceipts; ++r) {
            const auto lines = receiptLines(r);
            long long sum = 0;
            for (const SaleLine& line : lines) sum += (long long)line.centi * line.daudzums;
            const bool card = paidByCard(r);
            const double sanemts = sum / 100.0;
            const int seconds = 8 * 3600 + r * 6;
            const QString laiks = QString::asprintf("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
            for (const SaleLine& line : lines) {
                insert.bindValue(QStringLiteral(":CEKA_NR"), kFirstReceipt + r);
                insert.bindValue(QStringLiteral(":DATUMS"), today);
                insert.bindValue(QStringLiteral(":LAIKS"), laiks);
                insert.bindValue(QStringLiteral(":ARTIKULS"), QString::fromLatin1(line.artikuls));
                insert.bindValue(QStringLiteral(":CENA"), line.centi / 100.0);
                insert.bindValue(QStringLiteral(":NODOKLIS"), line.nodala);
                insert.bindValue(QStringLiteral(":DAUDZUMS"), double(line.daudzums));
                insert.bindValue(QStringLiteral(":SANEMTS"), sanemts);
                insert.bindValue(QStringLiteral(":IZDOTS"), sanemts - sum / 100.0);
                insert.bindValue(QStringLiteral(":APM_VEIDS"), card ? 2 : 1);
                insert.bindValue(QStringLiteral(":KASIERIS"), kCashier);
                insert.bindValue(QStringLiteral(":APM_RINDA"),
                                 QString::asprintf("/%d=%.2f", card ? 1 : 0, sum / 100.0));
                if (!insert.exec()) fail("insert: " + insert.lastError().text().toStdString());
                totals.taxSlots[std::size_t(line.nodala - 1)] += (long long)line.centi * line.daudzums;
            }
            if (card) totals.card += sum;
        }
    }
    if (!db.commit()) fail("commit: " + db.lastError().text().toStdString());
    return totals;
}

// The module: the receipt header, the previous day's close (Z 5) and the day's counters.
void seedFiscalMemory(TFMProc& fm, const DayTotals& totals) {
    if (FM_AppendRecord("0", "opening", 7) != 0) fail("the module did not take the opening record");
    if (!fm.FMWriteGrand(5, QStringLiteral("ABCDEF01"), 100000, 17000, 500, 80)) fail("FMWriteGrand failed");
    // Slot 2 holds 12 %, slot 5 holds 5 %, the others 21 %.
    QString taxSlots;
    for (std::size_t i = 0; i < totals.taxSlots.size(); ++i)
        taxSlots += QString::asprintf("%2i%8lld", i == 1 ? 12 : i == 4 ? 5 : 21, totals.taxSlots[i]);
    const QString z13(13, u'0'), z9(9, u'0');
    const std::vector<std::pair<QString, QString>> records{
        {"CEKAGALVA1", "SIA Veikals"}, {"CEKAGALVA2", "Rīga, Brīvības 1"}, {"CEKAGALVA3", "PVN LV40001234567"},
        {"CEKAGALVA4", "Paldies!"}, {"POS_NR", "00000000007"}, {"VID_ID", "VID-1"},
        {"CEKANRCOUN", QString::asprintf("%011d", kFirstReceipt + kReceipts - 1)},
        {"X_REPORTNR", "3"}, {"ATLNOIEPR", "10000"}, {"NOD_D_SUM", taxSlots},
        {"IELIKTS", "   1    5000"}, {"IZNEMTS", z13}, {"STORNO_SUM", z9}, {"BANKA_ATGR", z13},
        {"ATGRTARA", z13}, {"KOREKCIJA", z13}, {"DIENAS_ATL", z13},
        {"BANKA_SUM", QString::number(totals.card)}};
    for (const auto& [name, text] : records)
        if (!fm.FMWrite(name, text)) fail("FMWrite " + name.toStdString() + " failed");
}

// The day's journal file as the receipts left it (Windows-1257, CR LF), appended to the file the
// printer object has started.
void seedJournal(const TPrintClass& print) {
    std::ofstream journal(print.KontrMape / print.KontrFails.toStdString(), std::ios::binary | std::ios::app);
    const QDate today = QDate::currentDate();
    std::string text;
    for (int r = 0; r < kReceipts; ++r) {
        QStringList lines{QStringLiteral("SIA Veikals"), QStringLiteral("Rīga, Brīvības 1"),
                          QStringLiteral("PVN LV40001234567"), QStringLiteral("Paldies!"),
                          QStringLiteral("Kases S/N 00000000007 FA S/N 20240117"), QStringLiteral("VID ID VID-1"),
                          QString::asprintf("Čeks Nr %d", kFirstReceipt + r)};
        long long sum = 0;
        for (const SaleLine& line : receiptLines(r)) {
            const long long lineSum = (long long)line.centi * line.daudzums;
            sum += lineSum;
            lines << QString::fromUtf8(line.nosaukums) + QString::asprintf("  %d x %.2f = %.2f", line.daudzums,
                                                                          line.centi / 100.0, lineSum / 100.0);
        }
        lines << QString(40, u'-') << QString::asprintf("KOPĀ EUR %30.2f", sum / 100.0)
              << (paidByCard(r) ? QStringLiteral("Bankas karte") : QStringLiteral("Skaidra nauda"))
              << today.toString(QStringLiteral("dd.MM.yyyy")) << QStringLiteral("Kasieris : ") + kCashier;
        for (const QString& line : lines) text += toCp1257(line) + "\r\n";
    }
    journal << text;
    if (!journal) fail("the journal file could not be written");
}

// Waits until the paper holds `line` somewhere after `title` (false after two minutes).
bool waitForLineAfter(sim::PrinterSimulator& printer, const std::string& title, const std::string& line) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (std::chrono::steady_clock::now() < deadline) {
        const auto paper = printer.receipt();
        const auto start = std::find(paper.begin(), paper.end(), title);
        if (start != paper.end() && std::find(start, paper.end(), line) != paper.end()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

double runType(int type, const fs::path& root, const fs::path& emptyDatabase) {
    const fs::path dir = root / ("type" + std::to_string(type));
    auto& settings = enterBenchFolder(dir);
    const char* key = "Software\\TOVEL\\Tillora\\Setup";
    settings.writeInteger(key, "FMTips", 1);
    settings.writeInteger(key, "FMPort", kModulePort);
    settings.writeInteger(key, "PrinteraPorts", 1);
    settings.writeInteger(key, "KlDisplejsPorts", 2);

    const fs::path databaseFile = dir / "POS_DATI.GDB";
    fs::copy_file(emptyDatabase, databaseFile);
    platform::defineAlias(platform::kPosDbAlias, databaseFile.string());
    QSqlDatabase db = platform::openDatabase(platform::kPosDbAlias, kConnection);
    const DayTotals totals = seedSaleRows(db);

    sim::FiscalMemorySim module(dir / "fiscal-memory.bin");
    sim::PrinterSimulator printer(type);
    if (!module.start(dir / "ports", "COM" + std::to_string(kModulePort), kModuleBaud) ||
        !printer.start(dir / "ports", "COM1"))
        fail("a simulator did not start");
    printer.setReceivePacing(kPrinterBaud);
    if (MEMORIX_OpenComPort(kModulePort, kModuleBaud) != 0 || HT_ClearAll() != 0) fail("the module did not answer");
    double ratio = 0;
    {
        TFMProc fm;
        seedFiscalMemory(fm, totals);
        TPrintClass print(type, &fm);
        seedJournal(print);
        printer.waitIdle(200);

        BenchWindow window;
        XZReportJob job;
        job.KasierisFullName = kCashier;
        job.CekaValutaKods = QStringLiteral("EUR");
        job.posDb = db;
        ReportFiscalMemory access(fm);

        const long printerBefore = printer.bytesReceived();
        const auto moduleBefore = module.bytesReceived() + module.bytesSent();
        const auto start = std::chrono::steady_clock::now();
        const int rc = PrintXZAtskaite(kZReport, job, access, print, window);
        // The report is done once the next receipt's header has reached the paper after it.
        const bool printed = waitForLineAfter(printer, "            Z atskaites Nr    5", "VID ID VID-1");
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (rc != kReportDone || !printed || window.messages != 0)
            fail("the Z report failed: result " + std::to_string(rc) + (printed ? "" : ", not on paper"));

        // The day closed with the day's sums, and the Z row went in after the sale rows.
        int nr = 0;
        double grandTotal = 0, grandVat = 0, daySum = 0, dayVat = 0;
        QDate date;
        QString time, check;
        if (!fm.FMReadGrand(-1, nr, grandTotal, grandVat, date, time, daySum, dayVat, check) || nr != 6 ||
            (long long)daySum != totals.all())
            fail("the day-close record is not the day's");
        QSqlQuery count(db);
        if (!count.exec(QStringLiteral("SELECT COUNT(*) FROM REALIZ WHERE PIEZIMES = 'Z=5'")) || !count.next() ||
            count.value(0).toInt() != 1)
            fail("no Z row");

        const print::PrinterType& printerType = print::printerType(type);
        // The waits: one after every printed line on the types that wait. The kept file holds the
        // report's texts; its final feed is one line of five line feeds, and its one empty line
        // is fed, not printed. The next header follows: four header lines, the journal station's
        // line feed, the serial numbers and the VID ID.
        double waits = 0;
        if (printerType.waitAfterEveryLine) {
            const auto kept = LoadReportFile(QString::fromLatin1(kLastZReportFile));
            if (!kept) fail("no kept report file");
            const int reportLines = int(kept->size()) - 5 - 1;
            const int headerLines = 4 + (printerType.journalStation ? 1 : 0) + 2;
            waits = (reportLines + headerLines) * kLineWaitMs / 1000.0;
        }
        const double printerWire = double(printer.bytesReceived() - printerBefore) * 10 / kPrinterBaud;
        const double moduleWire = double(module.bytesReceived() + module.bytesSent() - moduleBefore) * 10 / kModuleBaud;
        ratio = elapsed / (printerWire + moduleWire + waits);
        std::printf("type %d %-28s printer wire %6.3f s  module wire %6.3f s  waits %6.3f s  elapsed %6.3f s  "
                    "ratio %.3f\n",
                    type, std::string(printerType.name).c_str(), printerWire, moduleWire, waits, elapsed, ratio);
        std::fflush(stdout);
    }
    MEMORIX_CloseComPort();
    // The simulators' threads end before their state goes.
    printer.stop();
    module.stop();
    db.close();
    db = QSqlDatabase();
    platform::closeDatabase(kConnection);
    return ratio;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    platform::ui::setMessageHandler([](const platform::ui::MessageRequest& m) {
        std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
        return int(platform::ui::Ok);
    });
    std::vector<int> types;
    for (int i = 1; i < argc; ++i) types.push_back(std::atoi(argv[i]));
    if (types.empty()) types = {6, 0};

    const fs::path root = fs::temp_directory_path() / ("tillora-z-bench-" + std::to_string(::getpid()));
    fs::create_directories(root);
    const fs::path emptyDatabase = root / "empty.GDB";
    schema::createTillDatabase(emptyDatabase);
    std::printf("a day of %d receipts (%d sale rows) closed by one Z report\n", kReceipts, kReceipts * 3);
    double worst = 0;
    for (int type : types) worst = std::max(worst, runType(type, root, emptyDatabase));
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(root);
    std::printf("worst ratio %.3f (target <= 1.2)\n", worst);
    return 0;
}
