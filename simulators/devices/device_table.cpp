#include "device_table.h"

#include "card_reader_sim.h"
#include "display_sim.h"
#include "fiscal_memory_sim.h"
#include "printer_sim.h"
#include "scale_sim.h"
#include "scanner_sim.h"
#include "terminal_sim.h"
#include "usb_fiscal_device.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace devices {
namespace {

const char* const kSetup = "Software\\TOVEL\\Tillora\\Setup";

bool launch(Running& running, std::unique_ptr<RunningDevice> d, const Options& options, long baud) {
    d->viewDir = options.stateDir;
    if (!d->device->start(options.portsDir, d->port, options.pace ? baud : 0)) {
        std::fprintf(stderr, "tillora-devices: %s on %s could not start\n", d->description.c_str(), d->port.c_str());
        return false;
    }
    running.push_back(std::move(d));
    return true;
}

void startPrinterAndDisplay(const platform::SettingsStore& settings, const Options& options, Running& running) {
    const int printerType = setupNumber(settings, "Printeris").value_or(0);
    const auto printerPort = setupNumber(settings, "PrinteraPorts");
    const auto displayPort = setupNumber(settings, "KlDisplejsPorts");
    const int displayType = setupNumber(settings, "KlDispejaTips").value_or(0);

    if (displayPort && *displayPort > 0) {
        // A display that shares the printer's port passes the printer's bytes through to it.
        const bool shared = printerPort && *printerPort == *displayPort;
        auto d = std::make_unique<RunningDevice>();
        d->port = "COM" + std::to_string(*displayPort);
        auto* display = new sim::DisplaySimulator(displayType, shared ? printerType : -1);
        d->device.reset(display);
        d->description = "customer display type " + std::to_string(displayType) + (shared ? " with the receipt printer behind it" : "");
        d->view = [display] { return display->screenText(); };
        d->viewFile = "display-" + d->port + ".txt";
        launch(running, std::move(d), options, setupNumber(settings, "KlDispejaSpeed").value_or(9600));
        if (shared) return;
    }
    if (printerPort && *printerPort > 0) {
        auto d = std::make_unique<RunningDevice>();
        d->port = "COM" + std::to_string(*printerPort);
        auto* printer = new sim::PrinterSimulator(printerType);
        d->device.reset(printer);
        d->description = "receipt printer type " + std::to_string(printerType);
        d->view = [printer] { return printer->paperText(); };
        d->viewFile = "paper-" + d->port + ".txt";
        launch(running, std::move(d), options, 9600);
    }
}

// The fiscal memory of the kind "FMTips" names: the module (kind 1) on COM "FMPort", its memories
// kept in the state folder; the maker's USB device (kind 3) on the link "FTDI0", the first device
// the FTDI layer looks for.
void startFiscalMemory(const platform::SettingsStore& settings, const Options& options, Running& running) {
    const int kind = setupNumber(settings, "FMTips").value_or(1);
    auto d = std::make_unique<RunningDevice>();
    if (kind == 1) {
        d->port = "COM" + std::to_string(setupNumber(settings, "FMPort").value_or(1));
        d->device = std::make_unique<sim::FiscalMemorySim>(options.stateDir / "fiscal-memory.bin");
        d->description = "fiscal-memory module (memories in " + (options.stateDir / "fiscal-memory.bin").string() + ")";
    } else if (kind == 3) {
        d->port = "FTDI0";
        d->device = std::make_unique<sim::UsbFiscalDevice>();
        d->description = "USB fiscal-memory device";
    } else {
        return;
    }
    launch(running, std::move(d), options, 115200);
}

// The card payment terminal when the till drives it through the control alone (card-terminal
// kind "EFT" 2): on COM "CHIPReader" at the speed "SerialPortSpeed" (115200 when not a number).
void startPaymentTerminal(const platform::SettingsStore& settings, const Options& options, Running& running) {
    const auto port = setupNumber(settings, "CHIPReader");
    if (setupNumber(settings, "EFT").value_or(0) != 2 || !port || *port <= 0) return;
    auto d = std::make_unique<RunningDevice>();
    d->port = "COM" + std::to_string(*port);
    d->device = std::make_unique<sim::PaymentTerminalSim>();
    d->description = "card payment terminal";
    launch(running, std::move(d), options, setupNumber(settings, "SerialPortSpeed").value_or(115200));
}

// The chip-card reader of card-terminal kind 1 ("EFT" "1") on COM "CHIPReader". With kind 2 that
// port is the payment terminal's (above).
void startCardReader(const platform::SettingsStore& settings, const Options& options, Running& running) {
    const auto port = setupNumber(settings, "CHIPReader");
    if (setupNumber(settings, "EFT").value_or(0) != 1 || !port || *port <= 0) return;
    auto d = std::make_unique<RunningDevice>();
    d->port = "COM" + std::to_string(*port);
    auto* reader = new sim::CardReaderSim();
    d->device.reset(reader);
    d->description = "chip-card reader";
    d->view = [reader] { return "[" + reader->displayText() + "]\n" + (reader->cardIn() ? "card in\n" : "no card\n"); };
    d->viewFile = "reader-" + d->port + ".txt";
    launch(running, std::move(d), options, 19200);
}

// The scale on the port the command line names; no program's settings name one.
void startScale(const Options& options, Running& running) {
    if (options.scalePort.empty()) return;
    auto d = std::make_unique<RunningDevice>();
    d->port = options.scalePort;
    d->device = std::make_unique<sim::ScaleSim>();
    d->description = "price-computing scale";
    launch(running, std::move(d), options, 9600);
}

// The voucher web service when the till sells vouchers through it ("PrepaidServVeids" 2) and
// "ZudezoServer" names a port of this machine over plain http ("http://127.0.0.1:18321").
void startVoucherService(const platform::SettingsStore& settings, const Options& options, Running& running) {
    if (setupNumber(settings, "PrepaidServVeids").value_or(0) != 2) return;
    const std::string server = settings.readText(kSetup, "ZudezoServer").value_or("");
    int port = 0;
    for (const char* prefix : {"http://127.0.0.1:", "http://localhost:"}) {
        if (server.rfind(prefix, 0) != 0) continue;
        try {
            port = std::stoi(server.substr(std::strlen(prefix)));
        } catch (const std::exception&) {
        }
    }
    if (port <= 0 || port > 65535) {
        std::fprintf(stderr, "tillora-devices: ZudezoServer \"%s\" names no http port on this machine\n", server.c_str());
        return;
    }
    auto service = std::make_unique<sim::VoucherServiceSim>();
    if (!service->start(std::uint16_t(port))) {
        std::fprintf(stderr, "tillora-devices: the voucher web service could not listen on port %d\n", port);
        return;
    }
    auto d = std::make_unique<RunningDevice>();
    d->port = service->baseUrl();
    d->description = "voucher web service";
    d->view = [s = service.get()] {
        std::string text = "bought:";
        for (const std::string& ref : s->bought()) text += " " + ref;
        text += "\ncancelled:";
        for (const std::string& ref : s->cancelled()) text += " " + ref;
        return text + "\n";
    };
    d->viewFile = "vouchers.txt";
    d->viewDir = options.stateDir;
    d->voucherService = std::move(service);
    running.push_back(std::move(d));
}

// The till's scale of the model "SvariTips" on COM "SvariCom". Goods go on it by writing their
// weight in kg into scale-COMn.txt in the state folder.
void startTillScale(const platform::SettingsStore& settings, const Options& options, Running& running) {
    const auto port = setupNumber(settings, "SvariCom");
    const auto model = sim::scaleModel(setupNumber(settings, "SvariTips").value_or(0));
    if (!port || *port < 1 || !model) return;
    auto d = std::make_unique<RunningDevice>();
    d->port = "COM" + std::to_string(*port);
    auto* scale = new sim::ScaleSim(*model);
    d->device.reset(scale);
    d->description = "scale, model " + std::to_string(int(*model)) + " (weight in kg into scale-" + d->port + ".txt)";
    d->inputFile = "scale-" + d->port + ".txt";
    d->input = [scale](const std::string& text) {
        std::istringstream in(text);
        in.imbue(std::locale::classic());
        double kg = 0;
        if (in >> kg) scale->place(kg);
    };
    launch(running, std::move(d), options, sim::lineOf(*model).baud);
}

// The barcode scanner on COM "SkanerisCom" (0 and 1: none). Each line written into
// scan-COMn.txt in the state folder is scanned.
void startScanner(const platform::SettingsStore& settings, const Options& options, Running& running) {
    const auto port = setupNumber(settings, "SkanerisCom");
    if (!port || *port <= 1) return;
    auto d = std::make_unique<RunningDevice>();
    d->port = "COM" + std::to_string(*port);
    auto* scanner = new sim::ScannerSim();
    d->device.reset(scanner);
    d->description = "barcode scanner (codes, one a line, into scan-" + d->port + ".txt)";
    d->inputFile = "scan-" + d->port + ".txt";
    d->input = [scanner](const std::string& text) {
        std::istringstream in(text);
        for (std::string code; std::getline(in, code);)
            if (!code.empty()) scanner->scan(code);
    };
    launch(running, std::move(d), options, 9600);
}

}  // namespace

std::optional<int> setupNumber(const platform::SettingsStore& settings, const std::string& name) {
    if (auto v = settings.readInteger(kSetup, name)) return *v;
    if (auto t = settings.readText(kSetup, name)) {
        try {
            std::size_t used = 0;
            int v = std::stoi(*t, &used);
            if (used == t->size()) return v;
        } catch (const std::exception&) {
        }
    }
    return std::nullopt;
}

Running startConfigured(const platform::SettingsStore& settings, const Options& options) {
    Running running;
    startFiscalMemory(settings, options, running);
    startPrinterAndDisplay(settings, options, running);
    startPaymentTerminal(settings, options, running);
    startCardReader(settings, options, running);
    startScale(options, running);
    startVoucherService(settings, options, running);
    startTillScale(settings, options, running);
    startScanner(settings, options, running);
    return running;
}

void saveViews(Running& running) {
    for (auto& d : running) {
        if (!d->view) continue;
        std::string now = d->view();
        if (now == d->lastSaved) continue;
        std::ofstream(d->viewDir / d->viewFile, std::ios::trunc) << now;
        d->lastSaved = std::move(now);
    }
}

void readInputs(Running& running) {
    for (auto& d : running) {
        if (!d->input) continue;
        const auto file = d->viewDir / d->inputFile;
        std::ifstream in(file);
        if (!in) continue;
        std::stringstream text;
        text << in.rdbuf();
        in.close();
        std::error_code ec;
        std::filesystem::remove(file, ec);
        d->input(text.str());
    }
}

}  // namespace devices
