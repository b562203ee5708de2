// The sale window's card payments: through the terminal control the card operation behind every
// card row and prepaid line, F12, the loyalty credit, the card slips and the bank-card report;
// through the outside vendor's library (terminal kind 3) the card rows and the terminal's end of
// day on demand.
#include "posmain.h"

#include "bank_report.h"
#include "card_operation.h"
#include "karsu_autorizacija.h"
#include "outside_terminal.h"
#include "printclass.h"
#include "receipt_printing.h"
#include "till_card_steps.h"
#include "ui_services.h"

#include <cmath>

namespace {
constexpr int kFirstPrepaidNodala = 70;
constexpr int kLastPrepaidNodala = 99;
bool IsPrepaidNodala(int nodala) { return nodala >= kFirstPrepaidNodala && nodala <= kLastPrepaidNodala; }
bool TerminalControlKind(int eft) { return eft == 1 || eft == 2; }
constexpr int kOutsideLibraryKind = 3;

// The window's outside terminal goes with the window, as its child object.
class WindowOutsideTerminal : public QObject, public ArccomTerminal {
public:
    explicit WindowOutsideTerminal(TPOSMain& w)
        : QObject(&w), ArccomTerminal(*w.PrintClass, [&w] {
              w.AnuletCeku();
              platform::ui::endProgram(1);
          }) {}
};
}  // namespace

ArccomTerminal& OutsideTerminalOf(TPOSMain& w) {
    if (auto* terminal = dynamic_cast<ArccomTerminal*>(w.OutsideTerminalLib)) return *terminal;
    auto* terminal = new WindowOutsideTerminal(w);
    w.OutsideTerminalLib = terminal;
    return *terminal;
}

void TPOSMain::IngenicoTMS1Click() {
    if (EFT != kOutsideLibraryKind) return;
    TerminalDayEnd(OutsideTerminalOf(*this), IngenicoDienBeigas1, IngenicoDienBeigas2);
}

TKarsuAutorizacija& TPOSMain::KartesForma() {
    if (!KarsuAutorizacija) {
        try {
            auto* form = new TKarsuAutorizacija(this, EFT);
            form->PrintSlip = [this](int copy) { PrintKartesCeks(copy); };
            KarsuAutorizacija = form;
        } catch (const PayvoCreateError& error) {
            ShowPazinojums(kCardFormFailedMessage + QString::fromStdString(error.what()), true);
            platform::ui::endProgram(1);
        }
    }
    return *KarsuAutorizacija;
}

void TPOSMain::RunKartesOperacija(int operacija, int nodala, double summa, std::optional<double> rindasSumma) {
    if (!TerminalControlKind(EFT)) return;
    if (KarsuAutorizacija) KarsuAutorizacija->Apstiprinats = false;
    if (summa == 0) ShowPazinojums(kZeroSumMessage);
    PrintClass->PrintUzDispleja(QStringLiteral("Čeka summa"), QString::asprintf("%3s %7.2f", qPrintable(CekaValutaKods), summa));
    // The add-on articles were offered at the "/" key; an article added here, inside a payment
    // that has passed its checks, would close the receipt short of its new total.
    TKarsuAutorizacija& form = KartesForma();
    form.Nodala = nodala;
    const bool sale = rdPirkumsStorno->ItemIndex() == 0;
    form.SetOperacija(sale ? KartesOperacija::Apmaksa : KartesOperacija::Atcelsana);
    form.rdApmaksa->setEnabled(sale);
    form.rdApmaksasAtcelsana->setEnabled(!sale);
    form.rdPirkumaAtgriesana->setEnabled(!sale);
    form.RadioClick();
    const QString text = edArtikuls->text();
    if (ChosenPaymentKind() != kCardKind && !text.contains(u"/1=") && nodala <= 0 && !rindasSumma) return;
    form.Summa = KartesSummaCentos(text, nodala, summa, rindasSumma);
    if (sale && ParsniedzCekaSummu(form.Summa, summa)) {
        ShowPazinojums(kOverAmountMessage);
        Sanemts = 0;
        edArtikuls->clear();
        return;
    }
    form.exec();
    if (operacija == kKartesMaksajums && !form.Apstiprinats && !IsPrepaidNodala(nodala)) {
        Sanemts = 0;
        cmbApmaksasVeids->setCurrentIndex(0);
        edArtikuls->clear();
    }
}

bool TPOSMain::KartesRefund(double amount) {
    RunKartesOperacija(kKartesMaksajums, 0, amount, amount);
    return KarsuAutorizacija && KarsuAutorizacija->Apstiprinats;
}

void TPOSMain::ApmaksaArKartiEFTClick() {
    if (EFT <= 0) return;
    if (TerminalControlKind(EFT)) KartesForma();
    edArtikuls->setText("/1=" + QString::number(CekaSumma, 'f', 2));
    cmbApmaksasVeids->setCurrentIndex(ApmaksasVeidi.positionOf(kCardKind));
    edArtikulsKeyPress(13);
}

void TPOSMain::MOLAlojalitteskarte1Click() {
    RunKartesOperacija(kKartesLojalitate, 0, CekaSumma);
    if (!KarsuAutorizacija) return;
    platform::ui::showMessage(KarsuAutorizacija->Apstiprinats ? kLoyaltyCredited : kLoyaltyNotCredited);
}

void TPOSMain::PrintKartesCeks(int copy) {
    KartesCeksDati dati = KartesForma().SlipDati();
    dati.KasesNr = KasesNr;
    if (::PrintKartesCeks(copy, dati, *PrintClass) < 0) {
        // Copies 1 and 2 follow a receipt the card paid: it goes on to be counted and stored.
        if (copy != kDeclinedSlipCopy) return ShowPazinojums(kPaidReceiptReprintMessage);
        AnuletCeku();
        platform::ui::endProgram(1);
    }
}

void TPOSMain::Bankaskaruatskaite1Click() {
    if (RinduSkaits != 0) return ShowPazinojums(kReportWhileOpenMessage);
    const QString report = RequestBankReport(*KartesForma().Payvo1);
    PrintBankReport(*PrintClass, report);
    if (PrintClass->DrukaCekaGalvu() < 0) platform::ui::endProgram(1);
    SetStatusText(0, kReportPrintedStatus);
}

bool TillCardSteps::ChargeCardRow(const TApmaksasRinda& row) {
    if (w_.EFT == kOutsideLibraryKind) {
        const bool isReturn = w_.rdPirkumsStorno->ItemIndex() == 1;
        const OutsideTerminalSettings settings{w_.IngenicoPardosana, w_.IngenicoAtgr, w_.IngenicoVal};
        if (OutsideTerminalOf(w_).ChargeCardRow(settings, isReturn, row.Summa)) return true;
        if (!isReturn) w_.edArtikuls->clear();
        return false;
    }
    w_.RunKartesOperacija(kKartesMaksajums, 0, w_.CekaSumma, std::fabs(row.Summa));
    return !KarsuAutorizacija || KarsuAutorizacija->Apstiprinats;
}

std::optional<QString> TillCardSteps::LastApproval() const {
    // Kind 3 says only that the row was paid; its library gives the till no reference.
    if (w_.EFT == kOutsideLibraryKind) return QString();
    if (TerminalControlKind(w_.EFT) && KarsuAutorizacija && KarsuAutorizacija->Apstiprinats)
        return KarsuAutorizacija->SlipDati().TicketNumber;
    return std::nullopt;
}

bool TillCardSteps::RefundCard(double amount) { return w_.KartesAtgriesana && w_.KartesAtgriesana(amount); }

bool CancelApprovedCard(TPOSMain& w, const ApprovedCard& card) {
    // A refund taken back would be a new charge, which only the cashier may make.
    if (!TerminalControlKind(w.EFT) || card.Summa <= 0) return false;
    TKarsuAutorizacija& form = w.KartesForma();
    form.Nodala = 0;
    form.SetOperacija(KartesOperacija::Atcelsana);
    form.rdApmaksa->setEnabled(false);
    form.rdApmaksasAtcelsana->setEnabled(true);
    form.rdPirkumaAtgriesana->setEnabled(false);
    form.RadioClick();
    form.Summa = std::round(card.Summa * 100);
    form.exec();
    return form.Apstiprinats;
}

bool TillCardSteps::CardSlipFollows(const QString& paymentText) {
    // No form yet: no card operation ran in this payment, so no slip follows.
    if (!TerminalControlKind(w_.EFT) || !KarsuAutorizacija) return false;
    TKarsuAutorizacija& form = *KarsuAutorizacija;
    if ((w_.ChosenPaymentKind() != kCardKind && !paymentText.contains(u"/1=")) || form.ChipPorts <= 0 || !form.Apstiprinats)
        return false;
    form.EncashTransaction();
    return true;
}

void TillCardSteps::PrintCardSlip(int copy) { w_.PrintKartesCeks(copy); }
