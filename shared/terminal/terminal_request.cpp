#include "terminal_request.h"

#include <algorithm>
#include <cstdint>

namespace {

void putText(TerminalRequest& request, std::size_t offset, std::size_t size, std::string_view text) {
    const std::size_t n = std::min(text.size(), size - 1);
    std::transform(text.begin(), text.begin() + std::ptrdiff_t(n), request.begin() + std::ptrdiff_t(offset),
                   [](char c) { return static_cast<std::byte>(c); });
}

}  // namespace

void SetTerminalRequestCode(TerminalRequest& request, int operationCode)
{
    const auto code = static_cast<std::uint32_t>(static_cast<std::int32_t>(operationCode));
    for (std::size_t i = 0; i < 4; ++i)
        request[kTerminalRequestCodeOffset + i] = static_cast<std::byte>((code >> (8 * i)) & 0xFF);
}

TerminalRequest MakeTerminalRequest(int operationCode)
{
    TerminalRequest request{};
    SetTerminalRequestCode(request, operationCode);
    return request;
}

TerminalRequest MakeTerminalRequest(int operationCode, std::string_view amount, std::string_view currency)
{
    TerminalRequest request = MakeTerminalRequest(operationCode);
    putText(request, kTerminalRequestAmountOffset, kTerminalRequestAmountSize, amount);
    putText(request, kTerminalRequestCurrencyOffset, kTerminalRequestCurrencySize, currency);
    return request;
}
