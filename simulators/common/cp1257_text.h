// Windows-1257 bytes as the devices' own character sets have them, decoded by the C library's
// iconv (not by the programs' conversion tables, so a mistake there shows in the simulators).
#pragma once

#include <cstdint>
#include <string>

namespace sim {

// The UTF-8 text of one Windows-1257 byte; "?" for a byte the code page leaves undefined.
std::string utf8OfCp1257(std::uint8_t byte);

}  // namespace sim
