#include "scale_answer.h"

#include <charconv>

namespace scalvia {
namespace {

std::string field(std::span<const std::uint8_t, kAnswerLength> answer, std::size_t first, std::size_t last) {
    return std::string(answer.begin() + long(first), answer.begin() + long(last) + 1);
}

}  // namespace

ScaleReading readAnswer(std::span<const std::uint8_t, kAnswerLength> answer) {
    return ScaleReading{field(answer, 3, 9), field(answer, 14, 20), field(answer, 27, 33), answer[13] == 'S'};
}

double fieldValue(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    return ec == std::errc{} ? value : 0;
}

}  // namespace scalvia
