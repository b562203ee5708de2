// The printouts of a restaurant order: the bar slip and the bill on the till's receipt printer,
// the kitchen slip and the order printout as report forms; the slips' line formats and the
// bill's total.
#pragma once

#include <QSqlDatabase>
#include <QString>

#include <vector>

class TPrintClass;

// What the printouts name the order by: the captions of the orders form's selected waiter and
// table tabs ("Visi Bārmeņi" and "Visi" when all are shown), not the order's own columns.
struct OrderHeading {
    QString waiter;
    QString table;
    int pasutNr = 0;
};

// The bar slip line: the item name right-aligned in its column (30 characters on printer type 0,
// 26 on the narrower types), " x " and the quantity.
QString BarSlipLine(int printerType, const QString& name, double quantity);
// The bill line: on type 0 the name in 30 characters and the line sum; on the narrower types the
// name in 19, the quantity and the line sum.
QString BillLine(int printerType, const QString& name, double quantity, double sum);
QString BillTotalLine(int printerType, double total);
// The bill's line sum (cents, rounded half away from zero) and its total, the sum of the rounded
// line sums.
double BillLineSum(double summa);
double BillTotal(const std::vector<double>& summas);

// The headings of the kitchen slip and of the order printout.
QString KitchenHeading(const OrderHeading& heading);

// Told to the waiter when a slip did not print whole; its lines are not marked sent.
inline const QString kBarSlipNotPrinted =
    QStringLiteral("Bāra čeks nav izdrukāts (printeris izslēgts vai beidzies papīrs) !!!\n"
                   "Rindas nav atzīmētas kā nosūtītas bāram, tās izdrukās nākamais bāra čeks.");
inline const QString kKitchenSlipNotPrinted =
    QStringLiteral("Virtuves pasūtījums nav izdrukāts (printeris nav pieejams) !!!\n"
                   "Rindas nav atzīmētas kā nosūtītas virtuvei, tās izdrukās nākamais virtuves pasūtījums.");
inline const QString kCancellationSlipNotPrinted =
    QStringLiteral("Virtuves atteikums nav izdrukāts (printeris nav pieejams) !!!\n"
                   "Rinda ir dzēsta: pasakiet virtuvei, ka tā atteikta.");
inline const QString kBillNotPrinted =
    QStringLiteral("Rēķins nav izdrukāts (printeris izslēgts vai beidzies papīrs) !!!");

// DrukatBaram: the order's live bar lines (department 1) not yet sent to the bar, then PRN_BARS
// on every row of the order. False (said to the waiter, nothing marked) when the slip did not
// print whole. Throws OrderError.
bool DrukatBaram(const QSqlDatabase& db, TPrintClass& printer, const OrderHeading& heading);
// DrukatVirtuvei: the kitchen slip of the order's new department-2 lines on the default printer,
// PRN_VIRTUVE after it printed. False (said, nothing marked) when it did not print.
bool DrukatVirtuvei(const QSqlDatabase& db, const OrderHeading& heading);
// The kitchen's cancellation slip of line `isn` on the default printer, as the kitchen slip goes:
// the kitchen learns of a cancellation only from paper. False (said to the waiter) when it did not
// print; nothing is printed for a line whose article names no item.
bool DrukatAtteikumu(const QSqlDatabase& db, const OrderHeading& heading, int isn);
// DrukatPasutijumu: the order printout in the preview; sets no flag.
void DrukatPasutijumu(const QSqlDatabase& db, const OrderHeading& heading);
// DrukatRekinu: the bill of the order's live lines with the cashier's name, then PRN_REKINS on
// every row. False (said, nothing marked) when it did not print whole. Throws
// OrderError.
bool DrukatRekinu(const QSqlDatabase& db, TPrintClass& printer, const OrderHeading& heading, const QString& kasieris);
