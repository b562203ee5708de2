#include "order_payment.h"

#include "order_sql.h"

std::vector<PayLine> UnpaidOrderLines(const QSqlDatabase& db, int pasutNr) {
    QSqlQuery query = RunOrderSql(db,
                                  QStringLiteral("SELECT ISN, BARMENIS, PASUT_NR, GALDS, ARTIKULS, CENA, DAUDZUMS, ATLAIDE, KL_KODS "
                                                 "FROM O_PASUT WHERE PASUT_NR=:NEW_NR AND (DZESTS<>'T' OR DZESTS IS NULL) "
                                                 "AND (APMAKSATS<>'T' OR APMAKSATS IS NULL) ORDER BY ISN"),
                                  {{"NEW_NR", pasutNr}});
    std::vector<PayLine> lines;
    while (query.next()) {
        PayLine l;
        l.isn = query.value(0).toInt();
        l.barmenis = query.value(1).toString();
        l.pasutNr = query.value(2).toInt();
        l.galds = query.value(3).toString();
        l.artikuls = query.value(4).toString();
        l.cena = query.value(5).toDouble();
        l.daudzums = query.value(6).toDouble();
        l.atlaide = query.value(7).toDouble();
        l.klKods = query.value(8).toString();
        lines.push_back(std::move(l));
    }
    return lines;
}

QString OrderReceiptNote(const PayLine& first) {
    return QStringLiteral("Viesm.") + first.barmenis + QStringLiteral(" P.Nr ") + QString::number(first.pasutNr) +
           QStringLiteral(" Galds ") + first.galds;
}

QString OrderLineEntryText(const PayLine& line) {
    return QString::asprintf("%8.3f*", line.daudzums) + line.artikuls + QString::asprintf("=%8.2f", line.cena);
}

// Adding 0.0 keeps a line without discount from reading "-0.00".
QString OrderLineDiscountText(double atlaide) { return QString::asprintf("%6.2f", atlaide * -1.0 + 0.0); }
