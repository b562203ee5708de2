// Paying an order at the till: its unpaid lines go into the sale window's item field one by one
// as a cashier would type them, then the orders window's own text (the payment); the lines are
// marked paid only when the receipt that carries them was stored.
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
        // without it, so the order stays unpaid and the receipt open.
        if (w.RinduSkaits <= before) return;
    }
    // Marked paid when the receipt carrying the lines is stored: by the text handed over next,
    // or later at the sale window.
    if (!lines.empty())
        w.AfterReceiptStored.push_back([db = Db(), pasutNr, lines] { MarkOrderLinesPaid(db, pasutNr, lines); });
    w.edArtikuls->setText(shArtikuls->text());
    w.edArtikulsKeyPress(13);
}
