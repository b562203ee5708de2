// Choosing the receipt's customer from N_KLIENTI: the code field's texts (cut at "=", leading
// zeros), the scan-only timing rule, the look-up by code, what a chosen customer shows, and the
// credit-limit sum of the customer's journal rows.
#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>

#include <optional>
#include <vector>

namespace platform {
class RecordListModel;
}

inline const QString kKlientsNavAtrasts = QStringLiteral("Klients nav atrasts !!!");
inline const QString kPinNepareizs = QStringLiteral("PIN kods ievadīts nepareizi !!!");
inline const QString kTikaiElektroniski = QStringLiteral(
    "Klientu drīkst izvēlēties tikai elektroniski nolasot klienta kodu \n(koda ievadīšana ar roku nav pieļaujama) !!!");
inline const QString kKreditaLimits = QStringLiteral("Klienta kredīta limits pārsniedz maksimālo !!!");

// The time of day as a fraction of a day (the code field's stamp).
double DayFraction(int hour, int minute, int second, int millisecond);
// A code counts as typed by hand when it took more than 0.000005 of a day (0.432 s) from the
// first key; a stamp after `now` (midnight passed) counts as scanned.
bool TypedByHand(double stamp, double now);

// The two codes a field's text is looked up by: first `shortened` (cut before the first "=",
// unless the text begins with ";=", then at most five leading zeros taken off), then `full`
// (the cut text with its zeros).
struct CustomerCodes {
    QString shortened;
    QString full;
};
CustomerCodes CustomerCodeTexts(const QString& fieldText);

// Row of the customer list whose KODS equals the code ignoring letter case (the first in the
// list's order); empty when none does.
std::optional<int> FindCustomerRow(const platform::RecordListModel& customers, const QString& code);

// What a chosen customer puts on the sale screen.
struct ShownCustomer {
    QString kods;
    QString nosaukums;  // GNOS, trimmed
    QString adrese;     // ADRESE, trimmed
    QString regNr;      // PVN_KODS, trimmed
    QString atlaide;    // ATLAIDE in its shortest decimal form
};
ShownCustomer ShowCustomer(const QSqlRecord& customer);

// The PIN a customer row asks for; empty when it asks none.
QString CustomerPin(const QSqlRecord& customer);

// The customer's purchases since `since` that count against the credit limit: the journal rows
// of the customer that are not annulled, money deposits (department 20) taken off. Throws
// platform::DatabaseError with the database's text.
double CreditUsed(const QSqlDatabase& posDb, const QString& kods, const QDateTime& since);
// True when the customer has a limit (ATLIK_SUM not 0) and the purchases since ATLIK_DAT exceed
// it; runs no query for a customer without a limit.
bool CreditLimitExceeded(const QSqlDatabase& posDb, const QSqlRecord& customer);
