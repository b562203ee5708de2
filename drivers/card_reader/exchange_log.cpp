#include "exchange_log.h"

#include "clock.h"

#include <cstdio>
#include <fstream>

namespace cardeon {

std::string loggedBytes(std::span<const std::uint8_t> bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size());
    for (std::uint8_t b : bytes) {
        if (b < 0x20) {
            out += "[0x";
            out += digits[b >> 4];
            out += digits[b & 0x0F];
            out += ']';
        } else {
            out += char(b);
        }
    }
    return out;
}

std::filesystem::path rotatedLogName(const std::filesystem::path& log) {
    std::string name = log.filename().string();
    std::filesystem::path candidate;
    std::error_code ec;
    do {
        name.insert(name.begin(), '_');
        candidate = log.parent_path() / name;
    } while (std::filesystem::exists(candidate, ec));
    return candidate;
}

void WriteLog(std::string_view text) {
    const std::filesystem::path log{kLogName};
    std::error_code ec;
    if (std::filesystem::file_size(log, ec) >= kLogLimit && !ec) std::filesystem::rename(log, rotatedLogName(log), ec);

    const platform::LocalTime t = platform::localNow();
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%02d.%02d.%04d %02d:%02d:%02d:%d-", t.day, t.month, t.year, t.hour, t.minute,
                  t.second, t.millisecond);
    std::string line = stamp;
    line += text;
    line += '\n';
    line += '\0';
    std::ofstream(log, std::ios::binary | std::ios::app).write(line.data(), std::streamsize(line.size()));
}

}  // namespace cardeon
