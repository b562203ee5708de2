#include "prepaid_voucher_steps.h"

#include "closing_steps.h"
#include "pending_vouchers.h"
#include "prepaid_ref.h"
#include "razevedu_client.h"
#include "receipt.h"
#include "receipt_recovery.h"
#include "receipt_state.h"
#include "voucher_receipt.h"

#include "printclass.h"
#include "ui_services.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

void say(const QString& text) { platform::ui::showMessage(text); }

std::filesystem::path pendingFile() { return std::filesystem::current_path() / kPendingReceiptFile; }

PendingVoucher* keptFor(std::vector<PendingVoucher>& kept, const QString& reservation) {
    const auto v = std::find_if(kept.begin(), kept.end(), [&](const PendingVoucher& k) { return k.reservation == reservation; });
    return v == kept.end() ? nullptr : &*v;
}

// The receipt's voucher lines in receipt order.
std::vector<TCekaRinda*> voucherLines(TCekasStavoklis& ceks) {
    std::vector<TCekaRinda*> lines;
    for (int i = 0; i < ceks.RinduSkaits; ++i)
        if (IsVoucherLine(ceks.CekaRindas[std::size_t(i)].Nodala)) lines.push_back(&ceks.CekaRindas[std::size_t(i)]);
    return lines;
}

}  // namespace

bool IsVoucherLine(int nodala) { return nodala >= 70 && nodala <= 99; }

bool PrepaidVoucherSteps::ReserveVouchers() {
    settings_ = host_.Settings();
    if (settings_.PrepaidServVeids == 1) return host_.IsReturn() || ReserveWithDistributor();
    if (settings_.PrepaidServVeids == 2) return ReserveWithService();
    return true;
}

void PrepaidVoucherSteps::AfterPrinting() {
    settings_ = host_.Settings();
    if (host_.IsReturn()) return;
    // Only the payment-terminal control (kinds 1 and 2) issues top-ups; on another terminal kind
    // making its dialog could only fail and end the program before the printed receipt is
    // registered and stored.
    // A line issued in an earlier try of this receipt keeps the terminal's reference and is not
    // topped up again.
    if (settings_.PrepaidServVeids == 0 && (settings_.EFT == 1 || settings_.EFT == 2))
        for (TCekaRinda* line : voucherLines(host_.Ceks()))
            if (line->PrepaidAtbilde.isEmpty())
                line->PrepaidAtbilde = host_.TopUpOnTerminal(line->Nodala, RindasSumma(*line)).value_or(QString());
    if (settings_.PrepaidServVeids == 1) PrintWithDistributor();
    if (settings_.PrepaidServVeids == 2) BuyFromService();
}

bool PrepaidVoucherSteps::TopUpsIssued() {
    if (host_.IsReturn() || settings_.PrepaidServVeids != 0 || (settings_.EFT != 1 && settings_.EFT != 2)) return true;
    const std::vector<TCekaRinda*> lines = voucherLines(host_.Ceks());
    return std::all_of(lines.begin(), lines.end(), [](const TCekaRinda* line) { return !line->PrepaidAtbilde.isEmpty(); });
}

QString PrepaidVoucherSteps::Distributor(const QString& method, const QStringList& arguments) {
    // Without the object there is no reply, which no step takes for a success.
    return host_.CallDistributor(method, arguments).value_or(QString());
}

bool PrepaidVoucherSteps::ReserveWithDistributor() {
    const std::vector<TCekaRinda*> lines = voucherLines(host_.Ceks());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        TCekaRinda& line = *lines[i];
        line.PrepaidRef = GetPrepaidRef();
        line.PrepaidAtbilde = Distributor("CodeSellRequestReserve",
                                          {line.PrepaidRef, line.Artikuls, QString::number(line.Nodala),
                                           QString::number(VoucherCents(line.Cena, line.Atlaide)), QStringLiteral("EUR")});
        if (line.PrepaidAtbilde.contains(QStringLiteral("OK,"))) continue;
        say(kSanitexErrorLead + DistributorErrorText(line.PrepaidAtbilde) + kSanitexCannotClose);
        for (std::size_t j = 0; j < i; ++j) Distributor("CodeSellRequestCancel", {lines[j]->PrepaidRef, lines[j]->PrepaidAtbilde});
        return false;
    }
    return true;
}

bool PrepaidVoucherSteps::ReserveWithService() {
    RazeveduClient service(settings_.ZudezoClientID, settings_.ZudezoPasword, settings_.ZudezoUserID);
    const std::vector<TCekaRinda*> lines = voucherLines(host_.Ceks());
    // A sale's reservations are on record as they are made, so that a start after a kill cancels
    // those no receipt bought.
    std::vector<PendingVoucher> kept;
    KeepPendingVouchers(pendingFile(), kept);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        TCekaRinda& line = *lines[i];
        line.PrepaidRef = GetPrepaidRef();
        line.PrepaidAtbilde = host_.IsReturn() ? service.cancelTransaction(host_.AskVoucherReference())
                                               : service.reserveVoucher(line.Artikuls);
        if (!line.PrepaidAtbilde.isEmpty()) {
            if (host_.IsReturn()) continue;
            kept.push_back({line.PrepaidAtbilde, {}, {}, false});
            KeepPendingVouchers(pendingFile(), kept);
            ReachClosingStep("voucher-reserved");
            continue;
        }
        say(kZudezoReserveFailed);
        KeepPendingVouchers(pendingFile(), {});
        // A return's earlier cancellations stand: they gave vouchers back that the return pays.
        if (!host_.IsReturn())
            for (std::size_t j = 0; j < i; ++j) service.cancelVoucherReservation(lines[j]->PrepaidAtbilde);
        return false;
    }
    return true;
}

void PrepaidVoucherSteps::PrintLines(const QString& text) {
    TPrintClass* printer = host_.Printer();
    if (!printer) return;
    for (const QString& line : VoucherTextLines(text)) printer->DrukaUzCeka(line, false, 1);
}

void PrepaidVoucherSteps::FinishVoucherPrint() {
    TPrintClass* printer = host_.Printer();
    if (!printer) return;
    printer->DrukaUzCeka(QStringLiteral("\n\n\n\n\n"), false, 1);
    if (printer->DrukaCekaGalvu() < 0) host_.AnnulAndEnd();
}

void PrepaidVoucherSteps::PrintWithDistributor() {
    for (TCekaRinda* line : voucherLines(host_.Ceks())) {
        const QString reply = Distributor("CodeSellRequestPrint", {line->PrepaidRef, line->PrepaidAtbilde});
        if (reply.contains(QStringLiteral("OK"))) {
            PrintLines(reply.mid(3));
            FinishVoucherPrint();
            continue;
        }
        const QString cancelReply = Distributor("CodeSellRequestCancel", {line->PrepaidRef, reply.mid(2)});
        say(kSanitexErrorLead + DistributorErrorText(cancelReply));
    }
}

void PrepaidVoucherSteps::BuyFromService() {
    RazeveduClient service(settings_.ZudezoClientID, settings_.ZudezoPasword, settings_.ZudezoUserID);
    // Each purchase is on record before its code is printed, and its printing after.
    std::vector<PendingVoucher> kept = LoadPendingVouchers(pendingFile());
    for (TCekaRinda* line : voucherLines(host_.Ceks())) {
        PendingVoucher* record = keptFor(kept, line->PrepaidAtbilde);
        QString receipt;
        line->PrepaidAtbilde = service.buyReservedVoucher(line->PrepaidAtbilde, receipt);
        if (line->PrepaidAtbilde.isEmpty()) {
            say(kZudezoBuyFailed);
            continue;
        }
        if (record) {
            record->reference = line->PrepaidAtbilde;
            record->receipt = receipt;
            KeepPendingVouchers(pendingFile(), kept);
        }
        ReachClosingStep("voucher-bought");
        PrintServiceReceipt(line->PrepaidAtbilde, receipt);
        if (record) {
            record->printed = true;
            KeepPendingVouchers(pendingFile(), kept);
        }
        ReachClosingStep("voucher-printed");
    }
}

void PrepaidVoucherSteps::FinishPending(bool receiptPaid) {
    settings_ = host_.Settings();
    std::vector<PendingVoucher> kept = LoadPendingVouchers(pendingFile());
    if (kept.empty() || settings_.PrepaidServVeids != 2) return;
    RazeveduClient service(settings_.ZudezoClientID, settings_.ZudezoPasword, settings_.ZudezoUserID);
    // A receipt finished as paid paid for its vouchers: what it reserved is bought now, and every
    // code bought is printed once. Any other receipt is annulled or never was: its reservations
    // not bought are cancelled.
    for (PendingVoucher& v : kept) {
        if (!receiptPaid) {
            if (v.reference.isEmpty()) service.cancelVoucherReservation(v.reservation);
            continue;
        }
        if (v.reference.isEmpty()) {
            v.reference = service.buyReservedVoucher(v.reservation, v.receipt);
            if (v.reference.isEmpty()) {
                say(kZudezoBuyFailed);
                continue;
            }
            KeepPendingVouchers(pendingFile(), kept);
        }
        if (!v.printed) {
            PrintServiceReceipt(v.reference, v.receipt);
            v.printed = true;
            KeepPendingVouchers(pendingFile(), kept);
        }
    }
    if (!receiptPaid) KeepPendingVouchers(pendingFile(), {});
}

void PrepaidVoucherSteps::PrintServiceReceipt(const QString& reference, const QString& receipt) {
    TPrintClass* printer = host_.Printer();
    if (!printer) return;
    printer->DrukaUzCeka(QStringLiteral("Reference Nr:"), false, 1);
    printer->DrukaUzCeka(reference, false, 1);
    for (const QString& line : VoucherTextLines(receipt)) {
        const VoucherPrintItem item = ReadVoucherReceiptLine(line);
        if (item.kind == VoucherPrintItem::Logo) {
            const auto& logos = settings_.ZudezoLogo;
            const auto logo = item.text.isEmpty() ? logos.end() : std::find(logos.begin(), logos.end(), item.text);
            if (logo == logos.end())
                say(kUnknownLogo + item.text);
            else
                printer->DrukaZudezoLogo(int(logo - logos.begin()));
        } else if (item.kind == VoucherPrintItem::Barcode) {
            printer->DrukaZudezoEAN(item.text);
        } else {
            printer->DrukaUzCeka(item.text, false, 1);
        }
    }
    FinishVoucherPrint();
}
