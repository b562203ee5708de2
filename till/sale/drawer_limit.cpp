#include "drawer_limit.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <stdexcept>

namespace {

double firstValue(QSqlQuery& query, const char* sql, const QDate* day) {
    query.prepare(sql);
    if (day) query.bindValue(":DATUMS", *day);
    if (!query.exec()) throw std::runtime_error(query.lastError().text().toStdString());
    const double value = query.next() ? query.value(0).toDouble() : 0.0;  // an empty sum reads as 0
    query.finish();
    return value;
}

}  // namespace

bool DrawerLimitExceeded(const QSqlDatabase& posDb, const QDate& today) {
    QSqlQuery query(posDb);
    query.setForwardOnly(true);
    const double sold = firstValue(query,
                                   "SELECT SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) SUMMA              FROM REALIZ"
                                   "              WHERE DATUMS=:DATUMS                 AND ANULETS!='T' AND ANULETS IS NOT NULL",
                                   &today);
    const double paidIn = firstValue(query,
                                     "SELECT SUM(SANEMTS-IZDOTS) SUMMA              FROM REALIZ"
                                     "              WHERE DATUMS=:DATUMS AND DAUDZUMS IS NULL"
                                     "                  AND ANULETS!='T' AND ANULETS IS NOT NULL ",
                                     &today);
    const double limit = firstValue(query, "SELECT ISINAUDALADELIMITS FROM N_ISI", nullptr);
    const double day = sold + paidIn;
    return limit < day && limit > 0.01;
}
