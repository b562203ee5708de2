#include "service_log.h"

#include "clock.h"

#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>

namespace razevedu {

void logLine(std::string_view text) {
    static std::mutex logMutex;
    const platform::LocalTime t = platform::localNow();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d.%02d.%04d %02d:%02d:%02d ", t.day, t.month, t.year, t.hour, t.minute, t.second);
    const std::string line = stamp + std::string(text) + "\n";

    std::lock_guard lock(logMutex);
    std::error_code ec;
    if (std::filesystem::file_size(kServiceLogFile, ec) >= kServiceLogLimit && !ec) std::filesystem::remove(kServiceLogFile, ec);
    if (std::FILE* f = std::fopen(kServiceLogFile, "ab")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
}

}  // namespace razevedu
