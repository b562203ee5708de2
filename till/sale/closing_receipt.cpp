#include "closing_receipt.h"

int DepartmentSlot(int nodala, int prepaidNodala) {
    if (nodala < 24) return nodala;
    if (nodala >= 70 && nodala <= 99) return prepaidNodala;
    return 1;
}
