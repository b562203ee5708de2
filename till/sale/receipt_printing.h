// Printing a paid receipt: the drawer, the next receipt number, the head and item lines, the tax
// summary by department from the rates in NOD_D_SUM, totals, payment rows, date and cashier, and
// the next receipt's header; the closing lines are kept for the copy of the last receipt.
#pragma once

#include "closing_receipt.h"
#include "fiscal_registration.h"
#include "head_lines.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <span>

class TFMProc;
class TPrintClass;

inline constexpr int kPrintAllCeksPrinted = 1;
inline constexpr int kPrintAllCeksNoLines = -1;
inline constexpr int kPrintAllCeksFiscalFailure = -2;
inline constexpr int kPrintAllCeksLineFailed = -3;
inline constexpr int kPrintAllCeksCounterFull = -4;

inline const QString kPrintAllCeksNoLinesMessage = QStringLiteral("Čekā nav preces (PrintAllCeks) !!!");
// A receipt a card paid is never annulled for a printer failure after the charge: it is counted
// and stored, and the cashier prints its copy once the printer works.
inline const QString kPaidReceiptReprintMessage = QStringLiteral(
    "Printeris nenodrukāja nākamā čeka galvu. Čeks apmaksāts ar karti un tiek saglabāts, izdrukājiet tā kopiju !!!");
// Whether a card row pays part of the receipt.
bool PaidByCard(const ClosingReceipt& receipt);

struct ReceiptPrintJob {
    // Runs once NOD_D_SUM (taxRates) is read, before the number is taken: works out the day
    // counters the receipt will leave. Unreadable annuls the receipt as an unreadable NOD_D_SUM
    // does; Full refuses it with nothing written.
    std::function<CounterCheck(const QString& taxRates)> prepare;
    // Runs with the receipt's number before anything is printed, in one fiscal-memory transaction
    // with the counter's advance (the pending receipt's marker); false stops the receipt as a
    // counter that cannot be written does.
    std::function<bool(int number)> beforePrinting;
    // Non-zero: the card slip follows on the same paper (printCardSlip(2) ends the receipt).
    int KartesCeks = 0;
    QString KasierisFullName;
    QDateTime now;  // the date of the head lines and the date-and-time line
    std::function<void(int copy)> printCardSlip;
};

// The closing lines of steps "totals" to "payment rows" as printed for a receipt, by printer type
// (type 4 the wide layouts). taxRates holds NOD_D_SUM, whose slot k starts with the rate of k.
QStringList TaxSummaryLines(const ClosingReceipt& receipt, const ClosingSettings& settings, const QString& taxRates,
                            int printerType);
QStringList TotalLines(const ClosingReceipt& receipt, const ClosingSettings& settings, int printerType);
QStringList PaymentRowLines(const ClosingReceipt& receipt, const ClosingSettings& settings, int printerType);
// Every line after the item lines: a rule, the tax summary, totals, payment rows, the date and
// time of `now` and the cashier.
QStringList ReceiptClosingLines(const ClosingReceipt& receipt, const ClosingSettings& settings, const QString& taxRates,
                                const TPrintClass& print, const QDateTime& now, const QString& kasieris);

// Prints the receipt. Results: 1 printed; -1 no lines (after a message box; the drawer has
// opened); -2 the tax rates (NOD_D_SUM) or a counter the receipt changes could not be read: the
// receipt has been annulled; -3 a line was refused or could not be printed (the status bar says
// which; the receipt stays open, its number used up); -4 the receipt's amounts would overflow a
// day counter (kCounterFullMessage through the host; no number taken, nothing written, the
// receipt stays open). A receipt number that cannot be taken and a next header that
// cannot be printed annul the receipt and end the program
// (platform::ui::endProgram). `last` receives the head and closing lines for the copy.
int PrintAllCeks(const ReceiptPrintJob& job, const ClosingReceipt& receipt, const ClosingSettings& settings,
                 TPrintClass& print, TFMProc& fm, ClosingHost& host, LastReceipt& last);

inline constexpr int kPrintAnnulledPrinted = 1;
inline constexpr int kPrintAnnulledHeaderFailed = -10;

// An annulled receipt on both stations: `head` (its number block), its lines through `printLine`,
// a rule, "ČEKS ANULĒTS", a rule, five blank lines and the next receipt's header. Returns 1; a
// line's refusal (0 or less, nothing printed after it); kPrintAnnulledHeaderFailed when the next
// header could not be printed.
int PrintAnnulledReceipt(TPrintClass& print, const std::function<void()>& head, std::span<const TCekaRinda> lines,
                         const std::function<int(const TCekaRinda&)>& printLine);
