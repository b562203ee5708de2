#include "waiter_report.h"

#include "order_sql.h"
#include "receipt_slip.h"

#include "regional.h"

namespace {

const QString kValueSum = QStringLiteral("select SUM(CENA * DAUDZUMS * (1 + ATLAIDE/100)) as SUMMA");
const QString kOfPeriod = QStringLiteral(" from O_PASUT where DATUMS between :DATUMS_NO and :DATUMS_LIDZ ");
const QString kValue = kValueSum + kOfPeriod;
const QString kLive = QStringLiteral("and (O_PASUT.DZESTS!='T' OR O_PASUT.DZESTS IS NULL) ");
const QString kOfWaiter = QStringLiteral("and BARMENIS = :BARMENIS");

QString dateText(const QDate& date)
{
    return QString::fromStdString(platform::shortDateText(date.year(), date.month(), date.day()));
}

QString sumLine(const char* caption, double sum) { return QString::fromUtf8(caption) + QString::asprintf(" = %7.2f ", sum); }

struct Sums {
    double realised = 0, service = 0, deleted = 0, unpaid = 0;
};

void addSumLines(QStringList& lines, const Sums& sums)
{
    lines << sumLine("Kopā realizēts", sums.realised) << sumLine("Servisa summa ", sums.service)
          << sumLine("Dzēst         ", sums.deleted) << sumLine("Nenosl,neapmm.", sums.unpaid);
}

}  // namespace

QStringList WaiterReportLines(const QSqlDatabase& db, const QDate& from, const QDate& to, const QString& serviceArticle)
{
    const OrderParams period{{QStringLiteral(":DATUMS_NO"), from}, {QStringLiteral(":DATUMS_LIDZ"), to}};
    const QString article = serviceArticle.trimmed();
    QStringList lines{QString(29, u'-'), QStringLiteral("-    Viesmīļu atskaite     - "),
                      QStringLiteral("-  ") + dateText(from) + u'-' + dateText(to) + QStringLiteral("   - ")};
    Sums total;
    QSqlQuery waiters = RunOrderSql(
        db, kValueSum + QStringLiteral(", BARMENIS") + kOfPeriod + QStringLiteral("group by BARMENIS order by BARMENIS"), period);
    while (waiters.next()) {
        // Lines without a waiter make a block of their own; "=" finds none of them, so its
        // deleted, service and unpaid sums are 0.
        OrderParams ofWaiter = period;
        ofWaiter.push_back({QStringLiteral(":BARMENIS"), waiters.value(1)});
        const auto sum = [&](const QString& condition, const OrderParams& params) {
            return OrderSqlNumber(db, kValue + condition + kOfWaiter, params);
        };
        Sums waiter;
        waiter.deleted = sum(QStringLiteral("and O_PASUT.DZESTS='T' "), ofWaiter);
        waiter.realised = waiters.value(0).toDouble() - waiter.deleted;
        if (!article.isEmpty()) {
            OrderParams ofService = ofWaiter;
            ofService.push_back({QStringLiteral(":ARTIKULS"), article});
            waiter.service = sum(QStringLiteral("and ARTIKULS = :ARTIKULS ") + kLive, ofService);
        }
        waiter.unpaid = sum(kLive + QStringLiteral("AND APMAKSATS='F' "), ofWaiter);
        lines << QStringLiteral("---------- ") + waiters.value(1).toString() + QStringLiteral(" -----------");
        addSumLines(lines, waiter);
        total.realised += waiter.realised;
        total.service += waiter.service;
        total.deleted += waiter.deleted;
        total.unpaid += waiter.unpaid;
    }
    lines << QStringLiteral("-------- KOPĀ VIESMĪĻIEM -------");
    addSumLines(lines, total);
    lines << QString(28, u'-');
    return lines;
}

void PrintWaiterReport(const QSqlDatabase& db, TPrintClass& printer, const QDate& from, const QDate& to,
                       const QString& serviceArticle)
{
    const QStringList lines = WaiterReportLines(db, from, to, serviceArticle);
    ReceiptSlip slip(printer);
    for (const QString& line : lines) slip.line(line);
    slip.finish(true);
}
