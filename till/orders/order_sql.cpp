#include "order_sql.h"

double OrderSqlNumber(const QSqlDatabase& db, const QString& sql, const OrderParams& params)
{
    QSqlQuery query = RunOrderSql(db, sql, params);
    return query.next() ? query.value(0).toDouble() : 0.0;
}
