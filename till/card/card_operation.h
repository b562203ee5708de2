// The card operation's rules that need no window: the amount in cents a card operation charges,
// the cashier's texts for the terminal's states and results and for the chip-card reader's codes,
// the card log's lines, and the terminal's prompts with their answers.
#pragma once

#include "clock.h"

#include <QString>

#include <cstdint>
#include <optional>

// ------------------------------------------------------------------ the amount

// Operation kinds of RunKartesOperacija.
inline constexpr int kKartesMaksajums = 1;  // a payment (of a receipt or a prepaid line)
inline constexpr int kKartesLojalitate = 2;  // a loyalty credit

// The cents a card operation sends: the amount given, or with no department the card amount typed
// in the item field's payment text (after its first "/1=", up to the next "/"), or, when the
// caller charges one payment row, that row's own amount. Whole cents; a text that is no number
// gives 0 (the dialog refuses a zero purchase).
double KartesSummaCentos(const QString& itemText, int department, double amount, std::optional<double> rowAmount = {});
// In sale mode a card may not be charged more than the receipt total (a rounding residue of
// 0.001 or less passes).
bool ParsniedzCekaSummu(double cents, double cekaSumma);

inline const QString kZeroSumMessage = QStringLiteral("Čeka summa ir 0. Karšu operācija nav iespējama !!!");
inline const QString kOverAmountMessage =
    QStringLiteral("Bezskaidras naudas norēķinos apmaksas summai nedrīkst būt lielāka par čeka summu !!!");
inline const QString kLoyaltyCredited = QStringLiteral("Pirkums MOLA lojalitātes kartei pieskaitīts !!!");
inline const QString kLoyaltyNotCredited = QStringLiteral("Pirkums MOLA lojalitātes kartei NAV pieskaitīts !!!");
inline const QString kCardFormFailedMessage =
    QStringLiteral("Nevarēju inicializēt karšu autorizāciju, darbs tiek pārtraukts !!! ");

// ------------------------------------------------------------------ the transaction run

// What the dialog's operation buttons choose, and the terminal's transaction type for each.
enum class KartesOperacija { Nav, Apmaksa, Atcelsana, Atgriesana };
inline constexpr int kTypePurchase = 0;
inline constexpr int kTypeCancel = 1;
inline constexpr int kTypePrepaid = 4;

inline const QString kBadCardAmountMessage = QStringLiteral("Nav pareizi ievadīta summa (tai jābūt bez decimālzīmēm) !!!");
inline const QString kNoCardAmountMessage = QStringLiteral("Nav ievadīta summa, ko vēlas noņemt/uzlikt uz kartes !!!");
inline const QString kChipTerminalMessage = QStringLiteral("Uz šī CHIP termināla nestrādās !!!");
inline const QString kConnectionMessage = QStringLiteral("Kļūda savienojumā (1) !!!");
// The terminal's protocol has no request that refunds a card with an amount: its type 9 is the
// batch exchange (the bank-card report), which a return must never send. A return goes back to the
// card on the terminal itself, or as a cancel of the payment.
inline const QString kReturnNotOnTerminalMessage = QStringLiteral(
    "Pirkuma atgriešanu uz kartes šis termināls neveic !!!\n"
    "Atceliet maksājumu (Apmaksas atcelšana) vai atgrieziet naudu uz kartes pašā terminālī un "
    "čekā ierakstiet citu apmaksas veidu.");

// The shown amount read as cents: the text as a decimal number, truncated to whole cents; empty
// when it is no number.
std::optional<double> ReadSumma(const QString& text);

// The message for a terminal state 1-7 and a transaction result 1-5 (empty for other values),
// and the message box's text: that, a line break, the status code, "-" and the status text.
QString TerminalStateText(int state);
QString TransactionResultText(int result);
QString OutcomeMessage(const QString& text, int statusCode, const QString& statusMessage);

// ------------------------------------------------------------------ the chip-card reader

QString ChipErrorText(int code);
inline const QString kChipInitFailedMessage = QStringLiteral("Kļūda inicializējot CHIP(1) lasītāju, tas tiek atslēgts");

// ------------------------------------------------------------------ the card log

inline constexpr const char* kKartesLogFile = "KARTES.LOG";
// The transaction line of one request, in the numbers read back from the control.
QString TransactionLogText(int transactionType, int prePaidCode, const QString& ticketNumber, int amount);
// The log's line: the date in the workstation's short-date format, "-", the time in its long
// time format, a blank and the text.
QString KartesLogLine(const platform::LocalTime& when, const QString& text);
// Appends the line and CR LF to KARTES.LOG in the working folder, closing the file at once; a
// file that cannot be opened loses the line (the transaction goes on).
void AppendKartesLog(const QString& line);

// ------------------------------------------------------------------ the terminal's prompts

struct PromptForm {
    QString waiting;        // the input dialog's caption while it waits
    bool editShown = true;  // the input field is shown
    QString inputMask;      // the field's mask in Qt's notation
    QString okCaption = QStringLiteral("OK");
    QString cancelCaption = QStringLiteral("Atcelt");
    std::int32_t refusal = -1;  // status when not answered
    enum class Answer { Text, YesNo, Date, Time } answer = Answer::Text;
};

// The form of a prompt event (by DISPID); empty for the events the till leaves to the control.
std::optional<PromptForm> PromptFormOf(std::int32_t dispid);
// The field's first text: "0000" for numbers, today's date or the time now for the others.
QString PromptInitialText(const PromptForm& form, const platform::LocalTime& now);
// The answer of an accepted prompt: the field's text for numbers, "1" for yes, the date as eight
// digits (day, month, four-digit year) and the time as four (hours, minutes). Empty when the typed
// date or time is no valid one: the prompt is then refused.
std::optional<QString> PromptAnswer(const PromptForm& form, const QString& typed);
// The answer of a prompt not accepted: none (the answer string stays as the control passed it),
// except for the yes/no question, which answers "2".
std::optional<QString> RefusedAnswer(const PromptForm& form);
