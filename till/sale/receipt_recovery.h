// Closing a receipt so that a till that dies part way finishes it at its next start. Before the
// first byte of a receipt goes to the printer, a file beside the journal keeps what finishing it
// needs (its lines, payments, journal-row values and the counter texts it leaves) and the marker
// record CSLEGSANA in the fiscal memory names the receipt and how far its closing came; the marker
// moves with the closing's steps and is cleared last. RecoverPendingReceipt finishes a receipt
// whose marker is still set, exactly once: counted if it was not, stored if it was not, its stock
// moved for the lines not yet moved; a receipt cut before it was wholly printed is annulled under
// its own number, unless a card paid it: that one is printed again in full and finished.
//
// The file also keeps the card rows the terminal approved for the open receipt, from the moment
// of the approval (the receipt's number is 0 until it is taken): a receipt the till never numbered
// has its approvals cancelled on the terminal at the next start.
#pragma once

#include "closing_receipt.h"
#include "fiscal_registration.h"
#include "receipt_order_lines.h"
#include "receipt_print.h"
#include "receipt_store.h"

#include <QJsonObject>
#include <QSqlDatabase>
#include <QString>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class TFMProc;
class TPrintClass;

inline const QString kReceiptMarker = QStringLiteral("CSLEGSANA");
inline constexpr int kReceiptMarkerSize = 12;  // receipt number in 11 characters, then the step
// The pending receipt's file in the till's working folder, beside the journal's folder.
inline constexpr const char* kPendingReceiptFile = "NepabeigtsCeks.json";

// How far the closing of the marked receipt came.
enum class ClosingStep : char {
    Numbered = 'N',  // number taken; the receipt may be partly printed
    Printed = 'P',   // wholly printed, not counted
    Counted = 'S',   // counted in the fiscal memory, not yet stored in REALIZ
};

struct ReceiptMarker {
    int number = 0;
    ClosingStep step = ClosingStep::Numbered;
};

// The marker's text; blank when no receipt is being closed.
QString ReceiptMarkerText(const ReceiptMarker& marker);
// Writes the marker (the record is made on its first write); ClearReceiptMarker blanks it.
bool WriteReceiptMarker(TFMProc& fm, const ReceiptMarker& marker);
bool ClearReceiptMarker(TFMProc& fm);

// Everything needed to finish a receipt without the sale window.
struct PendingReceipt {
    int number = 0;
    bool isReturn = false;
    std::vector<TCekaRinda> lines;
    TApmaksas payments{};
    double CekaSumma = 0;
    double Sanemts = 0;
    QString ApmValuta;
    double valutasKurss = 1.0;
    ReceiptRows rows;                     // rows.CekaNr is the number
    std::vector<CounterRecord> counters;  // the counter texts once this receipt is counted
    // Lines whose stock change is made, once the rows are stored: the stock database is outside
    // the fiscal memory's and REALIZ's transactions, so a finished receipt goes on from here and
    // no line moves the stock twice.
    std::size_t stockLines = 0;
    std::vector<ApprovedCard> approvedCards;  // money the card terminal took for this receipt
    // The order lines the receipt pays: marked paid once the rows are stored, by the close or by
    // the start that finishes the receipt.
    std::vector<OrderLineOnReceipt> orderLines;

    ClosingReceipt closing() const;
};

// Written whole beside the old file, synced and renamed over it, so that a kill leaves either the
// old file or the new one; the vouchers the old one keeps stay (pending_vouchers.h). False when it
// cannot be written.
bool SavePendingReceipt(const std::filesystem::path& file, const PendingReceipt& receipt);
std::optional<PendingReceipt> LoadPendingReceipt(const std::filesystem::path& file);
// The open receipt's approved card rows, kept before anything else happens after an approval; an
// empty list removes a file that holds nothing else (a numbered receipt's file stays).
void KeepApprovedCards(const std::filesystem::path& file, const PendingReceipt& open);
// Removes the file once the marker is cleared.
void DropPendingFile(const std::filesystem::path& file);
// The file's JSON object as it stands (none when there is no readable one), and the whole object
// written beside it, synced and renamed over it (false when it cannot be written): every part of
// the file, the receipt's and the vouchers', is read and written through these.
std::optional<QJsonObject> ReadPendingJson(const std::filesystem::path& file);
bool WritePendingJson(const std::filesystem::path& file, const QJsonObject& all);
// Driven by a command file, a stored receipt's answer is owed until the reply file is written: the
// file, so marked, stays after the marker is cleared, as a cleared marker alone looks like one
// never written. The receipt's number while the file says its answer is owed.
std::optional<int> OwedAnswer(const std::filesystem::path& file);
// Whether the next RecoverPendingReceipt finishes the file's receipt as paid (its marker says it
// was wholly printed), for the vouchers it reserved; empty when the marker cannot be read.
std::optional<bool> PendingReceiptIsPaid(TFMProc& fm, const std::filesystem::path& file);

// The marker's share of closing one receipt, in the order the close runs it. Each step returns
// false on a fiscal-memory (or file) failure, already reported by TFMProc.
class MarkedClosing {
public:
    // `rows` gives the journal rows' values for the number the receipt gets.
    MarkedClosing(TFMProc& fm, std::filesystem::path file, const ClosingReceipt& receipt, const ClosingSettings& settings,
                  std::function<ReceiptRows(int number)> rows);

    // ReceiptPrintJob::prepare: the counter texts the receipt will leave (taxRates is NOD_D_SUM
    // as just read).
    CounterCheck prepare(const QString& taxRates);
    // Before printing: the order lines the receipt pays.
    void paysOrderLines(std::vector<OrderLineOnReceipt> lines) { pending_.orderLines = std::move(lines); }
    // ReceiptPrintJob::beforePrinting, after prepare: the pending file, then the marker "numbered".
    bool beforePrinting(int number);
    // After the whole receipt is printed: the marker "printed".
    bool printed();
    // The counters and the marker "counted" as one.
    bool count();
    // Once the rows are stored, with the stock link on: the lines' stock changes, each kept in the
    // pending file as it is made (see UpdateReceiptStock for `tell`).
    void moveStock(const StockLink& stock, const std::function<void(const QString&)>& tell);
    // Once the rows are stored, before done: the order lines marked paid; a refusal is told.
    void markOrderLinesPaid(const QSqlDatabase& posDb, const std::function<void(const QString&)>& tell);
    // Once the rows are stored (and the stock moved): the marker cleared and the file removed, or
    // kept marked when the receipt's answer is owed (see OwedAnswer).
    bool done(bool answerOwed = false);
    // A receipt that could not be printed in full stays open: its marker goes, and its file too
    // unless it keeps approved card rows (then it goes back to number 0).
    void abandon();
    // The card rows approved for the receipt, kept in the file from the number on (at once when
    // the number is taken).
    void keepApprovedCards(const std::vector<ApprovedCard>& cards);

    const PendingReceipt& pending() const { return pending_; }

private:
    TFMProc& fm_;
    std::filesystem::path file_;
    const ClosingReceipt& receipt_;
    ClosingSettings settings_;
    std::function<ReceiptRows(int)> rows_;
    PendingReceipt pending_;
};

// What a start-up's recovery did.
struct ReceiptRecovery {
    // CardsCancelled: a receipt never numbered had its approved card rows cancelled (number 0).
    enum Outcome { Nothing, Finished, Annulled, Failed, CardsCancelled } outcome = Nothing;
    int number = 0;
    QString message;  // for the cashier (and the command file's answer); empty when Nothing
};

// What recovery works with: the till's devices, database and folder, and how annulled receipts
// are printed.
struct RecoveryContext {
    TFMProc& fm;
    TPrintClass& print;
    QSqlDatabase posDb;
    std::filesystem::path folder;
    LinePrintSettings druka;
    bool printAnnulled = true;  // false with NedrukatAnuletosCekus
    QDate today;
    std::optional<StockLink> stock = {};  // the stock link, when it is on
    std::function<void(const QString&)> tell = [](const QString&) {};  // a stock change or order marking refused
    // Printing a card-paid receipt again in full: the closing settings and the card cancellation
    // on the terminal (false when it did not go through).
    ClosingSettings closing = {};
    std::function<bool(const ApprovedCard&)> cancelCard = [](const ApprovedCard&) { return false; };
};

ReceiptRecovery RecoverPendingReceipt(RecoveryContext& ctx);

// Messages.
QString FinishedAfterInterruption(int number);
QString AnnulledAfterInterruption(int number);
// The approved card amounts of a receipt never numbered, given back to the card or, when the
// terminal did not take the cancellation, to be cancelled by hand.
QString CardsCancelledAfterInterruption(double amount);
QString CardNotCancelledMessage(double amount);
inline const QString kRecoveryFailedMessage =
    QStringLiteral("Nevarēju pabeigt pārtraukto čeku, darbs tiek pārtraukts !!!");
