#include "link.h"

#include <charconv>

namespace payvo {
namespace {

bool isSeparator(char c) { return c == FS || c == ETX; }

// The separators' positions after the first STX (at most 4999 bytes looked at).
bool fieldBounds(std::string_view frame, std::size_t& begin, std::vector<std::size_t>& separators) {
    if (frame.empty()) return false;
    const auto stx = frame.find(STX);
    if (stx == std::string_view::npos) return false;
    begin = stx + 1;
    const std::size_t end = std::min(frame.size(), begin + 4999);
    for (std::size_t i = begin; i < end; ++i)
        if (isSeparator(frame[i])) separators.push_back(i);
    return !separators.empty();
}

}  // namespace

std::string MakeLrc(std::string_view afterStx) {
    unsigned char x = 0;
    for (char c : afterStx) x ^= static_cast<unsigned char>(c);
    const unsigned char k = static_cast<unsigned char>(~x);
    return {char(0x30 + (k >> 4)), char(0x30 + (k & 0x0F))};
}

Frame buildFrame(std::string_view type, const std::vector<std::string>& fields) {
    Frame f(1, STX);
    f += type;
    for (const auto& field : fields) {
        f += FS;
        f += field;
    }
    f += ETX;
    f += MakeLrc(std::string_view(f).substr(1));
    return f;
}

int CheckFrame(std::string_view frame) {
    const auto stx = frame.find(STX);
    if (stx == std::string_view::npos) return 2108;
    const auto etx = frame.find(ETX);
    if (etx == std::string_view::npos) return 2106;
    if (stx < etx && etx + 3 == frame.size())
        return MakeLrc(frame.substr(stx + 1, etx - stx)) == frame.substr(etx + 1) ? 0 : 2107;
    return 2106;
}

bool GetField(std::string_view frame, int n, std::string& out) {
    std::size_t begin = 0;
    std::vector<std::size_t> seps;
    if (n < 1 || !fieldBounds(frame, begin, seps) || seps.size() < std::size_t(n)) return false;
    const std::size_t from = n == 1 ? begin : seps[std::size_t(n) - 2] + 1;
    out.assign(frame.substr(from, seps[std::size_t(n) - 1] - from));
    return true;
}

int FindFieldIndex(std::string_view frame, std::string_view name) {
    std::size_t begin = 0;
    std::vector<std::size_t> seps;
    if (!fieldBounds(frame, begin, seps)) return 0;
    std::size_t from = begin;
    for (std::size_t i = 0; i < seps.size(); ++i) {
        if (frame.substr(from, seps[i] - from).starts_with(name)) return int(i) + 1;
        from = seps[i] + 1;
    }
    return 0;
}

int HexToNumber(std::string_view text, std::int32_t& value) {
    if (text.empty()) return 1;
    if (text.size() > 8) return 2;
    std::uint32_t v = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return 4;
        v = v * 16 + std::uint32_t(d);
    }
    value = std::int32_t(v);
    return 1;
}

bool IsAllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

int AppendLine(std::string_view source, int count, std::string& destination, std::size_t size) {
    if (count < 1 || size < 2) return -1;
    const std::string_view part = source.substr(0, std::size_t(count));
    const std::size_t room = destination.size() < size - 1 ? size - 1 - destination.size() : 0;
    destination.append(part.substr(0, std::min(room, part.size())));
    const char last = part.empty() ? '\0' : part.back();
    if (last != '\r' && last != '\n' && destination.size() + 2 <= size - 1) destination += "\r\n";
    return 0;
}

bool IsValidTransactionType(int type) {
    switch (type) {
    case 0: case 1: case 2: case 3: case 4: case 7: case 8: case 9:
    case 300: case 302: case 304: case 305: case 307: case 312: case 403: case 404:
        return true;
    default:
        return false;
    }
}

bool IsValidAmount(std::int32_t amount) { return amount >= 0 && amount <= 99'999'999; }

std::string CopyText(std::string_view source, std::size_t max) {
    const auto zero = source.find('\0');
    if (zero != std::string_view::npos) source = source.substr(0, zero);
    return std::string(source.substr(0, max));
}

std::int32_t decimalValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i < text.size() && text[i] == '+') ++i;
    std::int32_t v = 0;
    std::from_chars(text.data() + i, text.data() + text.size(), v);
    return v;
}

Frame BuildHostListRequest() { return buildFrame("IR", {"0", ""}); }
Frame BuildHostTotalsRequest(int host) { return buildFrame("IR", {"1", std::to_string(host)}); }
Frame BuildLoyaltyRequest(std::string_view text) { return buildFrame("IR", {"2", std::string(text)}); }

CollectedFrames scanCollected(std::string_view collected) {
    CollectedFrames result;
    std::size_t pos = 0;
    for (;;) {
        const auto stx = collected.find(STX, pos);
        if (stx == std::string_view::npos) break;
        const auto etx = collected.find(ETX, stx);
        if (etx == std::string_view::npos || etx + 2 >= collected.size()) break;
        const std::string_view frame = collected.substr(stx, etx + 3 - stx);
        const int check = CheckFrame(frame);
        result.frame.assign(frame);
        if (check == 0) {
            result.last = CollectedFrames::Last::Good;
        } else if (check == 2107) {
            result.last = CollectedFrames::Last::BadCheck;
            ++result.badCount;
        } else {
            result.last = CollectedFrames::Last::Malformed;
        }
        pos = etx + 3;
    }
    return result;
}

}  // namespace payvo
