// Closing a 20-line cash receipt (printing and fiscal registration, with the pending receipt's file
// and its marker record at each step) against the printer simulator taking bytes at 9600 baud and
// the fiscal-memory module simulator at 115200 baud. Prints elapsed / (wire time of both lines,
// the marker's bytes included, + the waits the printer type prescribes); the aim is <= 1.2.
#include "paced_closing.h"
#include "fiscal_registration.h"
#include "receipt_printing.h"

#include <QDateTime>

#include <chrono>
#include <cstdio>
#include <thread>

int main() {
    using namespace bench;
    PacedTill till("tillora-close-bench");
    if (!till.start()) return 1;
    const std::vector<TCekaRinda> lines = BenchLines();
    const ClosingReceipt receipt = CashReceipt(lines);
    ClosingSettings closing;
    closing.CekaValutaKods = QStringLiteral("EUR");
    MarkedClosing marked(*till.fm, till.dir() / kPendingReceiptFile, receipt, closing, [](int number) {
        ReceiptRows rows;
        rows.CekaNr = number;
        return rows;
    });
    ReceiptPrintJob job = MarkedPrintJob(marked);
    LastReceipt last;

    const long printerBefore = till.printer->bytesReceived();
    const auto moduleBefore = till.module->bytesReceived() + till.module->bytesSent();
    const auto start = std::chrono::steady_clock::now();
    const int printed = PrintAllCeks(job, receipt, closing, *till.print, *till.fm, *till.window, last);
    const bool registered = printed == kPrintAllCeksPrinted && marked.printed() && marked.count() && marked.done();
    while (till.headers() < 2) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const double printerWire = double(till.printer->bytesReceived() - printerBefore) * 10 / kPrinterBaud;
    const double moduleWire = double(till.module->bytesReceived() + till.module->bytesSent() - moduleBefore) * 10 / kModuleBaud;
    const double ratio = elapsed / (printerWire + moduleWire);
    std::printf("PrintAllCeks %d  counted %d\n", printed, int(registered));
    std::printf("printer wire %6.3f s  module wire %6.3f s  waits 0.000 s  elapsed %6.3f s  ratio %.3f (target <= 1.2)\n",
                printerWire, moduleWire, elapsed, ratio);
    return registered ? 0 : 1;
}
