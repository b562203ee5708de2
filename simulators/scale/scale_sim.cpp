#include "scale_sim.h"

#include <charconv>
#include <cmath>
#include <string>

namespace sim {
namespace {

constexpr std::uint8_t ENQ = 0x05, ACK = 0x06, DC2 = 0x12, STX = 0x02, ETX = 0x03;

// A number right-aligned in 7 characters with the given decimals, "." as the point whatever
// the locale.
std::string field7(double value, int decimals) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string text = ec == std::errc{} ? std::string(buf, end) : std::string("ERROR");
    if (text.size() < 7) text.insert(0, 7 - text.size(), ' ');
    return text.substr(0, 7);
}

}  // namespace

void ScaleSim::place(double weightKg, double pricePerKg, bool stable) {
    std::lock_guard lock(stateMutex_);
    weight_ = weightKg;
    price_ = pricePerKg;
    stable_ = stable;
}

Bytes ScaleSim::answer() {
    std::lock_guard lock(stateMutex_);
    // STX "C=" cost " S" or "  " weight "kg  U=" price "  " ETX: 37 bytes in all.
    std::string text;
    text += char(STX);
    text += "C=";
    text += field7(std::round(weight_ * price_ * 100) / 100, 2);
    text += "   ";
    text += stable_ ? 'S' : ' ';
    text += field7(weight_, 3);
    text += "kg  U=";
    text += field7(price_, 2);
    text += "  ";
    text += char(ETX);
    return Bytes(text.begin(), text.end());
}

void ScaleSim::received(const Bytes& bytes) {
    for (std::uint8_t b : bytes) {
        if (b == ENQ) {
            trace().received({b}, "ENQ");
            send({ACK}, "ready");
        } else if (b == DC2) {
            trace().received({b}, "DC2");
            Bytes out = answer();
            if (faults().take("short")) out.pop_back();
            else if (faults().take("long")) out.push_back(' ');
            send(out, std::to_string(out.size()) + " bytes");
        } else {
            trace().received({b}, "ignored");
        }
    }
}

}  // namespace sim
