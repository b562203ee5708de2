#include "receipt_order_lines.h"

#include "realiz_rows.h"

#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <set>

namespace {

void run(const QSqlDatabase& db, const char* sql, const char* name, int value) {
    QSqlQuery query(db);
    query.prepare(QString::fromLatin1(sql));
    query.bindValue(QString::fromLatin1(name), value);
    if (!query.exec()) throw ReceiptStoreError(query.lastError().text().toStdString());
}

}  // namespace

void MarkOrderLinesPaid(const QSqlDatabase& db, std::span<const OrderLineOnReceipt> lines) {
    QSqlDatabase connection = db;
    if (!connection.transaction()) throw ReceiptStoreError(connection.lastError().text().toStdString());
    try {
        std::set<int> orders;
        for (const OrderLineOnReceipt& line : lines) {
            run(db, "UPDATE O_PASUT SET APMAKSATS='T' WHERE ISN=:ISN", ":ISN", line.isn);
            orders.insert(line.pasutNr);
        }
        for (const int pasutNr : orders)
            run(db, "UPDATE O_PASUT SET APMAKSATS='T' WHERE PASUT_NR=:NR AND DZESTS='T'", ":NR", pasutNr);
    } catch (...) {
        connection.rollback();
        throw;
    }
    if (!connection.commit()) throw ReceiptStoreError(connection.lastError().text().toStdString());
}

QJsonArray OrderLinesJson(std::span<const OrderLineOnReceipt> lines) {
    QJsonArray json;
    for (const OrderLineOnReceipt& line : lines) json.append(QJsonObject{{"PasutNr", line.pasutNr}, {"ISN", line.isn}});
    return json;
}

std::vector<OrderLineOnReceipt> OrderLinesFrom(const QJsonArray& json) {
    std::vector<OrderLineOnReceipt> lines;
    for (const QJsonValue& line : json) lines.push_back({line.toObject()["PasutNr"].toInt(), line.toObject()["ISN"].toInt()});
    return lines;
}
