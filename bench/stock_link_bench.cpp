// Closing a 20-line cash receipt to the end (printing, fiscal registration, the journal rows in
// the till database) with the stock link on - each line's balance moved in the embedded stock
// database - against the same receipt with it off; the printer simulator takes bytes at 9600
// baud and the fiscal-memory module simulator at 115200 baud. Prints the two times and their
// ratio; the aim is <= 1.1.
#include "paced_closing.h"
#include "receipt_printing.h"
#include "receipt_store.h"
#include "stock_link.h"
#include "till_database.h"

#include "database.h"

#include <QDateTime>
#include <QSqlQuery>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

constexpr int kRounds = 3;

bool run(const QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    return query.exec(sql);
}

// The stock product knows the bench's articles, each with a balance in department "V1".
bool fillStock(const StockLink& stock, const std::vector<TCekaRinda>& lines) {
    bool filled = run(stock.stockara, "INSERT INTO N_DEPART (KODS) VALUES ('" + stock.nodalasKods + "')");
    for (std::size_t i = 0; i < lines.size(); ++i)
        filled = filled && run(stock.stockara, "INSERT INTO N_KLPREC (ARTIKULS) VALUES ('" + lines[i].Artikuls + "')") &&
                 run(stock.stockara,
                     QStringLiteral("INSERT INTO O_TEKATLIK (ISPRECE, ISNODALA, ATLIKUMS) VALUES (%1, 1, 1000)").arg(i + 1));
    return filled;
}

}  // namespace

int main() {
    using namespace bench;
    PacedTill till("tillora-stock-bench");
    schema::createTillDatabase(till.dir() / "POS_DATI.GDB");
    schema::createStockaraDatabase(till.dir() / "STOCKARA.GDB");
    platform::defineAlias("POS_DB", (till.dir() / "POS_DATI.GDB").string());
    platform::defineAlias("STOCKARA", (till.dir() / "STOCKARA.GDB").string());
    const QSqlDatabase posDb = platform::openDatabase("POS_DB");
    const StockLink stock{platform::openDatabase("STOCKARA"), QStringLiteral("V1")};
    const std::vector<TCekaRinda> lines = BenchLines();
    if (!fillStock(stock, lines)) {
        std::fprintf(stderr, "the stock database could not be filled\n");
        return 1;
    }
    if (!till.start()) return 1;
    const ClosingReceipt receipt = CashReceipt(lines);
    ClosingSettings closing;
    closing.CekaValutaKods = QStringLiteral("EUR");

    int failures = 0;
    // One receipt closed to the end; its time until the next receipt's header is on the paper.
    const auto closeReceipt = [&](bool linkOn) {
        MarkedClosing marked(*till.fm, till.dir() / kPendingReceiptFile, receipt, closing, [](int number) {
            ReceiptRows rows;
            rows.CekaNr = number;
            rows.Datums = QDate(2026, 3, 2);
            rows.Laiks = QStringLiteral("10:00:00");
            return rows;
        });
        ReceiptPrintJob job = MarkedPrintJob(marked);
        LastReceipt last;
        const long headersBefore = till.headers();
        const auto start = std::chrono::steady_clock::now();
        bool done = PrintAllCeks(job, receipt, closing, *till.print, *till.fm, *till.window, last) == kPrintAllCeksPrinted &&
                    marked.printed() && marked.count();
        if (done) {
            StoreReceiptRows(posDb, receipt, marked.pending().rows);
            if (linkOn)
                marked.moveStock(stock, [&](const QString& text) {
                    std::fprintf(stderr, "%s\n", qPrintable(text));
                    done = false;
                });
            done = marked.done() && done;
        }
        if (!done) ++failures;
        while (till.headers() <= headersBefore) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };

    double off = 0, on = 0;
    for (int round = 0; round < kRounds; ++round) {
        off += closeReceipt(false);
        on += closeReceipt(true);
    }
    std::printf("link off %6.3f s  link on %6.3f s  (%d receipts each)  ratio %.3f (target <= 1.1)\n", off / kRounds,
                on / kRounds, kRounds, on / off);
    return failures == 0 ? 0 : 1;
}
