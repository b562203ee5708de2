// Reshaping orders in O_PASUT: one whole order merged into another (the "Apvienot" button) and
// the lines marked in the list moved into a new order ("Iezīmētos - jaunā pasūtījumā").
#pragma once

#include <QSqlDatabase>
#include <QString>

#include <vector>

inline const QString kNoMergeSource = QStringLiteral("Nav ievadīts pasūtījuma numurs no kura apvienot !!!");
inline const QString kNoMergeTarget = QStringLiteral("Nav ievadīts pasūtījuma numurs kuram pievienot !!!");
// A number field that holds no integer, as the conversion of the number reports it.
QString NotAnIntegerMessage(const QString& text);

// BitBtn3Click: every row of the order typed in `from` (deleted and paid rows too) takes the
// number typed in `to` and a table: the target's table, which also goes into `galds` (the form's
// table box), or `galds` as it was when the target has none. Returns the message to show when it
// refused (an empty field, a number that is no integer), empty when the rows moved. Only the
// number and table change. Throws OrderError.
QString MergeOrders(const QSqlDatabase& db, const QString& from, const QString& to, QString& galds);

// BitBtn2Click: the lines with these keys go into one new order, each keeping its table, waiter
// and flags. Returns the new order's number, 0 when no line was given (nothing is written).
// Throws OrderError.
int MoveLinesToNewOrder(const QSqlDatabase& db, const std::vector<int>& isns);
