// The sale window's prepaid-voucher steps of the payment.
#pragma once

#include "payment_entry.h"

#include <memory>

class TPOSMain;

std::unique_ptr<VoucherSteps> MakeVoucherSteps(TPOSMain& window);
