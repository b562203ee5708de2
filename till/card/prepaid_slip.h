// The voucher slip of a prepaid top-up sold through the payment terminal ("ATJAUNOŠANAS KARTE"),
// composed from the terminal control's answer: copy 1 for the shop, copy 2 with the code and the
// description for the customer, printed and kept as "LastPrepaid1.rep" / "LastPrepaid2.rep".
#pragma once

#include "clock.h"

#include <QString>
#include <QStringList>

#include <optional>

class TPayvo;
class TPrintClass;

// What a voucher slip shows: the control's top-up values and the card dialog's amount field.
struct PrepaidCeksDati {
    QString PrePaidName, PrePaidNominal, PrePaidDuration, PrePaidExtDuration, PrePaidSerial, PrePaidValue,
        PrePaidDescription, TerminalID, AuthCode;
    QString summa;  // the dialog's amount field: the transaction's amount in cents
};

PrepaidCeksDati ReadPrepaidCeksDati(const TPayvo& control, const QString& summa);

inline const QString kPrepaidNoNameLine1 = QStringLiteral("Kļūda datu apmaiņā ar DRAVEL !!!");
inline const QString kPrepaidNoNameLine2 = QStringLiteral("Jums jākontaktējas ar DRAVEL !!!");

// The next printable piece of `text` at most `width` characters long: the whole text when it fits,
// else the text before the last blank that leaves the piece within width - 1 characters (`rest`
// is the text after that blank); a word longer than that is cut at `width` and `rest` goes on
// after the cut.
QString GetTekstaRinda(const QString& text, int width, QString& rest);

// Prints voucher slip `copy` and returns its kept lines; empty when the terminal reported no
// product name (only the title and the two error lines are printed, and nothing is kept).
QStringList MakePrepaidCeks(int copy, const PrepaidCeksDati& dati, TPrintClass& print, const platform::LocalTime& now);

// Prints slip `copy`, keeps it, and starts the next receipt's header: the header's result (below
// 0 is fatal to the caller), or none when the terminal reported no product name.
std::optional<int> SellPrepaidKarte(int copy, const PrepaidCeksDati& dati, TPrintClass& print, const platform::LocalTime& now);
