// "payvo.log": the bridge's step-by-step log in the process's current folder, one line per call,
// deleted once it has reached 3 MiB.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace payvo_bridge {

inline constexpr long kLogLimitBytes = 3L * 1024 * 1024;

// Appends "<%d.%m.%y %H:%M:%S>-<text>\r\n", the text formatted as printf does.
void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Message bytes as a log shows them: each byte below 0x20 as "[0x02]", the rest as they are, cut
// at about 9900 characters.
std::string printable(std::string_view bytes);

}  // namespace payvo_bridge
