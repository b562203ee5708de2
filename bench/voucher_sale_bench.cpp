// Closing a cash receipt with three voucher lines (reservation, printing and registration, then
// buying and printing each voucher) against the voucher-service simulator answering every HTTP
// request after 50 ms, the printer simulator at 9600 baud and the fiscal-memory module at 115200
// baud. Prints elapsed / (HTTP requests x 50 ms + the wire time of both lines); the aim is <= 1.2.
#include "paced_closing.h"
#include "prepaid_voucher_steps.h"
#include "razevedu_client.h"
#include "receipt_state.h"
#include "voucher_service_sim.h"

#include "library_loader.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

constexpr int kDelayMs = 50;

class BenchVoucherHost : public VoucherHost {
public:
    BenchVoucherHost(TCekasStavoklis& ceks, TPrintClass& print) : ceks_(ceks), print_(print) {}
    TCekasStavoklis& Ceks() override { return ceks_; }
    bool IsReturn() const override { return false; }
    TPrintClass* Printer() override { return &print_; }
    VoucherSettings Settings() const override {
        VoucherSettings s;
        s.PrepaidServVeids = 2;
        s.ZudezoClientID = "K1";
        s.ZudezoLogo[0] = "zudezo";
        return s;
    }
    std::optional<QString> CallDistributor(const QString&, const QStringList&) override { return std::nullopt; }
    // The web service sells here, not the terminal.
    std::optional<QString> TopUpOnTerminal(int, double) override { return std::nullopt; }
    QString AskVoucherReference() override { return {}; }
    [[noreturn]] void AnnulAndEnd() override {
        std::fprintf(stderr, "the receipt header failed\n");
        std::exit(1);
    }

private:
    TCekasStavoklis& ceks_;
    TPrintClass& print_;
};

}  // namespace

int main() {
    using namespace bench;
    PacedTill till("tillora-voucher-bench");
    if (!till.start()) return 1;
    sim::VoucherServiceSim service;
    if (!service.start()) return 1;
    platform::SettingsStore::current().writeText("Software\\TOVEL\\Tillora\\Setup", "ZudezoServer", service.baseUrl());
    platform::LoadedLibrary::substitute(RazeveduClient::kLibraryName, RAZEVEDU_LIBRARY);
    sim::VoucherServiceSim::Faults faults;
    faults.delayMs = kDelayMs;
    service.setFaults(faults);

    TCekasStavoklis ceks;
    std::vector<TCekaRinda> lines = BenchLines();
    lines.resize(5);
    for (int i = 0; i < 3; ++i) {
        TCekaRinda& line = lines[std::size_t(i * 2)];
        line.Artikuls = QString::number(4750000000001LL + i % 2);
        line.Nodala = 70;
        line.Daudzums = 1;
    }
    for (const TCekaRinda& line : lines) ceks.CekaRindas[std::size_t(ceks.RinduSkaits++)] = line;
    BenchVoucherHost host(ceks, *till.print);
    PrepaidVoucherSteps steps(host);
    ClosingSettings closing;
    closing.CekaValutaKods = QStringLiteral("EUR");

    const long printerBefore = till.printer->bytesReceived();
    const auto moduleBefore = till.module->bytesReceived() + till.module->bytesSent();
    const auto start = std::chrono::steady_clock::now();
    if (!steps.ReserveVouchers()) return 1;
    const ClosingReceipt receipt = CashReceipt(std::vector<TCekaRinda>(ceks.CekaRindas.begin(), ceks.CekaRindas.begin() + ceks.RinduSkaits));
    MarkedClosing marked(*till.fm, till.dir() / kPendingReceiptFile, receipt, closing, [](int number) {
        ReceiptRows rows;
        rows.CekaNr = number;
        return rows;
    });
    ReceiptPrintJob job = MarkedPrintJob(marked);
    LastReceipt last;
    const int printed = PrintAllCeks(job, receipt, closing, *till.print, *till.fm, *till.window, last);
    const bool printedWhole = printed == kPrintAllCeksPrinted && marked.printed();
    steps.AfterPrinting();
    const bool registered = printedWhole && marked.count() && marked.done();
    // The first header, the receipt's next one, and one after each voucher.
    while (till.headers() < 5) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const std::size_t requests = service.httpRequestCount();
    const double serviceTime = double(requests) * kDelayMs / 1000.0;
    const double printerWire = double(till.printer->bytesReceived() - printerBefore) * 10 / kPrinterBaud;
    const double moduleWire = double(till.module->bytesReceived() + till.module->bytesSent() - moduleBefore) * 10 / kModuleBaud;
    const double ratio = elapsed / (serviceTime + printerWire + moduleWire);
    std::printf("vouchers bought %zu  counted %d\n", service.bought().size(), int(registered));
    std::printf("HTTP requests %zu x %d ms = %6.3f s  printer wire %6.3f s  module wire %6.3f s  elapsed %6.3f s  ratio %.3f (target <= 1.2)\n",
                requests, kDelayMs, serviceTime, printerWire, moduleWire, elapsed, ratio);
    service.stop();
    return registered && service.bought().size() == 3 ? 0 : 1;
}
