// The exported C functions: argument checks, one port use per call, and the stores behind them.
#include "memorix.h"

#include "errors.h"
#include "file_store.h"
#include "port_state.h"
#include "record_store.h"

#include "clock.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>

namespace {

using memorix::Module;

// Per-process state kept between calls: the named-file store's caches, the count of totals
// changes they were filled at, and the model text.
memorix::FileStore gFileStore;
std::uint64_t gFileStoreGeneration = ~std::uint64_t(0);
char gModel[17];

// Runs one export's work with the port held, keeping every exception inside the library.
template <class Work>
int withPort(Work work) {
    try {
        memorix::PortUse use;
        if (int code = use.begin()) return code;
        memorix::Session session(use.port());
        Module module(session);
        return work(use, module);
    } catch (const std::bad_alloc&) {
        return MEMORIX_NO_MEMORY;
    } catch (...) {
        return MEMORIX_INTERNAL;
    }
}

template <class Work>
int withModule(Work work) {
    return withPort([&](memorix::PortUse&, Module& module) { return work(module); });
}

// A named-file store call. It waits while another process has a transaction of the store open.
// Another process may have changed the store since this one filled its caches (the set-up program
// beside the till): then they are read again first, or this process's next write would put back
// what it remembers over the other's.
template <class Work>
int withFileStore(Work work, bool beginsTransaction = false) {
    memorix::StoreTurn turn;
    if (int code = turn.begin(beginsTransaction)) return code;
    const int code = withPort([&](memorix::PortUse& use, Module& module) {
        if (use.totalsGeneration() != gFileStoreGeneration) gFileStore.reload();
        const int code = work(module);
        gFileStoreGeneration = module.totalsChanged() ? use.noteTotalsChanged() : use.totalsGeneration();
        return code;
    });
    // The store stays this process's exactly while its transaction is open.
    if (gFileStore.ownsTransaction())
        turn.keepForTransaction();
    else
        memorix::endStoreTransaction();
    return code;
}

memorix::RecordTime localTime() {
    platform::LocalTime t = platform::localNow();
    return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

std::span<const std::uint8_t> bytes(const void* data, int length) {
    return {static_cast<const std::uint8_t*>(data), std::size_t(length)};
}

}  // namespace

extern "C" {

int MEMORIX_OpenComPort(int port, int speed) {
    bool opened = false;
    int code = memorix::openSharedPort(port, speed, opened);
    // A port opened afresh may lead to another module: nothing read before is trusted.
    if (opened) {
        gFileStore.forget();
        memorix::endStoreTransaction();
    }
    return code;
}

int MEMORIX_CloseComPort(void) {
    // A transaction left open is given up: the next process to read the store rolls it back.
    gFileStore.forget();
    memorix::endStoreTransaction();
    memorix::closeSharedPort();
    return 0;
}

int FM_GetModel(char** model) {
    if (!model) return MEMORIX_BAD_PARAMETERS;
    return withModule([&](Module& m) {
        std::string text;
        if (int code = m.model(text)) return code;
        std::memset(gModel, 0, sizeof gModel);
        std::memcpy(gModel, text.data(), std::min(text.size(), sizeof gModel - 1));
        *model = gModel;
        return 0;
    });
}

int FM_GetFirmwareVer(char* first, char* second) {
    if (!first || !second) return MEMORIX_BAD_PARAMETERS;
    return withModule([&](Module& m) {
        memorix::Firmware version;
        if (int code = m.firmware(version)) return code;
        *first = char(version.first);
        *second = char(version.second);
        return 0;
    });
}

int FM_GetSerialNumber(int* serialNumber) {
    if (!serialNumber) return MEMORIX_BAD_PARAMETERS;
    *serialNumber = 0;
    return withModule([&](Module& m) {
        memorix::Information info;
        if (int code = m.information(info)) return code;
        *serialNumber = int(info.serialNumber);
        return 0;
    });
}

int FM_GetSize(int* size) {
    if (!size) return MEMORIX_BAD_PARAMETERS;
    *size = 0;
    return withModule([&](Module& m) {
        memorix::Information info;
        if (int code = m.information(info)) return code;
        *size = int(info.size);
        return 0;
    });
}

int FM_GetFreeBytesCount(int* freeBytes) {
    if (!freeBytes) return MEMORIX_BAD_PARAMETERS;
    *freeBytes = 0;
    return withModule([&](Module& m) { return memorix::freeBytes(m, *freeBytes); });
}

int FM_GetRecordCount(int* count) {
    if (!count) return MEMORIX_BAD_PARAMETERS;
    *count = 0;
    return withModule([&](Module& m) {
        memorix::Status status;
        if (int code = m.status(status)) return code;
        *count = status.records;
        return 0;
    });
}

int FM_AppendRecord(const char* name, const void* data, int length) {
    if (!name) return MEMORIX_BAD_PARAMETERS;
    if (std::strlen(name) > std::size_t(memorix::kMaxNameLength)) return MEMORIX_NAME_TOO_LONG;
    if (length < 1 || length > memorix::kMaxDataLength) return MEMORIX_BAD_PARAMETERS;
    if (!data) return MEMORIX_NO_MEMORY;
    const memorix::RecordTime now = localTime();
    return withModule([&](Module& m) { return memorix::appendRecord(m, name, bytes(data, length), now); });
}

int FM_GetRecordInfo(int index, struct tm* time, int* nameAddress, int* nameLength, int* dataAddress, int* dataLength) {
    if (!time || !nameAddress || !nameLength || !dataAddress || !dataLength) return MEMORIX_BAD_PARAMETERS;
    *dataLength = 0;
    return withModule([&](Module& m) {
        return memorix::recordInfo(m, index, time, nameAddress, nameLength, dataAddress, dataLength);
    });
}

int FM_GetTypeRecordInfo(int first, int last, const char* name, int k, int* recordIndex, struct tm* time,
                         int* dataAddress, int* dataLength) {
    if (!name || !recordIndex || !time || !dataAddress || !dataLength) return MEMORIX_BAD_PARAMETERS;
    *dataLength = 0;
    return withModule([&](Module& m) {
        return memorix::typeRecordInfo(m, first, last, name, k, recordIndex, time, dataAddress, dataLength);
    });
}

int FM_GetTypeRecordCount(int first, int last, const char* name, int* count) {
    if (!name || !count) return MEMORIX_BAD_PARAMETERS;
    *count = 0;
    return withModule([&](Module& m) { return memorix::typeRecordCount(m, first, last, name, *count); });
}

int FM_FillReadBuf(int address, int length, void* buffer) {
    return withModule([&](Module& m) {
        return memorix::fillReadBuffer(m, address, length, static_cast<std::uint8_t*>(buffer));
    });
}

const char* FM_GetErrorText(int code) { return memorix::errorText(code); }

int HT_GetSizeOfNameBuf(void) { return memorix::kNameBufferSize; }

int HT_Get_TotalsSize(int* size) {
    if (!size) return MEMORIX_BAD_PARAMETERS;
    return withFileStore([&](Module& m) { return gFileStore.totalsSize(m, *size); });
}

int HT_Get_FreeData(int* freeBytes) {
    if (!freeBytes) return MEMORIX_BAD_PARAMETERS;
    return withFileStore([&](Module& m) { return gFileStore.freeData(m, *freeBytes); });
}

int HT_Get_NumberOfFiles(int* count) {
    if (!count) return MEMORIX_BAD_PARAMETERS;
    return withFileStore([&](Module& m) { return gFileStore.numberOfFiles(m, *count); });
}

int HT_Create(const char* name, int* index, int size) {
    if (!name || !index) return MEMORIX_BAD_PARAMETERS;
    return withFileStore([&](Module& m) { return gFileStore.create(m, name, *index, size); });
}

int HT_Find(const char* name, int* index, int* size) {
    if (!name || !index || !size) return MEMORIX_BAD_PARAMETERS;
    return withFileStore([&](Module& m) { return gFileStore.find(m, name, *index, *size); });
}

int HT_FindByIndex(int index, char* nameBuffer) {
    if (!nameBuffer) return MEMORIX_BAD_PARAMETERS;
    return withFileStore([&](Module& m) { return gFileStore.findByIndex(m, index, nameBuffer); });
}

int HT_Read(int index, void* buffer, int offset, int length) {
    return withFileStore([&](Module& m) {
        return gFileStore.read(m, index, static_cast<std::uint8_t*>(buffer), offset, length);
    });
}

int HT_Write(int index, const void* buffer, int offset, int length) {
    return withFileStore([&](Module& m) {
        return gFileStore.write(m, index, static_cast<const std::uint8_t*>(buffer), offset, length);
    });
}

int HT_ClearFile(int index) {
    return withFileStore([&](Module& m) { return gFileStore.clearFile(m, index); });
}

int HT_Delete(const char* name) {
    if (!name) return MEMORIX_BAD_PARAMETERS;
    return withFileStore([&](Module& m) { return gFileStore.remove(m, name); });
}

int HT_Rename(int index, const char* name) {
    if (!name) return MEMORIX_BAD_PARAMETERS;
    return withFileStore([&](Module& m) { return gFileStore.rename(m, index, name); });
}

int HT_ClearAll(void) {
    return withFileStore([&](Module& m) { return gFileStore.clearAll(m); });
}

int HT_BeginTrans(void) {
    return withFileStore([&](Module& m) { return gFileStore.beginTransaction(m); }, true);
}

int HT_CommitTrans(void) {
    return withFileStore([&](Module& m) { return gFileStore.commitTransaction(m); });
}

int HT_Rollback(void) {
    return withFileStore([&](Module& m) { return gFileStore.rollback(m); });
}

int HT_Get_TransactionInProgress(int* inProgress) {
    if (!inProgress) return MEMORIX_BAD_PARAMETERS;
    return withFileStore([&](Module& m) { return gFileStore.transactionInProgress(m, *inProgress); });
}

}  // extern "C"
