// The named-file store on the two banks of the totals memory, against the module simulator.
#include "module_fixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <functional>

namespace {

constexpr std::uint32_t kTotals = 0x2000;
constexpr std::uint32_t kHalf = kTotals / 2;
constexpr int kUsable = int(kHalf) - 1;

class MemorixFileStoreTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        ASSERT_EQ(HT_ClearAll(), 0);
    }

    int create(const char* name, int size) {
        int index = -1;
        EXPECT_EQ(HT_Create(name, &index, size), 0) << name;
        return index;
    }

    std::string readFile(int index, int offset, int length) {
        std::string out(std::size_t(length), '\0');
        EXPECT_EQ(HT_Read(index, out.data(), offset, length), 0);
        return out;
    }

    // Bytes of a bank's data as the module holds them.
    sim::Bytes bank(int number, std::uint32_t offset, std::size_t count) {
        return module().totalsBytes(std::uint32_t(number) * kHalf + 1 + offset, count);
    }

    static std::uint32_t entryOffset(const sim::Bytes& directory, int i) {
        const std::uint8_t* e = &directory[2 + 16 * std::size_t(i)];
        return e[10] | (e[11] << 8) | (std::uint32_t(e[12]) << 16);
    }
};

TEST_F(MemorixFileStoreTest, FreshStoreIsEmpty) {
    EXPECT_EQ(module().totalsBytes(0, 1), sim::Bytes{2});
    EXPECT_EQ(module().totalsBytes(kHalf, 1), sim::Bytes{1});
    int count = -1, free = -1, usable = -1, index = 0, size = 0;
    ASSERT_EQ(HT_Get_NumberOfFiles(&count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(HT_Find("CEKANRCOUN", &index, &size), MEMORIX_NO_SUCH_FILE);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(size, -1);
    ASSERT_EQ(HT_Get_FreeData(&free), 0);
    EXPECT_EQ(free, kUsable);
    ASSERT_EQ(HT_Get_TotalsSize(&usable), 0);
    EXPECT_EQ(usable, kUsable);
    int busy = -1;
    ASSERT_EQ(HT_Get_TransactionInProgress(&busy), 0);
    EXPECT_EQ(busy, 0);
    EXPECT_EQ(HT_GetSizeOfNameBuf(), 11);
}

TEST_F(MemorixFileStoreTest, NewModuleHoldsAnEmptyStore) {
    freshModule();
    int count = -1;
    ASSERT_EQ(HT_Get_NumberOfFiles(&count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(create("POS_NR", 4), 0);
}

TEST_F(MemorixFileStoreTest, CreatingMovesContentsUpForTheNewEntry) {
    EXPECT_EQ(create("FIRST", 40), 0);
    EXPECT_EQ(entryOffset(bank(0, 0, 18), 0), 18u);
    ASSERT_EQ(HT_Write(0, std::string(40, 'a').data(), 0, 40), 0);
    EXPECT_EQ(create("SECOND", 10), 1);
    auto directory = bank(0, 0, 34);
    EXPECT_EQ(entryOffset(directory, 0), 34u);
    EXPECT_EQ(entryOffset(directory, 1), 74u);
    EXPECT_EQ(readFile(0, 0, 40), std::string(40, 'a'));
    int free = 0;
    ASSERT_EQ(HT_Get_FreeData(&free), 0);
    EXPECT_EQ(free, kUsable - 84);
}

TEST_F(MemorixFileStoreTest, CreateRefusals) {
    create("NAME", 5);
    int index = -1;
    EXPECT_EQ(HT_Create("NAME", &index, 5), MEMORIX_FILE_EXISTS);
    EXPECT_EQ(HT_Create("OTHER", &index, 0), MEMORIX_INVALID_PARAMETER);
    EXPECT_EQ(HT_Create("OTHER", &index, 65536), MEMORIX_INVALID_PARAMETER);
    EXPECT_EQ(HT_Create("", &index, 5), MEMORIX_INTERNAL);           // breaks the directory rules
    EXPECT_EQ(HT_Create("HUGE", &index, kUsable), MEMORIX_INTERNAL);  // would not fit the bank
    int count = 0;
    ASSERT_EQ(HT_Get_NumberOfFiles(&count), 0);
    EXPECT_EQ(count, 1);
}

TEST_F(MemorixFileStoreTest, NamesAreTheirFirstTenCharacters) {
    create("CEKAGALVA1X", 8);
    int index = -1, size = 0;
    ASSERT_EQ(HT_Find("CEKAGALVA1", &index, &size), 0);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(size, 8);
    ASSERT_EQ(HT_Find("CEKAGALVA1Y", &index, &size), 0);
    EXPECT_EQ(HT_Find("cekagalva1", &index, &size), MEMORIX_NO_SUCH_FILE);
    char name[11];
    std::memset(name, 'x', sizeof name);
    ASSERT_EQ(HT_FindByIndex(0, name), 0);
    EXPECT_EQ(std::string(name, 11), std::string("CEKAGALVA1\0", 11));
    EXPECT_EQ(HT_FindByIndex(1, name), MEMORIX_INVALID_PARAMETER);
    ASSERT_EQ(HT_Rename(0, "POS_NR"), 0);
    ASSERT_EQ(HT_FindByIndex(0, name), 0);
    EXPECT_EQ(std::string(name, 11), std::string("POS_NR\0\0\0\0\0", 11));
}

TEST_F(MemorixFileStoreTest, ReadAndWriteStayInsideTheFile) {
    create("A", 4);
    create("B", 6);
    ASSERT_EQ(HT_Write(1, "123456", 0, 6), 0);
    ASSERT_EQ(HT_Write(1, "xy", 2, 2), 0);
    EXPECT_EQ(readFile(1, 0, 6), "12xy56");
    EXPECT_EQ(readFile(1, 4, 2), "56");  // offset + length equal to the size
    char buffer[8];
    EXPECT_EQ(HT_Read(1, buffer, 4, 3), MEMORIX_INVALID_PARAMETER);
    EXPECT_EQ(HT_Read(1, buffer, -1, 1), MEMORIX_INVALID_PARAMETER);
    EXPECT_EQ(HT_Read(2, buffer, 0, 1), MEMORIX_INVALID_PARAMETER);
    EXPECT_EQ(HT_Write(1, buffer, 5, 2), MEMORIX_INVALID_PARAMETER);
    EXPECT_EQ(HT_Write(1, buffer, 0, -1), MEMORIX_INVALID_PARAMETER);
    EXPECT_EQ(readFile(0, 0, 4), std::string(4, '\0'));  // the neighbour is untouched
    ASSERT_EQ(HT_ClearFile(1), 0);
    EXPECT_EQ(readFile(1, 0, 6), std::string(6, '\0'));
}

TEST_F(MemorixFileStoreTest, FileEndingOnTheBanksLastByteIsReadAndWrittenWhole) {
    create("SMALL", 10);
    const int size = kUsable - (2 + 32 + 10);  // the second file ends exactly at the end of the bank
    create("LAST", size);
    int free = -1;
    ASSERT_EQ(HT_Get_FreeData(&free), 0);
    EXPECT_EQ(free, 0);
    std::string content(std::size_t(size), 'z');
    content.back() = '!';
    ASSERT_EQ(HT_Write(1, content.data(), 0, size), 0);
    EXPECT_EQ(readFile(1, size - 1, 1), "!");
    EXPECT_EQ(readFile(1, 0, size), content);
    EXPECT_EQ(bank(0, kUsable - 1, 1), sim::Bytes{'!'});
    EXPECT_EQ(module().totalsBytes(kHalf, 1), sim::Bytes{1});  // bank 1's header is untouched
}

TEST_F(MemorixFileStoreTest, DeletingTheFirstOfThreeClosesTheGap) {
    create("ONE", 5);
    create("TWO", 7);
    create("THREE", 3);
    ASSERT_EQ(HT_Write(0, "11111", 0, 5), 0);
    ASSERT_EQ(HT_Write(1, "2222222", 0, 7), 0);
    ASSERT_EQ(HT_Write(2, "333", 0, 3), 0);
    // Contents at 50 (ONE), 55 (TWO), 62 (THREE); in use up to 65.
    ASSERT_EQ(HT_Delete("ONE"), 0);
    auto directory = bank(0, 0, 34);
    EXPECT_EQ(directory[0], 2);
    EXPECT_EQ(entryOffset(directory, 0), 55u - 5 - 16);
    EXPECT_EQ(entryOffset(directory, 1), 62u - 5 - 16);
    int index = -1, size = 0;
    ASSERT_EQ(HT_Find("THREE", &index, &size), 0);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(readFile(0, 0, 7), "2222222");
    EXPECT_EQ(readFile(1, 0, 3), "333");
    EXPECT_EQ(bank(0, 44, 21), sim::Bytes(21, 0));  // the freed tail is zero
}

TEST_F(MemorixFileStoreTest, DeletingTheMiddleAndTheOnlyFile) {
    create("ONE", 5);
    create("TWO", 7);
    create("THREE", 3);
    ASSERT_EQ(HT_Write(0, "11111", 0, 5), 0);
    ASSERT_EQ(HT_Write(2, "333", 0, 3), 0);
    ASSERT_EQ(HT_Delete("TWO"), 0);
    EXPECT_EQ(readFile(0, 0, 5), "11111");
    EXPECT_EQ(readFile(1, 0, 3), "333");
    ASSERT_EQ(HT_Delete("ONE"), 0);
    ASSERT_EQ(HT_Delete("THREE"), 0);
    EXPECT_EQ(bank(0, 0, 60), sim::Bytes(60, 0));
}

TEST_F(MemorixFileStoreTest, DeletingAMissingNameChangesNothing) {
    create("ONE", 5);
    ASSERT_EQ(HT_Write(0, "11111", 0, 5), 0);
    auto before = module().totalsBytes(0, kTotals);
    module().trace().clear();
    EXPECT_EQ(HT_Delete("NONE"), 0);
    EXPECT_EQ(module().totalsBytes(0, kTotals), before);
    EXPECT_TRUE(requests().empty());  // the directory was already known
}

TEST_F(MemorixFileStoreTest, BankHeadersDecideTheActiveBank) {
    create("F", 1);
    ASSERT_EQ(HT_Write(0, "0", 0, 1), 0);
    struct Case {
        std::uint8_t header0, header1;
        int code;
    };
    const Case cases[] = {{15, 1, 0}, {1, 15, 0}, {3, 7, MEMORIX_BAD_DATA}, {0x80, 1, MEMORIX_BAD_DATA},
                          {0x12, 1, MEMORIX_BAD_DATA}, {0x82, 0x83, MEMORIX_BAD_DATA}};
    for (const auto& c : cases) {
        module().setTotalsBytes(0, {c.header0});
        module().setTotalsBytes(kHalf, {c.header1});
        reopenPort();
        int count = -1;
        EXPECT_EQ(HT_Get_NumberOfFiles(&count), c.code) << int(c.header0) << "/" << int(c.header1);
    }
    // Bank 1 active (15 then 1): it is empty.
    module().setTotalsBytes(0, {15});
    module().setTotalsBytes(kHalf, {1});
    reopenPort();
    int count = -1;
    ASSERT_EQ(HT_Get_NumberOfFiles(&count), 0);
    EXPECT_EQ(count, 0);
}

TEST_F(MemorixFileStoreTest, RollbackReturnsToTheBytesFromBefore) {
    create("SUM", 4);
    ASSERT_EQ(HT_Write(0, "1000", 0, 4), 0);
    ASSERT_EQ(HT_BeginTrans(), 0);
    EXPECT_EQ(module().totalsBytes(kHalf, 1), sim::Bytes{0x83});
    int busy = 0;
    ASSERT_EQ(HT_Get_TransactionInProgress(&busy), 0);
    EXPECT_EQ(busy, 1);
    EXPECT_EQ(HT_BeginTrans(), MEMORIX_TRANSACTION_OPEN);
    ASSERT_EQ(HT_Write(0, "2000", 0, 4), 0);
    EXPECT_EQ(readFile(0, 0, 4), "2000");
    ASSERT_EQ(HT_Rollback(), 0);
    EXPECT_EQ(readFile(0, 0, 4), "1000");
    ASSERT_EQ(HT_Get_TransactionInProgress(&busy), 0);
    EXPECT_EQ(busy, 0);
    EXPECT_EQ(HT_Rollback(), MEMORIX_NO_TRANSACTION);
}

TEST_F(MemorixFileStoreTest, CommitKeepsTheNewBytes) {
    create("SUM", 4);
    ASSERT_EQ(HT_Write(0, "1000", 0, 4), 0);
    EXPECT_EQ(HT_CommitTrans(), MEMORIX_NO_TRANSACTION);
    ASSERT_EQ(HT_BeginTrans(), 0);
    ASSERT_EQ(HT_Write(0, "2000", 0, 4), 0);
    ASSERT_EQ(HT_CommitTrans(), 0);
    EXPECT_EQ(module().totalsBytes(kHalf, 1), sim::Bytes{3});
    EXPECT_EQ(readFile(0, 0, 4), "2000");
    reopenPort();
    EXPECT_EQ(readFile(0, 0, 4), "2000");
    // The next transaction copies the newer bank back onto the older one.
    ASSERT_EQ(HT_BeginTrans(), 0);
    EXPECT_EQ(module().totalsBytes(0, 1), sim::Bytes{0x84});
    ASSERT_EQ(HT_Write(0, "3000", 0, 4), 0);
    ASSERT_EQ(HT_Rollback(), 0);
    EXPECT_EQ(readFile(0, 0, 4), "2000");
}

TEST_F(MemorixFileStoreTest, PowerLostMidTransactionComesBackToTheCommittedBank) {
    enum class Cut { Begin, Write, Commit };
    for (Cut cut : {Cut::Begin, Cut::Write, Cut::Commit}) {
        SCOPED_TRACE(int(cut));
        freshModule();
        ASSERT_EQ(HT_ClearAll(), 0);
        create("SUM", 4);
        ASSERT_EQ(HT_Write(0, "1000", 0, 4), 0);
        // The power goes in the middle of the step's first change to the totals memory.
        if (cut == Cut::Begin) module().faults().arm(sim::FiscalMemorySim::kPowerLost);
        int code = HT_BeginTrans();
        if (cut != Cut::Begin) {
            ASSERT_EQ(code, 0);
            ASSERT_EQ(HT_Write(0, "2", 0, 1), 0);
            if (cut == Cut::Write) module().faults().arm(sim::FiscalMemorySim::kPowerLost);
            code = HT_Write(0, "2222", 0, 4);
            if (cut == Cut::Commit) {
                ASSERT_EQ(code, 0);
                module().faults().arm(sim::FiscalMemorySim::kPowerLost);
                code = HT_CommitTrans();
            }
        }
        EXPECT_EQ(code, MEMORIX_TIMEOUT);
        EXPECT_TRUE(module().powerLost());

        restartModule();
        reopenPort();
        EXPECT_EQ(readFile(0, 0, 4), "1000");
        int busy = -1;
        ASSERT_EQ(HT_Get_TransactionInProgress(&busy), 0);
        EXPECT_EQ(busy, 0);
        ASSERT_EQ(HT_BeginTrans(), 0);  // the store takes a new transaction
        ASSERT_EQ(HT_Write(0, "3000", 0, 4), 0);
        ASSERT_EQ(HT_CommitTrans(), 0);
        EXPECT_EQ(readFile(0, 0, 4), "3000");
    }
}

TEST_F(MemorixFileStoreTest, FilesSurviveARestartOfTheModule) {
    create("CEKANRCOUN", 6);
    ASSERT_EQ(HT_Write(0, "000042", 0, 6), 0);
    restartModule();
    reopenPort();
    int index = -1, size = 0;
    ASSERT_EQ(HT_Find("CEKANRCOUN", &index, &size), 0);
    EXPECT_EQ(readFile(index, 0, size), "000042");
}

TEST_F(MemorixFileStoreTest, ClearAllEmptiesTheStoreAndEndsATransaction) {
    create("A", 3);
    ASSERT_EQ(HT_BeginTrans(), 0);
    ASSERT_EQ(HT_ClearAll(), 0);
    int count = -1, busy = -1;
    ASSERT_EQ(HT_Get_NumberOfFiles(&count), 0);
    EXPECT_EQ(count, 0);
    ASSERT_EQ(HT_Get_TransactionInProgress(&busy), 0);
    EXPECT_EQ(busy, 0);
    EXPECT_EQ(module().totalsBytes(0, 1), sim::Bytes{2});
    EXPECT_EQ(module().totalsBytes(kHalf, 1), sim::Bytes{1});
}

// Runs calls in a second process on the same port, as the set-up program beside the till; its
// exit status is 0 when every call succeeded.
int inOtherProcess(const std::function<bool()>& calls) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(calls() ? 0 : 1);
    int status = -1;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool writeText(const char* name, const std::string& text) {
    int index = -1, size = -1;
    return HT_Find(name, &index, &size) == 0 && HT_Write(index, text.data(), 0, int(text.size())) == 0;
}

std::string textOf(const char* name, int length) {
    int index = -1, size = -1;
    std::string out(std::size_t(length), '\0');
    if (HT_Find(name, &index, &size) != 0 || HT_Read(index, out.data(), 0, length) != 0) return "(missing)";
    return out;
}

// Two processes write in turn, each in a transaction and outside one: neither process's next
// write puts back what it had read before the other's.
TEST_F(MemorixFileStoreTest, WritesOfTwoProcessesInTurnAreAllKept) {
    create("TILL", 8);
    ASSERT_TRUE(writeText("TILL", "till-1  "));
    EXPECT_EQ(inOtherProcess([] {
        return HT_BeginTrans() == 0 && [] { int i; return HT_Create("SETUP", &i, 8) == 0; }() &&
               writeText("SETUP", "setup-1 ") && HT_CommitTrans() == 0;
    }), 0);
    ASSERT_EQ(HT_BeginTrans(), 0);
    create("RECEIPT", 8);
    ASSERT_TRUE(writeText("RECEIPT", "rcpt-1  "));
    ASSERT_EQ(HT_CommitTrans(), 0);
    EXPECT_EQ(inOtherProcess([] { return writeText("TILL", "setup-2 ") && writeText("RECEIPT", "setup-3 "); }), 0);
    ASSERT_TRUE(writeText("SETUP", "till-2  "));

    int count = -1;
    ASSERT_EQ(HT_Get_NumberOfFiles(&count), 0);
    EXPECT_EQ(count, 3);
    // What a program started afresh finds.
    reopenPort();
    EXPECT_EQ(textOf("TILL", 8), "setup-2 ");
    EXPECT_EQ(textOf("SETUP", 8), "till-2  ");
    EXPECT_EQ(textOf("RECEIPT", 8), "setup-3 ");
}

}  // namespace
