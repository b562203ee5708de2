// The day close on the USB kind, whose store has no transactions: the counters are zeroed record by
// record, so a failure part way leaves some zeroed and some not. The marker still lets the next
// start finish the zeroing with the cash balance the Z report computed. And the Z reports of a new
// device, whose list of day-close records starts empty.
#include "day_counters.h"
#include "fmproc.h"
#include "report_fiscal_memory.h"
#include "report_fixture.h"
#include "test_environment.h"
#include "usb_fiscal_device.h"
#include "xz_layout.h"
#include "z_copy.h"

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

// Z reports on a new USB device, whose list of day-close records starts empty, with a printer and
// the till database: what the till prints and what the device keeps.
class DayReportsUsb : public testsupport::DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        setupInteger("FMTips", 3);
        setupInteger("PrinteraPorts", 1);
        setupInteger("KlDisplejsPorts", 2);
        settings().writeInteger(platform::kFtdiSettingsKey, "ReadTimeoutMs", 300);
        ASSERT_TRUE(device.start(portsDir(), "FTDI0"));
        printer = std::make_unique<sim::PrinterSimulator>(kPrinterType);
        ASSERT_TRUE(printer->start(portsDir(), "COM1"));
        fm = std::make_unique<TFMProc>();
        ASSERT_EQ(fm->Status, 0);
        ASSERT_TRUE(fm->FMWrite(QStringLiteral("CEKAGALVA1"), QStringLiteral("SIA Veikals")));
        print = std::make_unique<TPrintClass>(kPrinterType, fm.get());
        job.KasierisFullName = QStringLiteral("Anna Bērziņa");
        job.CekaValutaKods = QStringLiteral("EUR");
        job.posDb = db();
    }
    void TearDown() override
    {
        job.posDb = QSqlDatabase();
        print.reset();
        fm.reset();
        printer->stop();
        device.stop();
        DatabaseTest::TearDown();
    }

    // The paper printed since the last call, without trailing blanks.
    Lines newPaper()
    {
        printer->waitIdle();
        const std::vector<std::string> all = printer->receipt();
        Lines fresh(all.begin() + std::ptrdiff_t(printed_), all.end());
        printed_ = all.size();
        for (std::string& line : fresh)
            line.erase(line.find_last_not_of(' ') + 1);
        return fresh;
    }
    static bool has(const Lines& lines, const std::string& line)
    {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    static constexpr int kPrinterType = 2;
    sim::UsbFiscalDevice device;
    std::unique_ptr<sim::PrinterSimulator> printer;
    std::unique_ptr<TFMProc> fm;
    std::unique_ptr<TPrintClass> print;
    XZReportJob job;
    RecordingWindow window;
    std::size_t printed_ = 0;
};

// Three days, each with sales in one 0 % slot and closed by a Z report: the reports are numbered
// 1, 2 and 3, their grand totals are the running sums, and each day's record is read back as its
// own (the copy of each Z report prints that report).
TEST_F(DayReportsUsb, ReportsOfANewDeviceAreNumberedOnAndTheirTotalsRunOn)
{
    const int sales[] = {433, 238, 1000};
    const char* grandLines[] = {"GR.TOTAL      4.33 GR.PVN      0.00", "GR.TOTAL      6.71 GR.PVN      0.00",
                                "GR.TOTAL     16.71 GR.PVN      0.00"};
    int grandTotal = 0;
    for (int day = 0; day < 3; ++day) {
        SCOPED_TRACE(day + 1);
        ASSERT_TRUE(fm->FMWrite(QStringLiteral("NOD_D_SUM"), TaxSlots({{0, sales[day]}})));
        ReportFiscalMemory access(*fm);
        ASSERT_EQ(PrintXZAtskaite(kZReport, job, access, *print, window), kReportDone);
        grandTotal += sales[day];
        const std::string title = QString::asprintf("            Z atskaites Nr %4i", day + 1).toStdString();
        const Lines report = newPaper();
        EXPECT_TRUE(has(report, title));
        EXPECT_TRUE(has(report, grandLines[day]));

        // The day's own record: the number of the next report, the running grand total, its sum.
        DayCloseRecord own;
        ASSERT_TRUE(fm->FMReadGrand(day + 1, own.nr, own.grandTotal, own.grandVat, own.date, own.time, own.daySum,
                                    own.dayVat, own.check));
        EXPECT_EQ(own.nr, day + 2);
        EXPECT_EQ(own.grandTotal, grandTotal);
        EXPECT_EQ(own.daySum, sales[day]);

        PrintLastZCopy(0, *print, window);
        const Lines copy = newPaper();
        EXPECT_TRUE(has(copy, title));
        EXPECT_TRUE(has(copy, grandLines[day]));
    }
    // The opening record and one record a day.
    EXPECT_EQ(device.dayCloseRecords().size(), 4u);
    EXPECT_TRUE(window.pazinojumi.isEmpty()) << window.pazinojumi.join(u'\n').toStdString();
}
