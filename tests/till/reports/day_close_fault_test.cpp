// A fiscal-memory failure at each step of a Z report: before the day-close record is appended
// nothing changes; after it the day is counted exactly once, also across a restart.
#include "report_fixture.h"

#include <QFile>

#include <filesystem>

namespace {

struct FaultCase {
    const char* step;
    const char* fault;
    bool closesAtOnce;  // the report still closes the day (the module stored what it refused)
    bool appended;      // the day-close record is in the fiscal memory after the failed report
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.step << " " << c.fault; }

class DayCloseFault : public DayClosing, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(DayCloseFault, NothingLostNothingCountedTwice)
{
    const FaultCase c = GetParam();
    auto before = snapshot();
    FailingFiscalMemory failing(*fm, *module, c.step, c.fault);
    const int result = run(kZReport, failing);
    ASSERT_TRUE(failing.failed());

    if (c.closesAtOnce) {
        EXPECT_EQ(result, kReportDone);
        EXPECT_TRUE(QFile::exists(QString::fromLatin1(kLastZReportFile)));
        expectDayClosedOnce();
        return;
    }
    EXPECT_EQ(result, kReportFatal);
    EXPECT_FALSE(QFile::exists(QString::fromLatin1(kLastZReportFile)));
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ").toInt(), 0);
    if (!module->powerLost()) {
        EXPECT_FALSE(transactionOpen());  // what the failed step left open was rolled back
    }

    // The program ends (the module is switched on again after a power loss); the next start opens
    // the port afresh, so the driver rolls back any transaction it finds open, as for another
    // process.
    restartTill();
    EXPECT_EQ(recordCount(), c.appended ? 3 : 2);
    EXPECT_FALSE(transactionOpen());
    // No counter changed; after the append the marker names the record and the next opening
    // balance, before it no day close is under way.
    auto after = snapshot();
    EXPECT_EQ(record(kDayCloseMarker).trimmed(), c.appended ? QStringLiteral("6        29671") : QString());
    before.erase("ZSLEGSANA");
    after.erase("ZSLEGSANA");
    EXPECT_EQ(after, before);

    // The start finishes the day close before anything else; then the cashier runs the Z report
    // again.
    EXPECT_TRUE(RecoverDayClose(*fm));
    if (c.appended)
        expectDayClosedOnce();
    print = std::make_unique<TPrintClass>(6, fm.get());
    window.pazinojumi.clear();
    ASSERT_EQ(run(kZReport), kReportDone);
    EXPECT_TRUE(window.pazinojumi.isEmpty()) << window.pazinojumi.join('\n').toStdString();
    const Lines all = paper();
    EXPECT_NE(std::find(all.begin(), all.end(), c.appended ? "            Z atskaites Nr    6" : "            Z atskaites Nr    5"),
              all.end());
    expectDayClosedOnce();
    EXPECT_EQ(lastDayClose().nr, c.appended ? 7 : 6);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, DayCloseFault,
    ::testing::Values(FaultCase{"readLastDayClose", "status=27", false, false},
                      FaultCase{"read ATLNOIEPR", "status=27", false, false},
                      FaultCase{"read NOD_D_SUM", "status=27", false, false},
                      FaultCase{"read APM_SUM3", "status=27", false, false},
                      FaultCase{"read APMFLAG10", "status=27", false, false},
                      FaultCase{"read VALUT_D_S", "status=27", false, false},
                      // The marker's own transaction.
                      FaultCase{"begin", "status=27", false, false},
                      FaultCase{"createRecord", "status=27", false, false},
                      FaultCase{"write ZSLEGSANA", "status=27", false, false},
                      FaultCase{"commit", "status=27", false, false},
                      FaultCase{"appendDayClose", "status=27", false, false},
                      FaultCase{"appendDayClose", "commit-error-yet-commits", true, true},
                      // The zeroing's transaction, after the append.
                      FaultCase{"begin#2", "status=27", false, true},
                      FaultCase{"write NOD_D_SUM", "status=27", false, true},
                      FaultCase{"write VALUT_D_S", "status=27", false, true},
                      FaultCase{"write ATLNOIEPR", "status=27", false, true},
                      FaultCase{"write APM_SUM10", "status=27", false, true},
                      FaultCase{"write ZSLEGSANA#2", "status=27", false, true},
                      FaultCase{"commit#2", "status=27", false, true},
                      FaultCase{"commit#2", "power-lost", false, true}),
    [](const auto& info) {
        std::string name = std::to_string(info.index) + "_" + info.param.step + "_" + info.param.fault;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

// A transaction that a receipt's registration left open is not taken for a day close, even
// though the marker of the last finished day close names the newest record.
TEST_F(DayReport, OpenReceiptTransactionIsRolledBack)
{
    ASSERT_EQ(run(kZReport), kReportDone);
    ASSERT_EQ(HT_BeginTrans(), 0);
    ASSERT_TRUE(fm->FMWrite(QStringLiteral("NOD_D_SUM"), TaxSlots({{21, 500}})));
    EXPECT_TRUE(RecoverDayClose(*fm));
    int open = -1;
    EXPECT_EQ(HT_Get_TransactionInProgress(&open), 0);
    EXPECT_EQ(open, 0);
    EXPECT_EQ(CounterValue(record("NOD_D_SUM").mid(2, 8)), 0);
}

// The day-close record's append cut at any byte (the line drops mid-write) while the clock goes
// on: the till ends, and its next start finishes the record with the bytes it began, closing the
// day once. Each cut starts from the module as it was before the report.
TEST_F(DayClosing, AppendCutAtAnyByteIsFinishedAfterARestart)
{
    // Report 6's record: 16 bytes of frame, the name "6" and the 72-character text.
    constexpr std::size_t kRecordLength = 16 + 1 + 72;
    const auto memory = dir() / "fiscal-memory.bin";
    const auto beforeReport = dir() / "before-report.bin";
    endTill();
    module.reset();
    std::filesystem::copy_file(memory, beforeReport);
    const auto start = clock().now();
    for (std::size_t cut = 1; cut < kRecordLength; ++cut) {
        SCOPED_TRACE("cut after byte " + std::to_string(cut));
        module.reset();
        std::filesystem::copy_file(beforeReport, memory, std::filesystem::copy_options::overwrite_existing);
        module = std::make_unique<sim::FiscalMemorySim>(memory);
        ASSERT_TRUE(module->start(portsDir(), "COM" + std::to_string(kModulePort)));
        clock().set(start);
        restartTill();
        print = std::make_unique<TPrintClass>(6, fm.get());

        module->setPartialWriteBytes(cut);
        FailingFiscalMemory failing(*fm, *module, "appendDayClose", sim::FiscalMemorySim::kPartialWrite);
        ASSERT_EQ(run(kZReport, failing), kReportFatal);
        ASSERT_TRUE(failing.failed());
        EXPECT_EQ(record(kDayCloseMarker).trimmed(), QStringLiteral("6        29671"));

        clock().advance(std::chrono::minutes(61));
        restartTill();
        ASSERT_TRUE(RecoverDayClose(*fm));
        EXPECT_EQ(recordCount(), 3);
        expectDayClosedOnce();
        const DayCloseRecord last = lastDayClose();
        EXPECT_EQ(last.nr, 6);
        EXPECT_EQ(last.time, QStringLiteral("10:15"));
        std::tm stamp{};
        int nameAddress = 0, nameLength = 0, dataAddress = 0, dataLength = 0;
        ASSERT_EQ(FM_GetRecordInfo(-1, &stamp, &nameAddress, &nameLength, &dataAddress, &dataLength), 0);
        EXPECT_EQ(std::size_t(16 + nameLength + dataLength), kRecordLength);
        if (cut > 9) {
            EXPECT_EQ(stamp.tm_hour, 10);
        }
        endTill();
    }
}

}  // namespace
