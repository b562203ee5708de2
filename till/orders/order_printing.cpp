#include "order_printing.h"

#include "order_sql.h"
#include "receipt.h"
#include "receipt_slip.h"
#include "report_forms.h"

#include "clock.h"
#include "regional.h"
#include "report.h"
#include "ui_services.h"

#include "printclass.h"

#include <numeric>

namespace {

const QString kPasutNr = QStringLiteral(":PASUT_NR");

// The name right-aligned in its column and cut to it: a longer name would push the quantity or
// the sum past the printer's line width, where the printer object cuts it off.
QString nameColumn(const QString& name, int width) { return name.left(width).rightJustified(width, u' '); }

QString number(const char* format, double value) { return QString::asprintf(format, value); }

}  // namespace

QString BarSlipLine(int printerType, const QString& name, double quantity)
{
    return nameColumn(name, printerType == 0 ? 30 : 26) + number(" x %7.2f", quantity);
}

QString BillLine(int printerType, const QString& name, double quantity, double sum)
{
    if (printerType == 0) return nameColumn(name, 30) + number(" =%7.2f ", sum);
    return nameColumn(name, 19) + number(" %5.1f", quantity) + number(" =%7.2f ", sum);
}

QString BillTotalLine(int printerType, double total)
{
    return number(printerType == 0 ? "KOPĀ APMAKSAI                 = %7.2f " : "KOPĀ APMAKSAI             = %7.2f ",
                  total);
}

double BillLineSum(double summa) { return double(RoundSumma(summa, 2)); }

double BillTotal(const std::vector<double>& summas)
{
    return std::accumulate(summas.begin(), summas.end(), 0.0,
                           [](double total, double summa) { return total + BillLineSum(summa); });
}

QString KitchenHeading(const OrderHeading& heading)
{
    return QStringLiteral("Bārmenis-") + heading.waiter + QStringLiteral(" Galds-") + heading.table +
           QStringLiteral(" Pasūtījums Nr ") + QString::number(heading.pasutNr);
}

bool DrukatBaram(const QSqlDatabase& db, TPrintClass& printer, const OrderHeading& heading)
{
    QSqlQuery rows = RunOrderSql(db,
                                 QStringLiteral("SELECT O.DAUDZUMS, P.GNOS PRECE FROM O_PASUT O JOIN ") + kOrderLineItem +
                                     QStringLiteral(" WHERE O.PASUT_NR=:PASUT_NR AND P.NODALA=1 "
                                                    "AND (O.DZESTS!='T' OR O.DZESTS IS NULL) "
                                                    "AND (O.PRN_BARS!='T' OR O.PRN_BARS IS NULL) ORDER BY O.ISN"),
                                 {{kPasutNr, heading.pasutNr}});
    std::vector<QString> lines;
    while (rows.next()) lines.push_back(BarSlipLine(printer.PrinteraTips, rows.value(1).toString(), rows.value(0).toDouble()));

    const QString rule(28, u'-');
    ReceiptSlip slip(printer);
    slip.line(rule, false);
    slip.line(QStringLiteral("Viesm.") + heading.waiter + QStringLiteral(" Galds-") + heading.table +
              QStringLiteral(" Pasūt. Nr ") + QString::number(heading.pasutNr));
    slip.line(rule, false);
    for (const QString& line : lines) slip.line(line);
    slip.line(rule, false);
    if (!slip.finish(false)) {
        platform::ui::showMessage(kBarSlipNotPrinted);
        return false;
    }
    // Every row of the order, whatever its department: the deletion of a line reads the flags.
    RunOrderSql(db, QStringLiteral("UPDATE O_PASUT SET PRN_BARS='T' WHERE PASUT_NR=:PASUT_NR"), {{kPasutNr, heading.pasutNr}});
    return true;
}

bool DrukatVirtuvei(const QSqlDatabase& db, const OrderHeading& heading)
{
    if (PrintPasutijumsSaurs(db, KitchenHeading(heading), heading.pasutNr) != KitchenSlip::NotPrinted) return true;
    platform::ui::showMessage(kKitchenSlipNotPrinted);
    return false;
}

bool DrukatAtteikumu(const QSqlDatabase& db, const OrderHeading& heading, int isn)
{
    const platform::report::Report slip = BuildVirtuveAnulets(db, KitchenHeading(heading), isn);
    if (slip.rows.empty() || platform::report::print(slip)) return true;
    platform::ui::showMessage(kCancellationSlipNotPrinted);
    return false;
}

void DrukatPasutijumu(const QSqlDatabase& db, const OrderHeading& heading)
{
    platform::report::preview(BuildPasutijums(db, KitchenHeading(heading), heading.pasutNr));
}

bool DrukatRekinu(const QSqlDatabase& db, TPrintClass& printer, const OrderHeading& heading, const QString& kasieris)
{
    QSqlQuery rows = RunOrderSql(db,
                                 QStringLiteral("SELECT O.DAUDZUMS*O.CENA*(1+O.ATLAIDE/100) SUMMA, P.GNOS PRECE, O.DAUDZUMS "
                                                "FROM O_PASUT O JOIN ") +
                                     kOrderLineItem +
                                     QStringLiteral(" WHERE O.PASUT_NR=:PASUT_NR AND (O.DZESTS!='T' OR O.DZESTS IS NULL) "
                                                    "ORDER BY O.ISN"),
                                 {{kPasutNr, heading.pasutNr}});
    std::vector<QString> lines;
    std::vector<double> summas;
    while (rows.next()) {
        summas.push_back(rows.value(0).toDouble());
        lines.push_back(BillLine(printer.PrinteraTips, rows.value(1).toString(), rows.value(2).toDouble(),
                                 BillLineSum(summas.back())));
    }

    const QString rule(40, u'-');
    ReceiptSlip slip(printer);
    slip.line(QStringLiteral("-------------- RĒĶINS ------------------"));
    slip.line(QStringLiteral("- Viesm.") + heading.waiter + u' ');
    slip.line(QStringLiteral("- Galds-") + heading.table + QStringLiteral(" Pasūt. Nr ") + QString::number(heading.pasutNr) +
              u' ');
    slip.line(rule);
    for (const QString& line : lines) slip.line(line);
    slip.line(rule);
    slip.line(BillTotalLine(printer.PrinteraTips, BillTotal(summas)));
    slip.line(rule);
    const platform::LocalTime now = platform::localNow();
    slip.line(QString::fromStdString(platform::shortDateText(now.year, now.month, now.day)) + QStringLiteral("  ") +
              QString::fromStdString(platform::timeText(now.hour, now.minute, now.second)) + QStringLiteral("  Kas:") +
              kasieris + u' ');
    if (!slip.finish(true)) {
        platform::ui::showMessage(kBillNotPrinted);
        return false;
    }
    RunOrderSql(db, QStringLiteral("UPDATE O_PASUT SET PRN_REKINS='T' WHERE PASUT_NR=:PASUT_NR"), {{kPasutNr, heading.pasutNr}});
    return true;
}
