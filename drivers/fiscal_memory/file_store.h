// The named-file store in the module's totals memory: two banks, each a header byte (generation
// and an in-transaction flag) and a copy of the store (a directory of 16-byte entries and the
// files' contents without gaps). One bank is active; the other keeps the previous generation,
// which is what a transaction rolls back to.
#pragma once

#include "module.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace memorix {

constexpr std::size_t kNameSize = 10;          // stored and compared characters of a name
constexpr int kNameBufferSize = 11;            // a caller's buffer for a name, with terminator
constexpr std::uint32_t kEntrySize = 16;
constexpr std::uint32_t kDirectoryStart = 2;   // after the 2-byte file count
constexpr std::uint8_t kInTransaction = 0x80;

struct FileEntry {
    std::array<char, kNameSize> name{};
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    std::uint8_t reserved = 0;
};

// Bank choice from the two header bytes: 0 or 1, or -1 when the pair is not a valid state.
int activeBank(std::uint8_t header0, std::uint8_t header1);
// The directory rules every directory written must keep (usable is the bank's usable size).
bool directoryValid(const std::vector<FileEntry>& files, std::uint32_t usable);
Bytes encodeDirectory(const std::vector<FileEntry>& files);
std::array<char, kNameSize> storedName(std::string_view name);

// Per-process view of the store: what was read from the module is kept between calls, until
// another process changes the store (the caller tells with reload) or the port is opened afresh.
class FileStore {
public:
    // Drops every cache; the next operation reads the module again.
    void forget();
    // Drops the banks' headers and the directory, keeping what belongs to this process (the
    // transaction it began) and the module's sizes.
    void reload() { headersLoaded_ = directoryLoaded_ = false; }
    // Whether this process began the transaction that is open.
    bool ownsTransaction() const { return ownTransaction_; }

    int totalsSize(Module& module, int& usable);
    int freeData(Module& module, int& free);
    int numberOfFiles(Module& module, int& count);
    int create(Module& module, std::string_view name, int& index, int size);
    int find(Module& module, std::string_view name, int& index, int& size);
    int findByIndex(Module& module, int index, char* nameBuffer);
    int read(Module& module, int index, std::uint8_t* buffer, int offset, int length);
    int write(Module& module, int index, const std::uint8_t* buffer, int offset, int length);
    int clearFile(Module& module, int index);
    int remove(Module& module, std::string_view name);
    int rename(Module& module, int index, std::string_view name);
    int clearAll(Module& module);
    int beginTransaction(Module& module);
    int commitTransaction(Module& module);
    int rollback(Module& module);
    int transactionInProgress(Module& module, int& inProgress);

private:
    int loadBanks(Module& module);
    int active(Module& module, int& bank);
    int loadDirectory(Module& module);
    int writeDirectory(Module& module);
    int writeHeader(Module& module, int bank, std::uint8_t header);
    int rollbackTo(Module& module, int bank);
    int seek(Module& module, std::uint32_t offset);
    int transfer(Module& module, std::uint8_t* read, const std::uint8_t* write, int length);
    int moveInBank(Module& module, std::uint32_t source, std::uint32_t destination, std::uint32_t count);
    int fillInBank(Module& module, std::uint32_t offset, std::uint32_t count, std::uint8_t value);
    std::uint32_t bankAddress(int bank, std::uint32_t offset) const { return std::uint32_t(bank) * (totals_ / 2) + 1 + offset; }
    std::uint32_t usedEnd() const;
    // Runs a step that may leave the caches out of line with the module when it fails part way.
    template <class Step>
    int guarded(Step step);

    std::uint32_t totals_ = 0;   // T, the whole totals memory
    std::uint32_t usable_ = 0;   // U, usable bytes of a bank
    std::array<std::uint8_t, 2> headers_{};
    bool headersLoaded_ = false;
    bool directoryLoaded_ = false;
    std::vector<FileEntry> files_;
    int bank_ = 0;               // the active bank, set by every check of the headers
    std::uint32_t current_ = 0;  // data offset of the next sequential read or write
    bool ownTransaction_ = false;
};

}  // namespace memorix
