#include "outside_terminal_control.h"

#include <fstream>
#include <iterator>

namespace sim {

void OutsideTerminalControl::write(const std::filesystem::path& folder) const {
    std::ofstream out(folder / kOutsideTerminalControlFile, std::ios::binary | std::ios::trunc);
    for (const int result : results) out << "result " << result << '\n';
    if (!slipFile.empty()) out << "slip " << slipFile.string() << '\n';
    for (const std::string& line : slipLines) out << "line " << line << '\n';
    std::error_code ignored;
    std::filesystem::remove(folder / kOutsideTerminalRequestsFile, ignored);
}

std::vector<std::array<std::byte, kOutsideTerminalRequestSize>> outsideTerminalRequests(const std::filesystem::path& folder) {
    std::ifstream in(folder / kOutsideTerminalRequestsFile, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::array<std::byte, kOutsideTerminalRequestSize>> requests(bytes.size() / kOutsideTerminalRequestSize);
    for (std::size_t i = 0; i < requests.size(); ++i)
        for (std::size_t k = 0; k < kOutsideTerminalRequestSize; ++k)
            requests[i][k] = static_cast<std::byte>(bytes[i * kOutsideTerminalRequestSize + k]);
    return requests;
}

}  // namespace sim
