// TFMProc on the USB kind against the simulated device: records, day-close records, the count and
// serial number, device errors, bad checks and the retries.
#include "fmproc.h"
#include "test_environment.h"
#include "usb_fiscal_device.h"
#include "codepage_1257.h"

#include <QFile>

namespace {

class FMProcUsb : public testsupport::TestEnvironment {
protected:
    void SetUp() override
    {
        TestEnvironment::SetUp();
        setupInteger("FMTips", 3);
        // A silent device is given up on quickly.
        settings().writeInteger(platform::kFtdiSettingsKey, "ReadTimeoutMs", 300);
        ASSERT_TRUE(device.start(portsDir(), "FTDI0"));
    }
    void TearDown() override
    {
        device.stop();
        TestEnvironment::TearDown();
    }
    int logBlocksWith(const std::string& text)
    {
        const std::string log = testsupport::readFile(dir() / "error.log");
        int count = 0;
        for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
            ++count;
        return count;
    }

    sim::UsbFiscalDevice device;
};

TEST_F(FMProcUsb, OpensTheDeviceAndReadsWhatWasWritten)
{
    TFMProc fm;
    ASSERT_EQ(fm.Status, 0);
    EXPECT_TRUE(fm.FMWrite(QStringLiteral("CEKANRCOUN"), QStringLiteral("ABC")));
    EXPECT_EQ(device.record("CEKANRCOUN"), std::string("ABC        "));
    EXPECT_EQ(device.recordSize("CEKANRCOUN"), 11);
    const QString long45 = QStringLiteral("Ā").repeated(5) + QStringLiteral("x").repeated(40);
    EXPECT_TRUE(fm.FMWrite(QStringLiteral("CEKAGALVA1"), long45));
    EXPECT_EQ(device.record("CEKAGALVA1"), toCp1257(long45.left(40)));

    QString value = QStringLiteral("default");
    EXPECT_TRUE(fm.FMRead(QStringLiteral("CEKAGALVA1"), value));
    EXPECT_EQ(value, long45.left(40));
    // The second write finds the record and does not create it again.
    EXPECT_TRUE(fm.FMWrite(QStringLiteral("CEKANRCOUN"), QStringLiteral("00000000001")));
    EXPECT_EQ(device.requestCount("FC"), 2);
    EXPECT_FALSE(QFile::exists(QStringLiteral("error.log")));
}

// A record the device does not hold reads as not there and is logged, without a message.
TEST_F(FMProcUsb, RecordsNeverWrittenReadAsNotThere)
{
    device.putRecord("APMVEID3", 15);
    TFMProc fm;
    QString value = QStringLiteral("default");
    EXPECT_TRUE(fm.FMRead(QStringLiteral("APMVEID3"), value));   // created, never written
    EXPECT_FALSE(QFile::exists(QStringLiteral("error.log")));
    EXPECT_TRUE(fm.FMRead(QStringLiteral("STORNO_SUM"), value)); // not on the device at all
    EXPECT_EQ(value, QStringLiteral("default"));
    EXPECT_EQ(logBlocksWith("Pazinojums          - NoSuchRecord\nAtminas faila vards - STORNO_SUM\nKomanda             - FMReadTVL\n"), 1);
    EXPECT_TRUE(messages().texts().isEmpty());
}

TEST_F(FMProcUsb, RecordCrcStatusStillGivesTheData)
{
    device.putRecord("POS_NR", 11, "0000004    ");
    device.faults().arm("record-crc");
    TFMProc fm;
    QString value;
    EXPECT_TRUE(fm.FMRead(QStringLiteral("POS_NR"), value));
    EXPECT_EQ(value, QStringLiteral("0000004    "));
    EXPECT_FALSE(QFile::exists(QStringLiteral("error.log")));
}

TEST_F(FMProcUsb, StatusOfFiveBytesIsSuccessAndSixIsAnError)
{
    device.putRecord("POS_NR", 11, "0000004    ");
    TFMProc fm;
    QString value;
    device.faults().arm("status-5");
    EXPECT_TRUE(fm.FMRead(QStringLiteral("POS_NR"), value));
    EXPECT_EQ(value, QStringLiteral("0000004    "));
    device.faults().arm("status-6");
    value = QStringLiteral("default");
    EXPECT_TRUE(fm.FMRead(QStringLiteral("POS_NR"), value));
    EXPECT_EQ(value, QStringLiteral("default"));
    EXPECT_EQ(fm.LastReply, QStringLiteral("Busy12"));
    EXPECT_EQ(logBlocksWith("Komanda             - FMReadTVL\n"), 1);
}

// A device error on a read is a failure: the Z report would otherwise go on from report 1 with a
// grand total of 0.
TEST_F(FMProcUsb, DeviceErrorsOnReadsAreFailures)
{
    device.putDayCloseRecord(formatDayCloseRecord(DayCloseLayout::Usb, TFMProc::OpeningRecord()));
    device.putDayCloseRecord("  12        150008.03.201614:05         500          87         260    0A1B2C3D");
    TFMProc fm;
    int nr = -1;
    double gt = -1, gv = -1, ds = -1, dv = -1;
    QDate date;
    QString time, check;
    device.faults().arm("device-error");
    EXPECT_FALSE(fm.FMReadGrand(-1, nr, gt, gv, date, time, ds, dv, check));
    EXPECT_EQ(nr, -1);
    device.faults().arm("count-garbage");
    EXPECT_FALSE(fm.FMReadGrand(-1, nr, gt, gv, date, time, ds, dv, check));
    EXPECT_EQ(nr, -1);
    int count = -1;
    device.faults().arm("device-error");
    EXPECT_FALSE(fm.FMGetRecordCount(count));
    QString serial = QStringLiteral("keep");
    device.faults().arm("device-error");
    EXPECT_FALSE(fm.FMSerialNr(serial));
    EXPECT_EQ(serial, QStringLiteral("keep"));

    EXPECT_TRUE(fm.FMReadGrand(-1, nr, gt, gv, date, time, ds, dv, check));
    EXPECT_EQ(nr, 12);
    EXPECT_EQ(gt, 1500);
    EXPECT_TRUE(fm.FMSerialNr(serial));
    EXPECT_EQ(serial, QStringLiteral("TVL00012345"));
}

// A device error on a record's read is logged and shown, and the read goes on with the value as
// it was: the till's start prints its receipt header with that line empty.
TEST_F(FMProcUsb, DeviceErrorOnAReadLeavesTheValueAndGoesOn)
{
    device.putRecord("CEKAGALVA1", 11, "SIA Veikals");
    TFMProc fm;
    device.faults().arm("device-error");
    QString value;
    EXPECT_TRUE(fm.FMRead(QStringLiteral("CEKAGALVA1"), value));
    EXPECT_EQ(value, QString());
    EXPECT_EQ(fm.LastReply, QStringLiteral("DeviceFailure"));
    EXPECT_EQ(logBlocksWith("Pazinojums          - DeviceFailure\nAtminas faila vards - CEKAGALVA1\n"), 1);
    EXPECT_EQ(messages().texts().size(), 1);
    EXPECT_TRUE(fm.FMRead(QStringLiteral("CEKAGALVA1"), value));
    EXPECT_EQ(value, QStringLiteral("SIA Veikals"));
}

// A reply longer than any the device has reason to send is refused once the bound is passed.
TEST_F(FMProcUsb, OversizedReplyIsRefused)
{
    device.putRecord("POS_NR", 11, "0000004    ");
    TFMProc fm;
    device.faults().arm("oversized-reply");
    QString value = QStringLiteral("default");
    EXPECT_FALSE(fm.FMRead(QStringLiteral("POS_NR"), value));
    EXPECT_EQ(value, QStringLiteral("default"));
    EXPECT_EQ(logBlocksWith("Komanda             - FR garums\n"), 1);
}

// The device is closed with the object: the next program part (or program) can open it again.
TEST_F(FMProcUsb, DeviceIsClosedWithTheObject)
{
    {
        TFMProc first;
        ASSERT_EQ(first.Status, 0);
    }
    TFMProc second;
    EXPECT_EQ(second.Status, 0);
    QString serial;
    EXPECT_TRUE(second.FMSerialNr(serial));
}

TEST_F(FMProcUsb, ReplyWithABadCheckIsRefused)
{
    device.putRecord("POS_NR", 11, "0000004    ");
    TFMProc fm;
    QString value = QStringLiteral("default");
    device.faults().arm("bad-check");
    EXPECT_FALSE(fm.FMRead(QStringLiteral("POS_NR"), value));
    EXPECT_EQ(value, QStringLiteral("default"));
    EXPECT_EQ(logBlocksWith("Komanda             - FR CRC\n"), 1);
    device.faults().arm("cr-first");  // a lone CR: empty reply whose checks cannot match
    EXPECT_FALSE(fm.FMRead(QStringLiteral("POS_NR"), value));
    EXPECT_EQ(value, QStringLiteral("default"));
    device.faults().arm("corrupt");
    EXPECT_FALSE(fm.FMWrite(QStringLiteral("POS_NR"), QStringLiteral("5")));
}

TEST_F(FMProcUsb, DayCloseRecordsWrittenAndReadBack)
{
    TFMProc fm;
    int nr = -1;
    double gt = -1, gv = -1, ds = -1, dv = -1;
    QDate date;
    QString time, check = QStringLiteral("caller");
    // A new device, its list empty: the defaults.
    EXPECT_TRUE(fm.FMReadGrand(-1, nr, gt, gv, date, time, ds, dv, check));
    EXPECT_EQ(nr, 1);
    EXPECT_EQ(gt, 0);
    EXPECT_EQ(date, QDate(2001, 1, 1));
    EXPECT_EQ(time, QStringLiteral("12:00"));
    EXPECT_EQ(check, QString());

    EXPECT_TRUE(fm.FMWriteGrand(12, QStringLiteral("0A1B2C3D"), 2147483648.0, 260, 500, 87));
    ASSERT_EQ(device.dayCloseRecords().size(), 2u);
    EXPECT_EQ(device.dayCloseRecords()[1], "  12  214748364802.03.202610:15         500          87         260    0A1B2C3D");
    EXPECT_TRUE(fm.FMReadGrand(-1, nr, gt, gv, date, time, ds, dv, check));
    EXPECT_EQ(nr, 12);
    EXPECT_EQ(gt, 2147483648.0);
    EXPECT_EQ(gv, 260);
    EXPECT_EQ(ds, 500);
    EXPECT_EQ(dv, 87);
    EXPECT_EQ(date, QDate(2026, 3, 2));
    EXPECT_EQ(time, QStringLiteral("10:15"));
    EXPECT_EQ(check.trimmed(), QStringLiteral("0A1B2C3D"));
    int count = 0;
    EXPECT_TRUE(fm.FMGetRecordCount(count));
    EXPECT_EQ(count, 2);
}

TEST_F(FMProcUsb, BadFirstByteThreeTimesGivesUpAfterRetries)
{
    device.faults().arm("bad-first-byte", 3);
    TFMProc fm;
    const auto start = clock().steadyNow();
    QString value = QStringLiteral("default");
    EXPECT_FALSE(fm.FMRead(QStringLiteral("POS_NR"), value));
    EXPECT_EQ(value, QStringLiteral("default"));
    EXPECT_TRUE(messages().shown(QStringLiteral("Nepareizs pirmais baits (3) !!!\n\n TvlSendAndRecieve")));
    // Three sends, 150 ms after each and 5 s after each failed one, on the test's clock.
    EXPECT_EQ(clock().steadyNow() - start, std::chrono::milliseconds(3 * 150 + 3 * 5000));
    EXPECT_EQ(logBlocksWith("Komanda             - FR TURPINA\n"), 3 + 2 + 2);
    EXPECT_EQ(logBlocksWith("Buffers             - Statuss = FT_Close\n"), 2);
    EXPECT_EQ(logBlocksWith("Buffers             - Statuss = FT_Open\n"), 2);
    EXPECT_EQ(logBlocksWith("Komanda             - FR Nepareizs pirmais baits (3)\n"), 1);
    EXPECT_EQ(logBlocksWith("FT_Write itcount="), 2);
}

TEST_F(FMProcUsb, RecoversWhenALaterSendIsAnswered)
{
    device.putRecord("POS_NR", 11, "0000004    ");
    TFMProc fm;
    device.faults().arm("bad-first-byte", 1);
    QString value;
    EXPECT_TRUE(fm.FMRead(QStringLiteral("POS_NR"), value));
    EXPECT_EQ(value, QStringLiteral("0000004    "));
    EXPECT_TRUE(messages().texts().isEmpty());
}

TEST_F(FMProcUsb, SilentDeviceDoesNotHangTheTill)
{
    device.putRecord("POS_NR", 11, "0000004    ");
    TFMProc fm;
    device.faults().arm("silent", 3);
    QString value = QStringLiteral("default");
    EXPECT_FALSE(fm.FMRead(QStringLiteral("POS_NR"), value));
    EXPECT_TRUE(messages().shown(QStringLiteral("Nepareizs pirmais baits (3) !!!\n\n TvlSendAndRecieve")));
}

TEST_F(FMProcUsb, TextThatWouldBreakTheFrameIsNotSent)
{
    TFMProc fm;
    EXPECT_FALSE(fm.FMWrite(QStringLiteral("CEKAGALVA1"), QStringLiteral("SIA A|B")));
    EXPECT_EQ(device.requestCount("FW"), 0);
}

TEST_F(FMProcUsb, CurrencySlotsRecordHoldsAllThirtySlots)
{
    TFMProc fm;
    QString currencies;
    for (int i = 0; i < 30; ++i)
        currencies += QStringLiteral("EUR%1").arg(i, 8, 10, QLatin1Char('0'));
    EXPECT_TRUE(fm.FMWrite(QStringLiteral("VALUT_D_S"), currencies));
    EXPECT_EQ(device.recordSize("VALUT_D_S"), 331);
    QString back;
    EXPECT_TRUE(fm.FMRead(QStringLiteral("VALUT_D_S"), back));
    EXPECT_EQ(back.left(330), currencies);
}

TEST_F(FMProcUsb, FileAlreadyExistOnCreateCountsAsSuccess)
{
    TFMProc fm;
    device.faults().arm("fc-exists");
    EXPECT_TRUE(fm.FMWrite(QStringLiteral("POS_NR"), QStringLiteral("7")));
    EXPECT_EQ(device.record("POS_NR"), std::string("7          "));
    EXPECT_FALSE(QFile::exists(QStringLiteral("error.log")));
}

}  // namespace
