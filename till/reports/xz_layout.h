// The X and Z reports' paper lines, their totals text ZReportTotals (the Z row's key=value pairs),
// and for the Z report the next day-close record and the counters' zeroed texts, all computed
// from the counters read.
#pragma once

#include "day_counters.h"
#include "report_fiscal_memory.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

inline constexpr int kXReport = 1;
inline constexpr int kZReport = 2;

// How a line goes to the printer.
enum class LineRoute {
    BothStations,  // both stations and the electronic journal
    EmptyLine,     // one empty line fed on both stations
    FinalFeed,     // the receipt station only, closing the day's journal file
};

struct ReportLine {
    QString text;
    LineRoute route = LineRoute::BothStations;
};

struct XZLayoutSettings {
    QString CekaValutaKods;    // the receipt currency's code
    QString KasierisFullName;
    QString dateText, timeText;  // now, as the report prints them
    // The rate of a foreign currency in the receipt currency; 1.0 for an unknown code.
    std::function<double(const QString&)> valutasKurss;
};

struct XZReport {
    std::vector<ReportLine> lines;  // in print order; the kept file holds every text
    QString totals;                 // ZReportTotals
    int number = 0;                 // the number in the title
    long long sales = 0;            // T: the day's sales, cents
    long long vat = 0;              // V: the day's VAT, each slot rounded to cents
    double cashBalance = 0;         // A: the cash in the drawer, currency units
    // Z report: the day-close record to append, the next day's opening balance (A in whole cents)
    // and the counters written back zeroed, in order.
    DayCloseRecord dayClose;
    long long nextOpening = 0;
    std::vector<CounterText> zeroed;
    QStringList texts() const;
};

XZReport BuildXZReport(int kind, const DayCounters& counters, const XZLayoutSettings& settings);

// The counters as the Z report writes them back, in order: the tax rates and currency codes kept
// with zero sums, every other day sum zero, and nextOpening (cents) as the opening balance.
std::vector<CounterText> ZeroedCounters(const DayCounters& counters, long long nextOpening);
