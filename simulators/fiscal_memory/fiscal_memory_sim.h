// The fiscal-memory module on the other end of the line: its write-once fiscal memory (records
// appended, committed, located and searched by name) and its rewritable totals memory, kept in a
// file so a restarted module still holds what was written, with faults that tests switch on by
// name.
#pragma once

#include "module_frames.h"
#include "serial_device.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

namespace sim {

class FiscalMemorySim : public SerialDevice {
public:
    struct Options {
        std::uint32_t fiscalSize = 0x10000;  // bytes of write-once memory
        std::uint32_t totalsSize = 0x2000;   // bytes of totals memory
        std::uint32_t serialNumber = 20240117;
        std::string model = "FISCAL MEM SIM01";  // 16 characters
        std::uint8_t firmware[2] = {2, 7};
    };

    // Device faults, besides the generic ones of FaultSwitches:
    //   "bad-check"          the next reply carries a wrong check word;
    //   "status=N"           the next command is not carried out and answers module status N
    //                        (N one of 2 3 4 5 20 to 28 99);
    //   "commit-error-yet-commits"  the next commit stores the record but answers 27 (write fail);
    //   "partial-write"      the next fiscal write stores only its first partialWriteBytes() bytes
    //                        (half when 0) and answers nothing, as if the line dropped mid-write;
    //   "record-write-fail NAME"  the next write into the contents of the named file of the
    //                        named-file store (either bank) is not carried out and answers 27;
    //   "power-lost"         the next command that changes a memory is done only half (a write or
    //                        a move its first half, a commit not at all), then the module answers
    //                        nothing until it is started again.
    static constexpr const char* kBadCheck = "bad-check";
    static constexpr const char* kCommitErrorYetCommits = "commit-error-yet-commits";
    static constexpr const char* kPartialWrite = "partial-write";
    static constexpr const char* kPowerLost = "power-lost";
    static std::string recordWriteFail(const std::string& name) { return "record-write-fail " + name; }

    // Opens the memory file, creating it (fiscal memory erased to FF, totals memory an empty
    // named-file store) when it is not there; an existing file keeps its sizes and contents and options only name new ones.
    explicit FiscalMemorySim(std::filesystem::path memoryFile, Options options);
    explicit FiscalMemorySim(std::filesystem::path memoryFile) : FiscalMemorySim(std::move(memoryFile), Options{}) {}
    ~FiscalMemorySim() override;

    bool loaded() const { return fd_ >= 0; }
    // Starts on the pseudo-terminal; baud > 0 paces both directions: a request is taken in only
    // after its bytes' time on the line, and the reply goes out at the line's rate.
    bool start(const std::filesystem::path& portsDir, const std::string& comName, long baud = 0) override;

    void setPartialWriteBytes(std::size_t count);
    bool powerLost() const { return powerLost_; }

    // The module's state, for tests.
    struct Positions {
        std::uint32_t currentAddress, committedEnd, writeAddress, records;
    };
    Positions positions();
    Bytes fiscalBytes(std::uint32_t address, std::size_t count);
    Bytes totalsBytes(std::uint32_t address, std::size_t count);
    void setTotalsBytes(std::uint32_t address, const Bytes& bytes);
    std::uint32_t fiscalSize() const { return fiscalSize_; }
    std::uint32_t totalsSize() const { return totalsSize_; }
    // Bytes that crossed the line each way since start (for wire-time figures).
    std::uint64_t bytesReceived() const { return bytesReceived_; }
    std::uint64_t bytesSent() const { return bytesSent_; }

protected:
    void received(const Bytes& bytes) override;

private:
    struct Reply {
        Reply() = default;
        Reply(std::uint8_t s, Bytes d = {}) : status(s), data(std::move(d)) {}
        // The module answers nothing (its line or power went away mid-command).
        static Reply none() {
            Reply r;
            r.silent = true;
            return r;
        }
        std::uint8_t status = 0;
        Bytes data;
        bool silent = false;
    };
    Reply execute(const Bytes& payload);
    Reply information();
    Reply status();
    Reply setAddress(const Bytes& args, bool totals);
    Reply read(const Bytes& args, bool totals);
    Reply writeFiscal(const Bytes& args);
    Reply writeTotals(const Bytes& args);
    Reply commit();
    Reply locate(const Bytes& args, bool forward);
    Reply search(const Bytes& args);
    Reply move(const Bytes& args);
    bool recordValid(std::uint32_t start, std::uint32_t end) const;
    std::uint16_t lengthAt(std::uint32_t address) const;
    // The name of the named-file store's file whose contents hold the totals address (empty when
    // none does): the store as the driver lays it out, a bank in each half of the memory.
    std::string fileAt(std::uint32_t address) const;
    std::uint8_t faultStatus();
    void persist(bool totals, std::uint32_t address, std::size_t count);
    void persistPositions();
    void pace(std::size_t wireBytes);

    std::filesystem::path file_;
    int fd_ = -1;
    Options options_;
    std::uint32_t fiscalSize_ = 0, totalsSize_ = 0;
    Bytes fiscal_, totals_;
    std::uint32_t current_ = 0, committedEnd_ = 0, writeAddress_ = 0, records_ = 0;
    std::uint32_t totalsCurrent_ = 0;
    std::size_t partialWriteBytes_ = 0;
    std::atomic<bool> powerLost_{false};
    long baud_ = 0;
    RequestParser parser_;
    std::chrono::steady_clock::time_point frameStart_;
    std::atomic<std::uint64_t> bytesReceived_{0}, bytesSent_{0};
};

}  // namespace sim
