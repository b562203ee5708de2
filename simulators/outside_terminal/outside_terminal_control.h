// The stand-in for the outside vendor's card-terminal library: what its control file says and what
// it kept of the calls. The library (outside_terminal_standin) is loaded from a folder of its own,
// and the control file and the kept requests lie beside it there.
//
// Control file "outside_terminal.ctl", one directive a line:
//   result N      - the result of the next call; several lines are used one per call, the last
//                   one for every call after them (none: 0)
//   slip PATH     - the file the slip is written to (none: no slip is written)
//   line TEXT     - one slip line, Windows-1257 as the vendor's software writes it; "%n" in it
//                   becomes the call's number (1, 2, ...)
// Every request block the entry received is appended to "outside_terminal_requests.bin" (912
// bytes each, as received); their number is the count of calls. The entry then writes the call's
// number into the block's byte 12, as the vendor's software answers into it.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace sim {

inline constexpr const char* kOutsideTerminalControlFile = "outside_terminal.ctl";
inline constexpr const char* kOutsideTerminalRequestsFile = "outside_terminal_requests.bin";
inline constexpr std::size_t kOutsideTerminalRequestSize = 912;

struct OutsideTerminalControl {
    std::vector<int> results;
    std::filesystem::path slipFile;  // empty: no slip written
    std::vector<std::string> slipLines;

    // Writes the control file into the library's folder and forgets the requests kept there.
    void write(const std::filesystem::path& folder) const;
};

// The request blocks the entry received, in order.
std::vector<std::array<std::byte, kOutsideTerminalRequestSize>> outsideTerminalRequests(const std::filesystem::path& folder);

}  // namespace sim
