// Amounts the payment entry says aloud when the till is set up to: the receipt total before the
// payment dialog, the money received and the change once a payment is accepted. The sale window
// installs who says them; with none installed nothing is said.
#pragma once

#include <functional>
#include <utility>
#include <vector>

inline constexpr int kSpokenTotal = 1;
inline constexpr int kSpokenReceived = 2;
inline constexpr int kSpokenChange = 3;

// Each amount a kind and a value, said one after the other.
using SpokenAmounts = std::vector<std::pair<int, double>>;
using AmountSpeaker = std::function<void(const SpokenAmounts&)>;

void SetAmountSpeaker(AmountSpeaker speaker);
void SpeakAmounts(const SpokenAmounts& amounts);
