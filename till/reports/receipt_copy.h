// The copy of a receipt from the journal ("Čeka kopija" of the journal review): rebuilt from the
// receipt's stored rows and printed on the receipt printer; it registers nothing in the fiscal
// memory and writes nothing to the database.
#pragma once

#include "closing_receipt.h"
#include "payment_kinds.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

class ReportFiscalMemory;
class TPrintClass;

inline const QString kWrongPaymentKindMessage =
    QStringLiteral("Ievadīts nepareizs apmaksas veids, ievadiet lūdzu korektu !!!");

struct JournalCopyRequest {
    std::optional<int> cekaNr;  // the selected row's receipt; none without a selected row
    QDate datums;
    int RinduSkaits = 0;        // lines of the receipt open on the sale screen
    PaymentKindList kinds;
    QString currentKindText;    // the payment-kind list's current text
    int PrepaidNodala = 1;
    QString Kasieris;
};

// Refused while a receipt is open or without a selected receipt. A failed read of the tax rates
// annuls the open receipt and stops; a receipt header that cannot be printed annuls and ends the
// program. A refused line stops the copy with "CekaKopija = " and the result in the status bar.
// Rows of an annulled receipt with the same date and number take no part.
void PrintJournalReceiptCopy(const QSqlDatabase& posDb, TPrintClass& print, ReportFiscalMemory& fm,
                             ClosingHost& host, const JournalCopyRequest& request);
