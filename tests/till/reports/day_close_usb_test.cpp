// The day close on the USB kind, whose store has no transactions: the counters are zeroed record by
// record, so a failure part way leaves some zeroed and some not. The marker still lets the next
// start finish the zeroing with the cash balance the Z report computed.
#include "day_counters.h"
#include "fmproc.h"
#include "report_fiscal_memory.h"
#include "test_environment.h"
#include "usb_fiscal_device.h"
#include "xz_layout.h"

namespace {

// Stops (as a failure or a crash would) at the first write of the named record.
class StoppingAt : public ReportFiscalMemory {
public:
    StoppingAt(TFMProc& fm, QString name) : ReportFiscalMemory(fm), name_(std::move(name)) {}
    bool write(const QString& name, const QString& text) override
    {
        return name != name_ && ReportFiscalMemory::write(name, text);
    }

private:
    QString name_;
};

class DayCloseUsb : public testsupport::TestEnvironment {
protected:
    void SetUp() override
    {
        TestEnvironment::SetUp();
        setupInteger("FMTips", 3);
        settings().writeInteger(platform::kFtdiSettingsKey, "ReadTimeoutMs", 300);
        ASSERT_TRUE(device.start(portsDir(), "FTDI0"));
    }
    void TearDown() override
    {
        device.stop();
        TestEnvironment::TearDown();
    }

    QString record(TFMProc& fm, const char* name)
    {
        QString text;
        EXPECT_TRUE(fm.FMRead(QString::fromLatin1(name), text)) << name;
        return text;
    }

    sim::UsbFiscalDevice device;
};

TEST_F(DayCloseUsb, ZeroingCutShortIsFinishedOnce)
{
    TFMProc fm;
    ASSERT_EQ(fm.Status, 0);
    // 12.10 sold at 21 %, 3.00 in cash of it, 50.00 put in, on an opening balance of 10.00.
    const QString taxSlots = QString::asprintf("%2i%8i", 21, 1210) + QString::asprintf("%2i%8i", 12, 0).repeated(23);
    for (const auto& [name, text] : {std::pair{"NOD_D_SUM", taxSlots}, {"IELIKTS", "   1    5000"},
                                     {"BANKA_SUM", "910"}, {"ATLNOIEPR", "1000"}, {"VALUT_D_S", "USD       0"}})
        ASSERT_TRUE(fm.FMWrite(QString::fromLatin1(name), text)) << name;

    StoppingAt stopping(fm, QStringLiteral("ATLNOIEPR"));
    DayCounters counters;
    ASSERT_TRUE(ReadDayCounters(stopping, false, counters));
    XZLayoutSettings settings;
    settings.valutasKurss = [](const QString&) { return 1.0; };
    const XZReport report = BuildXZReport(kZReport, counters, settings);
    ASSERT_EQ(report.nextOpening, 1000 + 1210 + 5000 - 910);
    EXPECT_FALSE(CloseDay(stopping, report.dayClose, report.nextOpening, report.zeroed));

    // Closed with record 2; the counters before ATLNOIEPR zeroed, the others not.
    ASSERT_EQ(device.dayCloseRecords().size(), 2u);
    EXPECT_EQ(record(fm, "IELIKTS"), QString(13, u'0'));
    EXPECT_EQ(record(fm, "BANKA_SUM").trimmed(), "910");
    EXPECT_EQ(record(fm, "ATLNOIEPR").trimmed(), "1000");
    EXPECT_EQ(record(fm, "ZSLEGSANA"), QStringLiteral("          2         6300"));

    EXPECT_TRUE(RecoverDayClose(fm));
    EXPECT_EQ(record(fm, "NOD_D_SUM").left(20), "21       012       0");
    EXPECT_EQ(record(fm, "VALUT_D_S").left(11), "USD       0");
    EXPECT_EQ(record(fm, "BANKA_SUM"), QString(9, u'0'));
    EXPECT_EQ(record(fm, "ATLNOIEPR").trimmed(), "6300");
    EXPECT_EQ(record(fm, "ZSLEGSANA").trimmed(), "");
    EXPECT_EQ(device.record("ZSLEGSANA")->size(), std::size_t(kDayCloseMarkerSize));

    // Nothing left to do: a further start changes nothing.
    const auto writes = device.requestCount("FW");
    EXPECT_TRUE(RecoverDayClose(fm));
    EXPECT_EQ(device.requestCount("FW"), writes);
    EXPECT_EQ(device.dayCloseRecords().size(), 2u);
}

}  // namespace
