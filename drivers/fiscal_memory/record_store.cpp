#include "record_store.h"

#include "memorix.h"

#include <bit>
#include <new>

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

RecordTime writtenTime(const Bytes& written, const RecordTime& now) {
    // Fields from the date and time bytes that reached the memory (offsets 3 to 9, as far as the
    // last written byte); the fields never written come from now.
    const std::size_t k = lastWrittenPosition(written);
    RecordTime time = now;
    const auto at = [&](std::size_t offset, int& field) {
        if (offset <= k && offset < written.size()) field = fromBcd(written[offset]);
    };
    at(3, time.day);
    at(4, time.month);
    int century = now.year / 100, year = now.year % 100;
    at(5, century);
    at(6, year);
    time.year = century * 100 + year;
    at(7, time.hour);
    at(8, time.minute);
    at(9, time.second);
    return time;
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
