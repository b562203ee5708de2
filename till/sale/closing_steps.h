// The named points a receipt's closing (and its recovery at the next start) and a day close pass,
// for a hook that tests set to stop the program at one of them. Nothing happens at a point without
// a hook.
//
// Closing: "numbered" (number and marker committed, nothing printed), "first-line" (the first
// item line printed), "printed" (the whole receipt printed and marked so), "counting" (inside the
// counters' transaction, after its first write), "counted" (counters committed), "stored" (rows
// committed in REALIZ, no stock moved, marker not yet cleared), "stock-line" (with the stock link
// on: one more line's stock moved and kept in the pending file), "cleared" (marker cleared, the
// driving program's answer not yet written), "card-approved" (a card row's approval kept in the
// pending file: a payment's before the receipt is numbered, a refund's once its return is
// printed). Recovery: "recovery-printed" (a card-paid receipt printed again in full),
// "recovery-counted", "recovery-stored", "recovery-card-cancelled" (one approval of a receipt never
// numbered cancelled on the terminal). Vouchers from the web service: "voucher-reserved" (one more
// reservation kept, before the receipt is numbered), "voucher-bought" (a purchase kept, its code
// not printed), "voucher-printed" (its code printed and kept so). The Z report's day close:
// "day-appended" (the day-close record appended, counters not yet zeroed), "day-closed" (counters
// zeroed and its marker cleared, no answer written yet).
#pragma once

#include <functional>
#include <string_view>

using ClosingStepHook = std::function<void(std::string_view step)>;

// Replaces the hook (an empty one removes it).
void SetClosingStepHook(ClosingStepHook hook);
void ReachClosingStep(std::string_view step);
