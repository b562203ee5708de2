#include "record_store.h"

#include "memorix.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <new>
#include <optional>

namespace memorix {
namespace {

constexpr int kRetryStatusAfterCommit = 5;
constexpr std::uint8_t kErased = 0xFF;

std::size_t lastWrittenPosition(const Bytes& written) {
    // The last byte that is not erased may have been cut off half programmed: it is written
    // again, with everything after it.
    for (std::size_t i = written.size(); i-- > 1;)
        if (written[i] != kErased) return i;
    return 0;
}

Bytes namePattern(std::string_view name) {
    Bytes pattern{std::uint8_t(name.size())};
    pattern.insert(pattern.end(), name.begin(), name.end());
    return pattern;
}

// The checks and the end address shared by counting and finding by name. Record last itself
// lies outside the range: the end address is its start.
int searchRange(Module& module, int first, int last, std::string_view name, std::uint32_t& endAddress) {
    if (name.size() > std::size_t(kMaxNameLength) || (last >= 0 && last < first)) return MEMORIX_BAD_PARAMETERS;
    Status now;
    if (last != -1) {
        std::uint16_t lengthField;
        if (int code = module.locateRecord(last, lengthField)) return code;
    }
    if (int code = module.status(now)) return code;
    endAddress = last == -1 ? now.committedEnd : now.currentAddress;
    return 0;
}

}  // namespace

std::uint8_t toBcd(int value) {
    auto v = std::uint8_t(value);
    return std::uint8_t((((v / 10) & 0x0F) << 4) + v % 10);
}

int fromBcd(std::uint8_t bcd) { return (bcd >> 4) * 10 + (bcd & 0x0F); }

int buildRecord(std::string_view name, std::span<const std::uint8_t> data, const RecordTime& time, Bytes& record) {
    const std::size_t n = name.size();
    const std::size_t m = data.size();
    const auto lengthField = std::uint32_t(n + m + 12);
    record.clear();
    record.reserve(n + m + kRecordOverhead);
    putLittle(record, lengthField, 2);
    record.push_back(0);  // format
    record.push_back(toBcd(time.day));
    record.push_back(toBcd(time.month));
    record.push_back(toBcd(time.year / 100));
    record.push_back(toBcd(time.year % 100));
    record.push_back(toBcd(time.hour));
    record.push_back(toBcd(time.minute));
    record.push_back(toBcd(time.second));
    record.push_back(std::uint8_t(n));
    record.insert(record.end(), name.begin(), name.end());
    record.insert(record.end(), data.begin(), data.end());
    std::uint32_t zeroBits = 0;
    for (std::uint8_t b : record) zeroBits += 8 - std::popcount(b);
    if (zeroBits > kMaxAddress) return MEMORIX_INTERNAL;
    putLittle(record, zeroBits, 3);
    putLittle(record, lengthField, 2);
    return 0;
}

namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::months;
using std::chrono::year;
using std::chrono::year_month_day;

// The time stamp's seven fields in the order they lie in the record, from offset 3 on.
enum StampField { kDay, kMonth, kCentury, kYear, kHour, kMinute, kSecond, kStampFields };
constexpr std::size_t kStampOffset = 3;

year_month_day dateOf(int y, int m, int d) { return year{y} / month{unsigned(m)} / day{unsigned(d)}; }

// The latest date not after today whose fields written (the first `fixed` of day, month, century,
// year) are the ones given. A day of the month alone is found within a year back, a day and month
// within 8 years (29 February), a century's years within that century.
std::optional<year_month_day> latestDate(const int (&field)[kStampFields], int fixed, const year_month_day& today) {
    if (fixed == 0) return today;
    const auto fits = [&](const year_month_day& date) { return date.ok() && date <= today; };
    if (fixed == 1) {
        for (int back = 0; back <= 12; ++back) {
            const auto date = (today.year() / today.month() - months{back}) / day{unsigned(field[kDay])};
            if (fits(date)) return date;
        }
        return std::nullopt;
    }
    int newest = int(today.year()), oldest = newest - 8;
    if (fixed >= 3) {
        const int first = field[kCentury] * 100;
        newest = std::min(newest, first + (fixed >= 4 ? field[kYear] : 99));
        oldest = fixed >= 4 ? newest : first;
        if (fixed >= 4 && first + field[kYear] != newest) return std::nullopt;  // a year to come
    }
    for (int y = newest; y >= oldest; --y) {
        const auto date = dateOf(y, field[kMonth], field[kDay]);
        if (fits(date)) return date;
    }
    return std::nullopt;
}

}  // namespace

RecordTime writtenTime(const Bytes& written, const RecordTime& now) {
    // The stamp fields that reached the memory: those up to the last written byte. The record
    // continued must agree with them, and its moment must be a real one not later than now (a
    // stamp in the future would stop the till's start until that day): the latest such moment.
    const std::size_t k = lastWrittenPosition(written);
    const int fixed = k < kStampOffset ? 0 : int(std::min<std::size_t>(k - kStampOffset + 1, kStampFields));
    int field[kStampFields] = {now.day, now.month, now.year / 100, now.year % 100, now.hour, now.minute, now.second};
    for (int i = 0; i < fixed; ++i) field[i] = fromBcd(written[kStampOffset + std::size_t(i)]);

    const year_month_day today = dateOf(now.year, now.month, now.day);
    const auto date = latestDate(field, fixed, today);
    // The time of day: up to now on today's date, up to 23:59:59 on an earlier one.
    const bool isToday = date && *date == today;
    const int limit[3] = {isToday ? now.hour : 23, isToday ? now.minute : 59, isToday ? now.second : 59};
    const int latest[3] = {23, 59, 59};
    int hms[3];
    bool earlier = false, found = date.has_value();
    for (int i = 0; i < 3 && found; ++i) {
        if (kHour + i < fixed) {
            hms[i] = field[kHour + i];
            found = hms[i] <= latest[i] && (earlier || hms[i] <= limit[i]);
            earlier = earlier || hms[i] < limit[i];
        } else {
            hms[i] = earlier ? latest[i] : limit[i];
        }
    }
    if (!found) {
        // No moment up to now agrees with the bytes (the clock was set back, or they are no date):
        // the bytes written stay, the rest is taken from now.
        return {field[kCentury] * 100 + field[kYear], field[kMonth], field[kDay], field[kHour], field[kMinute], field[kSecond]};
    }
    return {int(date->year()), int(unsigned(date->month())), int(unsigned(date->day())), hms[0], hms[1], hms[2]};
}

int resumePosition(const Bytes& written, const Bytes& record, std::size_t& position) {
    if (written.size() > record.size()) return MEMORIX_REWRITE_RECORD;
    const std::size_t k = lastWrittenPosition(written);
    for (std::size_t i = 0; i < k; ++i)
        if (written[i] != record[i]) return MEMORIX_REWRITE_RECORD;
    position = k;
    return 0;
}

void headerTime(const std::uint8_t* header, std::tm& time) {
    time.tm_mday = fromBcd(header[3]);
    time.tm_mon = fromBcd(header[4]) - 1;
    time.tm_year = (fromBcd(header[5]) - 19) * 100 + fromBcd(header[6]);
    time.tm_hour = fromBcd(header[7]);
    time.tm_min = fromBcd(header[8]);
    time.tm_sec = fromBcd(header[9]);
}

int freeBytes(Module& module, int& free) {
    Status now;
    Information info;
    if (int code = module.status(now)) return code;
    if (int code = module.information(info)) return code;
    free = int(info.size) - int(now.committedEnd);
    return 0;
}

int appendRecord(Module& module, std::string_view name, std::span<const std::uint8_t> data, const RecordTime& time) {
    if (name.size() > std::size_t(kMaxNameLength)) return MEMORIX_NAME_TOO_LONG;
    if (data.size() < 1 || data.size() > std::size_t(kMaxDataLength)) return MEMORIX_BAD_PARAMETERS;
    Bytes record;
    try {
        if (int code = buildRecord(name, data, time, record)) return code;
    } catch (const std::bad_alloc&) {
        return MEMORIX_NO_MEMORY;
    }
    int free = 0;
    if (int code = freeBytes(module, free)) return code;
    if (free - 1 < int(record.size())) return MEMORIX_NO_ROOM;

    Status before;
    if (int code = module.status(before)) return code;
    const std::uint32_t committed = before.committedEnd;
    if (committed > before.writeAddress) return MEMORIX_INTERNAL;
    if (int code = module.setAddress(Memory::Fiscal, committed)) return code;
    if (before.writeAddress == committed) {
        if (int code = module.writeBlock(Memory::Fiscal, record.data(), int(record.size()))) return code;
    } else {
        // An earlier append wrote part of a record and was not committed: the write-once memory
        // cannot take it back, so the new record must continue it.
        const std::uint32_t pending = before.writeAddress - committed;
        if (pending > 0xFFFF) return MEMORIX_INTERNAL;
        if (pending > record.size()) return MEMORIX_REWRITE_RECORD;
        Bytes written(pending);
        if (int code = module.readBlock(Memory::Fiscal, written.data(), int(pending))) return code;
        // The record continued keeps the time stamp it was begun with: a retry of the same record
        // after the clock moved on must still find its own bytes.
        try {
            if (int code = buildRecord(name, data, writtenTime(written, time), record)) return code;
        } catch (const std::bad_alloc&) {
            return MEMORIX_NO_MEMORY;
        }
        std::size_t k = 0;
        if (int code = resumePosition(written, record, k)) return code;
        if (int code = module.setAddress(Memory::Fiscal, committed + std::uint32_t(k))) return code;
        if (int code = module.writeBlock(Memory::Fiscal, record.data() + k, int(record.size() - k))) return code;
    }
    int commitCode = module.commit();
    if (commitCode == 0) return 0;
    // The commit's reply may be lost or wrong while the record did land: the record count decides.
    for (int attempt = 0; attempt < kRetryStatusAfterCommit; ++attempt) {
        Status after;
        if (module.status(after) == 0) return after.records == before.records + 1 ? 0 : commitCode;
    }
    return commitCode;
}

int recordInfo(Module& module, int index, std::tm* time, int* nameAddress, int* nameLength, int* dataAddress, int* dataLength) {
    *dataLength = 0;
    std::uint16_t lengthField = 0;
    if (int code = module.locateRecord(index, lengthField)) return code;
    *dataLength = int(lengthField) - 12;
    std::uint8_t header[kRecordHeader];
    if (int code = module.readBlock(Memory::Fiscal, header, int(kRecordHeader))) return code;
    if (header[2] != 0) return MEMORIX_UNKNOWN_FORMAT;
    headerTime(header, *time);
    *nameLength = header[10];
    Status now;
    if (int code = module.status(now)) return code;
    *nameAddress = int(now.currentAddress);
    *dataAddress = *nameAddress + *nameLength;
    *dataLength -= *nameLength;
    return 0;
}

int typeRecordCount(Module& module, int first, int last, std::string_view name, int& count) {
    std::uint32_t endAddress = 0;
    if (int code = searchRange(module, first, last, name, endAddress)) return code;
    std::uint16_t lengthField;
    if (int code = module.locateRecord(first, lengthField)) return code;
    Found found;
    if (int code = module.search(0xFFFF, endAddress, namePattern(name), found)) return code;
    count = 0xFFFF - found.remaining;
    return 0;
}

int typeRecordInfo(Module& module, int first, int last, std::string_view name, int k, int* recordIndex, std::tm* time,
                   int* dataAddress, int* dataLength) {
    *dataLength = 0;
    std::uint32_t endAddress = 0;
    if (int code = searchRange(module, first, last, name, endAddress)) return code;
    const Bytes pattern = namePattern(name);
    std::uint16_t lengthField;
    Found found;
    if (k == -1) {
        if (int code = module.locateRecord(first, lengthField)) return code;
        if (int code = module.search(0xFFFF, endAddress, pattern, found)) return code;
        k = 0xFFFE - found.remaining;
    }
    if (int code = module.locateRecord(first, lengthField)) return code;
    if (k < 0 || k > 0xFFFE) return MEMORIX_NO_SUCH_RECORD;
    if (int code = module.search(std::uint16_t(k + 1), endAddress, pattern, found)) return code;
    if (found.remaining != 0) return MEMORIX_NO_SUCH_RECORD;
    *recordIndex = first + found.relativeIndex;
    *dataLength = int(found.lengthField) - 12 - int(name.size());
    std::uint8_t header[kRecordHeader];
    if (int code = module.readBlock(Memory::Fiscal, header, int(kRecordHeader))) return code;
    if (header[2] != 0) return MEMORIX_UNKNOWN_FORMAT;
    headerTime(header, *time);
    Status now;
    if (int code = module.status(now)) return code;
    *dataAddress = int(now.currentAddress) + int(name.size());
    return 0;
}

int fillReadBuffer(Module& module, int address, int length, std::uint8_t* buffer) {
    if (address < 0) return MEMORIX_BAD_PARAMETERS;
    if (int code = module.setAddress(Memory::Fiscal, std::uint32_t(address))) return code;
    if (length < 0 || length > 0xFFFF) return MEMORIX_BAD_PARAMETERS;
    return module.readBlock(Memory::Fiscal, buffer, length);
}

}  // namespace memorix
