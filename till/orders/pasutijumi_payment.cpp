// Paying an order at the till: its unpaid lines go into the sale window's item field one by one
// as a cashier would type them, then the orders window's own text (the payment); each line the
// sale window took goes with its receipt's pending close and is marked paid only when that
// receipt is stored (at the next start, should the till die first).
#include "pasutijumi.h"

#include "order_join.h"
#include "order_payment.h"
#include "posmain.h"

void TPasutijumi::ApvienotRindas() { JoinOrderLines(Db(), CurrentPasutNr()); }

void TPasutijumi::ApmaksatPasutijumu() {
    TPOSMain& w = *POSMain;
    const int pasutNr = CurrentPasutNr();
    const std::vector<PayLine> lines = UnpaidOrderLines(Db(), pasutNr);
    if (!lines.empty()) {
        w.KlCitasZinas->setText(OrderReceiptNote(lines.front()));
        if (lines.front().klKods.isEmpty()) {
            w.shKlKods->clear();
        } else {
            w.shKlKods->setText(lines.front().klKods);
            w.shKlKodsExit();
        }
    }
    for (const PayLine& line : lines) {
        w.edAtlaide->setText(OrderLineDiscountText(line.atlaide));
        w.edArtikuls->setText(OrderLineEntryText(line));
        const int before = w.RinduSkaits;
        w.edArtikulsKeyPress(13);
        // The sale window refused the line (and said why): a payment now would close the receipt
        // without it, so the receipt stays open with the lines taken so far, which are paid with
        // it wherever it is paid.
        if (w.RinduSkaits <= before) return;
        w.OrderLines.push_back({pasutNr, line.isn});
    }
    w.edArtikuls->setText(shArtikuls->text());
    w.edArtikulsKeyPress(13);
}
