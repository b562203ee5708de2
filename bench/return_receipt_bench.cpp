// Taking back a stored 20-line receipt by its number against ringing the same 20 lines up, both
// on the real till, offscreen, on the start-up bench's database (1,000,000 items, 5,000,000
// journal rows), the module and the printer simulators taking bytes no faster than their lines
// carry them. A sale is the 20 lines through the item field and the cash payment that closes it;
// a return is Enter in the return-number field, which reads the receipt, enters its 20 lines as
// return lines through the same field and pays them back. Each is timed until the printer has
// taken its last byte: the till hands the printer's bytes to the port's buffer and goes on, so
// the call alone returns early or late by how much of the receipt the buffer still holds. Each
// starts on a cleared screen: the first entry after a paid receipt clears it and runs the customer
// display's advertising (600 ms of fixed waits), and a paid sale leaves that to the return that
// follows while a paid-back return leaves nothing to the sale; an empty Enter clears it untimed.
// The figure is the ratio of the two, best of the runs each; the aim is at most 1.2.
//
//   return_receipt_bench [runs]        (the database is the one till_startup_bench made in
//                                       $TILLORA_BENCH_DIR, default /tmp/tillora-bench)
#include "bench_folder.h"
#include "driven_till.h"
#include "scripted_processes.h"

#include "database.h"
#include "datumodelis.h"
#include "fmproc.h"
#include "ui_services.h"

#include <QApplication>
#include <QSqlQuery>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;

namespace {

constexpr int kLines = 20;
// Quiet that long, the printer has taken the whole receipt (at 9600 baud a byte takes ~1 ms).
constexpr int kPrinterQuietMs = 300;

double msSince(Steady::time_point start) { return std::chrono::duration<double, std::milli>(Steady::now() - start).count(); }

int receiptCounter(TPOSMain& w) {
    QString counter;
    return w.FMProc->FMRead("CEKANRCOUN", counter) ? counter.left(11).toInt() : -1;
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const char* benchDir = std::getenv("TILLORA_BENCH_DIR");
    const fs::path database = fs::path(benchDir ? benchDir : "/tmp/tillora-bench") / "POS_DATI_BIG.GDB";
    if (!fs::exists(database)) {
        std::fprintf(stderr, "%s is missing: run till_startup_bench first, it makes it\n", database.c_str());
        return 1;
    }

    const fs::path dir = fs::temp_directory_path() / ("tillora-return-bench-" + std::to_string(::getpid()));
    auto& store = enterBenchFolder(dir);
    int messages = 0;
    platform::ui::setMessageHandler([&messages](const platform::ui::MessageRequest& m) {
        const bool question = m.buttons == platform::ui::Buttons::YesNo || m.buttons == platform::ui::Buttons::YesNoCancel;
        if (!question) {
            ++messages;
            std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
        }
        return int(question ? platform::ui::Yes : platform::ui::Ok);
    });
    ScriptedProcesses processes;
    ProcessListScope processScope(processes);
    platform::defineAlias(platform::kPosDbAlias, database.string(), store);
    driven_till::writeSetup(store);
    driven_till::Devices devices;
    if (!devices.start(dir, dir / "ports", true)) {
        std::fprintf(stderr, "a simulator did not start or the module did not answer\n");
        return 1;
    }
    if (!driven_till::openSaleWindow()) {
        std::fprintf(stderr, "the sale window did not open\n");
        return 1;
    }
    TPOSMain& w = *POSMain;
    {
        // Receipt numbers above every number the journal already holds (earlier runs included).
        QSqlQuery highest(DatuModelis->POS_DB());
        if (!highest.exec("SELECT MAX(CEKA_NR) FROM REALIZ") || !highest.next()) return 1;
        if (!w.FMProc->FMWrite("CEKANRCOUN", QString::number(highest.value(0).toLongLong()).rightJustified(11, u'0')))
            return 1;
    }

    double bestSale = 1e12, bestReturn = 1e12;
    int failures = 0;
    const auto clearPreviousReceipt = [&w] {
        w.edArtikuls->clear();
        w.edArtikulsKeyPress(13);
    };
    for (int run = 0; run < runs; ++run) {
        clearPreviousReceipt();
        long bytes = devices.printer->bytesReceived();
        auto start = Steady::now();
        for (int i = 0; i < kLines; ++i) {
            w.edArtikuls->setText(QString::number(1 + i % 3) + "*B" + QString::number(i * 49'999 + run));
            w.edArtikulsKeyPress(13);
        }
        w.edArtikuls->setText("/0=" + QString::number(w.CekaSumma, 'f', 2));
        w.edArtikulsKeyPress(13);
        const double saleCall = msSince(start);
        const int number = receiptCounter(w);
        if (w.RinduSkaits != 0) ++failures;
        devices.printer->waitIdle(kPrinterQuietMs, 120000);
        const double sale = msSince(start) - kPrinterQuietMs;
        const long saleBytes = devices.printer->bytesReceived() - bytes;
        bytes = devices.printer->bytesReceived();

        w.rdPirkumsStorno->SetItemIndex(1);
        w.rdPirkumsStornoClick();
        clearPreviousReceipt();
        w.shAtgrnr->setText(QString::number(number));
        start = Steady::now();
        w.shAtgrnrKeyPress(13);
        const double backCall = msSince(start);
        if (w.RinduSkaits != 0 || receiptCounter(w) != number + 1) ++failures;
        devices.printer->waitIdle(kPrinterQuietMs, 120000);
        const double back = msSince(start) - kPrinterQuietMs;
        const long backBytes = devices.printer->bytesReceived() - bytes;

        std::printf("run %d: sale %.1f ms (call %.1f, %ld printer bytes), return %.1f ms (call %.1f, %ld printer bytes)\n",
                    run + 1, sale, saleCall, saleBytes, back, backCall, backBytes);
        bestSale = std::min(bestSale, sale);
        bestReturn = std::min(bestReturn, back);
    }
    const double ratio = bestReturn / bestSale;
    std::printf("20-line receipt: sale best %.1f ms, return by number best %.1f ms, ratio %.2f (target <= 1.2); "
                "failures %d, messages %d\n",
                bestSale, bestReturn, ratio, failures, messages);

    driven_till::closeTill();
    devices.stop();
    platform::ui::setMessageHandler({});
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(dir);
    if (failures > 0 || messages > 0) return 1;
    return ratio <= 1.2 ? 0 : 2;
}
