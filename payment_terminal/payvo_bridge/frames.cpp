#include "frames.h"

#include "bridge_log.h"
#include "errors.h"
#include "transport.h"

namespace payvo_bridge {
namespace {

int compare(std::string_view frame) {
    const int check = payvo::CheckFrame(frame);
    if (check == payvo::kLinkBadCheck) logLine("Wrong CRC.");
    else if (check == 0) logLine("CRC ok.");
    return check;
}

}  // namespace

int checkSerialMessage(std::string_view message) {
    const auto stx = message.find(payvo::STX);
    if (stx == std::string_view::npos) return kNoStx;
    const auto etx = message.find(payvo::ETX, stx);
    if (etx == std::string_view::npos || etx + 3 != message.size()) return kIncomplete;
    logLine("Message received. Compare CRC.");
    return compare(message.substr(stx));
}

int checkTcpMessage(std::string_view message) {
    const auto stx = message.find(payvo::STX);
    if (stx == std::string_view::npos) return kNoStx;
    const auto etx = message.find(payvo::ETX, stx);
    if (etx == std::string_view::npos || etx + 3 > message.size()) return kIncomplete;
    logLine("Message recaived. Compare CRC.");
    return compare(message.substr(stx, etx + 3 - stx));
}

std::size_t leadingFrameLength(std::string_view buffer) {
    const auto stx = buffer.find(payvo::STX);
    if (stx == std::string_view::npos) return 0;
    const auto etx = buffer.find(payvo::ETX, stx);
    return etx == std::string_view::npos || etx + 3 > buffer.size() ? 0 : etx + 3;
}

std::vector<std::string_view> completeMessages(std::string_view buffer) {
    std::vector<std::string_view> messages;
    std::size_t from = 0;
    for (;;) {
        const std::size_t length = leadingFrameLength(buffer.substr(from));
        if (length == 0) break;
        messages.push_back(buffer.substr(from, length));
        from += length;
    }
    return messages;
}

std::optional<std::string> field(std::string_view message, int n) {
    std::string out;
    if (!payvo::GetField(message, n, out)) return std::nullopt;
    return out;
}

int typeNumber(std::string_view message) {
    logLine("Get packet type");
    const auto type = field(message, 1);
    if (!type || type->empty()) return -1;
    std::int32_t value = -1;
    return payvo::HexToNumber(*type, value) == 1 ? value : -1;
}

int fieldWithTag(std::string_view message, std::string_view tag) { return payvo::FindFieldIndex(message, tag); }

}  // namespace payvo_bridge
