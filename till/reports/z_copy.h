// The copy of the last Z report from its kept file, and the list of the annulled receipts of a
// period printed on the receipt station.
#pragma once

#include "report_window.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <stdexcept>

class TPrintClass;

inline const QString kZCopyOpenReceiptMessage = QStringLiteral("Pirms drukāt Z atskaites kopiju jānobeidz čeks !!!");
inline const QString kZCopyMissingMessage = QStringLiteral("Nav informācijas par pēdējo Z atskaiti !!!");

// Prints "LastZAtskaite.rep" again between two receipt headers; refused while a receipt is open
// or when there is no kept Z report. A header that cannot be printed annuls the open receipt and
// ends the program.
void PrintLastZCopy(int RinduSkaits, TPrintClass& print, ReportWindow& window);

class AnnulledListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The annulled receipts whose rows lie in the period (dates only, both included), one line per
// receipt number with the sum of its discounted lines, then the next receipt's header. Throws
// AnnulledListError with the database's text before anything is printed.
void PrintAnnulledReceipts(const QSqlDatabase& posDb, const QDate& from, const QDate& to, TPrintClass& print);
