// Storing a registered receipt in the journal table REALIZ: one row per line with the receipt's
// payment data on each, all rows in one database transaction; the optional text copy of the
// receipt; and the copy of its lines kept for the copy of the last receipt.
#pragma once

#include "closing_receipt.h"
#include "realiz_rows.h"
#include "stock_link.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <vector>

class TFMProc;

// What the rows carry besides the lines.
struct ReceiptRows {
    int CekaNr = 0;
    QDate Datums;
    QString Laiks;         // "09:05:03"
    QString KlKods;        // the customer list's key ("0" and empty: none)
    int ApmVeids = 0;      // number of the kind selected in the payment-kind list
    QString Kasieris;
    QString PaymentText;   // the item field's text that closed the receipt
    QString CitasZinas;
    // The payer typed on the sale screen; stored only when the receipt has no customer code, as
    // the return of the receipt takes a stored name for a typed payer.
    QString KlNosaukums;
    QString KlRegNr;
};

// The number the receipt was printed under, as the counter CEKANRCOUN holds it now. Empty when
// the record cannot be read or holds no number: a fiscal-memory failure.
std::optional<int> StoredReceiptNumber(TFMProc& fm);

// Inserts the rows, all or none: a failing insert rolls the receipt's rows back and throws
// ReceiptStoreError with the database's text.
void StoreReceiptRows(const QSqlDatabase& posDb, const ClosingReceipt& receipt, const ReceiptRows& rows);

// Once the receipt's rows are committed, with the stock link on: each line's quantity from line
// `from` on taken off its goods' balance (put back on a return receipt), one line at a time, and
// `moved` told how many lines are done after each. A line the stock database refuses is told
// (kStockUpdateFailedMessage and the database's text), counts as done, and the next is tried;
// the receipt stays stored.
void UpdateReceiptStock(const StockLink& stock, const ClosingReceipt& receipt, std::size_t from,
                        const std::function<void(const QString&)>& tell,
                        const std::function<void(std::size_t done)>& moved);

// The text copy of a stored receipt: file CekaKopijaPath + number + "." + the till number.
std::filesystem::path ReceiptCopyFile(const QString& cekaKopijaPath, int cekaNr, const QString& kasesNr);
// Writes the copy (Windows-1257, as the other programs read it); false when it cannot be created.
bool WriteReceiptCopy(const std::filesystem::path& file, const ClosingReceipt& receipt, const QString& cekaValutaKods);

// The lines kept for the copy of the last receipt (without notice, voucher texts and packaging).
std::vector<TCekaRinda> IeprCekaRindas(std::span<const TCekaRinda> lines);
