#include "regional.h"

#include "settings_store.h"

#include <cstdio>
#include <optional>

namespace platform {
namespace {

const char* const kInternational = "Control Panel\\International";

// Replaces each run of a pattern letter with the value: one letter without padding, two or more
// with leading zeros to the run's length (a "yy" run takes the last two digits).
std::string expand(const std::string& format, const auto& valueOf) {
    std::string out;
    for (std::size_t i = 0; i < format.size();) {
        const char c = format[i];
        std::size_t run = 1;
        while (i + run < format.size() && format[i + run] == c) ++run;
        if (const auto value = valueOf(c, run)) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%0*d", run == 1 ? 1 : int(run), *value);
            out += buf;
        } else {
            out.append(run, c);
        }
        i += run;
    }
    return out;
}

std::string formatOf(const char* name, const char* fallback) {
    auto format = SettingsStore::current().readText(kInternational, name);
    return format && !format->empty() ? *format : fallback;
}

}  // namespace

std::string shortDateText(int year, int month, int day) {
    return expand(formatOf("sShortDate", "dd.MM.yyyy"), [&](char c, std::size_t run) -> std::optional<int> {
        if (c == 'd') return day;
        if (c == 'M') return month;
        if (c == 'y') return run <= 2 ? year % 100 : year;
        return std::nullopt;
    });
}

std::string timeText(int hour, int minute, int second) {
    return expand(formatOf("sTimeFormat", "HH:mm:ss"), [&](char c, std::size_t) -> std::optional<int> {
        if (c == 'H') return hour;
        if (c == 'h') return hour % 12 == 0 ? 12 : hour % 12;
        if (c == 'm') return minute;
        if (c == 's') return second;
        return std::nullopt;
    });
}

}  // namespace platform
