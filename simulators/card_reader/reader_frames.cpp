#include "reader_frames.h"

#include <algorithm>

namespace sim {

std::uint8_t readerFrameCheck(const std::string& text) {
    std::uint8_t check = reader::ETX;
    for (char c : text) check = std::uint8_t(check ^ std::uint8_t(c));
    return check;
}

Bytes encodeReaderFrame(const std::string& text) {
    Bytes out;
    out.reserve(text.size() + 3);
    out.push_back(reader::STX);
    for (char c : text) out.push_back(std::uint8_t(c));
    out.push_back(reader::ETX);
    out.push_back(readerFrameCheck(text));
    return out;
}

std::optional<ReaderInbound::Item> ReaderInbound::next() {
    while (!pending_.empty()) {
        const std::uint8_t first = pending_.front();
        if (first != reader::STX) {
            pending_.erase(pending_.begin());
            if (first == reader::ENQ || first == reader::ACK || first == reader::NAK || first == reader::EOT)
                return Item{Item::Control, first, {}, {first}};
            continue;
        }
        auto etx = std::find(pending_.begin() + 1, pending_.end(), reader::ETX);
        if (etx == pending_.end() || etx + 1 == pending_.end()) return std::nullopt;
        std::string text(pending_.begin() + 1, etx);
        Bytes raw(pending_.begin(), etx + 2);
        const bool good = readerFrameCheck(text) == raw.back();
        pending_.erase(pending_.begin(), etx + 2);
        return Item{good ? Item::Frame : Item::BadFrame, 0, std::move(text), std::move(raw)};
    }
    return std::nullopt;
}

}  // namespace sim
