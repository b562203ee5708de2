#include "receipt_recovery.h"

#include "closing_steps.h"
#include "fmproc.h"
#include "head_lines.h"
#include "pending_vouchers.h"
#include "printclass.h"
#include "realiz_rows.h"
#include "receipt_number.h"
#include "receipt_printing.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <system_error>

namespace {

constexpr int kNumberWidth = 11;
// The key the file carries once its receipt is stored and only the answer is owed.
const QString kAnswerOwedKey = QStringLiteral("answerOwed");

// Written before the marker is cleared: a kill in between still finds the whole receipt.
bool markAnswerOwed(const std::filesystem::path& file) {
    std::optional<QJsonObject> all = ReadPendingJson(file);
    if (!all) return false;
    (*all)[kAnswerOwedKey] = true;
    return WritePendingJson(file, *all);
}

QJsonObject lineJson(const TCekaRinda& l) {
    return {{"Cena", l.Cena},           {"Daudzums", l.Daudzums},     {"Atlaide", l.Atlaide},
            {"Iepakojums", l.Iepakojums}, {"Artikuls", l.Artikuls},   {"Nosaukums", l.Nosaukums},
            {"Mervieniba", l.Mervieniba}, {"Bonuss", l.Bonuss},       {"ApmVeids", l.ApmVeids},
            {"Nodala", l.Nodala},       {"Tara", l.Tara}};
}

TCekaRinda lineFrom(const QJsonObject& o) {
    TCekaRinda l;
    l.Cena = o["Cena"].toDouble();
    l.Daudzums = o["Daudzums"].toDouble();
    l.Atlaide = o["Atlaide"].toDouble();
    l.Iepakojums = o["Iepakojums"].toDouble();
    l.Artikuls = o["Artikuls"].toString();
    l.Nosaukums = o["Nosaukums"].toString();
    l.Mervieniba = o["Mervieniba"].toString();
    l.Bonuss = o["Bonuss"].toInt();
    l.ApmVeids = o["ApmVeids"].toInt();
    l.Nodala = o["Nodala"].toInt();
    l.Tara = o["Tara"].toBool();
    return l;
}

QJsonArray approvedCardsJson(const std::vector<ApprovedCard>& cards) {
    QJsonArray all;
    for (const ApprovedCard& card : cards)
        all.append(QJsonObject{{"Summa", card.Summa}, {"Veids", card.Veids}, {"reference", card.reference}});
    return all;
}

std::vector<ApprovedCard> approvedCardsFrom(const QJsonArray& all) {
    std::vector<ApprovedCard> cards;
    for (const QJsonValue& value : all) {
        const QJsonObject card = value.toObject();
        cards.push_back({card["Summa"].toDouble(), card["Veids"].toInt(1), card["reference"].toString()});
    }
    return cards;
}

double approvedSum(const std::vector<ApprovedCard>& cards) {
    double sum = 0;
    for (const ApprovedCard& card : cards) sum += card.Summa;
    return sum;
}

// Rows under the number already in REALIZ: a sale's or an annulment's, stored before the kill.
std::optional<bool> storedInRealiz(const QSqlDatabase& db, int number) {
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("SELECT COUNT(*) FROM REALIZ WHERE CEKA_NR = :CEKA_NR"))) return std::nullopt;
    query.bindValue(QStringLiteral(":CEKA_NR"), number);
    if (!query.exec() || !query.next()) return std::nullopt;
    return query.value(0).toInt() > 0;
}

std::optional<ReceiptMarker> parseMarker(const QString& text, bool& damaged) {
    damaged = false;
    if (text.trimmed().isEmpty()) return std::nullopt;
    bool ok = false;
    const int number = text.left(kNumberWidth).trimmed().toInt(&ok);
    const QChar step = text.size() > kNumberWidth ? text[kNumberWidth] : QChar();
    if (!ok || number < 1 || (step != u'N' && step != u'P' && step != u'S')) {
        damaged = true;
        return std::nullopt;
    }
    return ReceiptMarker{number, ClosingStep(step.toLatin1())};
}

// The receipt counter holds at least the marked number (on the kinds without transactions the
// marker is written before the counter).
bool counterReaches(TFMProc& fm, int number) {
    QString text;
    if (!fm.FMRead(QStringLiteral("CEKANRCOUN"), text)) return false;
    bool ok = false;
    const long long counter = text.left(kNumberWidth).trimmed().toLongLong(&ok);
    if (ok && counter >= number) return true;
    return fm.FMWrite(QStringLiteral("CEKANRCOUN"), CekaNrTeksts(number));
}

// One receipt line on both stations: 1, or -1 when the printer failed.
int printLine(RecoveryContext& ctx, const TCekaRinda& line) {
    for (const QString& text : CekaRindasTeksts(ctx.druka, {line.Nodala, line.Nosaukums, line.Cena,
                                                            line.Daudzums * line.Iepakojums, line.Atlaide, line.Artikuls,
                                                            line.Mervieniba, false}))
        if (ctx.print.DrukaUzAbam(text, 1) < 0) return -1;
    return 1;
}

// The annulled receipt on paper, with the drawer opened as for any annulment.
bool printAnnulled(RecoveryContext& ctx, const PendingReceipt& pending) {
    ctx.print.AtverNaudasLadi();
    LastReceipt notStored;
    return PrintAnnulledReceipt(
               ctx.print, [&] { PrintCekasGalvu(ctx.print, pending.number, ctx.today, pending.isReturn, {}, notStored); },
               pending.lines, [&](const TCekaRinda& line) { return printLine(ctx, line); }) == kPrintAnnulledPrinted;
}

// A card-paid receipt cut before it was wholly printed, printed again in full under its number.
bool printPaid(RecoveryContext& ctx, const PendingReceipt& pending) {
    QString taxRates;
    if (!ctx.fm.FMRead(QStringLiteral("NOD_D_SUM"), taxRates)) return false;
    LastReceipt notStored;
    if (PrintCekasGalvu(ctx.print, pending.number, pending.rows.Datums, pending.isReturn, {}, notStored) < 0) return false;
    for (const TCekaRinda& line : pending.lines)
        if (printLine(ctx, line) < 0) return false;
    const QDateTime when(pending.rows.Datums, QTime::fromString(pending.rows.Laiks, QStringLiteral("HH:mm:ss")));
    for (const QString& line : ReceiptClosingLines(pending.closing(), ctx.closing, taxRates, ctx.print, when,
                                                   pending.rows.Kasieris))
        if (ctx.print.DrukaUzAbam(line, 1) < 0) return false;
    ctx.print.DrukaUzCeka(QStringLiteral("\n\n\n\n\n"), false, 2);
    return ctx.print.DrukaCekaGalvu() >= 0;
}

// A receipt never numbered: nothing of it was printed or counted, so the card's money goes back.
// The file keeps what is not cancelled yet, so a kill here cancels no approval twice.
ReceiptRecovery cancelApprovedCards(RecoveryContext& ctx, PendingReceipt& pending, const std::filesystem::path& file) {
    const double approved = approvedSum(pending.approvedCards);
    double notCancelled = 0;
    while (!pending.approvedCards.empty()) {
        const ApprovedCard card = pending.approvedCards.front();
        if (!ctx.cancelCard(card)) notCancelled += card.Summa;
        pending.approvedCards.erase(pending.approvedCards.begin());
        KeepApprovedCards(file, pending);
        ReachClosingStep("recovery-card-cancelled");
    }
    return {ReceiptRecovery::CardsCancelled, 0,
            notCancelled != 0 ? CardNotCancelledMessage(notCancelled) : CardsCancelledAfterInterruption(approved)};
}

ReceiptRecovery failed(int number) { return {ReceiptRecovery::Failed, number, kRecoveryFailedMessage}; }

// A finished receipt's order lines marked paid (again, after a kill: marking is idempotent).
void markPendingOrderLines(const QSqlDatabase& posDb, const PendingReceipt& pending,
                           const std::function<void(const QString&)>& tell) {
    if (pending.orderLines.empty()) return;
    try {
        MarkOrderLinesPaid(posDb, pending.orderLines);
    } catch (const ReceiptStoreError& error) {
        tell(QString::fromStdString(error.what()));
    }
}

// The stock changes of a stored receipt from its first line not yet moved on, each kept in the
// pending file as it is made. A file that cannot be written keeps the count before: only a
// restart right after that line could move its stock again.
void movePendingStock(const StockLink& stock, PendingReceipt& pending, const std::filesystem::path& file,
                      const std::function<void(const QString&)>& tell) {
    UpdateReceiptStock(stock, pending.closing(), pending.stockLines, tell, [&](std::size_t done) {
        pending.stockLines = done;
        SavePendingReceipt(file, pending);
        ReachClosingStep("stock-line");
    });
}

}  // namespace

void DropPendingFile(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
}

std::optional<QJsonObject> ReadPendingJson(const std::filesystem::path& file) {
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly)) return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(in.readAll());
    if (!doc.isObject()) return std::nullopt;
    return doc.object();
}

bool WritePendingJson(const std::filesystem::path& file, const QJsonObject& all) {
    QSaveFile out(QString::fromStdString(file.string()));
    if (!out.open(QIODevice::WriteOnly)) return false;
    out.write(QJsonDocument(all).toJson(QJsonDocument::Compact));
    return out.commit();
}

std::optional<bool> PendingReceiptIsPaid(TFMProc& fm, const std::filesystem::path& file) {
    QString text;
    if (!fm.FMRead(kReceiptMarker, text)) return std::nullopt;
    bool damaged = false;
    const std::optional<ReceiptMarker> marker = parseMarker(text, damaged);
    if (damaged) return std::nullopt;
    const std::optional<QJsonObject> all = ReadPendingJson(file);
    return marker && marker->step != ClosingStep::Numbered && all && (*all)["number"].toInt() == marker->number;
}

std::optional<int> OwedAnswer(const std::filesystem::path& file) {
    const std::optional<QJsonObject> all = ReadPendingJson(file);
    if (!all || !(*all)[kAnswerOwedKey].toBool() || (*all)["number"].toInt() < 1) return std::nullopt;
    return (*all)["number"].toInt();
}

QString ReceiptMarkerText(const ReceiptMarker& marker) {
    return QString::number(marker.number).rightJustified(kNumberWidth, u' ') + QChar(char(marker.step));
}

bool WriteReceiptMarker(TFMProc& fm, const ReceiptMarker& marker) {
    return fm.FMWrite(kReceiptMarker, ReceiptMarkerText(marker));
}

bool ClearReceiptMarker(TFMProc& fm) { return fm.FMWrite(kReceiptMarker, QString(kReceiptMarkerSize, u' ')); }

ClosingReceipt PendingReceipt::closing() const {
    return {lines, payments, CekaSumma, Sanemts, isReturn, ApmValuta, valutasKurss};
}

bool SavePendingReceipt(const std::filesystem::path& file, const PendingReceipt& r) {
    QJsonArray lines, payments, counters;
    for (const TCekaRinda& line : r.lines) lines.append(lineJson(line));
    for (const TApmaksasRinda& row : r.payments)
        payments.append(QJsonObject{{"Summa", row.Summa}, {"Teksts", row.Teksts}, {"Veids", row.Veids}});
    for (const CounterRecord& counter : r.counters) counters.append(QJsonObject{{"name", counter.name}, {"text", counter.text}});
    const QJsonObject rows{{"Datums", r.rows.Datums.toString(Qt::ISODate)}, {"Laiks", r.rows.Laiks},
                           {"KlKods", r.rows.KlKods},   {"ApmVeids", r.rows.ApmVeids},
                           {"Kasieris", r.rows.Kasieris}, {"PaymentText", r.rows.PaymentText},
                           {"CitasZinas", r.rows.CitasZinas}, {"KlNosaukums", r.rows.KlNosaukums},
                           {"KlRegNr", r.rows.KlRegNr}};
    QJsonObject all{{"number", r.number},     {"isReturn", r.isReturn}, {"lines", lines},
                          {"payments", payments},   {"CekaSumma", r.CekaSumma}, {"Sanemts", r.Sanemts},
                          {"ApmValuta", r.ApmValuta}, {"valutasKurss", r.valutasKurss}, {"rows", rows},
                          {"counters", counters}, {"stockLines", qint64(r.stockLines)},
                          {"approvedCards", approvedCardsJson(r.approvedCards)}, {"orderLines", OrderLinesJson(r.orderLines)}};
    CarryPendingVouchers(file, all);
    return WritePendingJson(file, all);
}

std::optional<PendingReceipt> LoadPendingReceipt(const std::filesystem::path& file) {
    const std::optional<QJsonObject> read = ReadPendingJson(file);
    if (!read) return std::nullopt;
    const QJsonObject& all = *read;
    PendingReceipt r;
    r.number = all["number"].toInt();
    r.isReturn = all["isReturn"].toBool();
    for (const QJsonValue& line : all["lines"].toArray()) r.lines.push_back(lineFrom(line.toObject()));
    const QJsonArray payments = all["payments"].toArray();
    for (qsizetype i = 0; i < payments.size() && i < qsizetype(r.payments.size()); ++i) {
        const QJsonObject row = payments[i].toObject();
        r.payments[std::size_t(i)] = {row["Summa"].toDouble(), row["Teksts"].toString(), row["Veids"].toInt(-1)};
    }
    r.CekaSumma = all["CekaSumma"].toDouble();
    r.Sanemts = all["Sanemts"].toDouble();
    r.ApmValuta = all["ApmValuta"].toString();
    r.valutasKurss = all["valutasKurss"].toDouble(1.0);
    const QJsonObject rows = all["rows"].toObject();
    r.rows.CekaNr = r.number;
    r.rows.Datums = QDate::fromString(rows["Datums"].toString(), Qt::ISODate);
    r.rows.Laiks = rows["Laiks"].toString();
    r.rows.KlKods = rows["KlKods"].toString();
    r.rows.ApmVeids = rows["ApmVeids"].toInt();
    r.rows.Kasieris = rows["Kasieris"].toString();
    r.rows.PaymentText = rows["PaymentText"].toString();
    r.rows.CitasZinas = rows["CitasZinas"].toString();
    r.rows.KlNosaukums = rows["KlNosaukums"].toString();
    r.rows.KlRegNr = rows["KlRegNr"].toString();
    for (const QJsonValue& counter : all["counters"].toArray())
        r.counters.push_back({counter.toObject()["name"].toString(), counter.toObject()["text"].toString()});
    r.stockLines = std::size_t(std::max<qint64>(0, all["stockLines"].toInteger()));
    r.approvedCards = approvedCardsFrom(all["approvedCards"].toArray());
    r.orderLines = OrderLinesFrom(all["orderLines"].toArray());
    if ((r.number < 1 && r.approvedCards.empty()) || r.lines.empty()) return std::nullopt;
    return r;
}

void KeepApprovedCards(const std::filesystem::path& file, const PendingReceipt& open) {
    if (!open.approvedCards.empty() || open.number > 0) {
        SavePendingReceipt(file, open);
        return;
    }
    // A receipt being closed under its number keeps its file for the next start.
    if (const std::optional<PendingReceipt> kept = LoadPendingReceipt(file); !kept || kept->number < 1) DropPendingFile(file);
}

MarkedClosing::MarkedClosing(TFMProc& fm, std::filesystem::path file, const ClosingReceipt& receipt,
                             const ClosingSettings& settings, std::function<ReceiptRows(int)> rows)
    : fm_(fm), file_(std::move(file)), receipt_(receipt), settings_(settings), rows_(std::move(rows)) {}

CounterCheck MarkedClosing::prepare(const QString& taxRates) {
    const std::function<std::optional<QString>(const QString&)> read = [&](const QString& name) -> std::optional<QString> {
        if (name == QStringLiteral("NOD_D_SUM")) return taxRates;
        QString text;
        if (!fm_.FMRead(name, text)) return std::nullopt;
        return text;
    };
    const auto change = DayCounterRecords(receipt_, settings_, fm_.FMTips, read);
    if (!change) return CounterCheck::Unreadable;
    if (!change->full.isEmpty()) return CounterCheck::Full;
    pending_.counters = change->records;
    return CounterCheck::Ready;
}

bool MarkedClosing::beforePrinting(int number) {
    pending_.number = number;
    pending_.isReturn = receipt_.isReturn;
    pending_.lines.assign(receipt_.lines.begin(), receipt_.lines.end());
    pending_.payments = receipt_.payments;
    pending_.CekaSumma = receipt_.CekaSumma;
    pending_.Sanemts = receipt_.Sanemts;
    pending_.ApmValuta = receipt_.ApmValuta;
    pending_.valutasKurss = receipt_.valutasKurss;
    pending_.rows = rows_(number);
    return SavePendingReceipt(file_, pending_) && WriteReceiptMarker(fm_, {number, ClosingStep::Numbered});
}

bool MarkedClosing::printed() { return WriteReceiptMarker(fm_, {pending_.number, ClosingStep::Printed}); }

bool MarkedClosing::count() {
    return WriteDayCounters(fm_, pending_.counters,
                            [&] { return WriteReceiptMarker(fm_, {pending_.number, ClosingStep::Counted}); });
}

void MarkedClosing::moveStock(const StockLink& stock, const std::function<void(const QString&)>& tell) {
    movePendingStock(stock, pending_, file_, tell);
}

void MarkedClosing::markOrderLinesPaid(const QSqlDatabase& posDb, const std::function<void(const QString&)>& tell) {
    markPendingOrderLines(posDb, pending_, tell);
}

bool MarkedClosing::done(bool answerOwed) {
    const bool kept = answerOwed && markAnswerOwed(file_);
    if (!ClearReceiptMarker(fm_)) return false;
    if (!kept) DropPendingFile(file_);
    return true;
}

void MarkedClosing::keepApprovedCards(const std::vector<ApprovedCard>& cards) {
    pending_.approvedCards = cards;
    if (pending_.number > 0) SavePendingReceipt(file_, pending_);
}

void MarkedClosing::abandon() {
    if (pending_.number < 1) return;
    if (pending_.approvedCards.empty()) {
        done();
    } else if (ClearReceiptMarker(fm_)) {
        pending_.number = 0;
        SavePendingReceipt(file_, pending_);
    }
}

QString FinishedAfterInterruption(int number) {
    return QStringLiteral("Čeks Nr %1 pabeigts pēc pārtraukuma !!!").arg(number);
}

QString AnnulledAfterInterruption(int number) {
    return QStringLiteral("Čeks Nr %1 anulēts pēc pārtraukuma !!!").arg(number);
}

QString CardsCancelledAfterInterruption(double amount) {
    return QStringLiteral("Nepabeigtā čeka kartes maksājums %1 atcelts terminālī !!!").arg(amount, 0, 'f', 2);
}

QString CardNotCancelledMessage(double amount) {
    return QStringLiteral("Kartes maksājumu %1 atcelt neizdevās, atceliet to terminālī !!!").arg(amount, 0, 'f', 2);
}

ReceiptRecovery RecoverPendingReceipt(RecoveryContext& ctx) {
    // A counter transaction the killed process left open was rolled back by the driver at this
    // process's first use of the store.
    QString text;
    if (!ctx.fm.FMRead(kReceiptMarker, text)) return failed(0);
    bool damaged = false;
    const std::optional<ReceiptMarker> marker = parseMarker(text, damaged);
    const std::filesystem::path file = ctx.folder / kPendingReceiptFile;
    if (damaged) return failed(0);
    std::optional<PendingReceipt> pending = LoadPendingReceipt(file);
    if (!marker) {
        // A file written for a receipt whose marker never got written: nothing of it was printed.
        // One kept for a stored receipt's owed answer stays for the start to answer it (its card
        // rows are on that stored receipt).
        if (OwedAnswer(file)) return {};
        if (pending && !pending->approvedCards.empty()) return cancelApprovedCards(ctx, *pending, file);
        DropPendingFile(file);
        return {};
    }
    if (!pending || pending->number != marker->number || !counterReaches(ctx.fm, marker->number))
        return failed(marker->number);
    const std::optional<bool> stored = storedInRealiz(ctx.posDb, marker->number);
    if (!stored) return failed(marker->number);
    const int number = marker->number;

    // Stores the receipt's rows unless an earlier run did, then clears the marker.
    const auto complete = [&](ReceiptRecovery::Outcome outcome, const std::function<void()>& store) -> ReceiptRecovery {
        if (!*stored) {
            try {
                store();
            } catch (const ReceiptStoreError&) {
                return failed(number);
            }
            ReachClosingStep("recovery-stored");
        }
        if (outcome == ReceiptRecovery::Finished && ctx.stock) movePendingStock(*ctx.stock, *pending, file, ctx.tell);
        if (outcome == ReceiptRecovery::Finished) markPendingOrderLines(ctx.posDb, *pending, ctx.tell);
        if (!ClearReceiptMarker(ctx.fm)) return failed(number);
        DropPendingFile(file);
        return {outcome, number,
                outcome == ReceiptRecovery::Finished ? FinishedAfterInterruption(number) : AnnulledAfterInterruption(number)};
    };

    ClosingStep step = marker->step;
    if (step == ClosingStep::Numbered && !pending->approvedCards.empty() && !*stored) {
        // The card has paid it: never annulled, printed again in full and finished.
        if (!printPaid(ctx, *pending) || !WriteReceiptMarker(ctx.fm, {number, ClosingStep::Printed})) return failed(number);
        ReachClosingStep("recovery-printed");
        step = ClosingStep::Printed;
    }
    if (step == ClosingStep::Numbered) {
        // Cut before it was wholly printed: annulled under its own number, as an open receipt is
        // annulled when the program ends, so the number is accounted for on paper.
        return complete(ReceiptRecovery::Annulled, [&] {
            if (ctx.printAnnulled && !printAnnulled(ctx, *pending)) throw ReceiptStoreError("printer");
            StoreAnnulledRows(ctx.posDb,
                              {number, pending->rows.Datums, pending->rows.Laiks, RealizKlKods(pending->rows.KlKods),
                               pending->rows.Kasieris, pending->isReturn},
                              pending->lines);
        });
    }
    if (step == ClosingStep::Printed) {
        // The same texts again: on the kinds without transactions some may be written already.
        if (!WriteDayCounters(ctx.fm, pending->counters,
                              [&] { return WriteReceiptMarker(ctx.fm, {number, ClosingStep::Counted}); }))
            return failed(number);
        ReachClosingStep("recovery-counted");
    }
    return complete(ReceiptRecovery::Finished, [&] { StoreReceiptRows(ctx.posDb, pending->closing(), pending->rows); });
}
