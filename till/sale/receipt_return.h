// Taking back a stored receipt by its number: its journal rows, the lats-to-euro divisor of a
// receipt stored before the euro, the question, the item-field texts that enter its lines again
// as return lines, and the payment kind it is paid back with.
#pragma once

#include "payment_kinds.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>
#include <vector>

inline const QString kIepriekshejaisCeks = QStringLiteral("Sākumā jānobeidz iepriekšējais čeks !!!");
inline const QString kAtgriesanasCaption = QStringLiteral("TOVEL Tillora 2013");
inline const QString kUzliktUzKartes = QStringLiteral("Vai atgriezto summu uzlikt uz kartes ?");
// Said when no card terminal can take the refund; the return stays open.
inline const QString kKartesAtgriesanaNav = QStringLiteral("Atgriešana uz karti nav iespējama !!!");

// Lats per euro: a receipt dated before 1 January 2014 is in lats.
inline constexpr double kLatiParEiro = 0.702804;
double ReturnDivisor(const QDate& datums);

// One journal row of the receipt, as the return reads it.
struct ReturnRow {
    QString artikuls;
    double cena = 0;
    double daudzums = 0;
    double atlaide = 0;
    QString klKods;
    QString klNosaukums;
    QString klRegNr;
    QString apmRinda;
    QString citasZinas;
    int apmVeids = 0;  // the payment kind's number plus 1
};

// The stored receipt: the date of its first row, its total (each row rounded to cents) and its
// rows, all rows with that number that are not annulled. Throws platform::DatabaseError.
struct StoredReceipt {
    QDate datums;
    double total = 0;
    std::vector<ReturnRow> rows;
};
StoredReceipt ReadStoredReceipt(const QSqlDatabase& posDb, int cekaNr);

// The receipt number typed into the return field; 0 when it is not a number.
int ReturnNumber(const QString& text);
// "Čeka summa %7.2f \n Vai veikt čeka atgriešanu ?" with the total in the receipt currency.
QString ReturnQuestion(double total, double divisor);
// The item-field text that enters a row again: "%7.3f*%s=%7.4f" (quantity, article, price in
// the receipt currency).
QString ReturnEntryText(const ReturnRow& row, double divisor);

// The payment-kind number a receipt is paid back with: the stored kind (APM_VEIDS less 1), found
// by its number; cash when that kind is no longer in the list or is the lats cash kind.
int ReturnPaymentKind(const PaymentKindList& kinds, int apmVeids);
