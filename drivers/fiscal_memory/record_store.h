// The write-once record store in the module's fiscal memory: the record layout, appending with
// commit and the resumption of an interrupted append, records by index and by name.
#pragma once

#include "module.h"

#include <ctime>
#include <string_view>

namespace memorix {

constexpr int kMaxNameLength = 255;
constexpr int kMaxDataLength = 32000;
constexpr std::size_t kRecordHeader = 11;  // length, format, date and time, name length
constexpr std::size_t kRecordOverhead = 16;

struct RecordTime {
    int year, month, day, hour, minute, second;  // month 1-12
};

std::uint8_t toBcd(int value);
int fromBcd(std::uint8_t bcd);

// The whole record as it is stored: 0 and the bytes, or 255 when the zero-bit count overflows.
int buildRecord(std::string_view name, std::span<const std::uint8_t> data, const RecordTime& time, Bytes& record);

// Where an interrupted append resumes: given the bytes found between the committed end and the
// write address, the position from which the new record is written (bytes before it are kept,
// the last byte written is written again), or 102 when the new record cannot continue what was
// written.
int resumePosition(const Bytes& written, const Bytes& record, std::size_t& position);
// The time stamp of a record whose first bytes are written: the latest moment not later than now
// whose date and time fields agree with those that reached the memory (when none does, those
// fields with the rest from now).
RecordTime writtenTime(const Bytes& written, const RecordTime& now);

// Fills the date and time fields of time from a record header (the other fields stay).
void headerTime(const std::uint8_t* header, std::tm& time);

int freeBytes(Module& module, int& free);
int appendRecord(Module& module, std::string_view name, std::span<const std::uint8_t> data, const RecordTime& time);
int recordInfo(Module& module, int index, std::tm* time, int* nameAddress, int* nameLength, int* dataAddress, int* dataLength);
int typeRecordCount(Module& module, int first, int last, std::string_view name, int& count);
int typeRecordInfo(Module& module, int first, int last, std::string_view name, int k, int* recordIndex, std::tm* time,
                   int* dataAddress, int* dataLength);
int fillReadBuffer(Module& module, int address, int length, std::uint8_t* buffer);

}  // namespace memorix
