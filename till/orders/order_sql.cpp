#include "order_sql.h"

#include "database.h"

#include <QSqlError>

QSqlQuery RunOrderSql(const QSqlDatabase& db, const QString& sql, const OrderSqlParams& params)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) throw platform::DatabaseError(query.lastError().text().toStdString());
    for (const auto& [name, value] : params) query.bindValue(name, value);
    if (!query.exec()) throw platform::DatabaseError(query.lastError().text().toStdString());
    return query;
}

double OrderSqlNumber(const QSqlDatabase& db, const QString& sql, const OrderSqlParams& params)
{
    QSqlQuery query = RunOrderSql(db, sql, params);
    return query.next() ? query.value(0).toDouble() : 0.0;
}
