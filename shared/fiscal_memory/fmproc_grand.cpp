// TFMProc, module kind: day-close records in the write-once store, the record count and the
// serial number.
#include "fmproc.h"

#include "codepage_1257.h"
#include "memorix.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <string>
#include <vector>

bool TFMProc::FMReadGrandMRX(int index, DayCloseRecord& record)
{
    if (index == -1) {
        int count = 0;
        const int rc = FM_GetRecordCount(&count);
        if (rc != MEMORIX_OK) {
            FMError(rc, {}, QStringLiteral("FM_GetRecordCount-FMReadGrandMRX"), {});
            Status = -1;
            return false;
        }
        index = count - 1;
    }
    DayCloseRecord defaults;
    defaults.check = record.check;  // the module's older records have no check: the caller's stays
    record = defaults;
    // Record 0 of the store is never a day-close record.
    if (index <= 0)
        return true;

    std::tm stamp{};
    int nameAddress = 0, nameLength = 0, dataAddress = 0, dataLength = 0;
    int rc = FM_GetRecordInfo(index, &stamp, &nameAddress, &nameLength, &dataAddress, &dataLength);
    std::vector<char> data(std::size_t(dataLength > 0 ? dataLength : 0), '\0');
    if (rc == MEMORIX_OK && !data.empty())
        rc = FM_FillReadBuf(dataAddress, dataLength, data.data());
    if (rc != MEMORIX_OK) {
        FMError(rc, {}, QStringLiteral("FM_GetRecordInfo-FMReadGrandMRX"), {});
        return false;
    }
    std::string_view text(data.data(), data.size());
    text = text.substr(0, text.find('\0'));
    parseDayCloseRecord(memorixLayoutOf(text), text, record);
    return true;
}

bool TFMProc::FMWriteGrandMRX(const DayCloseRecord& record)
{
    const std::string text = formatDayCloseRecord(DayCloseLayout::Memorix, record);
    const int rc = FM_AppendRecord(std::to_string(record.nr).c_str(), text.data(), int(text.size()));
    if (rc == MEMORIX_OK)
        return true;
    FMError(rc, {}, QStringLiteral("FM_AppendRecord-FMWriteGrandMRX"), fromCp1257(text));
    return false;
}

// Behind the committed records the memory is erased (0xFF) unless an append wrote there and was
// not committed. A record's first bytes (its length field and format) are never all 0xFF.
bool TFMProc::FMAppendPendingMRX(bool& pending)
{
    constexpr int kLooked = 3;
    int size = 0, free = 0;
    int rc = FM_GetSize(&size);
    if (rc == MEMORIX_OK)
        rc = FM_GetFreeBytesCount(&free);
    std::array<unsigned char, kLooked> next{};
    next.fill(0xFF);
    const int looked = std::min(free, kLooked);
    if (rc == MEMORIX_OK && looked > 0)
        rc = FM_FillReadBuf(size - free, looked, next.data());
    if (rc != MEMORIX_OK) {
        FMError(rc, {}, QStringLiteral("FM_FillReadBuf-FMAppendPending"), {});
        return false;
    }
    pending = std::any_of(next.begin(), next.end(), [](unsigned char b) { return b != 0xFF; });
    return true;
}

bool TFMProc::FMGetRecordCountMRX(int& count)
{
    int value = 0;
    const int rc = FM_GetRecordCount(&value);
    if (rc != MEMORIX_OK) {
        FMError(rc, {}, QStringLiteral("FM_GetRecordCount-FMGetRecordCountMRX"), {});
        return false;
    }
    count = value;
    return true;
}

bool TFMProc::FMSerialNrMRX(QString& serialNr)
{
    int value = 0;
    const int rc = FM_GetSerialNumber(&value);
    if (rc != MEMORIX_OK) {
        FMError(rc, {}, QStringLiteral("FM_GetSerialNumber-FMSerialNrMRX"), {});
        return false;
    }
    serialNr = QString::number(value);
    return true;
}
