// The receipt journal as the journal review shows it: the sale rows of a period of days within a
// daily time window (optionally of one receipt), with the line sum and the customer's name worked
// out per row, and the search by receipt number or by article or item name.
#pragma once

#include "report.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <optional>
#include <stdexcept>
#include <vector>

class JournalError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct JournalWindow {
    QDate from, to;               // days, both included
    QString timeFrom = QStringLiteral("00:00"), timeTo = QStringLiteral("23:59");  // "hh:mm", each day
    QString receipt;              // receipt-number filter; empty: every receipt
};

// One row of the review's grid.
struct JournalLine {
    int ceka_nr = 0;
    QDate datums;
    QString laiks, kl_kods, artikuls, precnos, kasieris, kl_nosaukums, kl_reg_nr, citaszinas;
    double cena = 0, daudzums = 0, atlaide = 0, summa = 0, sanemts = 0, izdots = 0;
    int isn = 0;
    double SummaShow = 0;           // the line sum rounded to cents
    QString ShKlientaNosaukums;     // the stored name, else the customer's name by code
};

// The time window's bounds as compared with the stored "hh:mm:ss": the last minute is taken
// whole, so "23:59" reaches rows stored at 23:59:30.
QString WindowStart(const QString& hhmm);
QString WindowEnd(const QString& hhmm);

// Runs the journal statement; throws JournalError with the database's text. The query is
// forward-only: the grid fetches its rows as it shows them.
QSqlQuery OpenJournal(const QSqlDatabase& db, const JournalWindow& window);
// The grid row of the query's current record (customer names looked up for rows that need it).
JournalLine ReadJournalLine(const QSqlDatabase& db, const QSqlQuery& query);
std::vector<JournalLine> ReadJournal(const QSqlDatabase& db, const JournalWindow& window);

// Search: kind 0 by receipt number (the text as a number), 1 by article or item name (the text
// anywhere, in any letter case). Returns the hits' ISN in the journal's order; throws
// JournalError when the statement fails (a receipt number that is not a number).
enum class SearchBy { Receipt = 0, ArticleOrName = 1 };
std::vector<int> SearchJournal(const QSqlDatabase& db, const JournalWindow& window, SearchBy by, const QString& text);

// The hits of a search and the "Turpināt meklēt" position over them.
class SearchHits {
public:
    // A new search: the first hit to show, none without hits (the position then stays).
    std::optional<int> Start(std::vector<int> hits);
    // The next hit to show, and whether the hits are used up after it.
    int Next(bool& usedUp);

private:
    std::vector<int> hits_;
    std::size_t at_ = 0;
    bool pastEnd_ = false;
};

// Header lines of the journal print, kept in the settings store.
inline constexpr const char* kJournalHeadKey = "Software\\TOVEL\\Tillora\\FP 600";
std::vector<QString> LoadJournalHeads();
void SaveJournalHeads(const std::vector<QString>& heads);

// The journal print's title.
QString JournalPrintTitle(const JournalWindow& window);

// The journal print ("ČEKU LENTAS IZDRUKA"): the rows as the review shows them, under the five
// header lines.
platform::report::Report BuildCekuLenta(const std::vector<JournalLine>& lines, const std::vector<QString>& heads,
                                        const QString& title);
