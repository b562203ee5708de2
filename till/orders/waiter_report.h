// The waiter report ("Viesmīļu atskaite") on the receipt printer: for a period of order lines,
// each waiter's realised, service-charge, deleted and unpaid sums, then the totals.
#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class TPrintClass;

// The report's lines before the closing feed, for the lines of O_PASUT dated from `from` to `to`
// (both days included); `serviceArticle` is the service-charge line's article (trimmed; empty
// gives service sums of 0). Throws OrderError.
QStringList WaiterReportLines(const QSqlDatabase& db, const QDate& from, const QDate& to, const QString& serviceArticle);

// Brmeuatskaite1Click: the lines, the feed and the next receipt's header. Changes no data.
void PrintWaiterReport(const QSqlDatabase& db, TPrintClass& printer, const QDate& from, const QDate& to,
                       const QString& serviceArticle);
