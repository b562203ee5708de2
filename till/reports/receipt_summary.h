// The receipt summary ("Čeku kopsavilkuma atskaite"): per day of a period the day's Z reports
// added up from the Z rows' totals text, the receipts of each Z period, and its CSV file
// "CekuKopsav.csv", one line per printed day.
#pragma once

#include "report.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <map>

// The figures of one Z row's totals text. Rates are read from the text's groups: each PVN_L=
// pair opens a group whose BEZ_PVN_L= and PVN_SUM_L= follow it; keys are compared whole.
struct ZTotals {
    std::map<int, double> salesByRate;  // BEZ_PVN_L per rate, groups of one rate added up
    std::map<int, double> taxByRate;    // PVN_SUM_L per rate
    double value(const QString& key) const;
    std::map<QString, QString> pairs;   // every other KEY=value of the text, the last of a key
};
ZTotals ParseZTotals(const QString& text);

// Page head of the summary: the receipt header lines and numbers the printer object holds, the
// grand totals of the last day-close record (in cents).
struct SummaryHead {
    QStringList cekaGalva;  // CEKAGALVA1..4
    QString posNr, vidId;
    long long grandTotalCents = 0, grandVatCents = 0;
};

inline const QString kSummaryCsvFile = QStringLiteral("CekuKopsav.csv");

// Throws ReportError (report_forms.h) with the database's text.
platform::report::Report BuildCekuKopsav(const QSqlDatabase& posDb, const QDate& from, const QDate& to,
                                         const QString& title, const SummaryHead& head);
// The CSV lines of a built summary: each printed day's date and its 14 values as printed.
QStringList CekuKopsavCsvLines(const platform::report::Report& report);
// Writes the lines as "CekuKopsav.csv" in the folder, replacing an earlier file. False when the
// file cannot be written.
bool WriteCekuKopsavCsv(const QStringList& lines, const std::filesystem::path& folder);
