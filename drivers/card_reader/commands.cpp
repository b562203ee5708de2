#include "commands.h"

#include "cardeon.h"

#include <algorithm>
#include <string>

namespace cardeon {

Bytes cardInsertedQuery() { return readerFrame("I051"); }

Bytes cardRemovalQuery() { return readerFrame("I02"); }

Bytes displayTextFrame(std::string_view text) {
    std::string command = "Z2";
    command += char(kSub);
    command += text;
    return readerFrame(command);
}

std::optional<char> cardStatus(std::span<const std::uint8_t> frame) {
    const FrameCheck check = CheckReaderFrame(frame);
    if (check.code != kFrameGood) return std::nullopt;
    // STX, three characters of the command's echo, then the status; ETX must come after it.
    const std::size_t statusAt = check.start + 4;
    if (statusAt + 2 >= check.end) return std::nullopt;
    return char(frame[statusAt]);
}

int cardTypeOfTrackData(std::span<const char> trackData) {
    const auto data = trackData.first(std::min(trackData.size(), kTrackDataLimit));
    auto separator = std::find(data.begin(), data.end(), '=');
    // The four digits of the expiry date follow the separator, then the service code.
    if (separator == data.end() || data.end() - separator <= 5) return CARDEON_NO_SEPARATOR;
    switch (separator[5]) {
    case '2':  // integrated circuit, international
    case '6':  // integrated circuit, national
        return CARDEON_CHIP_CARD;
    case '1':
        return CARDEON_STRIPE_CARD;
    default:
        return CARDEON_OTHER_CARD;
    }
}

}  // namespace cardeon
