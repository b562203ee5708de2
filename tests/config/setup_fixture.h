// The set-up program's tests: the database, the settings store and the fiscal memory of either
// kind (the module simulator on COM3, or the USB device simulator), a printer simulator on COM1
// when a test asks for one, and the form TSetup opened on them.
#pragma once

#include "fiscal_module_test.h"
#include "ftdi.h"
#include "setup_form.h"
#include "usb_fiscal_device.h"

#include <QDate>

#include <memory>
#include <string>
#include <vector>

namespace setuptest {

// Fiscal-memory kinds the tables run on.
inline constexpr int kModule = TFMProc::MemorixModule;
inline constexpr int kUsb = TFMProc::UsbDevice;

inline std::string kindName(const ::testing::TestParamInfo<int>& info)
{
    return info.param == kModule ? "Module" : "Usb";
}

class SetupTest : public testsupport::FiscalModuleTest, public ::testing::WithParamInterface<int> {
protected:
    QString initialDaySums() const override { return {}; }

    void SetUp() override
    {
        FiscalModuleTest::SetUp();
        if (kind() == kUsb) {
            setupInteger("FMTips", kUsb);
            settings().writeInteger(platform::kFtdiSettingsKey, "ReadTimeoutMs", 300);
            usb = std::make_unique<sim::UsbFiscalDevice>();
            // A device in service, as the module here: its list of day-close records opened.
            usb->putDayCloseRecord(formatDayCloseRecord(DayCloseLayout::Usb, TFMProc::OpeningRecord()));
            ASSERT_TRUE(usb->start(portsDir(), "FTDI0"));
            ASSERT_EQ(memory().Status, 0);
            // The same receipt header as the module's.
            for (int n = 1; n <= 4; ++n) {
                const QString name = QStringLiteral("CEKAGALVA%1").arg(n);
                QString text;
                ASSERT_TRUE(fm->FMRead(name, text));
                ASSERT_TRUE(memory().FMWrite(name, text));
            }
        }
        messages().clear();
    }

    void TearDown() override
    {
        form.reset();
        usbMemory.reset();
        if (usb) usb->stop();
        FiscalModuleTest::TearDown();
    }

    // The test's fiscal-memory kind; fixtures of one kind override it.
    virtual int kind() const { return GetParam(); }

    // A new fiscal memory: no working record written yet.
    void newMemory()
    {
        if (kind() == kModule) {
            ASSERT_EQ(HT_ClearAll(), 0);
            return;
        }
        usbMemory.reset();
        usb->stop();
        usb = std::make_unique<sim::UsbFiscalDevice>();
        ASSERT_TRUE(usb->start(portsDir(), "FTDI0"));
    }

    // The fiscal memory of the test's kind. The USB device takes one user at a time: while the
    // form is open the test reads through the form's object.
    TFMProc& memory()
    {
        if (kind() == kModule)
            return *fm;
        if (form)
            return *form->FMProc;
        if (!usbMemory)
            usbMemory = std::make_unique<TFMProc>();
        return *usbMemory;
    }

    // A working record as stored (empty when it holds nothing).
    QString record(const char* name)
    {
        QString text;
        EXPECT_TRUE(memory().FMRead(QString::fromLatin1(name), text)) << name;
        return text;
    }
    void putRecord(const char* name, const QString& text) { ASSERT_TRUE(memory().FMWrite(QString::fromLatin1(name), text)) << name; }

    int dayCloseCount()
    {
        int count = 0;
        EXPECT_TRUE(memory().FMGetRecordCount(count));
        return count;
    }
    DayCloseRecord dayClose(int index)
    {
        DayCloseRecord r;
        EXPECT_TRUE(memory().FMReadGrand(index, r.nr, r.grandTotal, r.grandVat, r.date, r.time, r.daySum, r.dayVat, r.check));
        return r;
    }
    void appendDayClose(int nr, QDate date, double grandTotal = 0, double daySum = 0)
    {
        DayCloseRecord r;
        r.nr = nr;
        r.date = date;
        r.time = QStringLiteral("21:05");
        r.grandTotal = grandTotal;
        r.grandVat = grandTotal / 10;
        r.daySum = daySum;
        r.dayVat = daySum / 10;
        r.check = QStringLiteral("0BADF00D");
        ASSERT_TRUE(memory().FMAppendDayClose(r));
    }

    // The next write of the named record fails on the device.
    void failWriteOf(const std::string& name)
    {
        if (kind() == kUsb)
            usb->faults().arm("device-error " + name, 2);  // the look-up before the write, and the write
        else
            module->faults().arm(sim::FiscalMemorySim::recordWriteFail(name));
    }

    void startPrinter(int type)
    {
        printer = std::make_unique<sim::PrinterSimulator>(type);
        ASSERT_TRUE(printer->start(portsDir(), "COM1"));
    }
    std::vector<std::string> paper()
    {
        printer->waitIdle();
        return printer->receipt();
    }

    // Opens the form as the program does; false when its creation ended the program.
    bool openForm()
    {
        usbMemory.reset();
        try {
            form = std::make_unique<TSetup>();
        } catch (const platform::ui::ProgramEnded&) {
            return false;
        }
        return true;
    }
    // Runs a handler of the form; false when it ended the program.
    template <class Handler>
    bool run(Handler handler)
    {
        try {
            handler();
        } catch (const platform::ui::ProgramEnded&) {
            return false;
        }
        return true;
    }

    std::unique_ptr<sim::UsbFiscalDevice> usb;
    std::unique_ptr<TFMProc> usbMemory;
    std::unique_ptr<TSetup> form;
};

// Tests of what does not depend on the kind run on the module.
class SetupOnModule : public SetupTest {
protected:
    int kind() const override { return kModule; }
};

}  // namespace setuptest
