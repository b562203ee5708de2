// The bank-card slip the till composes from the terminal control's values after a transaction:
// the merchant's copy (1), the customer's copy (2) and the declined-purchase slip (3), printed on
// both stations and kept as "LastCC_Ceks1.rep" (copy 1) and "LastCC_Ceks2.rep" (copies 2 and 3).
#pragma once

#include "card_operation.h"

#include <QString>
#include <QStringList>

class TPayvo;
class TPrintClass;

// The slip of a purchase the terminal declined: no card was charged.
inline constexpr int kDeclinedSlipCopy = 3;

// What a slip shows: the control's values as the terminal formats them, the dialog's chosen
// operation and amount text, and the till number.
struct KartesCeksDati {
    int TerminalState = 0;
    QString TerminalID, MerchantID, TransactionDate, CardName, TransIndicator, MerchTicketCardNumber, AppLabel,
        CardNumber, ValidDate, AID;
    int TransactionType = 0;
    QString CardEntryType, TVR, TSI, AuthCode, API, AData, TicketNumber;
    int TransactionReturn = 0;
    int StatusCode = 0;
    QString StatusDisplayMsg, CHVM;

    KartesOperacija operacija = KartesOperacija::Nav;
    QString summa;    // the dialog's amount field, in cents
    QString KasesNr;  // the till number
};

// The control's values of a slip (the dialog's operation, amount and the till number are the
// caller's).
KartesCeksDati ReadKartesCeksDati(const TPayvo& control);

// A label-and-value text ("Kases Nr: 12") spread over 31 characters: the label up to and with the
// first ":" at the left, the value at the right; unchanged without a ":" or when both together
// are 31 characters or more.
QString TwoColumnLine(const QString& text);

// Prints slip `copy` line by line on both stations and returns its lines as kept (the closing
// feed of five line feeds the last).
QStringList MakeKartesCeks(int copy, const KartesCeksDati& dati, TPrintClass& print);

// The kept copy of slip `copy`.
QString KartesCeksFile(int copy);

// Prints slip `copy`, keeps it, and starts the next receipt's header: returns the header's result
// (below 0 is fatal to the caller).
int PrintKartesCeks(int copy, const KartesCeksDati& dati, TPrintClass& print);
