// LatDosToWin: Latvian letters of the DOS code page the older exchange programs write, to their
// Windows-1257 bytes.
#pragma once

#include <string>
#include <string_view>

// Each of the 22 Latvian letters' DOS bytes becomes its Windows-1257 byte; every other byte is
// copied, so the result has the input's length.
std::string LatDosToWin(std::string_view dosBytes);
