// The card half of the payment on the sale window: each card row charged through the configured
// terminal, and the slips of an approved payment after the receipt.
#pragma once

#include "payment_entry.h"

class ArccomTerminal;
class TPOSMain;

// The outside vendor's library of terminal kind 3 on the window: made on first use as a child of
// the window, which then holds it as TPOSMain::OutsideTerminalLib for the Z report's end of day.
ArccomTerminal& OutsideTerminalOf(TPOSMain& window);

class TillCardSteps : public CardSteps {
public:
    explicit TillCardSteps(TPOSMain& window) : w_(window) {}
    bool ChargeCardRow(const TApmaksasRinda& row) override;
    bool CardSlipFollows(const QString& paymentText) override;
    void PrintCardSlip(int copy) override;

private:
    TPOSMain& w_;
};
