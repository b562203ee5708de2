#include "ecr_wire.h"

namespace sim::ecr {
namespace {

constexpr std::uint8_t kStx = 0x02, kEtx = 0x03, kFs = 0x1C;

}  // namespace

Bytes checkCharacters(const Bytes& body) {
    // Longitudinal parity of the body, inverted, spread over two characters from '0' to '?'.
    unsigned parity = 0;
    for (std::uint8_t b : body) parity = parity ^ b;
    const unsigned inverted = 0xFFu - parity;
    return {std::uint8_t('0' + inverted / 16), std::uint8_t('0' + inverted % 16)};
}

Bytes encode(const std::string& text) {
    Bytes frame;
    frame.reserve(text.size() + 4);
    frame.push_back(kStx);
    for (char c : text) frame.push_back(c == '|' ? kFs : std::uint8_t(c));
    frame.push_back(kEtx);
    for (std::uint8_t c : checkCharacters(Bytes(frame.begin() + 1, frame.end()))) frame.push_back(c);
    return frame;
}

Bytes encodeWithBadCheck(const std::string& text) {
    Bytes frame = encode(text);
    frame.back() = frame.back() == '0' ? '1' : '0';
    return frame;
}

std::optional<std::string> decode(const Bytes& frame) {
    if (frame.size() < 4 || frame.front() != kStx || frame[frame.size() - 3] != kEtx) return std::nullopt;
    const Bytes body(frame.begin() + 1, frame.end() - 2);
    if (checkCharacters(body) != Bytes(frame.end() - 2, frame.end())) return std::nullopt;
    std::string text;
    for (std::size_t i = 0; i + 1 < body.size(); ++i) text.push_back(body[i] == kFs ? '|' : char(body[i]));
    return text;
}

std::vector<std::string> fields(const std::string& text) {
    std::vector<std::string> out(1);
    for (char c : text) {
        if (c == '|') out.emplace_back();
        else out.back().push_back(c);
    }
    return out;
}

std::string field(const std::string& text, std::size_t i) {
    auto all = fields(text);
    return i < all.size() ? all[i] : std::string();
}

}  // namespace sim::ecr
