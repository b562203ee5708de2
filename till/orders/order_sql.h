// Statements of the orders on the till database: prepared, bound by name and run, a failure
// thrown with the database's text.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <utility>
#include <vector>

using OrderSqlParams = std::vector<std::pair<QString, QVariant>>;

// The query positioned before its first row. Throws platform::DatabaseError.
QSqlQuery RunOrderSql(const QSqlDatabase& db, const QString& sql, const OrderSqlParams& params = {});
// The first column of the first row as a number; 0 when there is no row or it is NULL (a SUM
// over no lines). Throws platform::DatabaseError.
double OrderSqlNumber(const QSqlDatabase& db, const QString& sql, const OrderSqlParams& params = {});
