// The card half of the payment on the sale window: each card row charged through the configured
// terminal, and the slips of an approved payment after the receipt.
#pragma once

#include "payment_entry.h"

class ArccomTerminal;
class TPOSMain;

// The outside vendor's library of terminal kind 3 on the window: made on first use as a child of
// the window, which then holds it as TPOSMain::OutsideTerminalLib for the Z report's end of day.
ArccomTerminal& OutsideTerminalOf(TPOSMain& window);

// Cancels an approved card row on the terminal control (kinds 1 and 2): the payment's
// cancellation with its amount, run through the card dialog. False when it was not approved; the
// outside library of kind 3 has no cancellation with an amount.
bool CancelApprovedCard(TPOSMain& window, const ApprovedCard& card);

class TillCardSteps : public CardSteps {
public:
    explicit TillCardSteps(TPOSMain& window) : w_(window) {}
    bool ChargeCardRow(const TApmaksasRinda& row) override;
    std::optional<QString> LastApproval() const override;
    bool RefundCard(double amount) override;
    bool CardSlipFollows(const QString& paymentText) override;
    void PrintCardSlip(int copy) override;

private:
    TPOSMain& w_;
};
