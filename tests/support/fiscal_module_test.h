// The fixture of the tests that work on the fiscal-memory module and the receipt printer without
// the sale window: a fresh database, the module simulator on COM3 with its store cleared and the
// receipt header records written, TFMProc on it, and on demand the printer simulator on COM1 with
// a TPrintClass. Header-only: the test binaries that use it link memorix, fiscal_memory_sim,
// printer_sim, tillora_fmproc and tillora_print.
#pragma once

#include "fiscal_memory_sim.h"
#include "fmproc.h"
#include "memorix.h"
#include "printclass.h"
#include "printer_sim.h"
#include "session.h"
#include "test_database.h"

#include <QString>

#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

class FiscalModuleTest : public DatabaseTest {
protected:
    static constexpr int kModulePort = 3;

    // NOD_D_SUM as the test's day starts: the tax rates and the department sums.
    virtual QString initialDaySums() const = 0;

    void SetUp() override {
        DatabaseTest::SetUp();
        setupInteger("FMTips", 1);
        setupInteger("FMPort", kModulePort);
        setupInteger("PrinteraPorts", 1);
        setupInteger("KlDisplejsPorts", 2);
        memorix::setReadTimeoutMs(300);
        module = std::make_unique<sim::FiscalMemorySim>(dir() / "fiscal-memory.bin");
        ASSERT_TRUE(module->start(portsDir(), "COM" + std::to_string(kModulePort)));
        ASSERT_EQ(MEMORIX_OpenComPort(kModulePort, 115200), 0);
        ASSERT_EQ(HT_ClearAll(), 0);
        fm = std::make_unique<TFMProc>();
        ASSERT_EQ(fm->Status, 0);
        for (const auto& [name, text] : std::vector<std::pair<QString, QString>>{
                 {"CEKAGALVA1", "SIA Veikals"}, {"CEKAGALVA2", "Rīga, Brīvības 1"}, {"CEKAGALVA3", "PVN LV40001234567"},
                 {"CEKAGALVA4", "Paldies!"}, {"POS_NR", "00000000007"}, {"VID_ID", "VID-1"},
                 {"NOD_D_SUM", initialDaySums()}, {"CEKANRCOUN", "00000000041"}})
            ASSERT_TRUE(fm->FMWrite(name, text));
        // The Latvian letter set of the printers that load one.
        std::string glyphs = "\x1B\x26\x03\x61\x76";
        for (int i = 0; i < 22; ++i) glyphs += '\x0C' + std::string(36, '\x55');
        std::ofstream("citizen.dlf", std::ios::binary) << glyphs;
    }

    void TearDown() override {
        print.reset();
        fm.reset();
        if (printer) printer->stop();
        MEMORIX_CloseComPort();
        module.reset();
        memorix::setReadTimeoutMs(5000);
        DatabaseTest::TearDown();
    }

    // The printer simulator of the type and the printer object on it.
    void startPrinterDevice(int type) {
        printer = std::make_unique<sim::PrinterSimulator>(type);
        ASSERT_TRUE(printer->start(portsDir(), "COM1"));
        print = std::make_unique<TPrintClass>(type, fm.get());
    }

    std::unique_ptr<sim::FiscalMemorySim> module;
    std::unique_ptr<sim::PrinterSimulator> printer;
    std::unique_ptr<TFMProc> fm;
    std::unique_ptr<TPrintClass> print;
};

}  // namespace testsupport
