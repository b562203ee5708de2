#include "terminal_request.h"

#include <cstdint>

TerminalRequest MakeTerminalRequest(int operationCode)
{
    TerminalRequest request{};
    const auto code = static_cast<std::uint32_t>(static_cast<std::int32_t>(operationCode));
    for (std::size_t i = 0; i < 4; ++i)
        request[kTerminalRequestCodeOffset + i] = static_cast<std::byte>((code >> (8 * i)) & 0xFF);
    return request;
}
