// The stores' pure parts: the record layout, where an interrupted append resumes, the bank choice
// and the directory rules.
#include "file_store.h"
#include "memorix.h"
#include "record_store.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>

namespace {

using memorix::Bytes;

const memorix::RecordTime kTime{2026, 3, 2, 10, 15, 7};

Bytes record(std::string_view name, const Bytes& data, const memorix::RecordTime& time = kTime) {
    Bytes out;
    EXPECT_EQ(memorix::buildRecord(name, data, time, out), 0);
    return out;
}

TEST(MemorixRecordLayout, HoldsLengthsBcdTimeNameDataAndZeroBitCount) {
    const Bytes data{'1', '2', '3', 0x00};
    Bytes r = record("Z", data);
    ASSERT_EQ(r.size(), 1 + data.size() + 16);
    EXPECT_EQ(r[0] | (r[1] << 8), 1 + 4 + 12);
    EXPECT_EQ(r[2], 0);  // format
    EXPECT_EQ((Bytes(r.begin() + 3, r.begin() + 10)), (Bytes{0x02, 0x03, 0x20, 0x26, 0x10, 0x15, 0x07}));
    EXPECT_EQ(r[10], 1);
    EXPECT_EQ(r[11], 'Z');
    EXPECT_EQ((Bytes(r.begin() + 12, r.begin() + 16)), data);
    int zeros = 0;
    for (std::size_t i = 0; i < 16; ++i) zeros += 8 - std::popcount(r[i]);
    EXPECT_EQ(r[16] | (r[17] << 8) | (r[18] << 16), zeros);
    EXPECT_EQ(r[19] | (r[20] << 8), 17);  // the trailing copy the module walks backward by
}

TEST(MemorixRecordLayout, EmptyNameStoresNameLengthZero) {
    Bytes r = record("", Bytes(5, 'x'));
    EXPECT_EQ(r[0] | (r[1] << 8), 5 + 12);
    EXPECT_EQ(r[10], 0);
}

TEST(MemorixRecordLayout, BcdRoundTrips) {
    for (int v : {0, 7, 10, 19, 20, 59, 99}) EXPECT_EQ(memorix::fromBcd(memorix::toBcd(v)), v);
    EXPECT_EQ(memorix::toBcd(26), 0x26);
    std::tm tm{};
    tm.tm_wday = 4;
    Bytes r = record("A", {1});
    memorix::headerTime(r.data(), tm);
    EXPECT_EQ(tm.tm_mday, 2);
    EXPECT_EQ(tm.tm_mon, 2);
    EXPECT_EQ(tm.tm_year, 126);
    EXPECT_EQ(tm.tm_hour, 10);
    EXPECT_EQ(tm.tm_min, 15);
    EXPECT_EQ(tm.tm_sec, 7);
    EXPECT_EQ(tm.tm_wday, 4);  // left as the caller had it
}

struct ResumeCase {
    const char* what;
    std::size_t writtenBytes;    // how much of the record reached the memory
    std::size_t erasedFrom;      // bytes from here on read back as erased (FF)
    bool sameRecord;
    int code;
    std::size_t position;
};

TEST(MemorixAppendResume, ContinuesOrRefusesAsTheWrittenBytesAllow) {
    const Bytes mine = record("DAY", Bytes(30, 'd'));
    const Bytes other = record("DAY", Bytes(30, 'e'));
    const ResumeCase cases[] = {
        {"two bytes, second written: compare the first, write again from 1", 2, 2, true, 0, 1},
        {"two bytes, second erased: write again from 0", 2, 1, true, 0, 0},
        {"cut inside the date and time: the last byte is written again", 5, 5, true, 0, 4},
        {"cut behind the date and time: the last byte is written again", 10, 10, true, 0, 9},
        {"cut in the data: the last byte is written again", 20, 20, true, 0, 19},
        {"erased tail after the last written byte", 20, 15, true, 0, 14},
        {"another record's bytes", 20, 20, false, MEMORIX_REWRITE_RECORD, 0},
        {"more written than the new record holds", mine.size() + 1, mine.size() + 1, true, MEMORIX_REWRITE_RECORD, 0},
    };
    for (const auto& c : cases) {
        const Bytes& source = c.sameRecord ? mine : other;
        Bytes written(c.writtenBytes, 0xFF);
        for (std::size_t i = 0; i < std::min(c.erasedFrom, c.writtenBytes); ++i) written[i] = source[i % source.size()];
        std::size_t position = 999;
        EXPECT_EQ(memorix::resumePosition(written, mine, position), c.code) << c.what;
        if (c.code == 0) {
            EXPECT_EQ(position, c.position) << c.what;
        }
    }
}

struct WrittenTimeCase {
    const char* what;
    std::size_t writtenBytes;
    memorix::RecordTime expected;
};

TEST(MemorixAppendResume, TimeStampIsTheOneWrittenAsFarAsItGot) {
    const memorix::RecordTime begun{2026, 3, 2, 23, 59, 58};
    const memorix::RecordTime now{2027, 4, 3, 0, 1, 2};
    Bytes started;
    ASSERT_EQ(memorix::buildRecord("DAY", Bytes(30, 'd'), begun, started), 0);
    const WrittenTimeCase cases[] = {
        {"nothing of the time stamp", 3, now},
        // The rest is the latest moment not later than now.
        {"day and month", 5, {2027, 3, 2, 23, 59, 59}},
        {"the date", 7, {2026, 3, 2, 23, 59, 59}},
        {"all but the second", 9, {2026, 3, 2, 23, 59, 59}},
        {"the whole time stamp", 10, begun},
        {"into the data", 20, begun},
    };
    for (const auto& c : cases) {
        const Bytes written(started.begin(), started.begin() + std::ptrdiff_t(c.writtenBytes));
        const memorix::RecordTime t = memorix::writtenTime(written, now);
        EXPECT_EQ((std::array{t.year, t.month, t.day, t.hour, t.minute, t.second}),
                  (std::array{c.expected.year, c.expected.month, c.expected.day, c.expected.hour, c.expected.minute,
                              c.expected.second}))
            << c.what;
    }
}

struct BankCase {
    std::uint8_t header0, header1;
    int active;
};

TEST(MemorixBanks, ActiveBankFollowsTheGenerations) {
    const BankCase cases[] = {{15, 1, 1}, {1, 15, 0}, {3, 7, -1}, {2, 1, 0}, {2, 3, 1}, {0x82, 1, 0},
                              {2, 0x83, 1}, {0, 0, -1}, {5, 5, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(memorix::activeBank(c.header0, c.header1), c.active) << int(c.header0) << "/" << int(c.header1);
}

memorix::FileEntry entry(const char* name, std::uint32_t offset, std::uint32_t size) {
    memorix::FileEntry e;
    e.name = memorix::storedName(name);
    e.offset = offset;
    e.size = size;
    return e;
}

TEST(MemorixDirectory, RulesRefuseGapsEmptyNamesAndOverruns) {
    const std::uint32_t usable = 200;
    EXPECT_TRUE(memorix::directoryValid({}, usable));
    EXPECT_TRUE(memorix::directoryValid({entry("A", 34, 40), entry("B", 74, 126)}, usable));  // ends on the last byte
    EXPECT_FALSE(memorix::directoryValid({entry("A", 34, 40), entry("B", 74, 127)}, usable));
    EXPECT_FALSE(memorix::directoryValid({entry("A", 34, 40), entry("B", 75, 10)}, usable));
    EXPECT_FALSE(memorix::directoryValid({entry("", 18, 10)}, usable));
    EXPECT_FALSE(memorix::directoryValid({entry("A", 18, 0)}, usable));
    auto reserved = entry("A", 18, 4);
    reserved.reserved = 1;
    EXPECT_FALSE(memorix::directoryValid({reserved}, usable));
}

TEST(MemorixDirectory, EncodesSixteenByteEntries) {
    Bytes d = memorix::encodeDirectory({entry("CEKANRCOUNTER", 18, 0x0102)});
    EXPECT_EQ(d, (Bytes{1, 0, 'C', 'E', 'K', 'A', 'N', 'R', 'C', 'O', 'U', 'N', 18, 0, 0, 2, 1, 0}));
}

}  // namespace
