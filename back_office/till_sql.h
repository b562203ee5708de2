// Statements on the till connection that throw StepError with the database's text, so a step
// keeps its one error trap.
#pragma once

#include "transfer_steps.h"

#include <QSqlError>
#include <QSqlQuery>

inline QSqlQuery PreparedQuery(const QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) throw StepError(query.lastError().text().toStdString());
    return query;
}

inline void Execute(QSqlQuery& query) {
    if (!query.exec()) throw StepError(query.lastError().text().toStdString());
}

inline void BeginTransaction(QSqlDatabase& db) {
    if (!db.transaction()) throw StepError(db.lastError().text().toStdString());
}

// The first column of the first row as an integer, 0 without a row.
inline int FirstIsn(QSqlQuery& query) {
    Execute(query);
    const int isn = query.next() ? query.value(0).toInt() : 0;
    query.finish();
    return isn;
}

// Commits; when that fails, rolls back and returns the database's text.
inline std::optional<QString> Commit(QSqlDatabase& db) {
    if (db.commit()) return std::nullopt;
    const QString error = db.lastError().text();
    db.rollback();
    return error;
}
