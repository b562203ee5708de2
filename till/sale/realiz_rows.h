// Rows of the receipt journal REALIZ as the till writes them: the column values derived from a
// receipt line, and the rows of an annulled receipt.
#pragma once

#include "receipt.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

#include <optional>
#include <span>
#include <stdexcept>

class ReceiptStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// CENA of a line's row: the unit price that gives back the line's rounded amount through
// CENA*DAUDZUMS*(1-ATLAIDE/100); 0 when the discounted quantity is 0.
double RealizCena(const TCekaRinda& line);
// LAIKS: the time as hours, minutes and seconds with colons, 8 characters.
QString RealizLaiks(int hour, int minute, int second);
// KL_KODS: the customer list's key, empty for none or "0".
QString RealizKlKods(const QString& customerKey);
// PIEZIMES of a line sold at a typed price without an item row.
QString RealizPiezimes(const TCekaRinda& line);

inline const char* const kAnuletsInsert =
    "INSERT INTO REALIZ (CEKA_NR, DATUMS, LAIKS, KL_KODS,             ARTIKULS, CENA, NODOKLIS, DAUDZUMS, ATLAIDE,  "
    "            NODALA, KASIERIS, PIEZIMES, ANULETS) VALUES (:CEKA_NR,            :DATUMS, :LAIKS, :KL_KODS, :ARTIKULS, "
    ":CENA, :NODOKLIS, :DAUDZUMS, :ATLAIDE,             :NODALA, :KASIERIS, :PIEZIMES, 'T')";

struct AnnulledReceipt {
    int CekaNr = 0;
    QDate Datums;
    QString Laiks;
    QString KlKods;
    QString Kasieris;
    bool Atgriesana = false;  // a return receipt: quantities stored negative
};

// One row per line, in line order, flagged ANULETS 'T', all in one transaction. Throws
// ReceiptStoreError with the database's text; then no row of the receipt is stored.
void StoreAnnulledRows(const QSqlDatabase& posDb, const AnnulledReceipt& receipt, std::span<const TCekaRinda> lines);

// Ends a receipt's transaction on `db`: commits when there was no failure, else (or when the
// commit fails) rolls back and throws ReceiptStoreError with the database's text.
void CommitReceiptRows(QSqlDatabase& db, std::optional<QSqlError> failure);
