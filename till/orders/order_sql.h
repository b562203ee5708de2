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
