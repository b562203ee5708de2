// The write-once record store against the module simulator: append, read back, locate, search by
// name, and the recovery of an interrupted append.
#include "module_fixture.h"
#include "record_store.h"

#include <cstring>
#include <ctime>
#include <tuple>

namespace {

class MemorixRecordStoreTest : public ModuleTest {
protected:
    void append(const std::string& name, const std::string& data) {
        ASSERT_EQ(FM_AppendRecord(name.c_str(), data.data(), int(data.size())), 0) << name;
    }

    std::string readAt(int address, int length) {
        std::string out(std::size_t(length), '\0');
        EXPECT_EQ(FM_FillReadBuf(address, length, out.data()), 0);
        return out;
    }

    struct Info {
        std::tm time{};
        int nameAddress = 0, nameLength = 0, dataAddress = 0, dataLength = 0;
    };
    int info(int index, Info& out) {
        return FM_GetRecordInfo(index, &out.time, &out.nameAddress, &out.nameLength, &out.dataAddress, &out.dataLength);
    }
};

TEST_F(MemorixRecordStoreTest, RecordRoundTripWithTimeNameAndData) {
    append("ZREPORT", "0001;123.45;02.03.2026");
    Info r;
    ASSERT_EQ(info(0, r), 0);
    // The test clock stands at 2026-03-02 10:15:00.
    EXPECT_EQ(r.time.tm_mday, 2);
    EXPECT_EQ(r.time.tm_mon, 2);
    EXPECT_EQ(r.time.tm_year, 126);
    EXPECT_EQ(r.time.tm_hour, 10);
    EXPECT_EQ(r.time.tm_min, 15);
    EXPECT_EQ(r.time.tm_sec, 0);
    EXPECT_EQ(readAt(r.nameAddress, r.nameLength), "ZREPORT");
    EXPECT_EQ(readAt(r.dataAddress, r.dataLength), "0001;123.45;02.03.2026");
    EXPECT_EQ(r.nameAddress, 11);

    // What the module holds: BCD time and the count of zero bits up to the last data byte.
    const auto stored = module().fiscalBytes(0, 7 + 22 + 16);
    EXPECT_EQ((sim::Bytes(stored.begin() + 3, stored.begin() + 10)), (sim::Bytes{0x02, 0x03, 0x20, 0x26, 0x10, 0x15, 0x00}));
    int zeros = 0;
    for (std::size_t i = 0; i < 11 + 7 + 22; ++i) zeros += 8 - __builtin_popcount(stored[i]);
    EXPECT_EQ(stored[40] | (stored[41] << 8) | (stored[42] << 16), zeros);

    int free = 0;
    ASSERT_EQ(FM_GetFreeBytesCount(&free), 0);
    EXPECT_EQ(free, 0x10000 - 45);
}

TEST_F(MemorixRecordStoreTest, RecordsSurviveARestartOfTheModule) {
    append("A", "first");
    append("B", "second");
    restartModule();
    int count = 0;
    ASSERT_EQ(FM_GetRecordCount(&count), 0);
    EXPECT_EQ(count, 2);
    Info r;
    ASSERT_EQ(info(-1, r), 0);
    EXPECT_EQ(readAt(r.dataAddress, r.dataLength), "second");
}

TEST_F(MemorixRecordStoreTest, IndexesCountFromTheEndAndStopAtTheRecords) {
    for (int i = 0; i < 10; ++i) append("R", "record " + std::to_string(i));
    Info r;
    ASSERT_EQ(info(-1, r), 0);
    EXPECT_EQ(readAt(r.dataAddress, r.dataLength), "record 9");
    ASSERT_EQ(info(-10, r), 0);
    EXPECT_EQ(readAt(r.dataAddress, r.dataLength), "record 0");
    EXPECT_EQ(info(10, r), MEMORIX_NO_SUCH_RECORD);
    EXPECT_EQ(r.dataLength, 0);
    EXPECT_EQ(info(-11, r), MEMORIX_NO_SUCH_RECORD);
}

TEST_F(MemorixRecordStoreTest, LocatesFromTheNearerEnd) {
    for (int i = 0; i < 10; ++i) append("R", "record " + std::to_string(i));
    int count = 0;
    ASSERT_EQ(FM_GetRecordCount(&count), 0);
    ASSERT_EQ(count, 10);
    struct Case {
        int index;
        memorix::Request locate;
        std::uint32_t from;  // address set before the walk
        const char* data;
    };
    sim::FiscalMemorySim::Positions end = module().positions();
    const Case cases[] = {{-1, memorix::locateBackwardRequest(1), end.committedEnd, "record 9"},
                          {4, memorix::locateForwardRequest(4), 0, "record 4"},
                          {5, memorix::locateBackwardRequest(5), end.committedEnd, "record 5"}};
    for (const auto& c : cases) {
        module().trace().clear();
        Info r;
        ASSERT_EQ(info(c.index, r), 0) << c.index;
        EXPECT_EQ(readAt(r.dataAddress, r.dataLength), c.data);
        auto sent = requests();
        ASSERT_GE(sent.size(), 3u);
        EXPECT_EQ(sent[1], wire(memorix::setAddressRequest(c.from).request)) << c.index;
        EXPECT_EQ(sent[2], wire(c.locate)) << c.index;
    }
}

TEST_F(MemorixRecordStoreTest, NoRecordsMeansNoSuchRecordAfterOneStatus) {
    Info r;
    EXPECT_EQ(info(0, r), MEMORIX_NO_SUCH_RECORD);
    EXPECT_EQ(commands(), std::vector<std::string>{"status"});
}

TEST_F(MemorixRecordStoreTest, CountsAndFindsRecordsByName) {
    // Records 0..7: X A B A X A B A
    const char* names[] = {"X", "A", "B", "A", "X", "A", "B", "A"};
    for (int i = 0; i < 8; ++i) append(names[i], std::string("data ") + char('0' + i));
    int count = -1;
    ASSERT_EQ(FM_GetTypeRecordCount(0, -1, "A", &count), 0);
    EXPECT_EQ(count, 4);
    ASSERT_EQ(FM_GetTypeRecordCount(2, 6, "A", &count), 0);  // records 2..5
    EXPECT_EQ(count, 2);
    ASSERT_EQ(FM_GetTypeRecordCount(3, 3, "A", &count), 0);  // record 3 lies outside its own range end
    EXPECT_EQ(count, 0);
    ASSERT_EQ(FM_GetTypeRecordCount(0, -1, "AB", &count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(FM_GetTypeRecordCount(5, 2, "A", &count), MEMORIX_BAD_PARAMETERS);

    struct Case {
        int first, last, k;
        int code, index;
    };
    const Case cases[] = {{0, -1, 0, 0, 1}, {0, -1, 2, 0, 5}, {0, -1, -1, 0, 7}, {2, -1, 0, 0, 3},
                          {0, 5, -1, 0, 3}, {0, -1, 4, MEMORIX_NO_SUCH_RECORD, 0}, {0, 1, -1, MEMORIX_NO_SUCH_RECORD, 0}};
    for (const auto& c : cases) {
        int index = -1, dataAddress = 0, dataLength = -1;
        std::tm tm{};
        EXPECT_EQ(FM_GetTypeRecordInfo(c.first, c.last, "A", c.k, &index, &tm, &dataAddress, &dataLength), c.code)
            << c.first << " " << c.last << " " << c.k;
        if (c.code) {
            EXPECT_EQ(dataLength, 0);
            continue;
        }
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(readAt(dataAddress, dataLength), std::string("data ") + char('0' + c.index));
        EXPECT_EQ(tm.tm_year, 126);
    }
}

TEST_F(MemorixRecordStoreTest, AppendRefusesBadArgumentsBeforeSendingAnything) {
    std::string name256(256, 'N');
    std::string data(32001, 'd');
    EXPECT_EQ(FM_AppendRecord(name256.c_str(), data.data(), 10), MEMORIX_NAME_TOO_LONG);
    EXPECT_EQ(FM_AppendRecord("N", data.data(), 32001), MEMORIX_BAD_PARAMETERS);
    EXPECT_EQ(FM_AppendRecord("N", data.data(), 0), MEMORIX_BAD_PARAMETERS);
    EXPECT_TRUE(requests().empty());
    std::string name255(255, 'N');
    EXPECT_EQ(FM_AppendRecord(name255.c_str(), data.data(), 32000), 0);
    Info r;
    ASSERT_EQ(info(0, r), 0);
    EXPECT_EQ(r.nameLength, 255);
    EXPECT_EQ(r.dataLength, 32000);
}

TEST_F(MemorixRecordStoreTest, EmptyNameStoresLengthFieldOfDataPlusTwelve) {
    append("", "12345");
    EXPECT_EQ(module().fiscalBytes(0, 2), (sim::Bytes{17, 0}));
    EXPECT_EQ(module().fiscalBytes(10, 1), (sim::Bytes{0}));
}

TEST_F(MemorixRecordStoreTest, AppendNeedsOneByteMoreThanTheRecord) {
    sim::FiscalMemorySim::Options small;
    small.fiscalSize = 2 * (16 + 1 + 10);  // two records of a 1-character name and 10 data bytes
    freshModule(small);
    append("A", "0123456789");
    EXPECT_EQ(FM_AppendRecord("A", "0123456789", 10), MEMORIX_NO_ROOM);  // free equals the record's length
    EXPECT_EQ(FM_AppendRecord("A", "012345678", 9), 0);                  // one byte to spare
}

TEST_F(MemorixRecordStoreTest, CommitThatReportsAnErrorButCommittedCountsAsDone) {
    module().faults().arm(sim::FiscalMemorySim::kCommitErrorYetCommits);
    append("A", "kept");
    int count = 0;
    ASSERT_EQ(FM_GetRecordCount(&count), 0);
    EXPECT_EQ(count, 1);
}

struct InterruptedAppend {
    const char* what;
    std::size_t bytesWritten;
    bool sameRecord;
    int code;
    std::uint32_t resumeAt;  // address the resumed write starts at
};

TEST_F(MemorixRecordStoreTest, InterruptedAppendIsResumedOrRefused) {
    const InterruptedAppend cases[] = {
        {"two bytes: compare the first, write again from 1", 2, true, 0, 1},
        {"cut in the name: the last byte written again", 12, true, 0, 11},
        {"cut inside the date and time: the last byte written again", 5, true, 0, 4},
        {"another record", 25, false, MEMORIX_REWRITE_RECORD, 0},
    };
    for (const auto& c : cases) {
        freshModule();
        module().setPartialWriteBytes(c.bytesWritten);
        module().faults().arm(sim::FiscalMemorySim::kPartialWrite);
        EXPECT_EQ(FM_AppendRecord("DAYCLOSE", "0001;100.00", 11), MEMORIX_TIMEOUT) << c.what;
        auto pos = module().positions();
        EXPECT_EQ(pos.writeAddress - pos.committedEnd, c.bytesWritten) << c.what;

        module().trace().clear();
        const char* data = c.sameRecord ? "0001;100.00" : "0002;100.00";
        EXPECT_EQ(FM_AppendRecord("DAYCLOSE", data, 11), c.code) << c.what;
        int count = -1;
        ASSERT_EQ(FM_GetRecordCount(&count), 0);
        EXPECT_EQ(count, c.code ? 0 : 1) << c.what;
        if (c.code) continue;
        auto sent = requests();
        auto at = std::find(sent.begin(), sent.end(), wire(memorix::setAddressRequest(c.resumeAt).request));
        EXPECT_NE(at, sent.end()) << c.what;
        Info r;
        ASSERT_EQ(info(0, r), 0);
        EXPECT_EQ(readAt(r.dataAddress, r.dataLength), "0001;100.00") << c.what;
    }
}

// A retry after the clock moved on finishes the record that was begun, wherever the line
// dropped: the record keeps the time stamp it was begun with.
TEST_F(MemorixRecordStoreTest, InterruptedAppendIsFinishedAfterTheClockMoved) {
    const std::string data = "   5        1500 02.03.2026 10:15";
    memorix::Bytes whole;
    ASSERT_EQ(memorix::buildRecord("5", memorix::Bytes(data.begin(), data.end()), {2026, 3, 2, 10, 15, 0}, whole), 0);
    const auto start = clock().now();
    for (std::size_t cut = 1; cut < whole.size(); ++cut) {
        freshModule();
        clock().set(start);
        module().setPartialWriteBytes(cut);
        module().faults().arm(sim::FiscalMemorySim::kPartialWrite);
        EXPECT_EQ(FM_AppendRecord("5", data.data(), int(data.size())), MEMORIX_TIMEOUT) << cut;
        clock().advance(std::chrono::hours(25) + std::chrono::seconds(61));
        reopenPort();
        ASSERT_EQ(FM_AppendRecord("5", data.data(), int(data.size())), 0) << cut;
        int count = -1;
        ASSERT_EQ(FM_GetRecordCount(&count), 0);
        EXPECT_EQ(count, 1) << cut;
        const sim::Bytes stored = module().fiscalBytes(0, whole.size());
        if (cut > 10) {
            EXPECT_EQ(stored, whole) << cut;
        } else {
            // Only the date and time fields that reached the memory are the first call's.
            EXPECT_EQ(sim::Bytes(stored.begin() + 10, stored.end() - 5), sim::Bytes(whole.begin() + 10, whole.end() - 5)) << cut;
        }
        auto pos = module().positions();
        EXPECT_EQ(pos.writeAddress, pos.committedEnd) << cut;
    }
}

// A record cut inside its time stamp and resumed later is dated with the latest moment that agrees
// with every stamp byte written and is not later than the resume: never a date to come, after
// which the till's start would refuse to run.
TEST_F(MemorixRecordStoreTest, CutStampIsCompletedWithAMomentNotLaterThanTheResume) {
    struct Moment {
        int year, month, day, hour, minute, second;
    };
    const auto at = [](const Moment& m) {
        std::tm tm{};
        tm.tm_year = m.year - 1900;
        tm.tm_mon = m.month - 1;
        tm.tm_mday = m.day;
        tm.tm_hour = m.hour;
        tm.tm_min = m.minute;
        tm.tm_sec = m.second;
        tm.tm_isdst = -1;
        return std::chrono::system_clock::from_time_t(std::mktime(&tm));
    };
    struct Case {
        const char* what;
        std::size_t bytesWritten;  // the stamp's fields lie at offsets 3 to 9
        Moment begun, resumed, stored;
    };
    const Case cases[] = {
        {"after day and month, resumed in the new year", 5, {2026, 12, 31, 23, 59, 30}, {2027, 1, 2, 8, 0, 0},
         {2026, 12, 31, 23, 59, 59}},
        {"after the day, resumed in a month without it", 4, {2027, 1, 31, 10, 0, 0}, {2027, 3, 1, 9, 0, 0},
         {2027, 1, 31, 23, 59, 59}},
        {"after the year, resumed the next day", 7, {2026, 3, 2, 10, 15, 0}, {2026, 3, 3, 7, 0, 0},
         {2026, 3, 2, 23, 59, 59}},
        {"after the hour, resumed the same day", 8, {2026, 3, 2, 10, 15, 0}, {2026, 3, 2, 12, 30, 10},
         {2026, 3, 2, 10, 59, 59}},
        {"before the stamp", 2, {2026, 3, 2, 10, 15, 0}, {2026, 3, 3, 7, 0, 0}, {2026, 3, 3, 7, 0, 0}},
    };
    const std::string data = "  12        1500";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        freshModule();
        clock().set(at(c.begun));
        module().setPartialWriteBytes(c.bytesWritten);
        module().faults().arm(sim::FiscalMemorySim::kPartialWrite);
        EXPECT_EQ(FM_AppendRecord("12", data.data(), int(data.size())), MEMORIX_TIMEOUT);
        clock().set(at(c.resumed));
        reopenPort();
        ASSERT_EQ(FM_AppendRecord("12", data.data(), int(data.size())), 0);
        Info r;
        ASSERT_EQ(info(0, r), 0);
        EXPECT_EQ(readAt(r.dataAddress, r.dataLength), data);
        const Moment stored{r.time.tm_year + 1900, r.time.tm_mon + 1, r.time.tm_mday,
                            r.time.tm_hour, r.time.tm_min, r.time.tm_sec};
        EXPECT_EQ(std::tie(stored.year, stored.month, stored.day, stored.hour, stored.minute, stored.second),
                  std::tie(c.stored.year, c.stored.month, c.stored.day, c.stored.hour, c.stored.minute, c.stored.second));
    }
}

}  // namespace
