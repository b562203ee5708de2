// The restaurant order lines a receipt carries (handed over by the orders window): kept with the
// receipt's pending close and marked paid once its rows are stored, by the close or by the next
// start that finishes the receipt. Marking is idempotent, so a start after a kill marks again
// what may already be marked and nothing is charged twice.
#pragma once

#include <QJsonArray>
#include <QSqlDatabase>

#include <span>
#include <vector>

struct OrderLineOnReceipt {
    int pasutNr = 0;
    int isn = 0;
};

// Marks the lines paid, and with them their orders' deleted lines, in one transaction; throws
// ReceiptStoreError with the database's text when it cannot.
void MarkOrderLinesPaid(const QSqlDatabase& db, std::span<const OrderLineOnReceipt> lines);

// The lines as the pending file keeps them, and back.
QJsonArray OrderLinesJson(std::span<const OrderLineOnReceipt> lines);
std::vector<OrderLineOnReceipt> OrderLinesFrom(const QJsonArray& json);
