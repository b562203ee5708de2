// The Z report's day close in a till process of its own, cut short by killing the process or by a
// power loss of the module, at the points after its day-close record is appended and before it;
// the next till process (its start-up) and the next Z report must count the day exactly once.
// Each process brings the fiscal-memory driver's per-process state as a started program has it:
// a store transaction found open that the process did not begin is rolled back.
#include "day_close_process.h"
#include "report_fixture.h"

namespace {

struct Crash {
    const char* point;  // where the till process is cut short: "appended" or "committing"
    bool powerLost;     // the module's power goes (the process fails on), else the process is killed
};

void PrintTo(const Crash& c, std::ostream* out) { *out << c.point << (c.powerLost ? " power lost" : " killed"); }

class DayCloseAcrossProcesses : public DayClosing, public ::testing::WithParamInterface<Crash> {
protected:
    // The start-up of a till process: it finishes what the last one left.
    void startTillProcess()
    {
        endTill();
        DayCloseProcess till(QStringLiteral("recover"));
        EXPECT_EQ(till.finish(), 0) << till.errorOutput().toStdString();
        restartTill();
    }

    // The next day's Z report on this till: its title number and the day it closes.
    void nextZReport(const char* title)
    {
        print = std::make_unique<TPrintClass>(6, fm.get());
        ASSERT_EQ(run(kZReport), kReportDone);
        const Lines all = paper();
        EXPECT_NE(std::find(all.begin(), all.end(), title), all.end());
    }
};

TEST_P(DayCloseAcrossProcesses, TheDayIsCountedOnce)
{
    const Crash crash = GetParam();
    auto before = snapshot();
    endTill();
    {
        DayCloseProcess till(QStringLiteral("z"), {QStringLiteral("USD=0.9")});
        ASSERT_TRUE(till.waitFor("appended")) << till.errorOutput().toStdString();
        if (std::string(crash.point) == "committing") {
            till.goOn();
            ASSERT_TRUE(till.waitFor("committing")) << till.errorOutput().toStdString();
        }
        if (crash.powerLost) {
            module->faults().arm(sim::FiscalMemorySim::kPowerLost);
            EXPECT_EQ(till.finish(), 1);
            EXPECT_TRUE(module->powerLost());
        } else {
            till.kill();
        }
    }

    // As the process left the fiscal memory, read by a process that starts afresh: the day is
    // closed with record 6, the counters are as they were and the marker names the record.
    restartTill();
    EXPECT_EQ(recordCount(), 3);
    EXPECT_EQ(lastDayClose().nr, 6);
    EXPECT_FALSE(transactionOpen());
    EXPECT_EQ(record(kDayCloseMarker).trimmed(), QStringLiteral("6        29671"));
    auto after = snapshot();
    before.erase("ZSLEGSANA");
    after.erase("ZSLEGSANA");
    EXPECT_EQ(after, before);

    // The next start zeroes the counters; a start after it has nothing left to do.
    startTillProcess();
    expectDayClosedOnce();
    const auto zeroed = snapshot();
    startTillProcess();
    EXPECT_EQ(snapshot(), zeroed);
    EXPECT_EQ(recordCount(), 3);

    nextZReport("            Z atskaites Nr    6");
    expectDayClosedOnce();
    EXPECT_EQ(lastDayClose().nr, 7);
    EXPECT_EQ(lastDayClose().daySum, 0);
}

INSTANTIATE_TEST_SUITE_P(Crashes, DayCloseAcrossProcesses,
                         ::testing::Values(Crash{"appended", false}, Crash{"appended", true},
                                           Crash{"committing", false}, Crash{"committing", true}),
                         [](const auto& info) {
                             return std::string(info.param.point) + (info.param.powerLost ? "_PowerLost" : "_Killed");
                         });

// The power goes at the first change the till process makes, the marker's transaction: nothing of
// the day is lost, and the next Z report closes it.
TEST_F(DayClosing, PowerLostBeforeTheAppendLosesNothing)
{
    auto before = snapshot();
    endTill();
    module->faults().arm(sim::FiscalMemorySim::kPowerLost);
    {
        DayCloseProcess till(QStringLiteral("z"), {QStringLiteral("USD=0.9")});
        EXPECT_FALSE(till.waitFor("appended"));
        EXPECT_EQ(till.finish(), 1);
    }
    ASSERT_TRUE(module->powerLost());
    restartTill();
    EXPECT_EQ(recordCount(), 2);
    EXPECT_FALSE(transactionOpen());
    EXPECT_EQ(snapshot(), before);

    endTill();
    EXPECT_EQ(DayCloseProcess::run(QStringLiteral("recover")), 0);
    restartTill();
    EXPECT_EQ(snapshot(), before);

    print = std::make_unique<TPrintClass>(6, fm.get());
    ASSERT_EQ(run(kZReport), kReportDone);
    const Lines all = paper();
    EXPECT_NE(std::find(all.begin(), all.end(), "            Z atskaites Nr    5"), all.end());
    expectDayClosedOnce();
    EXPECT_EQ(lastDayClose().nr, 6);
}

}  // namespace
