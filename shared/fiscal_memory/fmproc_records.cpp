// TFMProc: the working records in the module's named-file store (sizes, reads, writes, creation).
#include "fmproc.h"

#include "codepage_1257.h"
#include "fm_working_records.h"
#include "memorix.h"

#include <string>
#include <vector>

namespace {

// The module's answer did not arrive or could not be taken: the line, not the module, failed.
bool linkFailure(int code)
{
    switch (code) {
    case MEMORIX_INVALID_RECORD_LENGTH:
    case MEMORIX_INTERFACE:
    case MEMORIX_INTERFACE_CRC:
    case MEMORIX_ACK_TIMEOUT:
    case MEMORIX_TIMEOUT:
    case MEMORIX_COM_PORT:
        return true;
    default:
        return false;
    }
}

// Text of a record's bytes: up to the first zero byte.
QString recordText(const std::vector<char>& bytes)
{
    std::string_view text(bytes.data(), bytes.size());
    return fromCp1257(text.substr(0, text.find('\0')));
}

}  // namespace

void TFMProc::FMRecordSize(const QString& name)
{
    if (const auto size = fmrecords::tableSize(toCp1257(name)))
        RecordSize = *size;
}

bool TFMProc::FMReadMRX(const QString& name, QString& value)
{
    const std::string key = toCp1257(name);
    int index = -1;
    int size = -1;
    int rc = HT_Find(key.c_str(), &index, &size);
    if (rc == MEMORIX_NO_SUCH_FILE)
        return true;
    if (rc != MEMORIX_OK) {
        FMError(rc, name, QStringLiteral("HT_Find-FMReadMRX"), {});
        Status = -1;
        return false;
    }
    // The buffer takes the record at its stored size, however large the store made it.
    std::vector<char> bytes(std::size_t(size > 0 ? size : 0), '\0');
    rc = bytes.empty() ? MEMORIX_OK : HT_Read(index, bytes.data(), 0, size);
    if (rc != MEMORIX_OK) {
        FMError(rc, name, QStringLiteral("HT_Read-FMReadMRX"), recordText(bytes));
        Status = -1;
        return false;
    }
    if (const QString text = recordText(bytes); !text.isEmpty())
        value = text;
    return true;
}

bool TFMProc::FMWriteMRX(const QString& name, const QString& value)
{
    const std::string key = toCp1257(name);
    FMRecordSize(name);
    int index = -1;
    int size = -1;
    const int found = HT_Find(key.c_str(), &index, &size);
    if (found == MEMORIX_OK)
        RecordSize = size;  // an existing record is written at its stored size
    else if (found == MEMORIX_NO_SUCH_FILE)
        HT_Create(key.c_str(), &index, RecordSize);  // a failure shows in the write below
    std::string text = toCp1257(value);
    text.resize(std::size_t(RecordSize > 0 ? RecordSize : 0), ' ');
    const int rc = HT_Write(index, text.data(), 0, RecordSize);
    if (rc == MEMORIX_OK)
        return true;
    FMError(rc, name, QStringLiteral("HT_Write-FMWriteMRX"), fromCp1257(text));
    return false;
}

bool TFMProc::createMissingRecord(const fmrecords::WorkingRecord& record, const QString& tag)
{
    const std::string name(record.name);
    int index = -1;
    int size = -1;
    int rc = HT_Find(name.c_str(), &index, &size);
    const bool creating = rc == MEMORIX_NO_SUCH_FILE;
    if (creating) {
        rc = HT_Create(name.c_str(), &index, record.creationSize);
    } else if (rc == MEMORIX_OK && record.name == "NOD_D_SUM" && size == fmrecords::kOldDaySumsSize) {
        return migrateDaySums(index);
    }
    if (rc == MEMORIX_OK)
        return true;
    // A module left with records missing is not ready: the program that prepares it must say so,
    // naming the record only when the module answered and refused that one record. A look-up that
    // failed, or a creation that got no answer, means a module that cannot be reached or read.
    if (creating && !linkFailure(rc))
        UncreatedRecord = fromCp1257(name);
    FMError(rc, fromCp1257(name), QString::fromLatin1(creating ? "HT_Create-" : "HT_Find-") + tag, {});
    return false;
}

bool TFMProc::InitMRX_FMRam()
{
    for (const fmrecords::WorkingRecord& record : fmrecords::basic())
        if (!createMissingRecord(record, QStringLiteral("InitMRX_FMRam")))
            return false;
    return InitMRX_FMRamApm() && appendOpeningRecord();
}

// Index 0 of the write-once store is never read as a day-close record: on an empty store the first
// Z report's record would be lost to every reader (the next report would be number 1 again and the
// grand totals would start afresh). An empty store gets the opening record first.
bool TFMProc::appendOpeningRecord()
{
    int count = 0;
    const int rc = FM_GetRecordCount(&count);
    if (rc != MEMORIX_OK) {
        FMError(rc, {}, QStringLiteral("FM_GetRecordCount-InitMRX_FMRam"), {});
        return false;
    }
    return count > 0 || FMAppendDayClose(OpeningRecord());
}

bool TFMProc::FMCreateRecordMRX(const QString& name, int size)
{
    const std::string key = toCp1257(name);
    int index = -1;
    int stored = -1;
    const char* command = "HT_Find";
    int rc = HT_Find(key.c_str(), &index, &stored);
    if (rc == MEMORIX_OK && stored != size) {
        command = "HT_Delete";
        if ((rc = HT_Delete(key.c_str())) == MEMORIX_OK)
            rc = MEMORIX_NO_SUCH_FILE;
    }
    if (rc == MEMORIX_NO_SUCH_FILE) {
        command = "HT_Create";
        rc = HT_Create(key.c_str(), &index, size);
    }
    if (rc != MEMORIX_OK) {
        FMError(rc, name, QString::fromLatin1(command) + QStringLiteral("-FMCreateRecord"), {});
        return false;
    }
    RecordSize = size;
    return true;
}

// NOD_D_SUM of the older 501-byte layout becomes a 251-byte record holding its first 250
// characters. The tax rates live in it, so the delete and re-create run in one transaction of the
// store: any failed step rolls back to the old record and is reported.
bool TFMProc::migrateDaySums(int index)
{
    const QString name = QStringLiteral("NOD_D_SUM");
    const int newSize = *fmrecords::tableSize("NOD_D_SUM");
    const auto fail = [&](int rc, const char* step, bool rollBack) {
        if (rollBack)
            HT_Rollback();
        FMError(rc, name, QString::fromLatin1(step) + QStringLiteral("-InitMRX_FMRam"), {});
        return false;
    };
    int rc = HT_BeginTrans();
    if (rc != MEMORIX_OK)
        return fail(rc, "HT_BeginTrans", false);
    std::vector<char> old(fmrecords::kOldDaySumsSize, '\0');
    if ((rc = HT_Read(index, old.data(), 0, int(old.size()))) != MEMORIX_OK)
        return fail(rc, "HT_Read", true);
    std::vector<char> migrated(std::size_t(newSize), '\0');
    const std::string_view text(old.data(), old.size());
    const std::string_view kept = text.substr(0, std::min<std::size_t>(text.find('\0'), std::size_t(newSize - 1)));
    std::copy(kept.begin(), kept.end(), migrated.begin());
    if ((rc = HT_Delete("NOD_D_SUM")) != MEMORIX_OK)
        return fail(rc, "HT_Delete", true);
    int newIndex = -1;
    if ((rc = HT_Create("NOD_D_SUM", &newIndex, newSize)) != MEMORIX_OK)
        return fail(rc, "HT_Create", true);
    if ((rc = HT_Write(newIndex, migrated.data(), 0, newSize)) != MEMORIX_OK)
        return fail(rc, "HT_Write", true);
    if ((rc = HT_CommitTrans()) != MEMORIX_OK)
        return fail(rc, "HT_CommitTrans", true);
    return true;
}

bool TFMProc::InitMRX_FMRamApm()
{
    for (const fmrecords::WorkingRecord& record : fmrecords::payment())
        if (!createMissingRecord(record, QStringLiteral("InitMRX_FMRamApm")))
            return false;
    return true;
}
