#include "order_corrections.h"

#include "order_entry.h"
#include "order_sql.h"

void MarkLineDeleted(const QSqlDatabase& db, int isn) {
    RunOrderSql(db, QStringLiteral("UPDATE O_PASUT SET DZESTS='T' WHERE ISN=:ISN"), {{"ISN", isn}});
}

void RemoveLine(const QSqlDatabase& db, int isn) {
    RunOrderSql(db, QStringLiteral("DELETE FROM O_PASUT WHERE ISN=:ISN"), {{"ISN", isn}});
}

void SetOrderDiscount(const QSqlDatabase& db, int pasutNr, double atlaide) {
    RunOrderSql(db, QStringLiteral("UPDATE O_PASUT SET ATLAIDE=:ATLAIDE WHERE PASUT_NR=:PASUT_NR"),
                {{"ATLAIDE", atlaide}, {"PASUT_NR", pasutNr}});
}

double CustomerOrderDiscount(const QSqlDatabase& db, const QString& klKods) {
    QSqlQuery query = RunOrderSql(db, QStringLiteral("SELECT ATLAIDE FROM N_KLIENTI WHERE KODS=:KODS"), {{"KODS", klKods}});
    return query.next() ? 0.0 - query.value(0).toDouble() : 0.0;
}

void SetOrderCustomer(const QSqlDatabase& db, int pasutNr, const QString& klKods, double atlaide) {
    RunOrderSql(db, QStringLiteral("UPDATE O_PASUT SET KL_KODS=:KL_KODS, ATLAIDE=:ATLAIDE WHERE PASUT_NR=:PASUT_NR"),
                {{"KL_KODS", klKods}, {"ATLAIDE", atlaide}, {"PASUT_NR", pasutNr}});
}

double WholeOrderDiscount(const QString& field) { return double(float(OrderDiscount(field))); }
