// The user's regional formats, kept where Windows keeps them ("Control Panel\International" of
// the settings store), for the texts the programs print "in the system's short date form".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The date in the short date format "sShortDate" (d, dd, M, MM, yy, yyyy and separators);
// without one, the Latvian "dd.MM.yyyy".
std::string shortDateText(int year, int month, int day);
struct CalendarDate {
    int year, month, day;
};
// A date typed in the short date format: the day, month and year in the format's order, each
// one or more digits (a year of one or two digits is taken in 1950..2049), separated by the
// format's separator characters. Empty when the text does not fit or names no calendar day.
std::optional<CalendarDate> parseShortDate(std::string_view text);
// The time in the format "sTimeFormat" (H, HH, h, hh, m, mm, s, ss); without one, "HH:mm:ss".
std::string timeText(int hour, int minute, int second);

}  // namespace platform
