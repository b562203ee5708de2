#include "drawer_limit.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <stdexcept>

namespace {

// `what` names the sum in the message of a failure.
double firstValue(QSqlQuery& query, const char* what, const char* sql, const QDate* day) {
    const auto failed = [&] {
        const QString text = kDrawerLimitFailed + QString::fromUtf8(what) + ": " + query.lastError().text();
        return std::runtime_error(text.toStdString());
    };
    if (!query.prepare(QString::fromLatin1(sql))) throw failed();
    if (day) query.bindValue(":DATUMS", *day);
    if (!query.exec()) throw failed();
    const double value = query.next() ? query.value(0).toDouble() : 0.0;  // an empty sum reads as 0
    query.finish();
    return value;
}

}  // namespace

bool DrawerLimitExceeded(const QSqlDatabase& posDb, const QDate& today) {
    QSqlQuery query(posDb);
    query.setForwardOnly(true);
    const double sold = firstValue(query, "pārdots (REALIZ)",
                                   "SELECT SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) SUMMA              FROM REALIZ"
                                   "              WHERE DATUMS=:DATUMS                 AND ANULETS!='T' AND ANULETS IS NOT NULL",
                                   &today);
    const double paidIn = firstValue(query, "iemaksas (REALIZ)",
                                     "SELECT SUM(SANEMTS-IZDOTS) SUMMA              FROM REALIZ"
                                     "              WHERE DATUMS=:DATUMS AND DAUDZUMS IS NULL"
                                     "                  AND ANULETS!='T' AND ANULETS IS NOT NULL ",
                                     &today);
    const double limit = firstValue(query, "limits (N_ISI)", "SELECT ISINAUDALADELIMITS FROM N_ISI", nullptr);
    const double day = sold + paidIn;
    return limit < day && limit > 0.01;
}
