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

std::optional<CalendarDate> parseShortDate(std::string_view text) {
    const std::string format = formatOf("sShortDate", "dd.MM.yyyy");
    // The order of the three fields and the separators between them, as the format has them.
    std::string order;
    for (const char c : format)
        if ((c == 'd' || c == 'M' || c == 'y') && order.find(c) == std::string::npos) order += c;
    if (order.size() != 3) return std::nullopt;
    int values[3] = {};
    std::size_t at = 0;
    for (std::size_t field = 0; field < 3; ++field) {
        if (field > 0) {
            // One separator character between the fields: any character that is not a digit.
            if (at >= text.size() || (text[at] >= '0' && text[at] <= '9')) return std::nullopt;
            ++at;
        }
        const std::size_t start = at;
        long value = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 4) value = value * 10 + (text[at++] - '0');
        if (at == start) return std::nullopt;
        if (order[field] == 'y' && at - start <= 2) value += value < 50 ? 2000 : 1900;
        values[field] = int(value);
    }
    if (at != text.size()) return std::nullopt;
    CalendarDate date{};
    for (std::size_t field = 0; field < 3; ++field) {
        if (order[field] == 'd') date.day = values[field];
        if (order[field] == 'M') date.month = values[field];
        if (order[field] == 'y') date.year = values[field];
    }
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1 || date.day > kDays[date.month - 1]) return std::nullopt;
    const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
    if (date.month == 2 && date.day == 29 && !leap) return std::nullopt;
    return date;
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
