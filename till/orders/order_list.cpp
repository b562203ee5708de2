#include "order_list.h"

#include "order_sql.h"
#include "receipt.h"

#include <QSqlError>

QSqlQuery RunOrderSql(const QSqlDatabase& db, const QString& sql, const OrderParams& params) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) throw OrderError(query.lastError().text().toStdString());
    for (const auto& [name, value] : params) query.bindValue(name.startsWith(u':') ? name : u':' + name, value);
    if (!query.exec()) throw OrderError(query.lastError().text().toStdString());
    return query;
}

namespace {

// The item's name by the first 13 characters of the line's code, as the list has always named
// its lines; a code of several items gives the first one's name.
constexpr const char* kListSelect =
    "SELECT O.ISN, O.DATUMS, O.PASUT_NR, O.GALDS, O.VIETA, O.CENA, O.ATLAIDE, O.DAUDZUMS, O.APMAKSATS, "
    "O.BARMENIS, O.DZESTS, O.PRN_BARS, O.PRN_VIRTUVE, O.ARTIKULS, O.PRN_REKINS, O.KL_KODS, "
    "(SELECT FIRST 1 P.GNOS FROM N_PRECE P WHERE P.ARTIKULS = SUBSTRING(O.ARTIKULS FROM 1 FOR 13)) NOSAUKUMS "
    "FROM O_PASUT O WHERE (O.DZESTS<>'T' OR O.DZESTS IS NULL) AND O.DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ";

}  // namespace

std::vector<OrderLine> ReadOrderList(const QSqlDatabase& db, const OrderFilter& filter) {
    QString sql = QString::fromLatin1(kListSelect);
    OrderParams params{{"DAT_NO", filter.from}, {"DAT_LIDZ", filter.to}};
    if (filter.barmenis) {
        sql += QStringLiteral(" AND O.BARMENIS=:BARMENIS");
        params.emplace_back("BARMENIS", *filter.barmenis);
    }
    if (filter.galds) {
        sql += QStringLiteral(" AND O.GALDS=:GALDS");
        params.emplace_back("GALDS", *filter.galds);
    }
    // A NULL paid flag is neither unpaid nor paid here: such a line shows under "all" only.
    if (filter.apmaksa == PaymentFilter::Unpaid) sql += QStringLiteral(" AND O.APMAKSATS<>'T'");
    if (filter.apmaksa == PaymentFilter::Paid) sql += QStringLiteral(" AND O.APMAKSATS='T'");
    sql += QStringLiteral(" ORDER BY O.DATUMS, O.PASUT_NR, O.ISN");

    QSqlQuery query = RunOrderSql(db, sql, params);
    std::vector<OrderLine> lines;
    while (query.next()) {
        OrderLine l;
        l.isn = query.value(0).toInt();
        l.datums = query.value(1).toDate();
        l.pasutNr = query.value(2).toInt();
        l.galds = query.value(3).toString();
        l.vieta = query.value(4).toString();
        l.cena = query.value(5).toDouble();
        l.atlaide = query.value(6).toDouble();
        l.daudzums = query.value(7).toDouble();
        l.apmaksats = query.value(8).toString();
        l.barmenis = query.value(9).toString();
        l.dzests = query.value(10).toString();
        l.prnBars = query.value(11).toString();
        l.prnVirtuve = query.value(12).toString();
        l.artikuls = query.value(13).toString();
        l.prnRekins = query.value(14).toString();
        l.klKods = query.value(15).toString();
        l.nosaukums = query.value(16).toString();
        lines.push_back(std::move(l));
    }
    return lines;
}

double OrderListTotal(const std::vector<OrderLine>& lines) {
    long double total = 0;
    for (const OrderLine& l : lines) total += RoundSumma(l.cena * (l.atlaide * 0.01 + 1.0) * l.daudzums, 2);
    return double(total);
}

QString OrderTotalText(double total) { return QString::asprintf("%10.2f", total); }

QStringList ReadWaiters(const QSqlDatabase& db) {
    QSqlQuery query = RunOrderSql(db, QStringLiteral("SELECT BARMENIS FROM O_PASUT GROUP BY BARMENIS ORDER BY BARMENIS"));
    QStringList names;
    while (query.next()) names << query.value(0).toString();
    return names;
}

QStringList ReadTables(const QSqlDatabase& db, const std::optional<QString>& barmenis, const QDate& from,
                       const QDate& to) {
    QString sql = QStringLiteral("SELECT GALDS FROM O_PASUT WHERE DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ");
    OrderParams params{{"DAT_NO", from}, {"DAT_LIDZ", to}};
    if (barmenis) {
        sql += QStringLiteral(" AND BARMENIS=:BARMENIS");
        params.emplace_back("BARMENIS", *barmenis);
    }
    sql += QStringLiteral(" GROUP BY GALDS ORDER BY GALDS");
    QSqlQuery query = RunOrderSql(db, sql, params);
    QStringList names;
    while (query.next()) names << query.value(0).toString();
    return names;
}

int NextOrderNumber(const QSqlDatabase& db) {
    QSqlQuery query = RunOrderSql(db, QStringLiteral("SELECT MAX(PASUT_NR) FROM O_PASUT"));
    return (query.next() ? query.value(0).toInt() : 0) + 1;
}

std::vector<QuickItem> ReadQuickItems(const QSqlDatabase& db, int limit) {
    QSqlQuery query = RunOrderSql(
        db, QStringLiteral("SELECT GNOS, SHORTKEY FROM N_PRECE WHERE SHORTKEY IS NOT NULL AND SHORTKEY<>'' ORDER BY GNOS"));
    std::vector<QuickItem> items;
    while (int(items.size()) < limit && query.next()) items.push_back({query.value(0).toString(), query.value(1).toString()});
    return items;
}

QString QuickItemArticle(const QSqlDatabase& db, const QString& shortkey) {
    QSqlQuery query =
        RunOrderSql(db, QStringLiteral("SELECT ARTIKULS FROM N_PRECE WHERE SHORTKEY=:SHORTKEY"), {{"SHORTKEY", shortkey}});
    return query.next() ? query.value(0).toString() : QString();
}
