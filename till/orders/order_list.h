// The order lines of O_PASUT as the orders window lists them: one statement per list with the
// filters bound as parameters and the item names joined in, the list's total, the waiter and
// table tabs, the next order number and the quick items.
#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>
#include <vector>

// A failed statement on the order table, with the database's text.
class OrderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One row of O_PASUT with the list's two calculated fields.
struct OrderLine {
    int isn = 0;
    QDate datums;
    int pasutNr = 0;
    QString galds, vieta;
    double cena = 0, atlaide = 0, daudzums = 0;
    QString apmaksats, barmenis, dzests, prnBars, prnVirtuve, artikuls, prnRekins, klKods;
    // GNOS of the item whose code is the first 13 characters of ARTIKULS; empty when none.
    QString nosaukums;

    // DAUDZUMS x CENA, without the discount and not rounded.
    double summa() const { return daudzums * cena; }
    // Never printed on the bar slip, the kitchen slip or the bill.
    bool neverPrinted() const { return prnRekins != "T" && prnVirtuve != "T" && prnBars != "T"; }
};

// The list's payment-state filter, in the order of its radio items.
enum class PaymentFilter { Unpaid = 0, Paid = 1, All = 2 };

struct OrderFilter {
    std::optional<QString> barmenis;  // none: every waiter
    std::optional<QString> galds;     // none: every table
    QDate from, to;                   // both included
    PaymentFilter apmaksa = PaymentFilter::Unpaid;
};

// The live lines the filter selects, by date, order number and key.
std::vector<OrderLine> ReadOrderList(const QSqlDatabase& db, const OrderFilter& filter);
// The sum of each line's discounted amount rounded to cents.
double OrderListTotal(const std::vector<OrderLine>& lines);
// The total as the list shows it: "%10.2f".
QString OrderTotalText(double total);

// Every waiter name of the table (NULL as empty), sorted.
QStringList ReadWaiters(const QSqlDatabase& db);
// The table names of the waiter's lines (every waiter's when none) in the period, sorted.
QStringList ReadTables(const QSqlDatabase& db, const std::optional<QString>& barmenis, const QDate& from,
                       const QDate& to);
// The largest order number of the whole table plus one (1 for an empty table).
int NextOrderNumber(const QSqlDatabase& db);

// The items that carry a quick key, by name: the first `limit` of them.
struct QuickItem {
    QString gnos, shortkey;
};
std::vector<QuickItem> ReadQuickItems(const QSqlDatabase& db, int limit);
// The article of the first item whose SHORTKEY is this text; empty when none.
QString QuickItemArticle(const QSqlDatabase& db, const QString& shortkey);
