// The texts of the fiscal memory's fixed working records as the set-up program writes and shows
// them: counters, the department tax table NOD_D_SUM, the currency table VALUT_D_S, the amounts of
// the day-counter records, and the lines of a printed day-close record. No window, no device.
#pragma once

#include "day_close_record.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace setuprecords {

// NOD_D_SUM: slots of "%2i%8i" (tax rate in percent, -1 for none; day sum in cents).
inline constexpr int kDepartmentSlotWidth = 10;
inline constexpr int kDepartmentSlots = 25;   // room in the record
inline constexpr int kSavedDepartments = 24;  // the save writes these; the last slot stays blank
// VALUT_D_S: 30 slots of a 3-character code and an 8-character day sum in cents.
inline constexpr int kCurrencySlotWidth = 11;
inline constexpr int kCurrencySlots = 30;
inline constexpr int kCounterWidth = 11;

// A whole number typed into a field (blanks around it allowed), else nothing.
std::optional<int> wholeNumber(const QString& text);
// A decimal number with "." typed into a field (blanks around it allowed), else nothing.
std::optional<double> decimalNumber(const QString& text);
// An amount typed in currency units as whole cents: 1.15 gives 115, not 114.99999999999999.
double wholeCents(double units);
// An amount in the general format: at most 15 significant digits, no exponent for money, "."
// (11499 cents × 0.01 shows 114.99, 250 cents 2.5, 0 cents 0).
QString generalNumber(double value);

// CEKANRCOUN: the counter's whole number (1 when it is none) filled on the left with "0" to 11
// characters; a longer text is left as it is.
QString receiptCounterText(const QString& field);
// X_REPORTNR: the whole number (1 when none) followed by blanks.
QString xReportText(const QString& field);

// The department table rebuilt: for departments 1..24 the tax rate that taxRate gives (0 when it
// gives none) and the day sum kept from the old record (0 where it is missing or not a number).
QString departmentTable(const QString& oldRecord, const std::function<std::optional<int>(int department)>& taxRate);
// The department (1-based) whose rate does not fit the slot's two characters, if any.
std::optional<int> departmentWithOversizedRate(const std::function<std::optional<int>(int department)>& taxRate);
inline bool rateFitsSlot(int rate) { return rate >= -9 && rate <= 99; }

// The currency table with every code added that holds no slot yet, each in the first free slot
// with a day sum of "00000000"; slots are never moved, and a code that finds no free slot is left
// out. An empty or blank record starts as 30 free slots. Codes compare exactly.
QString currencyTable(const QString& oldRecord, const QStringList& codes);

// The viewer's lines: 25 department lines and 30 currency lines.
QStringList departmentLines(const QString& record);
QStringList currencyLines(const QString& record);
// An amount of cents at characters [from, from + length) (0-based), shown in units in the general
// format; empty when the characters are not a number.
QString counterAmount(const QString& record, int from, int length);

// The five lines a day-close record prints (number less one, grand total, grand tax, date and
// time, day sum and day tax, dashes).
QStringList dayCloseLines(const DayCloseRecord& record);

}  // namespace setuprecords
