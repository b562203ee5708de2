#include "processes.h"
#include "scripted_processes.h"

#include "test_environment.h"

namespace {

TEST(TilloraExeName, UpperCasedWithoutExeIsTillora) {
    for (const char* name : {"tillora", "TILLORA", "Tillora.exe", "TILLORA.EXE", "tillora.EXE"})
        EXPECT_TRUE(IsTilloraExeName(name)) << name;
    for (const char* name : {"tillora2", "tillora.bin", "TilloraMain", "till", "", ".exe", "xtillora"})
        EXPECT_FALSE(IsTilloraExeName(name)) << name;
}

TEST(SingleInstance, Outcomes) {
    ScriptedProcesses p;
    p.add(7, "bash");
    EXPECT_EQ(CheckSingleInstance(p), InstanceCheck::Alone);

    p.add(8, "Tillora");
    EXPECT_EQ(CheckSingleInstance(p), InstanceCheck::SecondCopy);

    ScriptedProcesses renamed;
    renamed.setOwnName("till_startup_test");
    EXPECT_EQ(CheckSingleInstance(renamed), InstanceCheck::WrongExeName);
    renamed.setOwnName("TILLORA.exe");
    EXPECT_EQ(CheckSingleInstance(renamed), InstanceCheck::Alone);

    ScriptedProcesses none;
    none.list.reset();
    EXPECT_EQ(CheckSingleInstance(none), InstanceCheck::NoSnapshot);
}

TEST(KillByName, ExactNamesOnlyAndTheResultSaysWhetherTheListWasRead) {
    ScriptedProcesses p;
    p.add(10, "Fiskon.exe");
    p.add(11, "fiskon");
    p.add(12, "FISKON.EXE");
    p.add(13, "Fiskon.exe.bak");
    EXPECT_TRUE(KillProcessByName(p, kFiskonNames));
    EXPECT_EQ(p.terminated, (std::vector<int>{10, 11}));

    ScriptedProcesses nothing;
    EXPECT_TRUE(KillProcessByName(nothing, kFiskonNames));  // nothing matched: still true
    EXPECT_TRUE(nothing.terminated.empty());

    ScriptedProcesses unreadable;
    unreadable.list.reset();
    EXPECT_FALSE(KillProcessByName(unreadable, kFiskonNames));
    unreadable.list.emplace();
    EXPECT_FALSE(KillProcessByName(unreadable, kFiskonNames));  // an empty list
}

class StrayMainPrograms : public testsupport::TestEnvironment {};

TEST_F(StrayMainPrograms, BothAreEndedAndOtherLetterCaseIsLeft) {
    ScriptedProcesses p;
    p.add(20, "TilloraMain.exe");
    p.add(21, "TilloraMain");
    p.add(22, "tilloramain.exe");
    p.add(23, "TILLORAMAIN");
    EXPECT_TRUE(EndOldProcesses(p));
    EXPECT_EQ(p.terminated, (std::vector<int>{20, 21}));

    ScriptedProcesses none;
    EXPECT_FALSE(EndOldProcesses(none));
}

}  // namespace
