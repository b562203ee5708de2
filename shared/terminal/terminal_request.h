// The request record of the outside card-terminal library "arccom.dll" (entry "ProcessOw"), which
// the till and the set-up program both fill: 912 bytes, zero but for the operation code and, for
// a card sale or return, the amount and currency texts.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// The library's request record.
using TerminalRequest = std::array<std::byte, 912>;
inline constexpr std::size_t kTerminalRequestCodeOffset = 8;
// The amount text's field (NUL-terminated 8-bit text) and the currency text's, which runs to the
// record's end.
inline constexpr std::size_t kTerminalRequestAmountOffset = 197;
inline constexpr std::size_t kTerminalRequestAmountSize = 26;
inline constexpr std::size_t kTerminalRequestCurrencyOffset = 223;
inline constexpr std::size_t kTerminalRequestCurrencySize = 689;

// The library's path on a till, the file its software leaves each call's slip in, and the name
// of its one entry.
inline constexpr const char* kArccomLibrary = "c:\\Arcus2\\dll\\arccom.dll";
inline constexpr const char* kArccomSlipFile = "c:\\Arcus2\\cheq.out";
inline constexpr const char* kArccomEntry = "ProcessOw";

// The entry's signature: the request's address in, the library's result out.
using ProcessOwFunction = int (*)(void* request);

// A zeroed request carrying the operation code (little-endian, as the library reads it).
TerminalRequest MakeTerminalRequest(int operationCode);
// A card sale or return: the code, the amount text and the currency text, each cut to leave
// its field's terminating NUL.
TerminalRequest MakeTerminalRequest(int operationCode, std::string_view amount, std::string_view currency);
// Replaces only the operation code (the end of day's second call gets the block as the first
// call left it).
void SetTerminalRequestCode(TerminalRequest& request, int operationCode);
