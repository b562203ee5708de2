// The till's own reference of a prepaid-voucher request.
#pragma once

#include <QString>

// The clock's local date and time as a date-time serial (days since 30 December 1899, the time as
// the fraction) times 1,000,000, rounded to a whole number: a step is 86.4 ms. A request made in
// the same step as the one before, or with the clock set back, takes the number after the last
// one given, so no number is given twice in a run.
QString GetPrepaidRef();
