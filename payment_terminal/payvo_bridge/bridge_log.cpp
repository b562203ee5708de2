#include "bridge_log.h"

#include "clock.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <vector>

namespace payvo_bridge {
namespace {

constexpr const char* kLogFile = "payvo.log";
constexpr std::size_t kPrintableLimit = 9900;

// Lines come from the caller's thread and from a Cancel on a second thread: one at a time.
std::mutex& logMutex() {
    static std::mutex m;
    return m;
}

std::string timeStamp() {
    const auto t = platform::localNow();
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%02d %02d:%02d:%02d", t.day, t.month, t.year % 100, t.hour, t.minute, t.second);
    return text;
}

// A file of 3 MiB or more is deleted before the line goes in, so the new file holds just that line.
void dropFullLog() {
    std::FILE* f = std::fopen(kLogFile, "rb");
    if (!f) return;
    const bool full = std::fseek(f, 0, SEEK_END) == 0 && std::ftell(f) >= kLogLimitBytes;
    std::fclose(f);
    if (full) std::remove(kLogFile);
}

}  // namespace

void logLine(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::vector<char> text(std::size_t(length > 0 ? length : 0) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);

    const std::string line = timeStamp() + "-" + text.data() + "\r\n";
    std::lock_guard lock(logMutex());
    dropFullLog();
    // A log that cannot be written is ignored: the terminal exchange must not fail for it.
    if (std::FILE* f = std::fopen(kLogFile, "ab")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
}

std::string printable(std::string_view bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (out.size() >= kPrintableLimit) break;
        if (c < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "[0x%02x]", c);
            out += code;
        } else {
            out += char(c);
        }
    }
    return out;
}

}  // namespace payvo_bridge
