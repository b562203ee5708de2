// Corrections of an order: deleting the current line with its kitchen cancellation slip, one
// discount for the whole order, and the order's customer.
#include "pasutijumi.h"

#include "order_corrections.h"
#include "order_entry.h"
#include "order_printing.h"

#include "ui_services.h"

void TPasutijumi::btDzestClick() {
    Guarded([this] {
        const OrderLine line = CurrentLine() ? *CurrentLine() : OrderLine{};
        MarkLineDeleted(Db(), line.isn);
        if (platform::ui::showMessage(QStringLiteral("Vai drukāt atteikumu uz virtuves printera ?"), {},
                                      platform::ui::Buttons::YesNo, platform::ui::Icon::Question) == platform::ui::Yes) {
            // The heading names the chosen tabs, not the line's own waiter and table; the slip reads
            // the line by its key, so it is printed before a removal.
            DrukatAtteikumu(Db(), CurrentHeading(), line.isn);
        }
        // A line that was never printed leaves no trace.
        if (line.neverPrinted()) RemoveLine(Db(), line.isn);
        RefreshPasutijumi(0);
    });
}

void TPasutijumi::btAtlaideVisamClick() {
    Guarded([this] {
        const double atlaide = WholeOrderDiscount(shAtlaide->text());
        if (atlaide < kLowestDiscount) {
            platform::ui::showMessage(kDiscountOver100Message);
            return;
        }
        SetPasutAtlaide(CurrentPasutNr(), atlaide);
        RefreshPasutijumi(0);
    });
}

void TPasutijumi::SetPasutAtlaide(int pasutNr, double atlaide) {
    SetOrderDiscount(Db(), pasutNr, atlaide);
    RefreshPasutijumi(0);
}

void TPasutijumi::SetPasutKlients(const QString& klKods, int pasutNr) {
    const double atlaide = CustomerOrderDiscount(Db(), klKods);
    SetOrderCustomer(Db(), pasutNr, klKods, atlaide);
    RefreshPasutijumi(0);
}
