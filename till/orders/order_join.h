// Joining an order's lines of one article into one line before the order is paid or billed.
#pragma once

#include "order_list.h"

#include <QSqlDatabase>

// Live lines of one article that agree in unit price, discount, paid state and whether they were
// sent where their item is made (the bar flag of a bar item, the kitchen flag of a kitchen item)
// become the first of them (by key) with their summed quantity; the others are removed. Lines
// that differ stay apart, deleted lines stay as they are, and a group whose sum equals its first
// line's quantity is left alone. One transaction.
void JoinOrderLines(const QSqlDatabase& db, int pasutNr);
