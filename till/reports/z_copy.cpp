#include "z_copy.h"

#include "printclass.h"
#include "xz_report.h"
#include "z_row.h"

#include <QSqlError>
#include <QSqlQuery>


void PrintLastZCopy(int RinduSkaits, TPrintClass& print, ReportWindow& window)
{
    if (RinduSkaits != 0) {
        window.ShowPazinojums(kZCopyOpenReceiptMessage);
        return;
    }
    const auto lines = LoadReportFile(QString::fromLatin1(kLastZReportFile));
    if (!lines) {
        window.ShowPazinojums(kZCopyMissingMessage);
        return;
    }
    print.DrukaTuksasRindasUzAbam(5);
    print.AtverNaudasLadi();
    PrintNextHeader(print, window);
    for (const QString& line : *lines)
        print.DrukaUzAbam(line, 1);
    PrintNextHeader(print, window);
}

namespace {

QString dateText(const QDate& date) { return SystemDateText({date.year(), date.month(), date.day(), 0, 0, 0, 0, 0}); }

}  // namespace

void PrintAnnulledReceipts(const QSqlDatabase& posDb, const QDate& from, const QDate& to, TPrintClass& print)
{
    QSqlQuery query(posDb);
    query.setForwardOnly(true);
    const bool opened =
        query.prepare(QStringLiteral("SELECT CEKA_NR, SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) AS SUMMA FROM REALIZ "
                                     "WHERE DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ AND ANULETS='T' GROUP BY CEKA_NR")) &&
        [&] {
            query.bindValue(QStringLiteral(":DAT_NO"), from);
            query.bindValue(QStringLiteral(":DAT_LIDZ"), to);
            return query.exec();
        }();
    if (!opened)
        throw AnnulledListError(query.lastError().text().toStdString());

    const QString dashes(31, u'-');
    print.DrukaUzCeka(dashes, false, 1);
    print.DrukaUzCeka(QStringLiteral("       ANULĒTIE ČEKI "), true, 1);
    print.DrukaUzCeka("par " + dateText(from) + "-" + dateText(to), true, 1);
    print.DrukaUzCeka(dashes, false, 1);
    while (query.next())
        print.DrukaUzCeka(QString::asprintf("Čeks Nr %7.0f summa %7.2f ", query.value(0).toDouble(), query.value(1).toDouble()),
                          true, 1);
    print.DrukaUzCeka(dashes, false, 1);
    print.DrukaUzCeka(QStringLiteral("\n\n\n\n\n"), false, 2);
    print.DrukaCekaGalvu();
}
