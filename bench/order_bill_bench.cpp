// The bill of a 20-line restaurant order as "Rēķins" prints it (the order's lines of one article
// joined first) on a printer simulator taking bytes at 9600 baud (type 5, no waits of its own):
// elapsed time from the click until the next receipt's header is on the paper, divided by the
// wire time of the bytes sent (the printer's own port is not shared with the customer display, so
// no pauses are prescribed). The aim is <= 1.15.
#include "paced_closing.h"

#include "order_join.h"
#include "order_printing.h"

#include "database.h"
#include "till_database.h"

#include <QSqlQuery>

#include <chrono>
#include <cstdio>
#include <thread>

int main()
{
    using namespace bench;
    PacedTill till("tillora-order-bill-bench");
    schema::createTillDatabase(till.dir() / "POS_DATI.GDB");
    platform::defineAlias("POS_DB", (till.dir() / "POS_DATI.GDB").string());
    const QSqlDatabase posDb = platform::openDatabase("POS_DB");
    // 20 lines of 14 items, so that the join has work: items 1..6 come twice at one price.
    QSqlQuery fill(posDb);
    bool filled = true;
    for (int i = 1; i <= 14; ++i)
        filled = filled && fill.exec(QStringLiteral("INSERT INTO N_PRECE (ARTIKULS, GNOS, NODALA, CENA) "
                                                    "VALUES ('%1', 'Ēdiens Nr.%1 ar piedevām', %2, %3)")
                                         .arg(i)
                                         .arg(1 + i % 2)
                                         .arg(1.25 + i * 0.1));
    for (int i = 0; i < kLines; ++i)
        filled = filled && fill.exec(QStringLiteral("INSERT INTO O_PASUT (DATUMS, PASUT_NR, GALDS, BARMENIS, ARTIKULS, "
                                                    "DAUDZUMS, CENA, ATLAIDE, APMAKSATS) "
                                                    "VALUES ('2026-03-02', 1, '3', 'Anna', '%1', %2, %3, -10, 'F')")
                                         .arg(1 + i % 14)
                                         .arg(1 + i % 3)
                                         .arg(1.25 + (1 + i % 14) * 0.1));
    if (!filled) {
        std::fprintf(stderr, "the order could not be written\n");
        return 1;
    }
    if (!till.start()) return 1;

    const long bytesBefore = till.printer->bytesReceived();
    const long headersBefore = till.headers();
    const auto start = std::chrono::steady_clock::now();
    JoinOrderLines(posDb, 1);
    const bool printed = DrukatRekinu(posDb, *till.print, {"Anna", "3", 1}, QStringLiteral("ADMIN"));
    while (till.headers() == headersBefore) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const long bytes = till.printer->bytesReceived() - bytesBefore;
    const double wire = double(bytes) * 10 / kPrinterBaud;
    std::printf("bill of %d lines%s: %ld bytes  wire %6.3f s  elapsed %6.3f s  ratio %.3f (target <= 1.15)\n", kLines,
                printed ? "" : " (NOT PRINTED)", bytes, wire, elapsed, elapsed / wire);
    return printed ? 0 : 1;
}
