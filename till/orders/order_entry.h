// The orders window's entry line decoded ("qty*code=price", "code=AP", "/..." to pay, ">code" for
// the customer), the discount field's sign rule, the service charge's base and the insert of a
// new order line.
#pragma once

#include "order_list.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

struct OrderEntry {
    enum Kind { Item, Pay, Customer } kind = Item;
    QString klKods;                 // Customer: the text after ">", untrimmed
    // Item: the text before the first "*" (1 without one); QuantityError when it does not convert
    // (the quantity is then 1).
    double daudzums = 1.0;
    bool quantityError = false;
    QString artikuls;               // up to the first "=", untrimmed
    bool typedPrice = false;        // "=" follows the code
    bool serviceCharge = false;     // the price text reads "AP"
    std::optional<double> cena;     // the price text as a number
};

OrderEntry ParseOrderEntry(const QString& text);

// The discount field as stored on a line: a typed discount of 10 is -10; empty or not a number 0.
double OrderDiscount(const QString& field);
inline constexpr double kLowestDiscount = -100.0;

// The discounted sum of the order's live lines (0 for none).
double OrderLinesSum(const QSqlDatabase& db, int pasutNr);

struct NewOrderLine {
    QDate datums;
    QString barmenis;
    int pasutNr = 0;
    QString galds, vieta, artikuls;
    double cena = 0, atlaide = 0, daudzums = 0;
};
// Inserts the line (unpaid) and returns the key the database gave it.
int InsertOrderLine(const QSqlDatabase& db, const NewOrderLine& line);

inline const QString kQuantityMessage =
    QStringLiteral("Lietots nepareizs komata atdalītājs, vai iavdīts nepareizs daudzums !!!");
inline const QString kDiscountOver100Message = QStringLiteral("Atlaide nedrīkst pārsniegt 100 %");
