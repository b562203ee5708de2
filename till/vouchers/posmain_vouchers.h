// The sale window's prepaid-voucher steps of the payment, and the voucher service's products for
// the goods browser.
#pragma once

#include "payment_entry.h"

#include <memory>

class TPOSMain;

std::unique_ptr<VoucherSteps> MakeVoucherSteps(TPOSMain& window);

// The goods browser's voucher tab lists the voucher service's products.
void InstallVoucherProductSource();
