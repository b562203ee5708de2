#include "link.h"

#include <algorithm>

namespace cardeon {

std::uint8_t readerCheck(std::span<const std::uint8_t> bytes) {
    std::uint8_t check = 0;
    for (std::uint8_t b : bytes) check ^= b;
    return check;
}

Bytes readerFrame(std::string_view text) {
    Bytes frame;
    frame.reserve(text.size() + 3);
    frame.push_back(kStx);
    frame.insert(frame.end(), text.begin(), text.end());
    frame.push_back(kEtx);
    frame.push_back(readerCheck(std::span(frame).subspan(1)));
    return frame;
}

FrameCheck CheckReaderFrame(std::span<const std::uint8_t> collected) {
    FrameCheck result;
    auto stx = std::find(collected.begin(), collected.end(), kStx);
    if (stx == collected.end()) return result;
    result.start = std::size_t(stx - collected.begin());
    auto etx = std::find(stx + 1, collected.end(), kEtx);
    if (etx == collected.end() || etx + 1 == collected.end()) {
        result.code = kFrameIncomplete;
        return result;
    }
    const std::size_t etxAt = std::size_t(etx - collected.begin());
    const std::uint8_t check = readerCheck(collected.subspan(result.start + 1, etxAt - result.start));
    result.code = check == collected[etxAt + 1] ? kFrameGood : kFrameBadCheck;
    result.end = etxAt + 2;
    return result;
}

}  // namespace cardeon
