#include "fiscal_memory_sim.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <thread>

namespace sim {
namespace {

// Memory file: this header, then the fiscal memory, then the totals memory.
constexpr char kMagic[8] = {'T', 'F', 'M', 'S', 'I', 'M', '0', '1'};
constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kPositionsAt = 20;  // committed end, write address, record count

// Module statuses (the module reports these itself).
enum : std::uint8_t {
    kOk = 0,
    kData = 1,
    kInterfaceError = 2,
    kInterfaceCrc = 3,
    kUnknownCommand = 5,
    kNoRoomInBuf = 20,
    kLocateError = 22,
    kAddressError = 24,
    kInvalidRecord = 25,
    kInvalidWriteAddress = 26,
    kWriteFail = 27,
};
constexpr std::array<std::uint8_t, 14> kModuleStatuses{2, 3, 4, 5, 20, 21, 22, 23, 24, 25, 26, 27, 28, 99};
constexpr std::size_t kMaxPiece = 247;

struct CommandName {
    std::uint8_t number;
    const char* name;
};
constexpr std::array<CommandName, 16> kCommandNames{{{0, "information"},
                                                     {1, "status"},
                                                     {2, "set address"},
                                                     {4, "read"},
                                                     {5, "write"},
                                                     {6, "commit"},
                                                     {8, "model"},
                                                     {9, "firmware"},
                                                     {10, "locate forward"},
                                                     {11, "search by name"},
                                                     {13, "locate backward"},
                                                     {20, "totals information"},
                                                     {21, "totals set address"},
                                                     {22, "totals write"},
                                                     {23, "totals read"},
                                                     {24, "totals move"}}};

std::string commandName(const Bytes& payload) {
    for (const auto& c : kCommandNames)
        if (!payload.empty() && c.number == payload[0]) return c.name;
    return "command " + std::to_string(payload.empty() ? -1 : payload[0]);
}

std::uint32_t get(const Bytes& b, std::size_t at, int width) {
    std::uint32_t v = 0;
    for (int i = 0; i < width; ++i) v |= std::uint32_t(b[at + std::size_t(i)]) << (8 * i);
    return v;
}

void put(Bytes& b, std::uint32_t v, int width) {
    for (int i = 0; i < width; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

void put32At(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}

std::uint32_t get32At(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }

}  // namespace

FiscalMemorySim::FiscalMemorySim(std::filesystem::path memoryFile, Options options)
    : file_(std::move(memoryFile)), options_(std::move(options)) {
    fd_ = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) return;
    std::uint8_t header[kHeaderSize] = {};
    if (::pread(fd_, header, kHeaderSize, 0) == ssize_t(kHeaderSize) && std::memcmp(header, kMagic, 8) == 0) {
        fiscalSize_ = get32At(header + 8);
        totalsSize_ = get32At(header + 12);
        options_.serialNumber = get32At(header + 16);
        committedEnd_ = get32At(header + 20);
        writeAddress_ = get32At(header + 24);
        records_ = get32At(header + 28);
        fiscal_.resize(fiscalSize_);
        totals_.resize(totalsSize_);
        bool ok = ::pread(fd_, fiscal_.data(), fiscalSize_, kHeaderSize) == ssize_t(fiscalSize_) &&
                  ::pread(fd_, totals_.data(), totalsSize_, off_t(kHeaderSize + fiscalSize_)) == ssize_t(totalsSize_);
        if (!ok) {
            ::close(fd_);
            fd_ = -1;
        }
        return;
    }
    // A new module as delivered: PROMs erased; totals memory zero with the named-file store's bank
    // headers of an empty store (bank 0 generation 2, bank 1 generation 1), since none of the
    // programs clears the store itself.
    fiscalSize_ = options_.fiscalSize;
    totalsSize_ = options_.totalsSize;
    fiscal_.assign(fiscalSize_, 0xFF);
    totals_.assign(totalsSize_, 0);
    if (totalsSize_ >= 4) {
        totals_[0] = 2;
        totals_[totalsSize_ / 2] = 1;
    }
    std::memcpy(header, kMagic, 8);
    put32At(header + 8, fiscalSize_);
    put32At(header + 12, totalsSize_);
    put32At(header + 16, options_.serialNumber);
    bool ok = ::ftruncate(fd_, 0) == 0 && ::pwrite(fd_, header, kHeaderSize, 0) == ssize_t(kHeaderSize) &&
              ::pwrite(fd_, fiscal_.data(), fiscalSize_, kHeaderSize) == ssize_t(fiscalSize_) &&
              ::pwrite(fd_, totals_.data(), totalsSize_, off_t(kHeaderSize + fiscalSize_)) == ssize_t(totalsSize_);
    if (!ok) {
        ::close(fd_);
        fd_ = -1;
    }
}

FiscalMemorySim::~FiscalMemorySim() {
    stop();
    if (fd_ >= 0) ::close(fd_);
}

bool FiscalMemorySim::start(const std::filesystem::path& portsDir, const std::string& comName, long baud) {
    if (fd_ < 0) return false;
    baud_ = baud;
    return SerialDevice::start(portsDir, comName, baud);
}

void FiscalMemorySim::setPartialWriteBytes(std::size_t count) {
    std::lock_guard lock(stateMutex_);
    partialWriteBytes_ = count;
}

FiscalMemorySim::Positions FiscalMemorySim::positions() {
    std::lock_guard lock(stateMutex_);
    return {current_, committedEnd_, writeAddress_, records_};
}

Bytes FiscalMemorySim::fiscalBytes(std::uint32_t address, std::size_t count) {
    std::lock_guard lock(stateMutex_);
    return Bytes(fiscal_.begin() + address, fiscal_.begin() + long(address + count));
}

Bytes FiscalMemorySim::totalsBytes(std::uint32_t address, std::size_t count) {
    std::lock_guard lock(stateMutex_);
    return Bytes(totals_.begin() + address, totals_.begin() + long(address + count));
}

void FiscalMemorySim::setTotalsBytes(std::uint32_t address, const Bytes& bytes) {
    std::lock_guard lock(stateMutex_);
    std::copy(bytes.begin(), bytes.end(), totals_.begin() + address);
    persist(true, address, bytes.size());
}

void FiscalMemorySim::persist(bool totals, std::uint32_t address, std::size_t count) {
    const Bytes& memory = totals ? totals_ : fiscal_;
    off_t at = off_t(kHeaderSize + (totals ? fiscalSize_ : 0) + address);
    if (count && ::pwrite(fd_, memory.data() + address, count, at) != ssize_t(count)) trace().note("memory file write failed");
}

void FiscalMemorySim::persistPositions() {
    std::uint8_t positions[12];
    put32At(positions, committedEnd_);
    put32At(positions + 4, writeAddress_);
    put32At(positions + 8, records_);
    if (::pwrite(fd_, positions, sizeof positions, kPositionsAt) != ssize_t(sizeof positions))
        trace().note("memory file write failed");
}

void FiscalMemorySim::pace(std::size_t wireBytes) {
    if (baud_ <= 0) return;
    std::this_thread::sleep_until(frameStart_ + std::chrono::microseconds(std::int64_t(wireBytes) * 10'000'000 / baud_));
}

void FiscalMemorySim::received(const Bytes& bytes) {
    bytesReceived_ += bytes.size();
    for (std::uint8_t b : bytes) {
        if (b == 0x02) frameStart_ = std::chrono::steady_clock::now();
        parser_.push(b);
    }
    while (auto frame = parser_.take()) {
        // The module takes a request in only once all its bytes have crossed the line.
        pace(frame->raw.size());
        const std::string name = commandName(frame->payload);
        trace().received(frame->raw, name);
        if (powerLost_) {
            trace().note("power lost: no answer");
            continue;
        }
        Reply reply;
        if (!frame->checkOk) {
            reply.status = kInterfaceCrc;
        } else {
            std::lock_guard lock(stateMutex_);
            reply = execute(frame->payload);
        }
        if (reply.silent) {
            trace().note(name + ": no answer");
            continue;
        }
        Bytes out = moduleReply(reply.status, reply.data, faults().take(kBadCheck));
        bytesSent_ += out.size();
        send(out, name + (reply.status > kData ? " -> status " + std::to_string(reply.status) : ""));
    }
}

std::uint8_t FiscalMemorySim::faultStatus() {
    for (std::uint8_t status : kModuleStatuses)
        if (faults().take("status=" + std::to_string(status))) return status;
    return kOk;
}

FiscalMemorySim::Reply FiscalMemorySim::execute(const Bytes& payload) {
    if (std::uint8_t status = faultStatus()) return {status};
    const Bytes args(payload.begin() + 1, payload.end());
    auto exactly = [&](std::size_t n) { return args.size() == n; };
    switch (payload[0]) {
    case 0: return exactly(0) ? information() : Reply{kInterfaceError};
    case 1: return exactly(0) ? status() : Reply{kInterfaceError};
    case 2: return exactly(3) ? setAddress(args, false) : Reply{kInterfaceError};
    case 4: return exactly(1) ? read(args, false) : Reply{kInterfaceError};
    case 5: return writeFiscal(args);
    case 6: return exactly(0) ? commit() : Reply{kInterfaceError};
    case 8: {
        Bytes text(options_.model.begin(), options_.model.end());
        text.resize(16, ' ');
        return {kData, text};
    }
    case 9: return {kData, {options_.firmware[0], options_.firmware[1]}};
    case 10: return exactly(2) ? locate(args, true) : Reply{kInterfaceError};
    case 11: return args.size() >= 6 ? search(args) : Reply{kInterfaceError};
    case 13: return exactly(2) ? locate(args, false) : Reply{kInterfaceError};
    case 20: {
        Bytes data;
        put(data, totalsSize_, 3);
        put(data, 0, 3);
        return {kData, data};
    }
    case 21: return exactly(3) ? setAddress(args, true) : Reply{kInterfaceError};
    case 22: return writeTotals(args);
    case 23: return exactly(1) ? read(args, true) : Reply{kInterfaceError};
    case 24: return exactly(10) ? move(args) : Reply{kInterfaceError};
    default: return {kUnknownCommand};
    }
}

FiscalMemorySim::Reply FiscalMemorySim::information() {
    Bytes data{1};
    put(data, options_.serialNumber, 4);
    put(data, fiscalSize_, 3);
    return {kData, data};
}

FiscalMemorySim::Reply FiscalMemorySim::status() {
    Bytes data;
    put(data, current_, 3);
    put(data, committedEnd_, 3);
    put(data, writeAddress_, 3);
    put(data, records_, 2);
    return {kData, data};
}

FiscalMemorySim::Reply FiscalMemorySim::setAddress(const Bytes& args, bool totals) {
    std::uint32_t address = get(args, 0, 3);
    if (address > (totals ? totalsSize_ : fiscalSize_)) return {kAddressError};
    (totals ? totalsCurrent_ : current_) = address;
    return {};
}

FiscalMemorySim::Reply FiscalMemorySim::read(const Bytes& args, bool totals) {
    const std::size_t n = args[0];
    std::uint32_t& at = totals ? totalsCurrent_ : current_;
    const Bytes& memory = totals ? totals_ : fiscal_;
    if (n > kMaxPiece) return {kNoRoomInBuf};
    if (at + n > memory.size()) return {kAddressError};
    Reply reply{kData, Bytes(memory.begin() + at, memory.begin() + long(at + n))};
    at += std::uint32_t(n);
    return reply;
}

FiscalMemorySim::Reply FiscalMemorySim::writeFiscal(const Bytes& args) {
    std::size_t n = args.size();
    if (n > kMaxPiece) return {kNoRoomInBuf};
    // Committed records are write-once; a write below their end is refused.
    if (current_ < committedEnd_) return {kInvalidWriteAddress};
    if (current_ + n > fiscalSize_) return {kAddressError};
    bool cut = false;
    if (faults().take(kPartialWrite)) {
        n = partialWriteBytes_ ? std::min(n, partialWriteBytes_) : n / 2;
        cut = true;
    } else if (faults().take(kPowerLost)) {
        n /= 2;
        cut = powerLost_ = true;
    }
    // Programming a PROM only clears bits: a byte that needs a bit set again fails.
    bool failed = false;
    for (std::size_t i = 0; i < n; ++i) {
        std::uint8_t& cell = fiscal_[current_ + i];
        cell &= args[i];
        failed |= cell != args[i];
    }
    persist(false, current_, n);
    current_ += std::uint32_t(n);
    writeAddress_ = std::max(writeAddress_, current_);
    persistPositions();
    if (cut) return Reply::none();
    return {failed ? kWriteFail : kOk};
}

FiscalMemorySim::Reply FiscalMemorySim::writeTotals(const Bytes& args) {
    std::size_t n = args.size();
    if (n > kMaxPiece) return {kNoRoomInBuf};
    if (totalsCurrent_ + n > totalsSize_) return {kAddressError};
    if (const std::string file = fileAt(totalsCurrent_); !file.empty() && faults().take(recordWriteFail(file)))
        return {kWriteFail};
    bool cut = faults().take(kPowerLost);
    if (cut) {
        n /= 2;
        powerLost_ = true;
    }
    std::copy_n(args.begin(), n, totals_.begin() + totalsCurrent_);
    persist(true, totalsCurrent_, n);
    totalsCurrent_ += std::uint32_t(n);
    return cut ? Reply::none() : Reply{};
}

std::string FiscalMemorySim::fileAt(std::uint32_t address) const {
    // Each bank: a header byte, then a 2-byte file count and 16-byte entries (10-character name,
    // 3-byte offset and 2-byte size from the bank's start after the header, 1 reserved byte).
    const std::uint32_t half = totalsSize_ / 2;
    for (std::uint32_t bank = 0; bank < 2; ++bank) {
        const std::uint32_t base = bank * half + 1;
        if (base + 2 > totalsSize_) break;
        const std::uint32_t files = totals_[base] | (totals_[base + 1] << 8);
        for (std::uint32_t i = 0; i < files && base + 2 + (i + 1) * 16 <= (bank + 1) * half; ++i) {
            const std::uint8_t* e = &totals_[base + 2 + i * 16];
            const std::uint32_t offset = e[10] | (e[11] << 8) | (std::uint32_t(e[12]) << 16);
            const std::uint32_t size = e[13] | (e[14] << 8);
            if (address >= base + offset && address < base + offset + size) {
                std::string name(reinterpret_cast<const char*>(e), 10);
                return name.substr(0, name.find('\0'));
            }
        }
    }
    return {};
}

std::uint16_t FiscalMemorySim::lengthAt(std::uint32_t address) const {
    return std::uint16_t(fiscal_[address] | (fiscal_[address + 1] << 8));
}

bool FiscalMemorySim::recordValid(std::uint32_t start, std::uint32_t end) const {
    if (end - start < 16) return false;
    const std::uint32_t length = lengthAt(start);
    if (length + 4 != end - start || fiscal_[start + 2] != 0 || lengthAt(end - 2) != length) return false;
    std::uint32_t zeroBits = 0;
    for (std::uint32_t a = start; a < end - 5; ++a) zeroBits += 8 - std::popcount(fiscal_[a]);
    return zeroBits == (fiscal_[end - 5] | (fiscal_[end - 4] << 8) | (std::uint32_t(fiscal_[end - 3]) << 16));
}

FiscalMemorySim::Reply FiscalMemorySim::commit() {
    if (writeAddress_ == committedEnd_ || !recordValid(committedEnd_, writeAddress_)) return {kInvalidRecord};
    if (faults().take(kPowerLost)) {
        powerLost_ = true;
        return Reply::none();
    }
    committedEnd_ = writeAddress_;
    ++records_;
    persistPositions();
    if (faults().take(kCommitErrorYetCommits)) return {kWriteFail};
    return {};
}

FiscalMemorySim::Reply FiscalMemorySim::locate(const Bytes& args, bool forward) {
    std::uint32_t n = get(args, 0, 2);
    if (current_ > committedEnd_) return {kLocateError};
    while (n > 0 && (forward ? current_ < committedEnd_ : current_ > 0)) {
        if (forward) {
            const std::uint32_t next = current_ + lengthAt(current_) + 4;
            if (next > committedEnd_) return {kLocateError};
            current_ = next;
        } else {
            const std::uint32_t size = lengthAt(current_ - 2) + 4u;
            if (size > current_) return {kLocateError};
            current_ -= size;
        }
        --n;
    }
    Bytes data;
    put(data, n, 2);
    put(data, current_ < committedEnd_ ? lengthAt(current_) : 0, 2);
    return {kData, data};
}

FiscalMemorySim::Reply FiscalMemorySim::search(const Bytes& args) {
    std::uint32_t n = get(args, 0, 2);
    const std::uint32_t end = std::min(get(args, 2, 3), committedEnd_);
    const std::uint32_t offset = args[5];
    const Bytes pattern(args.begin() + 6, args.end());
    std::uint32_t relative = 0;
    auto reply = [&](std::uint16_t length) {
        Bytes data;
        put(data, n, 2);
        put(data, relative, 2);
        put(data, length, 2);
        return Reply{kData, data};
    };
    while (n > 0 && current_ < end) {
        const std::uint16_t length = lengthAt(current_);
        if (current_ + length + 4u > committedEnd_) return {kLocateError};
        const std::uint32_t at = current_ + offset;
        if (at + pattern.size() <= current_ + length + 4u && std::equal(pattern.begin(), pattern.end(), fiscal_.begin() + at)) {
            if (--n == 0) return reply(length);
        }
        current_ += length + 4u;
        ++relative;
    }
    return reply(n == 0 && current_ < committedEnd_ ? lengthAt(current_) : 0);
}

FiscalMemorySim::Reply FiscalMemorySim::move(const Bytes& args) {
    const std::uint32_t source = get(args, 0, 3), destination = get(args, 3, 3);
    std::uint32_t count = get(args, 6, 3);
    const std::uint8_t direction = args[9];
    if (direction > 1) return {kInterfaceError};
    if (direction == 0 ? (source + count > totalsSize_ || destination + count > totalsSize_)
                       : (count > source + 1 || count > destination + 1 || source >= totalsSize_ || destination >= totalsSize_))
        return {kAddressError};
    bool cut = faults().take(kPowerLost);
    if (cut) {
        count /= 2;
        powerLost_ = true;
    }
    // Byte by byte in the stated direction: an upward move onto the next address repeats the
    // first byte over the range, which the driver uses to fill.
    for (std::uint32_t i = 0; i < count; ++i) {
        if (direction == 0)
            totals_[destination + i] = totals_[source + i];
        else
            totals_[destination - i] = totals_[source - i];
    }
    if (count) persist(true, direction == 0 ? destination : destination + 1 - count, count);
    return cut ? Reply::none() : Reply{};
}

}  // namespace sim
