// Appends 1,000 records of 100 data bytes through Memorix to the module simulator paced at
// 115200 baud, reads every one back, and prints the elapsed time against the time the bytes
// exchanged take on the line (10 bits a byte). Run by hand; the target is a ratio of 1.3 or less.
#include "fiscal_memory_sim.h"
#include "memorix.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

constexpr int kRecords = 1000;
constexpr int kDataBytes = 100;
constexpr long kBaud = 115200;

std::string recordData(int i) {
    char head[32];
    std::snprintf(head, sizeof head, "%06d;", i);
    std::string data(head);
    data.resize(kDataBytes, char('A' + i % 26));
    return data;
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("memorix-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir / "ports");
    ::setenv("TILLORA_PORTS", (dir / "ports").c_str(), 1);

    sim::FiscalMemorySim::Options options;
    options.fiscalSize = 0x40000;  // room for the run's 1,000 records of 119 bytes
    sim::FiscalMemorySim module(dir / "fiscal-memory.bin", options);
    if (!module.start(dir / "ports", "COM1", kBaud) || MEMORIX_OpenComPort(1, int(kBaud)) != 0) {
        std::fprintf(stderr, "cannot start the module simulator\n");
        return 1;
    }

    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRecords; ++i) {
        const std::string data = recordData(i);
        if (int code = FM_AppendRecord("BENCH", data.data(), kDataBytes)) {
            std::fprintf(stderr, "append %d: %d %s\n", i, code, FM_GetErrorText(code));
            return 1;
        }
    }
    const auto appended = std::chrono::steady_clock::now();
    for (int i = 0; i < kRecords; ++i) {
        std::tm time{};
        int nameAddress, nameLength, dataAddress, dataLength;
        char data[kDataBytes];
        int code = FM_GetRecordInfo(i, &time, &nameAddress, &nameLength, &dataAddress, &dataLength);
        if (code == 0 && dataLength != kDataBytes) code = MEMORIX_INVALID_RECORD_LENGTH;
        if (code == 0) code = FM_FillReadBuf(dataAddress, dataLength, data);
        if (code) {
            std::fprintf(stderr, "read %d: %d %s\n", i, code, FM_GetErrorText(code));
            return 1;
        }
        if (std::memcmp(data, recordData(i).data(), kDataBytes) != 0) {
            std::fprintf(stderr, "record %d read back differs\n", i);
            return 1;
        }
    }
    const auto done = std::chrono::steady_clock::now();

    const double elapsed = std::chrono::duration<double>(done - start).count();
    const double appendSeconds = std::chrono::duration<double>(appended - start).count();
    const std::uint64_t bytes = module.bytesReceived() + module.bytesSent();
    const double wire = double(bytes) * 10.0 / double(kBaud);
    std::printf("records: %d appended (%.2f s) and read back (%.2f s)\n", kRecords, appendSeconds, elapsed - appendSeconds);
    std::printf("bytes on the line: %llu to the module, %llu from it\n", (unsigned long long)module.bytesReceived(),
                (unsigned long long)module.bytesSent());
    std::printf("elapsed %.3f s, wire time %.3f s, ratio %.3f (target <= 1.3)\n", elapsed, wire, elapsed / wire);

    MEMORIX_CloseComPort();
    module.stop();
    std::error_code ec;
    fs::remove_all(dir, ec);
    return 0;
}
