#include "order_entry.h"

#include "item_entry.h"
#include "order_sql.h"

OrderEntry ParseOrderEntry(const QString& text) {
    OrderEntry e;
    if (text.startsWith(u'/') || text.startsWith(u't') || text.startsWith(u's')) {
        e.kind = OrderEntry::Pay;
        return e;
    }
    if (text.startsWith(u'>')) {
        e.kind = OrderEntry::Customer;
        e.klKods = text.mid(1);
        return e;
    }
    QString rest = text;
    if (const qsizetype star = rest.indexOf(u'*'); star >= 0) {
        const std::optional<double> q = ParseEntryNumber(rest.left(star));
        e.quantityError = !q;
        e.daudzums = q.value_or(1.0);
        rest = rest.mid(star + 1);
    }
    const qsizetype eq = rest.indexOf(u'=');
    e.artikuls = eq >= 0 ? rest.left(eq) : rest;
    if (eq >= 0) {
        e.typedPrice = true;
        const QString price = rest.mid(eq + 1).trimmed();
        e.serviceCharge = price == QStringLiteral("AP");
        if (!e.serviceCharge) e.cena = ParseEntryNumber(price);
    }
    return e;
}

double OrderDiscount(const QString& field) {
    const std::optional<double> typed = ParseEntryNumber(field.trimmed());
    return typed ? 0.0 - *typed : 0.0;
}

double OrderLinesSum(const QSqlDatabase& db, int pasutNr) {
    QSqlQuery query = RunOrderSql(db,
                                  QStringLiteral("SELECT SUM(DAUDZUMS*CENA*(1+ATLAIDE/100)) FROM O_PASUT "
                                                 "WHERE PASUT_NR=:PASUT_NR AND (DZESTS<>'T' OR DZESTS IS NULL)"),
                                  {{"PASUT_NR", pasutNr}});
    return query.next() ? query.value(0).toDouble() : 0.0;
}

int InsertOrderLine(const QSqlDatabase& db, const NewOrderLine& line) {
    // The key comes back with the insert itself: another till's line cannot slip in between.
    QSqlQuery query = RunOrderSql(db,
                                  QStringLiteral("INSERT INTO O_PASUT (DATUMS, BARMENIS, PASUT_NR, GALDS, VIETA, ARTIKULS, "
                                                 "CENA, ATLAIDE, DAUDZUMS, APMAKSATS) VALUES (:DATUMS, :BARMENIS, :PASUT_NR, "
                                                 ":GALDS, :VIETA, :ARTIKULS, :CENA, :ATLAIDE, :DAUDZUMS, 'F') RETURNING ISN"),
                                  {{"DATUMS", line.datums},
                                   {"BARMENIS", line.barmenis},
                                   {"PASUT_NR", line.pasutNr},
                                   {"GALDS", line.galds},
                                   {"VIETA", line.vieta},
                                   {"ARTIKULS", line.artikuls},
                                   {"CENA", line.cena},
                                   {"ATLAIDE", line.atlaide},
                                   {"DAUDZUMS", line.daudzums}});
    if (!query.next()) throw OrderError("the new order line's key was not returned");
    return query.value(0).toInt();
}
