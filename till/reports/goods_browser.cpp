#include "goods_browser.h"

#include <QSqlError>
#include <QSqlQuery>

#include <stdexcept>

QString GoodsOrder(const QString& field)
{
    for (const char* column : {"ARTIKULS", "GNOS", "CENA", "NODALA"})
        if (field == QLatin1String(column)) return QStringLiteral("N_PRECE.%1 ").arg(column);
    return QStringLiteral("N_PRECE.ARTIKULS ");
}

std::vector<GoodsRow> LoadGoods(const QSqlDatabase& db, const QString& order)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // The order is one of GoodsOrder's column names, never typed text.
    if (!query.exec("SELECT ARTIKULS, GNOS, CENA, NODALA FROM N_PRECE ORDER BY " +
                    (order.isEmpty() ? QStringLiteral("ARTIKULS") : order)))
        throw std::runtime_error(query.lastError().text().toStdString());
    std::vector<GoodsRow> rows;
    while (query.next())
        rows.push_back({query.value(0).toString(), query.value(1).toString(), query.value(2).toDouble(), query.value(3).toInt()});
    return rows;
}

namespace {

int firstStarting(const std::vector<GoodsRow>& rows, QString GoodsRow::*field, const QString& text)
{
    for (std::size_t i = 0; i < rows.size(); ++i)
        if ((rows[i].*field).startsWith(text)) return int(i);
    return -1;
}

QString firstArticle(const QSqlDatabase& db, const char* condition, const QString& text)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT ARTIKULS FROM N_PRECE WHERE UPPER(GNOS) %1 :TEKSTS").arg(condition)))
        throw std::runtime_error(query.lastError().text().toStdString());
    query.bindValue(QStringLiteral(":TEKSTS"), text.toUpper());
    if (!query.exec()) throw std::runtime_error(query.lastError().text().toStdString());
    return query.next() ? query.value(0).toString() : QString();
}

}  // namespace

int FindGoods(const std::vector<GoodsRow>& rows, const QSqlDatabase& db, const QString& text)
{
    if (const int row = firstStarting(rows, &GoodsRow::artikuls, text); row >= 0) return row;
    if (const int row = firstStarting(rows, &GoodsRow::gnos, text); row >= 0) return row;
    for (const char* condition : {"STARTING WITH", "CONTAINING"}) {
        const QString article = firstArticle(db, condition, text);
        if (!article.isEmpty()) return firstStarting(rows, &GoodsRow::artikuls, article);
    }
    return -1;
}

bool GoodsMatch(const GoodsRow& row, const QString& text)
{
    return row.gnos.toUpper().startsWith(text.toUpper()) || row.gnos.contains(text) ||
           row.artikuls.toUpper().startsWith(text.toUpper());
}

namespace {
VoucherProductSource& voucherSource()
{
    static VoucherProductSource source;
    return source;
}
}  // namespace

void SetVoucherProductSource(VoucherProductSource source) { voucherSource() = std::move(source); }

QStringList GetVoucherProducts(const QString& clientId, const QString& password, const QString& userId)
{
    return voucherSource() ? voucherSource()(clientId, password, userId) : QStringList();
}
