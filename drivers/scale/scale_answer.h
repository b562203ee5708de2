// The scale's 37-byte answer: where its fields stand and how their texts read as numbers. Pure
// functions over bytes; no I/O.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace scalvia {

constexpr std::uint8_t kEnq = 0x05;
constexpr std::uint8_t kDc2 = 0x12;
constexpr std::size_t kAnswerLength = 37;

// The texts of one valid answer, each 7 characters, and the stability mark.
struct ScaleReading {
    std::string cost;    // positions 3 to 9
    std::string weight;  // positions 14 to 20
    std::string price;   // positions 27 to 33
    bool stable = false; // "S" at position 13
};

// The fields of an answer of exactly 37 bytes.
ScaleReading readAnswer(std::span<const std::uint8_t, kAnswerLength> answer);

// A field's text as a number: leading spaces skipped, "." the decimal point whatever the locale,
// the number that the text begins with; 0 when it begins with none.
double fieldValue(std::string_view text);

}  // namespace scalvia
