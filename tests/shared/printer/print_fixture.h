// The printer tests' ground: a test folder with settings (printer on COM1, display on COM2, no
// fiscal memory), the printer and display simulators, and the printer object.
#pragma once

#include "codepage_1257.h"
#include "display_sim.h"
#include "fmproc.h"
#include "printclass.h"
#include "printer_sim.h"
#include "test_environment.h"

#include <QStringList>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class PrintFixture : public testsupport::TestEnvironment {
protected:
    void SetUp() override {
        TestEnvironment::SetUp();
        // No fiscal memory: the last day-close read answers with nothing (the next Z is 1) after the
        // message "Nav pieslēgta Fiskālā atmiņa !!!"; record reads fail.
        setupInteger("FMTips", 0);
        setupInteger("PrinteraPorts", 1);
        setupInteger("KlDisplejsPorts", 2);
    }

    void TearDown() override {
        print.reset();
        fm.reset();
        if (printer) printer->stop();
        if (display) display->stop();
        TestEnvironment::TearDown();
    }

    void startPrinter(int type, const std::string& com = "COM1") {
        printer = std::make_unique<sim::PrinterSimulator>(type);
        ASSERT_TRUE(printer->start(portsDir(), com));
    }

    void startDisplay(int type, int printerBehind = -1, const std::string& com = "COM2") {
        display = std::make_unique<sim::DisplaySimulator>(type, printerBehind);
        ASSERT_TRUE(display->start(portsDir(), com));
    }

    TPrintClass& open(int printerType) {
        fm = std::make_unique<TFMProc>();
        print = std::make_unique<TPrintClass>(printerType, fm.get());
        return *print;
    }

    // What the program told the user, without the fiscal memory's own complaint.
    QStringList shownMessages() {
        QStringList texts = messages().texts();
        texts.removeAll(QStringLiteral("Nav pieslēgta Fiskālā atmiņa !!!"));
        return texts;
    }

    // Waits until the device has taken what was just written and gone quiet. (waitIdle alone
    // returns at once when the device was quiet before the write reached it.)
    static void settle(sim::SerialDevice& device) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        device.waitIdle(100);
    }

    std::vector<std::string> receipt() {
        settle(*printer);
        return printer->receipt();
    }

    std::vector<std::string> journal() {
        settle(*printer);
        return printer->journal();
    }

    std::string journalFile() const {
        return testsupport::readFile(print->KontrMape / print->KontrFails.toStdString());
    }

    std::unique_ptr<sim::PrinterSimulator> printer;
    std::unique_ptr<sim::DisplaySimulator> display;
    std::unique_ptr<TFMProc> fm;
    std::unique_ptr<TPrintClass> print;
};
