// Reading the fixed-width day counters of the fiscal memory (whole cents as decimal text) and
// writing amounts the way the day reports print and store them.
#pragma once

#include <QString>

#include <optional>

// A counter field as stored: leading blanks allowed, then an optional sign and digits to the end.
// Anything else (empty, blanks only, letters, trailing blanks) is not a number.
std::optional<long long> CounterNumber(const QString& field);
// The same, 0 when the field is not a number.
long long CounterValue(const QString& field);
// A field with its surrounding blanks removed first; 0 when not a number.
long long TrimmedCounterValue(const QString& field);

// Cents as currency units; a zero never carries a minus sign.
double Units(double cents);
// An amount in currency units as the totals text writes it: rounded to two decimals, "." as the
// decimal point, a minus sign only when the rounded amount is below zero ("0.00", "-12.50").
QString AmountText(double units);
