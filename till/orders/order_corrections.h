// Corrections of an order on O_PASUT: deleting a line (marked, or removed when never printed),
// one discount for every line of an order, and the order's customer with its discount.
#pragma once

#include "order_list.h"

#include <QSqlDatabase>
#include <QString>

void MarkLineDeleted(const QSqlDatabase& db, int isn);
void RemoveLine(const QSqlDatabase& db, int isn);
// Every line of the order, deleted and paid ones included, takes this signed discount.
void SetOrderDiscount(const QSqlDatabase& db, int pasutNr, double atlaide);
// The stored discount of a customer of this code: its N_KLIENTI.ATLAIDE negated; 0 when no
// customer has the code.
double CustomerOrderDiscount(const QSqlDatabase& db, const QString& klKods);
// Every line of the order takes the customer code and the discount.
void SetOrderCustomer(const QSqlDatabase& db, int pasutNr, const QString& klKods, double atlaide);

// The whole-order discount field read as the button stores it: in single precision, as the
// order discount has always been kept.
double WholeOrderDiscount(const QString& field);
