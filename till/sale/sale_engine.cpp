#include "sale_engine.h"

#include "fmproc.h"
#include "printclass.h"
#include "realiz_rows.h"
#include "receipt_list.h"
#include "receipt_number.h"
#include "receipt_printing.h"
#include "text_format.h"

#include "clock.h"
#include "ui_services.h"

using namespace sale_messages;

namespace {

constexpr int kKeyEnter = 13;
constexpr int kKeyGrave = 96;
constexpr int kNotFoundBeeps = 5;
constexpr int kBeepPauseMs = 500;

bool PrepaidNodala(int nodala) { return nodala >= 70 && nodala <= 79; }

QDate Today() {
    const auto now = platform::localNow();
    return QDate(now.year, now.month, now.day);
}

}  // namespace

QString DisplejaRinda(double quantity, double price, double amount, int priceDecimals) {
    return FormatC(QStringLiteral("%6.3fx%6.") + QString::number(priceDecimals) + QStringLiteral("f=%6.2f"), {quantity, price, amount});
}

SaleEngine::SaleEngine(SaleWindow& window) : w_(window) {}

SaleEngine::~SaleEngine() = default;

void SaleEngine::edArtikulsKeyPress(int& key) {
    if (key == '/') {
        if (w_.Ceks().RinduSkaits == 0) return;
        w_.PaymentKey(key);
    }
    if (key != kKeyEnter && key != kKeyGrave) return;
    if (key == kKeyGrave) key = 0;
    EnterText();
}

std::optional<TAtrastaPrece> SaleEngine::FindPrece(const QString& code, double quantity) {
    if (!lookup_) lookup_ = std::make_unique<TPrecuMekletajs>(w_.PosDb());
    return lookup_->FindPrece({code, quantity, w_.Ceks().OpenLines(), w_.SaleMode() == 0, Today()});
}

void SaleEngine::ClearPreviousReceipt() {
    TCekasStavoklis& r = w_.Ceks();
    r.CekaSumma = 0;
    r.Sanemts = 0;
    w_.ClearReceiptLists();
    ShowSummas();
    if (TPrintClass* printer = w_.Printer()) {
        printer->ClearDispleju();
        printer->PrintDemoUzDispleja();
    }
}

void SaleEngine::Tail() {
    ShowSummas();
    w_.SetEntryText(QString());
}

void SaleEngine::EnterText() {
    TCekasStavoklis& r = w_.Ceks();
    const SaleSettings s = w_.Iestatijumi();
    const ItemEntry e = ParseItemEntry(w_.EntryText(), s.Svari);

    if (e.StarMinus) return w_.ShowDialog(kZvaigzneMinuss);
    if (e.NeedsReturnCheck && !CheckAtgriezDaudzums(e.Teksts, r.OpenLines())) return w_.ShowDialog(kAtgrieztNedrikst);
    if (r.Sanemts > 0) ClearPreviousReceipt();

    double atlaide = ParseEntryNumber(w_.DiscountText()).value_or(0.0);
    if (atlaide > 100 || atlaide < 0) return w_.ShowPazinojums(kAtlaidesRobezas);
    if (atlaide > s.MaxAtlaide) {
        w_.ShowPazinojums(kAtlaideKasierim);
        w_.FocusDiscount();
        return;
    }
    if (e.Semicolon) return w_.ShowPazinojums(kSemikols);
    if (!e.QuantityError.isEmpty()) w_.ShowPazinojums(kNepareizsDaudzums + e.QuantityError);
    double daudzums = e.Daudzums;
    if (daudzums < 0 && !s.VarAtgreizt) return w_.ShowDialog(kNavTiesibuAtgriezt);

    switch (e.Kind) {
    case EntryKind::Payment:
        if (w_.EnterPayment(e.LineText)) Tail();
        return;
    case EntryKind::Annul:
        AnuletCeku();
        return Tail();
    case EntryKind::VoidLast:
        if (r.RinduSkaits == 0) return w_.ShowPazinojums(kNesapratu);
        if (!AnuletRindinu()) return w_.ShowPazinojums(kPilnsCeks);
        return Tail();
    case EntryKind::Nothing:
        return Tail();
    case EntryKind::Item:
        break;
    }
    if (e.Label && !e.LabelError.isEmpty()) return w_.ShowDialog(e.LabelError);

    std::optional<TAtrastaPrece> prece;
    try {
        prece = FindPrece(e.Artikuls, daudzums);
    } catch (const ItemLookupError& error) {
        // What the application's error handler would show; the receipt and the field stay.
        return w_.ShowDialog(QString::fromStdString(error.what()));
    }
    if (!prece && !e.TypedPrice) {
        for (int i = 0; i < kNotFoundBeeps; ++i) {
            w_.Beep();
            platform::clock().sleepMs(kBeepPauseMs);
        }
        w_.ShowVaiParbaudijat(kParbaudijatCaption, ArtikulsNavAtrasts(e.Artikuls));
        w_.SetEntryText(QString());
        return;
    }
    TAtrastaPrece p;
    if (prece) {
        p = *prece;
        if (p.Atlaide) atlaide = *p.Atlaide;
    } else {
        p.Artikuls = e.Artikuls;
        p.Nodala = s.NeatrastaPreceNodala;
        p.Iepakojums = 1.0;
        p.Mervieniba = QStringLiteral(" ");
        p.Nosaukums = QStringLiteral("---");
    }
    if (e.TypedPrice) {
        p.Cena = e.Cena;
    } else if (p.Cena != 0 && s.Svari.UzlimeIrSumma && e.LabelSumma != 0) {
        daudzums = e.LabelSumma / p.Cena;
    }
    if (!p.Warning.isEmpty() && !s.SilentMessage) w_.ShowVaiParbaudijat(kPrecesPazinojums, p.Warning);
    if (p.NedotAtl == QStringLiteral("T")) atlaide = 0;

    const double summa = (1 - 0.01 * atlaide) * (p.Cena * daudzums * p.Iepakojums);
    if (summa > kMaxRindasSumma) return w_.ShowPazinojums(SummaParLielu(s.Druka.CekaValutaKods));
    if (PrepaidNodala(p.Nodala) && daudzums != 1.0) return w_.ShowDialog(kPrepaidDaudzums);
    // A line below department 1 could be neither printed nor annulled.
    if (p.Nodala < 1) return w_.ShowPazinojums(kNodalasNr);
    if (r.RinduSkaits >= MaxCekaRindas) return w_.ShowPazinojums(kPilnsCeks);

    TCekaRinda& line = r.CekaRindas[std::size_t(r.RinduSkaits)];
    line = TCekaRinda{};
    line.Cena = p.Cena;
    line.Daudzums = daudzums;
    line.Iepakojums = p.Iepakojums;
    line.Artikuls = p.Artikuls;
    line.Atlaide = atlaide;
    line.Bonuss = 0;
    line.Nosaukums = p.Nosaukums;
    line.Mervieniba = p.Mervieniba;
    line.Nodala = p.Nodala;
    line.Tara = p.Tara;
    line.ApmVeids = w_.PaymentKindNumber() + 1;
    ++r.RinduSkaits;

    w_.SetStatusText(QString());
    if (TPrintClass* printer = w_.Printer()) {
        const double f = 1 - 0.01 * atlaide;
        printer->PrintUzDispleja(p.Nosaukums, DisplejaRinda(daudzums * p.Iepakojums, p.Cena * f,
                                                            double(RoundSumma(f * (p.Cena * daudzums * p.Iepakojums), 2)),
                                                            s.Druka.CenasDecimalzimes));
    }
    RefreshPirkumuSaraksts();
    Tail();
}

bool SaleEngine::AnuletRindinu() {
    TCekasStavoklis& r = w_.Ceks();
    if (r.RinduSkaits >= MaxCekaRindas) return false;
    const TCekaRinda& last = r.CekaRindas[std::size_t(r.RinduSkaits - 1)];
    TCekaRinda copy;
    copy.Cena = last.Cena;
    copy.Daudzums = -last.Daudzums;
    copy.Iepakojums = last.Iepakojums;
    copy.Atlaide = last.Atlaide;
    copy.Artikuls = last.Artikuls;
    copy.Nosaukums = last.Nosaukums;
    copy.Mervieniba = last.Mervieniba;
    copy.Bonuss = last.Bonuss;
    copy.ApmVeids = last.ApmVeids;
    copy.Nodala = last.Nodala;
    copy.Tara = last.Tara;
    r.CekaRindas[std::size_t(r.RinduSkaits)] = copy;
    ++r.RinduSkaits;
    RefreshPirkumuSaraksts();
    return true;
}

void SaleEngine::EndProgram(const QString& reason) {
    if (!reason.isEmpty()) w_.ShowDialog(reason);
    w_.ShowDialog(kDarbsTiekPartraukts);
    platform::ui::endProgram(1);
}

void SaleEngine::AnuletCeku() {
    TCekasStavoklis& r = w_.Ceks();
    if (r.RinduSkaits > 0) {
        const SaleSettings s = w_.Iestatijumi();
        TPrintClass* printer = w_.Printer();
        const bool print = printer && !s.NedrukatAnuletosCekus;
        if (print) printer->AtverNaudasLadi();
        if (printer) {
            printer->ClearDispleju();
            printer->PrintDemoUzDispleja();
        }
        TFMProc* fm = w_.FiscalMemory();
        const ReceiptNumber number = fm ? TakeReceiptNumber(*fm) : ReceiptNumber{0, ReceiptNumberFailure::ReadFailed};
        if (!number.ok()) return EndProgram(number.Failure == ReceiptNumberFailure::NotANumber ? kCekaNrBojats : QString());

        bool headerFailed = false;
        if (print) {
            const int result = PrintAnnulledReceipt(
                *printer, [&] { PrintCekaSakums(number.Numurs); }, r.OpenLines(), [&](const TCekaRinda& line) {
                    return PrintCekaRinda({line.Nodala, line.Nosaukums, line.Cena, line.Daudzums * line.Iepakojums,
                                           line.Atlaide, line.Artikuls, line.Mervieniba, false});
                });
            headerFailed = result == kPrintAnnulledHeaderFailed;
            if (result <= 0 && !headerFailed) {
                // The number is used up; the receipt stays open and nothing is stored.
                w_.SetStatusText(QStringLiteral("PrintAllCeks = ") + QString::number(result));
                return;
            }
        }
        const auto now = platform::localNow();
        // The rows go in also when the next header failed: the receipt was printed as annulled
        // under its number, and the program ends right after.
        StoreAnnulledRows(w_.PosDb(),
                          {number.Numurs, QDate(now.year, now.month, now.day), RealizLaiks(now.hour, now.minute, now.second),
                           RealizKlKods(w_.CustomerListKey()), s.Kasieris, w_.SaleMode() == 1},
                          r.OpenLines());
        CancelApprovedCards();
        if (headerFailed) return EndProgram(QString());
    }
    r.CekaSumma = 0;
    r.Sanemts = 0;
    r.RinduSkaits = 0;
    r.AtgriesanaPecCeka = false;
    r.refundOnCard = false;
    w_.ClearReceiptLists();
    w_.ClearSaleScreen();
    ShowSummas();
}

void SaleEngine::CancelApprovedCards() {
    const std::filesystem::path file = std::filesystem::current_path() / kPendingReceiptFile;
    std::optional<PendingReceipt> kept = LoadPendingReceipt(file);
    std::vector<ApprovedCard>& cards = w_.Ceks().approvedCards;
    while (!cards.empty()) {
        const ApprovedCard card = cards.front();
        if (!w_.CancelCard(card)) w_.ShowPazinojums(CardNotCancelledMessage(card.Summa));
        cards.erase(cards.begin());
        // Kept after each one: a till killed here cancels no approval twice at its next start.
        if (kept && kept->number < 1) {
            kept->approvedCards = cards;
            KeepApprovedCards(file, *kept);
        }
    }
}

ReceiptRecovery SaleEngine::RecoverPendingReceipt() {
    TFMProc* fm = w_.FiscalMemory();
    TPrintClass* printer = w_.Printer();
    if (!fm || !printer) return {ReceiptRecovery::Failed, 0, kRecoveryFailedMessage};
    const SaleSettings s = w_.Iestatijumi();
    RecoveryContext context{*fm, *printer, w_.PosDb(), std::filesystem::current_path(), s.Druka,
                            !s.NedrukatAnuletosCekus, Today(), s.stock,
                            [this](const QString& text) { w_.ShowPazinojums(text); }, s.closing,
                            [this](const ApprovedCard& card) { return w_.CancelCard(card); }};
    return ::RecoverPendingReceipt(context);
}

void SaleEngine::RefreshPirkumuSaraksts() {
    TCekasStavoklis& r = w_.Ceks();
    const TPirkumuSaraksts list = VeidotPirkumuSarakstu(r.OpenLines(), w_.Iestatijumi().EkrNosaukDivasRindas);
    r.CekaSumma = list.CekaSumma;
    w_.ShowReceiptList(list);
}

void SaleEngine::ShowSummas() {
    const TCekasStavoklis& r = w_.Ceks();
    const double change = r.Sanemts - r.CekaSumma > 0 ? r.Sanemts - r.CekaSumma : 0.0;
    w_.ShowSums(FixedText(r.CekaSumma, 7, 2), FixedText(r.Sanemts, 7, 2), FixedText(change, 7, 2));
}

int SaleEngine::PrintCekaRinda(const PrintedLine& line) {
    if (line.Nodala < 1) {
        w_.ShowPazinojums(kNodalasNr);
        return -1;
    }
    TPrintClass* printer = w_.Printer();
    for (const QString& text : CekaRindasTeksts(w_.Iestatijumi().Druka, line)) printer->DrukaUzAbam(text, 1);
    return 1;
}

void SaleEngine::PrintCekaSakums(int number) {
    TPrintClass* printer = w_.Printer();
    // The head of a receipt that is not stored (an annulled one): the copy of the last receipt
    // keeps the head of the last stored receipt, whose lines it prints.
    LastReceipt notStored;
    PrintCekasGalvu(*printer, number, Today(), w_.SaleMode() == 1, KlientaDatuRindas(w_.Customer(), printer->RindasGarums),
                    notStored);
}
