// Statements on the order table: prepared, bound by name and run, or OrderError with the
// database's text.
#pragma once

#include "order_list.h"

#include <QSqlQuery>
#include <QVariant>

#include <utility>
#include <vector>

using OrderParams = std::vector<std::pair<QString, QVariant>>;

QSqlQuery RunOrderSql(const QSqlDatabase& db, const QString& sql, const OrderParams& params = {});
// The first column of the first row as a number; 0 when there is no row or it is NULL (a SUM
// over no lines).
double OrderSqlNumber(const QSqlDatabase& db, const QString& sql, const OrderParams& params = {});
