// The card half of the payment on the sale window: each card row charged through the configured
// terminal, and the slips of an approved payment after the receipt.
#pragma once

#include "payment_entry.h"

class TPOSMain;

class TillCardSteps : public CardSteps {
public:
    explicit TillCardSteps(TPOSMain& window) : w_(window) {}
    bool ChargeCardRow(const TApmaksasRinda& row) override;
    bool CardSlipFollows(const QString& paymentText) override;
    void PrintCardSlip(int copy) override;

private:
    TPOSMain& w_;
};
