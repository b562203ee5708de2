#include "file_store.h"

#include "memorix.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace memorix {
namespace {

constexpr std::uint8_t kGenerationMask = 0x0F;
constexpr std::uint8_t kUnusedBits = 0x70;
constexpr std::uint32_t kMaxFileSize = 0xFFFF;

int generation(std::uint8_t header) { return header & kGenerationMask; }
std::uint8_t nextGeneration(int g) { return std::uint8_t(g == 15 ? 1 : g + 1); }
std::uint8_t previousGeneration(int g) { return std::uint8_t(g == 1 ? 15 : g - 1); }

bool headersSound(std::uint8_t h0, std::uint8_t h1) {
    if ((h0 | h1) & kUnusedBits) return false;
    if (h0 == kInTransaction || h1 == kInTransaction) return false;
    return !((h0 & h1) & kInTransaction);
}

}  // namespace

int activeBank(std::uint8_t header0, std::uint8_t header1) {
    const int g0 = generation(header0), g1 = generation(header1);
    if (g0 == 1 && g1 == 15) return 0;
    if ((g1 == 1 && g0 == 15) || g1 == g0 + 1) return 1;
    if (g0 == g1 + 1) return 0;
    return -1;
}

bool directoryValid(const std::vector<FileEntry>& files, std::uint32_t usable) {
    std::uint32_t next = kDirectoryStart + kEntrySize * std::uint32_t(files.size());
    for (const FileEntry& f : files) {
        if (f.name[0] == 0 || f.size == 0 || f.reserved != 0 || f.offset != next) return false;
        next = f.offset + f.size;
        if (next > usable) return false;
    }
    return true;
}

Bytes encodeDirectory(const std::vector<FileEntry>& files) {
    Bytes out;
    putLittle(out, std::uint32_t(files.size()), 2);
    for (const FileEntry& f : files) {
        out.insert(out.end(), f.name.begin(), f.name.end());
        putLittle(out, f.offset, 3);
        putLittle(out, f.size, 2);
        out.push_back(f.reserved);
    }
    return out;
}

std::array<char, kNameSize> storedName(std::string_view name) {
    std::array<char, kNameSize> stored{};
    std::copy_n(name.begin(), std::min(name.size(), kNameSize), stored.begin());
    return stored;
}

void FileStore::forget() {
    totals_ = usable_ = 0;
    headersLoaded_ = directoryLoaded_ = false;
    files_.clear();
    current_ = 0;
    ownTransaction_ = false;
}

template <class Step>
int FileStore::guarded(Step step) {
    int code = step();
    // A failure part way through may leave the module and the caches apart (the caches change
    // before the module is written): read both afresh next time. A refused argument or a name
    // not found changed nothing.
    static constexpr int kRefusals[] = {MEMORIX_FILE_EXISTS, MEMORIX_TRANSACTION_OPEN, MEMORIX_NO_TRANSACTION,
                                        MEMORIX_NO_SUCH_FILE, MEMORIX_INVALID_PARAMETER, MEMORIX_NO_MEMORY};
    if (code && std::find(std::begin(kRefusals), std::end(kRefusals), code) == std::end(kRefusals))
        headersLoaded_ = directoryLoaded_ = false;
    return code;
}

std::uint32_t FileStore::usedEnd() const {
    return files_.empty() ? kDirectoryStart : files_.back().offset + files_.back().size;
}

int FileStore::loadBanks(Module& module) {
    if (totals_ == 0) {
        if (int code = module.totalsSize(totals_)) return code;
        if (totals_ == 0) return MEMORIX_BAD_DATA;
        usable_ = totals_ / 2 - 1;
    }
    if (!headersLoaded_) {
        for (int bank = 0; bank < 2; ++bank) {
            if (int code = module.setAddress(Memory::Totals, std::uint32_t(bank) * (totals_ / 2))) return code;
            if (int code = module.readBlock(Memory::Totals, &headers_[bank], 1)) return code;
        }
        headersLoaded_ = true;
        directoryLoaded_ = false;
        if (!headersSound(headers_[0], headers_[1])) return MEMORIX_BAD_DATA;
        // A transaction lives within one process's use of the port. One found open that this
        // process did not begin was cut short (power lost, program ended): its half-done copy
        // must not become the store, so the previous generation is made active again.
        int bank = activeBank(headers_[0], headers_[1]);
        if (bank >= 0 && (headers_[bank] & kInTransaction) && !ownTransaction_ && !(headers_[1 - bank] & kInTransaction))
            return rollbackTo(module, bank);
    }
    if (!headersSound(headers_[0], headers_[1])) return MEMORIX_BAD_DATA;
    return 0;
}

int FileStore::active(Module& module, int& bank) {
    if (int code = loadBanks(module)) return code;
    bank = activeBank(headers_[0], headers_[1]);
    if (bank < 0 || (headers_[1 - bank] & kInTransaction)) return MEMORIX_BAD_DATA;
    bank_ = bank;
    return 0;
}

int FileStore::seek(Module& module, std::uint32_t offset) {
    // Offsets run from 0 to U - 1; U itself is where a transfer that ends on the bank's last byte
    // stops.
    if (offset > usable_) return MEMORIX_INVALID_PARAMETER;
    if (int code = module.setAddress(Memory::Totals, bankAddress(bank_, offset))) return code;
    current_ = offset;
    return 0;
}

int FileStore::transfer(Module& module, std::uint8_t* read, const std::uint8_t* write, int length) {
    // A file may end on the bank's last byte (offset + size = U), so a transfer may too.
    if (std::uint64_t(current_) + std::uint32_t(length) > usable_) return MEMORIX_INVALID_PARAMETER;
    if (!headersLoaded_) return MEMORIX_INTERNAL;
    int code = read ? module.readBlock(Memory::Totals, read, length) : module.writeBlock(Memory::Totals, write, length);
    if (code) return code;
    current_ += std::uint32_t(length);
    return 0;
}

int FileStore::moveInBank(Module& module, std::uint32_t source, std::uint32_t destination, std::uint32_t count) {
    const std::uint32_t half = totals_ / 2;
    if (source + count >= half || destination + count >= half) return MEMORIX_INVALID_PARAMETER;
    return module.totalsMove(bankAddress(bank_, source), bankAddress(bank_, destination), count, kAutoDirection);
}

int FileStore::fillInBank(Module& module, std::uint32_t offset, std::uint32_t count, std::uint8_t value) {
    if (offset + count >= totals_ / 2) return MEMORIX_INVALID_PARAMETER;
    return module.totalsFill(bankAddress(bank_, offset), count, value);
}

int FileStore::loadDirectory(Module& module) {
    int bank;
    if (int code = active(module, bank)) return code;
    if (directoryLoaded_) return 0;
    if (usable_ == 0) return MEMORIX_BAD_DATA;
    std::uint8_t count[2];
    if (int code = seek(module, 0)) return code;
    if (int code = transfer(module, count, nullptr, 2)) return code;
    const int files = std::int16_t(little16(count));
    std::vector<FileEntry> loaded;
    if (files != 0) {
        if (files < 0 || kDirectoryStart + kEntrySize * std::uint32_t(files) > usable_) return MEMORIX_BAD_DATA;
        Bytes entries;
        try {
            entries.resize(kEntrySize * std::size_t(files));
            loaded.resize(std::size_t(files));
        } catch (const std::bad_alloc&) {
            return MEMORIX_NO_MEMORY;
        }
        if (int code = transfer(module, entries.data(), nullptr, int(entries.size()))) return code;
        for (int i = 0; i < files; ++i) {
            const std::uint8_t* e = &entries[kEntrySize * std::size_t(i)];
            FileEntry& f = loaded[std::size_t(i)];
            std::memcpy(f.name.data(), e, kNameSize);
            f.offset = little24(e + 10);
            f.size = little16(e + 13);
            f.reserved = e[15];
        }
        // Sizes and offsets from the module are used to address the bank: a directory that
        // breaks the rules is not trusted.
        if (!directoryValid(loaded, usable_)) return MEMORIX_BAD_DATA;
    }
    files_ = std::move(loaded);
    directoryLoaded_ = true;
    return 0;
}

int FileStore::writeDirectory(Module& module) {
    if (!directoryValid(files_, usable_)) return MEMORIX_INTERNAL;
    Bytes directory = encodeDirectory(files_);
    if (int code = seek(module, 0)) return code;
    return transfer(module, nullptr, directory.data(), int(directory.size()));
}

int FileStore::writeHeader(Module& module, int bank, std::uint8_t header) {
    const int g = generation(header);
    if (bank < 0 || bank > 1 || header == kInTransaction || g < 1 || g > 15) return MEMORIX_INTERNAL;
    if ((header & kInTransaction) && (headers_[1 - bank] & kInTransaction)) return MEMORIX_INTERNAL;
    if (int code = module.setAddress(Memory::Totals, std::uint32_t(bank) * (totals_ / 2))) return code;
    if (int code = module.writeBlock(Memory::Totals, &header, 1)) return code;
    headers_[bank] = header;
    return 0;
}

int FileStore::rollbackTo(Module& module, int bank) {
    int code = writeHeader(module, bank, previousGeneration(generation(headers_[1 - bank])));
    directoryLoaded_ = false;
    ownTransaction_ = false;
    return code;
}

int FileStore::totalsSize(Module& module, int& usable) {
    int bank;
    return guarded([&] {
        if (int code = active(module, bank)) return code;
        usable = int(usable_);
        return 0;
    });
}

int FileStore::freeData(Module& module, int& free) {
    return guarded([&] {
        if (int code = loadDirectory(module)) return code;
        free = files_.empty() ? int(usable_) : int(usable_ - usedEnd());
        return 0;
    });
}

int FileStore::numberOfFiles(Module& module, int& count) {
    return guarded([&] {
        if (int code = loadDirectory(module)) return code;
        count = int(files_.size());
        return 0;
    });
}

int FileStore::find(Module& module, std::string_view name, int& index, int& size) {
    return guarded([&] {
        if (int code = loadDirectory(module)) return code;
        index = size = -1;
        const auto wanted = storedName(name);
        int match = -1;
        for (std::size_t i = 0; i < files_.size(); ++i) {
            if (files_[i].name != wanted) continue;
            if (match >= 0) return MEMORIX_BAD_DATA;
            match = int(i);
        }
        if (match < 0) return MEMORIX_NO_SUCH_FILE;
        index = match;
        size = int(files_[std::size_t(match)].size);
        return 0;
    });
}

int FileStore::create(Module& module, std::string_view name, int& index, int size) {
    return guarded([&] {
        if (int code = loadDirectory(module)) return code;
        const auto stored = storedName(name);
        for (const FileEntry& f : files_)
            if (f.name == stored) return MEMORIX_FILE_EXISTS;
        if (size < 1 || std::uint32_t(size) > kMaxFileSize) return MEMORIX_INVALID_PARAMETER;
        std::vector<FileEntry> grown = files_;
        for (FileEntry& f : grown) f.offset += kEntrySize;
        FileEntry added;
        added.name = stored;
        added.offset = grown.empty() ? kDirectoryStart + kEntrySize : grown.back().offset + grown.back().size;
        added.size = std::uint32_t(size);
        grown.push_back(added);
        if (!directoryValid(grown, usable_)) return MEMORIX_INTERNAL;
        if (!files_.empty()) {
            const std::uint32_t contents = usedEnd() - files_.front().offset;
            const std::uint32_t start = kDirectoryStart + kEntrySize * std::uint32_t(files_.size());
            if (int code = moveInBank(module, start, start + kEntrySize, contents)) return code;
        }
        index = int(files_.size());
        files_ = std::move(grown);
        return writeDirectory(module);
    });
}

int FileStore::read(Module& module, int index, std::uint8_t* buffer, int offset, int length) {
    return guarded([&] {
        if (int code = loadDirectory(module)) return code;
        if (index < 0 || std::size_t(index) >= files_.size() || length < 0 || length > 0xFFFF || offset < 0 ||
            std::int64_t(offset) + length > files_[std::size_t(index)].size)
            return MEMORIX_INVALID_PARAMETER;
        if (int code = seek(module, files_[std::size_t(index)].offset + std::uint32_t(offset))) return code;
        return transfer(module, buffer, nullptr, length);
    });
}

int FileStore::write(Module& module, int index, const std::uint8_t* buffer, int offset, int length) {
    return guarded([&] {
        if (int code = loadDirectory(module)) return code;
        if (index < 0 || std::size_t(index) >= files_.size() || length < 0 || length > 0xFFFF || offset < 0 ||
            std::int64_t(offset) + length > files_[std::size_t(index)].size)
            return MEMORIX_INVALID_PARAMETER;
        if (!buffer) return MEMORIX_NO_MEMORY;
        if (int code = seek(module, files_[std::size_t(index)].offset + std::uint32_t(offset))) return code;
        return transfer(module, nullptr, buffer, length);
    });
}

int FileStore::clearFile(Module& module, int index) {
    return guarded([&] {
        if (int code = loadDirectory(module)) return code;
        if (index < 0 || std::size_t(index) >= files_.size()) return MEMORIX_INVALID_PARAMETER;
        return fillInBank(module, files_[std::size_t(index)].offset, files_[std::size_t(index)].size, 0);
    });
}

int FileStore::findByIndex(Module& module, int index, char* nameBuffer) {
    return guarded([&] {
        if (int code = loadDirectory(module)) return code;
        if (index < 0 || std::size_t(index) >= files_.size()) return MEMORIX_INVALID_PARAMETER;
        std::memset(nameBuffer, 0, kNameBufferSize);
        std::memcpy(nameBuffer, files_[std::size_t(index)].name.data(), kNameSize);
        return 0;
    });
}

int FileStore::rename(Module& module, int index, std::string_view name) {
    return guarded([&] {
        if (int code = loadDirectory(module)) return code;
        if (index < 0 || std::size_t(index) >= files_.size()) return MEMORIX_INVALID_PARAMETER;
        files_[std::size_t(index)].name = storedName(name);
        return writeDirectory(module);
    });
}

int FileStore::remove(Module& module, std::string_view name) {
    return guarded([&] {
        if (int code = loadDirectory(module)) return code;
        const auto wanted = storedName(name);
        auto it = std::find_if(files_.begin(), files_.end(), [&](const FileEntry& f) { return f.name == wanted; });
        if (it == files_.end()) return 0;
        const std::uint32_t o = it->offset, s = it->size;
        const std::size_t i = std::size_t(it - files_.begin());
        std::uint32_t before = 0, after = 0;  // content bytes of the files before and after it
        for (std::size_t j = 0; j < files_.size(); ++j) {
            if (j < i) {
                before += files_[j].size;
                files_[j].offset -= kEntrySize;
            } else if (j > i) {
                after += files_[j].size;
                files_[j].offset -= s + kEntrySize;
            }
        }
        files_.erase(it);
        if (int code = writeDirectory(module)) return code;
        const std::uint32_t start = kDirectoryStart + kEntrySize * std::uint32_t(files_.size());
        if (before > 0)
            if (int code = moveInBank(module, start + kEntrySize, start, before)) return code;
        if (after > 0)
            if (int code = moveInBank(module, o + s, o - kEntrySize, after)) return code;
        return fillInBank(module, usedEnd(), s + kEntrySize, 0);
    });
}

int FileStore::clearAll(Module& module) {
    return guarded([&] {
        if (int code = module.totalsSize(totals_)) return code;
        if (totals_ == 0) return MEMORIX_BAD_DATA;
        usable_ = totals_ / 2 - 1;
        if (int code = module.totalsFill(0, totals_, 0)) return code;
        headers_ = {0, 0};
        ownTransaction_ = false;
        if (int code = writeHeader(module, 0, 2)) return code;
        if (int code = writeHeader(module, 1, 1)) return code;
        headersLoaded_ = directoryLoaded_ = false;
        return loadBanks(module);
    });
}

int FileStore::beginTransaction(Module& module) {
    return guarded([&] {
        int a;
        if (int code = active(module, a)) return code;
        if (headers_[a] & kInTransaction) return MEMORIX_TRANSACTION_OPEN;
        const int other = 1 - a;
        if (int code = module.totalsMove(bankAddress(a, 0), bankAddress(other, 0), usable_, kAutoDirection)) return code;
        if (int code = writeHeader(module, other, nextGeneration(generation(headers_[a])) | kInTransaction)) return code;
        ownTransaction_ = true;
        return 0;
    });
}

int FileStore::commitTransaction(Module& module) {
    return guarded([&] {
        int a;
        if (int code = active(module, a)) return code;
        if (!(headers_[a] & kInTransaction)) return MEMORIX_NO_TRANSACTION;
        if (int code = writeHeader(module, a, std::uint8_t(generation(headers_[a])))) return code;
        ownTransaction_ = false;
        return 0;
    });
}

int FileStore::rollback(Module& module) {
    return guarded([&] {
        int a;
        if (int code = active(module, a)) return code;
        if (!(headers_[a] & kInTransaction)) return MEMORIX_NO_TRANSACTION;
        return rollbackTo(module, a);
    });
}

int FileStore::transactionInProgress(Module& module, int& inProgress) {
    return guarded([&] {
        int a;
        if (int code = active(module, a)) return code;
        inProgress = (headers_[a] & kInTransaction) ? 1 : 0;
        return 0;
    });
}

}  // namespace memorix
