// The reader's commands and answers: the two card queries, the display text, the card status in
// an answer, and the card kind from track data.
#pragma once

#include "link.h"

#include <optional>
#include <span>
#include <string_view>

namespace cardeon {

// The card prompt: three spaces, the word, eight spaces, the second word.
constexpr std::string_view kCardPrompt = "   IEVIETOJIET        KARTI";

Bytes cardInsertedQuery();   // STX "I051" ETX 7E
Bytes cardRemovalQuery();    // STX "I02" ETX 48
Bytes displayTextFrame(std::string_view text);  // STX "Z2" SUB text ETX check

// The status character of a query's answer frame: the fourth character after STX ('0' for no
// card). None when the frame's text is shorter than that.
std::optional<char> cardStatus(std::span<const std::uint8_t> frame);
inline bool cardIn(char status) { return status != '0'; }

// 1 chip card, 2 stripe-only card, -3 any other service code, -1 when the data holds no "="
// with a service code behind it. Only the first 50 bytes are looked at.
constexpr std::size_t kTrackDataLimit = 50;
int cardTypeOfTrackData(std::span<const char> trackData);

}  // namespace cardeon
