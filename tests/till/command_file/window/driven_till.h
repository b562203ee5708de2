// The till as another program drives it through the command file: its Setup values, its three
// simulated devices, the log-in to the sale window and the driving program's side of the file.
#pragma once

#include "command_file_exchange.h"
#include "posmain.h"
#include "settings_store.h"
#include "till_window.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace driven_till {

// The fiscal-memory module's line (the till opens it at this rate), and the printer type the till
// drives with its line rate (SAM4S, no waits of its own).
inline constexpr long kModuleBaud = testsupport::kModuleBaud;
inline constexpr int kPrinterType = 6;
inline constexpr long kPrinterBaud = 9600;

// The printer, the display and the module's opening record (a module's first record is never a
// day-close record).
inline constexpr testsupport::TillOptions kTillOptions{.printerType = kPrinterType, .display = true, .openingRecord = true};

// The Setup values of the driven till ("FiskPrinteris", the command-file poll, is the caller's).
inline void writeSetup(platform::SettingsStore& store) { testsupport::writeTillSetup(store, kPrinterType); }

// The three devices; paced, they take bytes no faster than their lines carry them.
struct Devices : testsupport::TillDevices {
    bool start(const std::filesystem::path& folder, const std::filesystem::path& portsDir, bool paced) {
        return startDevices(folder, portsDir, kTillOptions, paced ? kModuleBaud : 0, paced ? kPrinterBaud : 0);
    }
    void stop() { stopDevices(); }
};

// Starts the till as ADMIN logs in and opens the sale window; false when it did not open.
inline bool openSaleWindow() {
    testsupport::openStartForm();
    testsupport::logInAs("ADMIN", "1");
    return testsupport::startSaleWindow() && !POSMain.isNull();
}

using testsupport::closeTill;

// The driving program's side: the command file appears whole under its name in `folder`.
inline void putCommandFile(const std::filesystem::path& folder, const std::string& bytes) {
    const std::filesystem::path part = folder / "comand.part";
    std::ofstream(part, std::ios::binary) << bytes;
    std::filesystem::rename(part, folder / command_file::kCommandFileName);
}

}  // namespace driven_till
