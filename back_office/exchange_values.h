// Values of the exchange tables as the till tables take them: texts from their code page to
// Unicode, numbers and dates as the parameters want them.
#pragma once

#include "codepage_1257.h"
#include "dbf_table.h"
#include "latdosrm.h"
#include "transfer_steps.h"

#include <QString>
#include <QVariant>

#include <cmath>

// How one exchange column becomes one parameter.
enum class ExchangeValue {
    Text,         // Windows-1257 text as read
    Trimmed,      // the same, blanks and control characters trimmed
    First20,      // the first 20 characters
    First30,      // the first 30 characters
    Dos,          // Latvian DOS text
    DosFirst30,   // its first 30 characters
    TrimmedDos,   // trimmed, then converted from DOS
    Number,
    Integer,
    Date,         // an empty date is ZeroDate()
};

inline QVariant ReadExchangeValue(const DbfTable& table, int record, int column, ExchangeValue kind) {
    switch (kind) {
    case ExchangeValue::Text: return fromCp1257(table.text(record, column));
    case ExchangeValue::Trimmed: return TrimmedText(fromCp1257(table.text(record, column)));
    case ExchangeValue::First20: return fromCp1257(table.text(record, column)).left(20);
    case ExchangeValue::First30: return fromCp1257(table.text(record, column)).left(30);
    case ExchangeValue::Dos: return fromCp1257(LatDosToWin(table.text(record, column)));
    case ExchangeValue::DosFirst30: return fromCp1257(LatDosToWin(table.text(record, column).substr(0, 30)));
    case ExchangeValue::TrimmedDos: {
        // Trimming works on the bytes as read; the DOS letters are all above the blanks.
        const QString trimmed = TrimmedText(QString::fromLatin1(table.text(record, column)));
        return fromCp1257(LatDosToWin(trimmed.toLatin1().toStdString()));
    }
    case ExchangeValue::Number: return table.number(record, column);
    case ExchangeValue::Integer: return int(std::lround(table.number(record, column)));
    case ExchangeValue::Date: return table.date(record, column);
    }
    return {};
}

// One exchange column and the parameter it fills.
struct ExchangeField {
    const char* parameter;
    const char* column;
    ExchangeValue kind;
};
