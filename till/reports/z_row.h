// The Z row of the journal table REALIZ: the closed day's date and time, "Z=" and the Z report's
// number, and the totals text ZReportTotals. Readers find Z rows by PIEZIMES LIKE 'Z=%'.
#pragma once

#include "clock.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

struct ZReportRow {
    QDate DATUMS;
    QString LAIKS;       // 8 characters, "09:05:07"
    QString PIEZIMES;    // "Z=" and the number
    QString FREEKOMENT;  // ZReportTotals
};

// The system's date and time texts as the reports print them ("02.03.2026", "9:05:07").
QString SystemDateText(const platform::LocalTime& now);
QString SystemTimeText(const platform::LocalTime& now);
// LAIKS from a time text: one "0" in front of a text shorter than 8 characters.
QString ZRowLaiks(const QString& timeText);

ZReportRow MakeZReportRow(int number, const QString& totals, const platform::LocalTime& now);

// Inserts the row (the other columns stay NULL, ISN from the table's trigger). Throws
// std::runtime_error with the database's text.
void StoreZReportRow(const QSqlDatabase& posDb, const ZReportRow& row);
