// The user's regional formats, kept where Windows keeps them ("Control Panel\International" of
// the settings store), for the texts the programs print "in the system's short date form".
#pragma once

#include <string>

namespace platform {

// The date in the short date format "sShortDate" (d, dd, M, MM, yy, yyyy and separators);
// without one, the Latvian "dd.MM.yyyy".
std::string shortDateText(int year, int month, int day);
// The time in the format "sTimeFormat" (H, HH, h, hh, m, mm, s, ss); without one, "HH:mm:ss".
std::string timeText(int hour, int minute, int second);

}  // namespace platform
