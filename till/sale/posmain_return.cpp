// Taking back a stored receipt by its number: Enter in the return-number field (or the keypad's
// Enter while that field is served) enters the receipt's lines again as return lines through the
// item field, restores its customer and pays the return back the way the receipt was paid.
#include "posmain.h"

#include "datumodelis.h"
#include "customer_choice.h"
#include "receipt_return.h"

#include "ui_services.h"

namespace {

bool AskYesNo(const QString& question) {
    return platform::ui::showMessage(question, kAtgriesanasCaption, platform::ui::Buttons::YesNo, platform::ui::Icon::Question) ==
           platform::ui::Yes;
}

}  // namespace

void TPOSMain::shAtgrnrKeyPress(int key) {
    if (key == 13) ReturnReceipt();
}

void TPOSMain::ReturnReceipt() {
    if (shAtgrnr->text().isEmpty() || rdPirkumsStorno->ItemIndex() != 1) return;
    if (RinduSkaits > 0) {
        platform::ui::showMessage(kIepriekshejaisCeks);
        return;
    }
    StoredReceipt receipt;
    try {
        receipt = ReadStoredReceipt(DatuModelis->POS_DB(), ReturnNumber(shAtgrnr->text()));
    } catch (const std::exception& error) {
        platform::ui::showMessage(QString::fromStdString(error.what()));
        return;
    }
    const double divisor = ReturnDivisor(receipt.datums);
    if (receipt.total == 0) return edArtikuls->setFocus();
    if (!AskYesNo(ReturnQuestion(receipt.total, divisor))) {
        shAtgrnr->clear();
        return edArtikuls->setFocus();
    }

    const ReturnRow& first = receipt.rows.front();
    if (first.klNosaukums.isEmpty() && first.klRegNr.isEmpty() && !first.klKods.isEmpty()) {
        shKlKods->setText(first.klKods);
        if (const std::optional<int> row = FindCustomerRow(DatuModelis->Klienti, first.klKods)) {
            dblKlientuSaraksts->setCurrentIndex(*row);
            ShowPayer(ShowCustomer(DatuModelis->Klienti.record(*row)));
        }
    } else {
        shKlientaNosaukums->setText(first.klNosaukums);
        shRegNr->setText(first.klRegNr);
    }
    KlCitasZinas->setText(first.citasZinas);

    for (const ReturnRow& row : receipt.rows) {
        edAtlaide->setText(QString::number(row.atlaide, 'g', 15));
        edArtikuls->setText(ReturnEntryText(row, divisor));
        edArtikulsKeyPress(13);
    }

    // Paid back as it was paid: the receipt's own payment text, else its kind found by number.
    const ReturnRow& last = receipt.rows.back();
    if (!last.apmRinda.isEmpty()) {
        edArtikuls->setText(last.apmRinda);
        edArtikulsKeyPress(13);
        return edArtikuls->setFocus();
    }
    const int kind = ReturnPaymentKind(ApmaksasVeidi, last.apmVeids);
    cmbApmaksasVeids->setCurrentIndex(std::max(0, ApmaksasVeidi.positionOf(kind)));
    if (EFT == 3) {
        edArtikulsKeyPress(13);
    } else if ((EFT == 1 || EFT == 2) && kind == kCardKind) {
        if (AskYesNo(kUzliktUzKartes)) {
            // The refund reaches the terminal once, as the closing's last step before the return
            // is counted: the card row is booked without it.
            if (!KartesAtgriesana) {
                platform::ui::showMessage(kKartesAtgriesanaNav);
                return edArtikuls->setFocus();
            }
            refundOnCard = true;
        }
        AtgriesanaPecCeka = true;
        edArtikuls->setText(QStringLiteral("/"));
        edArtikulsKeyPress(13);
    } else {
        edArtikuls->setText(QStringLiteral("/"));
        edArtikulsKeyPress(13);
    }
    edArtikuls->setFocus();
}
