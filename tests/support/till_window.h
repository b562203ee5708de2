// The real till window started offscreen: the demo database, the Setup values, the fiscal-memory
// module, the receipt printer and the customer display simulated on COM1, COM2 and COM3, a
// scripted process list, the log-in and the teardown.
#pragma once

#include "scripted_processes.h"
#include "test_database.h"

#include "display_sim.h"
#include "fiscal_memory_sim.h"
#include "printer_sim.h"
#include "scale_sim.h"
#include "scanner_sim.h"
#include "settings_store.h"

#include <QString>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TPOSMain;

namespace testsupport {

// The fiscal-memory module's line rate; the till opens it at this rate.
inline constexpr long kModuleBaud = 115200;

// What the tills of the tests differ in.
struct TillOptions {
    int printerType = 0;         // "Printeris" and the simulated printer's type
    bool display = true;         // a customer display simulated on COM3
    bool openingRecord = false;  // the module's opening record written (its first is never a day close)
    int scaleModel = -1;         // "SvariTips" of a scale simulated on COM4 ("SvariCom" 4); -1 none
    bool scanner = false;        // a barcode scanner simulated on COM5 ("SkanerisCom" 5)
};

// The decimal point, the module on COM1, the printer of this type on COM2, the display on COM3,
// receipts in the first currency ("FiskPrinteris", the command-file poll, is the caller's).
void writeTillSetup(platform::SettingsStore& store, int printerType);

// The simulated devices on their COM links in `portsDir`, the module's memory kept in `folder`.
// With baud rates given, the module and the printer take (and the module answers) bytes no faster
// than their lines carry them. Once started, the module is open in this process with its store
// emptied.
struct TillDevices {
    std::unique_ptr<sim::FiscalMemorySim> fiscal;
    std::unique_ptr<sim::PrinterSimulator> printer;
    std::unique_ptr<sim::DisplaySimulator> display;
    std::unique_ptr<sim::ScaleSim> scale;
    std::unique_ptr<sim::ScannerSim> scanner;

    bool startDevices(const std::filesystem::path& folder, const std::filesystem::path& portsDir, const TillOptions& options,
                      long moduleBaud = 0, long printerBaud = 0);
    // Closes the module and ends each simulator's thread before its state goes (a paced printer
    // may still be taking the till's last bytes).
    void stopDevices();
};

// The data module and the start form, shown.
void openStartForm();
// The log-in form (made when there is none) filled in and confirmed.
void logInAs(const QString& user, const QString& password);
// Makes the sale window; false when its start-up ended the program.
bool startSaleWindow();
// Deletes the sale window, the start form and the data module.
void closeTill();

// What the set-up program does to the demo items while the till runs, from a process of its own
// on the database file: bread 4750001000017 now costs 9.99, 4750001000024 is renamed
// "Baltmaize jaunā", and `newCode` is added at `newPrice`.
void changeDemoItemsFromAnotherProcess(const std::filesystem::path& database, const std::string& newCode, double newPrice);

// The tax-rate record with `percent` in each of the 24 department slots.
QString departmentRates(int percent);

// A test on the till: the demo database, the Setup values, the devices, a scripted process list,
// the data module and the start form; the cashier is not logged in yet.
class TillWindowTest : public DatabaseTest, protected TillDevices {
protected:
    explicit TillWindowTest(TillOptions options = {}) : options_(options) {}

    void SetUp() override;
    void TearDown() override;

    void logIn(const QString& user = "ADMIN", const QString& password = "1") { logInAs(user, password); }
    bool start() { return startSaleWindow(); }
    // ADMIN logs in and the sale window starts; false when it did not open.
    bool startTill();

    TPOSMain& w();
    // Types a text into the item field and presses Enter.
    void enter(const QString& text);
    // The printer's paper once it has been quiet a moment, and whether a line stands on it.
    std::vector<std::string> paper();
    bool printed(const std::string& line);
    // A named record of the fiscal-memory module, read through the window's module object.
    QString record(const char* name);
    // Records written into the module before the till starts (header, tax rates, counters).
    void writeRecords(const std::vector<std::pair<const char*, QString>>& records);

    ScriptedProcesses processes;

private:
    TillOptions options_;
    std::unique_ptr<ProcessListScope> processScope_;
};

}  // namespace testsupport
