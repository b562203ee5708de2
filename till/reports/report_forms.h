// The till's report forms as row builders: each runs its statement on the till database (period
// and filters bound as parameters), works out its calculated fields and hands back the report
// model the renderer prints.
#pragma once

#include "payment_kinds.h"
#include "report.h"
#include "report_filter.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <stdexcept>

class ReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the report menu hands to a form.
struct ReportRequest {
    QDate from, to;
    QString title;              // ReportTitle: the command's title and the period
    ReportFilter customers;     // on REALIZ.KL_KODS
    ReportFilter goods;         // on REALIZ.ARTIKULS
    PaymentKindList kinds;      // names of the payment kinds stored in APM_VEIDS
};

// The report forms of the menu. Every builder throws ReportError with the database's text.
enum class MenuReport {
    RealizPaKlientiem,
    RealizPaKasieriem,
    RealizPaStundam,
    RealizPaKlientiemSummari,
    KopsavNodPreces,
    PaNodokluLikmem,
    CenuNobides,
    AtlidesPaKlientiem,
};
platform::report::Report BuildMenuReport(MenuReport form, const QSqlDatabase& posDb, const ReportRequest& request);

// The tax rule of the summary reports: rate -1 is untaxed.
struct TaxSplit {
    double withoutTax = 0;
    double tax = 0;
};
TaxSplit SplitTax(double withTax, double rate);
// A rate as the reports print it: "b/n" for -1.
QString RateText(double rate);
// A date as the reports print it: the short date format of the regional settings.
QString ReportDateText(const QDate& date);
// The hour slot of a stored time "hh:mm:ss" among the columns "0-7.59", 8 .. 21, "22-24".
int HourSlot(const QString& laiks);

// The restaurant order slips.
// The item an order line O names, as P: the first row of N_PRECE with the line's article. An
// article code may be held by more than one item, and a plain join on it would print the line
// once per item, so every printout of an order joins through this.
inline const QString kOrderLineItem =
    QStringLiteral("N_PRECE P ON P.ISN = (SELECT MIN(I.ISN) FROM N_PRECE I WHERE I.ARTIKULS = O.ARTIKULS)");
platform::report::Report BuildVirtuveAnulets(const QSqlDatabase& db, const QString& header, int isn);
platform::report::Report BuildPasutijumsSaurs(const QSqlDatabase& db, const QString& header, int pasutNr);
platform::report::Report BuildPasutijums(const QSqlDatabase& db, const QString& header, int pasutNr);
// The kitchen slip straight on the default printer. It marks the order's lines printed for the
// kitchen only once the slip printed, so lines of a slip that did not print go with the next one;
// with no new kitchen line there is no page and nothing changes.
enum class KitchenSlip { Printed, NothingNew, NotPrinted };
KitchenSlip PrintPasutijumsSaurs(const QSqlDatabase& db, const QString& header, int pasutNr);
