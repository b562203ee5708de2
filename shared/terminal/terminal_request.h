// The request record of the outside card-terminal library "arccom.dll" (entry "ProcessOw"), which
// the till and the set-up program both fill: 912 bytes, zero but for the operation code.
#pragma once

#include <array>
#include <cstddef>

// The library's request record: zeroed, the operation code as a 32-bit integer at offset 8.
using TerminalRequest = std::array<std::byte, 912>;
inline constexpr std::size_t kTerminalRequestCodeOffset = 8;

// The library's path on a till and the name of its one entry.
inline constexpr const char* kArccomLibrary = "c:\\Arcus2\\dll\\arccom.dll";
inline constexpr const char* kArccomEntry = "ProcessOw";

// The entry's signature: the request's address in, the library's result out.
using ProcessOwFunction = int (*)(void* request);

// A zeroed request carrying the operation code (little-endian, as the library reads it).
TerminalRequest MakeTerminalRequest(int operationCode);
