#include "payment_entry.h"

#include "spoken_amounts.h"

#include "clock.h"
#include "fiscal_registration.h"
#include "fmproc.h"
#include "printclass.h"
#include "receipt_printing.h"
#include "receipt_recovery.h"
#include "receipt_store.h"
#include "closing_steps.h"
#include "sale_engine.h"
#include "ui_services.h"

#include <QDateTime>

#include <cmath>

namespace {

QDateTime Now() {
    const platform::LocalTime t = platform::localNow();
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
}

}  // namespace

QString MinimumTotalMessage(const QString& currency) {
    return "Čeka kopējā summa pirkumā nedrīkst būt mazāka par 0.01 " + currency + " !!!";
}

QString ApprovedCardsLeftMessage(double amount) {
    return QStringLiteral("Ar karti šim čekam jau samaksāts %1, apmaksā jābūt kartes rindām vismaz par šo summu !!!")
        .arg(amount, 0, 'f', 2);
}

bool PaymentEntryFlow::ChargeCardRow(const TApmaksasRinda& row, double& covered) {
    TCekasStavoklis& r = w_.Ceks();
    const double sign = row.Summa < 0 ? -1 : 1;
    const double taken = std::min(covered, std::fabs(row.Summa));
    covered -= taken;
    TApmaksasRinda rest = row;
    rest.Summa = sign * double(RoundSumma(std::fabs(row.Summa) - taken, 2));
    if (std::fabs(rest.Summa) < 0.005) return true;
    CardSteps& card = p_.Card();
    if (!card.ChargeCardRow(rest)) return false;
    if (card.LastApproval()) {
        AddApproval(rest.Summa, rest.Veids);
        // Kept before anything else happens: a till killed from here on cancels it at its next
        // start unless the receipt got its number.
        PendingReceipt open;
        open.isReturn = w_.SaleMode() == 1;
        open.lines.assign(r.OpenLines().begin(), r.OpenLines().end());
        open.CekaSumma = r.CekaSumma;
        open.approvedCards = r.approvedCards;
        KeepApprovedCards(std::filesystem::current_path() / kPendingReceiptFile, open);
        ReachClosingStep("card-approved");
    }
    return true;
}

void PaymentEntryFlow::AddApproval(double amount, int kind) {
    w_.Ceks().approvedCards.push_back({amount, kind, p_.Card().LastApproval().value_or(QString())});
}

PaymentEntryFlow::PaymentEntryFlow(SaleWindow& window, SaleEngine& engine, PaymentWindow& payment)
    : w_(window), engine_(engine), p_(payment) {}

void PaymentEntryFlow::PaymentKey(int& key) {
    TCekasStavoklis& r = w_.Ceks();
    const QString currency = w_.Iestatijumi().Druka.CekaValutaKods;
    const bool sale = w_.SaleMode() == 0;
    if (TPrintClass* printer = w_.Printer())
        printer->PrintUzDispleja(QStringLiteral("Čeka summa"), currency + " " + QString::number(r.CekaSumma, 'f', 2));
    if (const auto offer = CheckPievArtikuli(w_.PosDb(), r.CekaSumma, !sale, r.OpenLines());
        offer && p_.AskYesNo(AddOnQuestion(*offer))) {
        w_.SetEntryText(offer->artikuls);
        int enter = 13;
        engine_.edArtikulsKeyPress(enter);
    }
    if (sale && r.CekaSumma < 0.01) return w_.ShowDialog(MinimumTotalMessage(currency));
    if (w_.EntryText().size() >= 2 || !sale) return;
    SpeakAmounts({{kSpokenTotal, r.CekaSumma}});
    r.Sanemts = 0;
    const auto [text, lastKind] = p_.RunPaymentDialog();
    if (text.isEmpty()) {
        w_.SetEntryText(QString());
        p_.SelectPaymentKind(kCashKind);
        key = 0;
        return;
    }
    w_.SetEntryText(text);
    p_.SelectPaymentKind(lastKind);
    key = 13;
}

bool PaymentEntryFlow::EnterPayment(const QString& lineText) {
    TCekasStavoklis& r = w_.Ceks();
    const PaymentWindow::Settings s = p_.ClosingIestatijumi();
    const CustomerBlock customer = w_.Customer();
    PaymentEntry entry;
    entry.text = lineText;
    entry.isReturn = w_.SaleMode() == 1;
    entry.CekaSumma = r.CekaSumma;
    entry.lineCount = r.RinduSkaits;
    entry.customerChosen = !(customer.CitasZinas.isEmpty() && customer.Nosaukums.isEmpty()) && w_.CustomerCode() != "1";
    entry.kinds = &p_.PaymentKinds();
    entry.selectedKind = p_.SelectedPaymentKind();
    entry.CekaValuta = s.closing.CekaValuta;
    entry.EUR_Kurss = s.closing.EUR_Kurss;
    entry.CekaValutaKods = s.closing.CekaValutaKods;
    entry.AtgriesanaPecCeka = r.AtgriesanaPecCeka;
    entry.rate = [this](const QString& code) { return GetValutasKurss(w_.PosDb(), code); };
    // Rows the terminal already approved in this receipt are never sent again.
    double covered = 0;
    if (!entry.isReturn || !entry.AtgriesanaPecCeka)
        for (const ApprovedCard& card : r.approvedCards) covered += std::fabs(card.Summa);
    entry.chargeCard = [this, &covered](const TApmaksasRinda& row) { return ChargeCardRow(row, covered); };

    PaymentResult result = ParsePaymentText(entry);
    if (result.verdict == PaymentResult::DepositLine) {
        r.CekaRindas[std::size_t(r.RinduSkaits)] = KlientaIemaksasRinda(result.depositAmount);
        ++r.RinduSkaits;
        engine_.RefreshPirkumuSaraksts();
        entry.CekaSumma = r.CekaSumma;
        entry.lineCount = r.RinduSkaits;
        result = ParsePaymentText(entry);
    }
    r.Sanemts = 0;
    if (result.verdict == PaymentResult::Accepted && covered >= 0.005) {
        result.verdict = PaymentResult::Refused;
        result.message = ApprovedCardsLeftMessage(covered);
        result.clearField = true;
    }
    if (result.verdict != PaymentResult::Accepted) {
        if (!result.message.isEmpty()) w_.ShowPazinojums(result.message);
        if (result.clearField) w_.SetEntryText(QString());
        return false;
    }
    r.Apmaksas = result.rows;
    r.Sanemts = result.Sanemts;
    ApmValuta_ = result.ApmValuta;
    valutasKurss_ = result.valutasKurss;
    engine_.ShowSummas();
    if (TPrintClass* printer = w_.Printer()) {
        const auto [line1, line2] = PaymentDisplayLines(entry.isReturn, r.CekaSumma, r.Sanemts);
        printer->PrintUzDispleja(line1, line2);
    }
    SpeakAmounts({{kSpokenReceived, r.Sanemts}, {kSpokenChange, r.Sanemts - r.CekaSumma}});
    if (!p_.Vouchers().ReserveVouchers()) {
        r.Sanemts = 0;
        w_.SetEntryText(QString());
        return false;
    }
    if (!Close()) return false;
    w_.SetEntryText(QString());
    return true;
}

ClosingReceipt PaymentEntryFlow::Receipt() const {
    const TCekasStavoklis& r = w_.Ceks();
    ClosingReceipt receipt;
    receipt.lines = r.OpenLines();
    receipt.payments = r.Apmaksas;
    receipt.CekaSumma = r.CekaSumma;
    receipt.Sanemts = r.Sanemts;
    receipt.isReturn = w_.SaleMode() == 1;
    receipt.ApmValuta = ApmValuta_;
    receipt.valutasKurss = valutasKurss_;
    return receipt;
}

ReceiptRows PaymentEntryFlow::ClosingRows(int number) const {
    const QDateTime now = Now();
    ReceiptRows rows;
    rows.CekaNr = number;
    rows.Datums = now.date();
    rows.Laiks = RealizLaiks(now.time().hour(), now.time().minute(), now.time().second());
    rows.KlKods = w_.CustomerListKey();
    rows.ApmVeids = p_.SelectedPaymentKind();
    rows.Kasieris = w_.Iestatijumi().Kasieris;
    rows.PaymentText = w_.EntryText();
    const CustomerBlock customer = w_.Customer();
    rows.CitasZinas = customer.CitasZinas;
    rows.KlNosaukums = customer.Nosaukums;
    rows.KlRegNr = customer.RegNr;
    return rows;
}

bool PaymentEntryFlow::Close() {
    TCekasStavoklis& r = w_.Ceks();
    const PaymentWindow::Settings s = p_.ClosingIestatijumi();
    TPrintClass* printer = w_.Printer();
    TFMProc* fm = w_.FiscalMemory();
    if (!printer || !fm) FiscalFailure();
    CardSteps& card = p_.Card();
    // Before anything is printed, what finishing the receipt needs goes into the pending file and
    // the marker is committed with the receipt number: a till killed from here on finishes the
    // receipt at its next start.
    const ClosingReceipt receipt = Receipt();
    MarkedClosing marked(*fm, std::filesystem::current_path() / kPendingReceiptFile, receipt, s.closing,
                         [this](int number) { return ClosingRows(number); });
    marked.keepApprovedCards(r.approvedCards);
    marked.paysOrderLines(r.OrderLines);
    ReceiptPrintJob job;
    job.prepare = [&marked](const QString& taxRates) { return marked.prepare(taxRates); };
    job.beforePrinting = [&marked](int number) { return marked.beforePrinting(number); };
    job.KartesCeks = card.CardSlipFollows(w_.EntryText()) ? 1 : 0;
    job.KasierisFullName = s.KasierisFullName;
    job.now = Now();
    job.printCardSlip = [&card](int copy) { card.PrintCardSlip(copy); };
    // A receipt that could not be printed in full is neither registered nor stored: it stays
    // open for another try or an annulment, and its number is given up as before.
    if (PrintAllCeks(job, receipt, s.closing, *printer, *fm, *this, r.PedejaisCeks) < 0) {
        marked.abandon();
        r.Sanemts = 0;
        return false;
    }
    bool cardSlip = job.KartesCeks != 0;
    if (r.refundOnCard && r.approvedCards.empty()) {
        // The refund goes last, once the return has passed every check and is printed: one that
        // goes through is kept at once and the receipt is counted and stored with it. A refused
        // one leaves the return open, its number given up as for a receipt not wholly printed.
        if (!card.RefundCard(r.CekaSumma)) {
            marked.abandon();
            r.Sanemts = 0;
            return false;
        }
        AddApproval(-r.CekaSumma, kCardKind);
        marked.keepApprovedCards(r.approvedCards);
        ReachClosingStep("card-approved");
        cardSlip = card.CardSlipFollows(w_.EntryText());
        if (cardSlip) card.PrintCardSlip(2);
    }
    if (!marked.printed()) FiscalFailure();
    ReachClosingStep("printed");
    if (cardSlip) card.PrintCardSlip(1);
    p_.Vouchers().AfterPrinting();
    if (!p_.Vouchers().TopUpsIssued()) {
        // The customer pays for no code the terminal did not issue: the receipt is not counted
        // and stays open, its number given up as for one not wholly printed.
        w_.ShowPazinojums(kTopUpNotIssuedMessage);
        marked.abandon();
        r.Sanemts = 0;
        return false;
    }

    // The counters and the marker's next step in one transaction. When they cannot be written the
    // program ends and its next start counts and stores the printed receipt.
    if (!marked.count()) {
        w_.SetStatusText("PutInFM = " + QString::number(kPutInFMFailure));
        FiscalFailure();
    }
    ReachClosingStep("counted");
    SaveCeku(marked);
    p_.CheckNaudasLadi();
    return true;
}

void PaymentEntryFlow::SaveCeku(MarkedClosing& marked) {
    TCekasStavoklis& r = w_.Ceks();
    const PaymentWindow::Settings s = p_.ClosingIestatijumi();
    const ClosingReceipt receipt = Receipt();
    r.PedejaisCeks.IeprCekaRindas = IeprCekaRindas(receipt.lines);
    engine_.ShowSummas();
    // The number the receipt was printed and counted under, never read again.
    const int number = marked.pending().number;
    try {
        StoreReceiptRows(w_.PosDb(), receipt, marked.pending().rows);
        ReachClosingStep("stored");
        if (const auto stock = w_.Iestatijumi().stock)
            marked.moveStock(*stock, [this](const QString& text) { w_.ShowPazinojums(text); });
    } catch (const ReceiptStoreError& error) {
        // The receipt is printed and counted: it is cleared all the same, so that it is never
        // registered twice; the cashier is told the journal lacks it.
        w_.ShowDialog(kStoreFailedMessage + QString::fromStdString(error.what()));
    }
    // Marked while the marker still stands: a kill before it leaves the marking to the next start.
    marked.markOrderLinesPaid(w_.PosDb(), [this](const QString& text) { w_.ShowPazinojums(text); });
    r.OrderLines.clear();
    // A marker that cannot be cleared is said after the rows are stored; the next start finds
    // them and only clears it. A driving program's answer is owed until its reply is written.
    const bool cleared = marked.done(platform::ui::unattended());
    ReachClosingStep("cleared");
    if (p_.TextCopyWanted() && !s.CekaKopijaPath.isEmpty())
        WriteReceiptCopy(ReceiptCopyFile(s.CekaKopijaPath, number, s.KasesNr), receipt, s.closing.CekaValutaKods);
    lastStored_ = number;
    r.RinduSkaits = 0;
    r.approvedCards.clear();
    r.refundOnCard = false;
    r.AtgriesanaPecCeka = false;
    w_.ClearSaleScreen();
    p_.SelectPaymentKind(kCashKind);
    p_.ReceiptStored();
    engine_.ShowSummas();
    if (!cleared) FiscalFailure();
}

void PaymentEntryFlow::FiscalFailure() {
    w_.ShowDialog(kFiscalFailureMessage);
    platform::ui::endProgram(1);
}

void PaymentEntryFlow::PrintLastReceiptCopy() {
    if (TPrintClass* printer = w_.Printer()) ::PrintLastReceiptCopy(*printer, w_.Ceks().PedejaisCeks, w_.Ceks().RinduSkaits, *this);
}

void PaymentEntryFlow::PrintSlipCopy(SlipKind kind) {
    if (TPrintClass* printer = w_.Printer()) ::PrintSlipCopy(*printer, kind, w_.Ceks().RinduSkaits, *this);
}

int PaymentEntryFlow::PrintCekaRinda(const TCekaRinda& line) {
    return engine_.PrintCekaRinda({line.Nodala, line.Nosaukums, line.Cena, line.Daudzums * line.Iepakojums, line.Atlaide,
                                   line.Artikuls, line.Mervieniba, false});
}

QStringList PaymentEntryFlow::MaksatajaRindas() {
    return KlientaDatuRindas(w_.Customer(), w_.Printer() ? w_.Printer()->RindasGarums : 40);
}

void PaymentEntryFlow::AnuletCeku() { engine_.AnuletCeku(); }
void PaymentEntryFlow::SetStatusText(const QString& text) { w_.SetStatusText(text); }
void PaymentEntryFlow::ShowPazinojums(const QString& text) { w_.ShowPazinojums(text); }
