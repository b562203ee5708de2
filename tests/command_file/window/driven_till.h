// The till as another program drives it through the command file: its Setup values, its three
// simulated devices, the log-in to the sale window and the driving program's side of the file.
#pragma once

#include "command_file_exchange.h"
#include "datumodelis.h"
#include "password_dlg.h"
#include "posmain.h"
#include "settings.h"
#include "start_form.h"

#include "display_sim.h"
#include "fiscal_memory_sim.h"
#include "memorix.h"
#include "printer_sim.h"
#include "settings_store.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace driven_till {

// The fiscal-memory module's line (the till opens it at this rate), and the printer type the till
// drives with its line rate (SAM4S, no waits of its own).
inline constexpr long kModuleBaud = 115200;
inline constexpr int kPrinterType = 6;
inline constexpr long kPrinterBaud = 9600;

// The decimal point, the module on COM1, the printer on COM2, the display on COM3, receipts in the
// first currency ("FiskPrinteris", the command-file poll, is the caller's).
inline void writeSetup(platform::SettingsStore& store) {
    store.writeText("Control Panel\\International", "sDecimal", ".");
    store.writeInteger(kSetupKey, "FMTips", 1);
    store.writeInteger(kSetupKey, "FMPort", 1);
    store.writeInteger(kSetupKey, "Printeris", kPrinterType);
    store.writeInteger(kSetupKey, "PrinteraPorts", 2);
    store.writeInteger(kSetupKey, "KlDisplejsPorts", 3);
    store.writeInteger(kSetupKey, "KlDispejaTips", 0);
    store.writeInteger(kSetupKey, "CekaValuta", 1);
}

// The three devices on their COM links in `portsDir`, the module's memory kept in `folder`.
// Paced, the module and the printer take (and the module answers) bytes no faster than their
// lines carry them. Once started, the module is open in this process with its store emptied and
// its opening record written (a module's first record is never a day-close record).
struct Devices {
    std::unique_ptr<sim::FiscalMemorySim> fiscal;
    std::unique_ptr<sim::PrinterSimulator> printer;
    std::unique_ptr<sim::DisplaySimulator> display;

    bool start(const std::filesystem::path& folder, const std::filesystem::path& portsDir, bool paced) {
        fiscal = std::make_unique<sim::FiscalMemorySim>(folder / "fiscal-memory.bin");
        printer = std::make_unique<sim::PrinterSimulator>(kPrinterType);
        display = std::make_unique<sim::DisplaySimulator>(0);
        if (paced) printer->setReceivePacing(kPrinterBaud);
        return fiscal->start(portsDir, "COM1", paced ? kModuleBaud : 0) && MEMORIX_OpenComPort(1, int(kModuleBaud)) == 0 &&
               HT_ClearAll() == 0 && FM_AppendRecord("0", "opening", 7) == 0 && printer->start(portsDir, "COM2") &&
               display->start(portsDir, "COM3");
    }
    // Each simulator's thread ends before its state goes (a paced printer may still be taking
    // the till's last bytes).
    void stop() {
        MEMORIX_CloseComPort();
        if (printer) printer->stop();
        if (display) display->stop();
        if (fiscal) fiscal->stop();
        printer.reset();
        display.reset();
        fiscal.reset();
    }
};

// Starts the till as ADMIN logs in and opens the sale window; false when it did not open.
inline bool openSaleWindow() {
    DatuModelis = new TDatuModelis(nullptr);
    StartForm = new TStartForm;
    StartForm->show();
    PasswordDlg = new TPasswordDlg(StartForm);
    PasswordDlg->shLietotajs->setText("ADMIN");
    PasswordDlg->Password->setText("1");
    PasswordDlg->BtOKClick();
    new TPOSMain;
    return !POSMain.isNull();
}

inline void closeTill() {
    delete POSMain;
    delete StartForm;
    delete DatuModelis;
}

// The driving program's side: the command file appears whole under its name in `folder`.
inline void putCommandFile(const std::filesystem::path& folder, const std::string& bytes) {
    const std::filesystem::path part = folder / "comand.part";
    std::ofstream(part, std::ios::binary) << bytes;
    std::filesystem::rename(part, folder / command_file::kCommandFileName);
}

}  // namespace driven_till
