// Reading INI files by the profile-string rules the payment-terminal libraries were written for.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace platform {

// The value of key in section of the INI file, as a profile-string read gives it: section and key
// compare without regard to case, the first matching entry wins, surrounding blanks and one pair
// of enclosing quotes are taken off, and the text is cut to maxChars characters. A missing file,
// section or key gives fallback (cut the same way).
std::string readProfileString(const std::filesystem::path& file, const std::string& section, const std::string& key,
                              const std::string& fallback, std::size_t maxChars);

}  // namespace platform
