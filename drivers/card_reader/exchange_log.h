// The exchange log "Draveldll.log": one time-stamped line per step, the file moved aside when it
// reaches 2 MiB.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace cardeon {

constexpr std::string_view kLogName = "Draveldll.log";
constexpr std::uintmax_t kLogLimit = 2 * 1024 * 1024;

// Bytes as log text: each byte below 0x20 as "[0x" two lower-case hex digits "]", others as
// they are.
std::string loggedBytes(std::span<const std::uint8_t> bytes);

// Appends "dd.mm.yyyy hh:mm:ss:ms-" text, LF and a zero byte to the log in the working folder,
// opening and closing the file for the line. A log of 2 MiB or more is first renamed with one
// more underscore in front than any such name already taken. Failures to write are ignored: the
// log must never stop a card operation.
void WriteLog(std::string_view text);

// The name the full log is moved to: "_Draveldll.log", or with more underscores while taken.
std::filesystem::path rotatedLogName(const std::filesystem::path& log);

}  // namespace cardeon
