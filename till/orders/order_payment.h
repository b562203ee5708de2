// What paying an order hands to the sale window: the order's unpaid live lines as item-field
// texts with their discounts and the free text its receipt rows carry (the lines are marked paid
// with their receipt: receipt_order_lines.h).
#pragma once

#include "order_list.h"

#include <QSqlDatabase>
#include <QString>

#include <vector>

struct PayLine {
    int isn = 0;
    QString barmenis, galds, artikuls, klKods;
    int pasutNr = 0;
    double cena = 0, daudzums = 0, atlaide = 0;
};

// The order's live lines not yet paid, by key.
std::vector<PayLine> UnpaidOrderLines(const QSqlDatabase& db, int pasutNr);

// "Viesm." + waiter + " P.Nr " + order number + " Galds " + table.
QString OrderReceiptNote(const PayLine& first);
// The item-field text of a line: "%8.3f*%s=%8.2f" of quantity, article and unit price.
QString OrderLineEntryText(const PayLine& line);
// The sale window's discount field for a line: "%6.2f" of the stored discount negated.
QString OrderLineDiscountText(double atlaide);
