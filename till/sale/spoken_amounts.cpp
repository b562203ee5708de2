#include "spoken_amounts.h"

namespace {
AmountSpeaker& installed() {
    static AmountSpeaker speaker;
    return speaker;
}
}  // namespace

void SetAmountSpeaker(AmountSpeaker speaker) { installed() = std::move(speaker); }

void SpeakAmounts(const SpokenAmounts& amounts) {
    if (installed()) installed()(amounts);
}
