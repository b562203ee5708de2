// The day-close record appended to the fiscal memory at every Z report: its text layouts (the
// module's "*" layout, the module's older layout, the USB device's layout), writing and reading.
#pragma once

#include <QDate>
#include <QString>

#include <string>
#include <string_view>

struct DayCloseRecord {
    int nr = 1;               // Z report number
    double grandTotal = 0;    // amounts in whole cents
    double grandVat = 0;
    QDate date{2001, 1, 1};
    QString time = QStringLiteral("12:00");
    double daySum = 0;
    double dayVat = 0;
    QString check;            // the day's electronic journal check value
};

enum class DayCloseLayout {
    Memorix,     // "*%4s%11s%10s%5s%11s%11s%11s%8s": Nr, grand total, date, time, day sum, day VAT, grand VAT, check
    MemorixOld,  // "%4s%8s%10s%5s%8s%8s%8s", no check; read only
    Usb,         // "%4s%12s%10s%5s%12s%12s%12s%12s"
};

// The record's text (Windows-1257 bytes). Widths are minimum widths: a longer value is kept
// whole and pushes the later fields right. Amounts are written as their shortest decimal text.
std::string formatDayCloseRecord(DayCloseLayout layout, const DayCloseRecord& record);

// Which module layout a stored text has: the "*" marker or the older one.
DayCloseLayout memorixLayoutOf(std::string_view text);

// Reads the fields of text into record. Each field is converted on its own: one that does not
// convert keeps the value record had. Fields are found by the date and time in the middle and by
// the blanks between right-aligned numbers, so a number wider than its column (report 10000,
// amounts of 10^10 cents) does not shift the others; amounts are read beyond 32 bits.
void parseDayCloseRecord(DayCloseLayout layout, std::string_view text, DayCloseRecord& record);

// Shortest decimal text of an amount, without locale: whole cents give digits only.
std::string amountText(double cents);
