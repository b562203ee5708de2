// "razevedu.log": the voucher client's log in the process's current folder. Each exchange names its
// endpoint there, and each failure its full text, which the cashier is spared.
#pragma once

#include <cstdint>
#include <string_view>

namespace razevedu {

inline constexpr const char* kServiceLogFile = "razevedu.log";
// A log of this size or more is started afresh before the next line.
inline constexpr std::uintmax_t kServiceLogLimit = 2 * 1024 * 1024;

// Appends "dd.mm.yyyy hh:mm:ss text" and LF. A log that cannot be written is ignored: the voucher
// call must not fail for it.
void logLine(std::string_view text);

}  // namespace razevedu
