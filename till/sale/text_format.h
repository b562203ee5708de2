// printf-style formatting of receipt, list and display lines on Unicode text: widths count
// characters (not bytes), a string field pads a shorter text and never cuts a longer one, and
// numbers always use "." whatever the locale.
#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <initializer_list>
#include <variant>

using FormatArg = std::variant<QString, double, int>;

// Conversions: %s, %f, %i, %d and %% with the flag "-" (pad on the right), a width and, for %f,
// a precision ("%7.2f", "%-10s", "%2i"). Throws std::invalid_argument when an argument does not
// fit its conversion or is missing: the formats are the program's own, so that is a bug.
QString FormatC(const QString& format, std::initializer_list<FormatArg> args);

// A fixed-point number as "%<width>.<decimals>f" would print it.
QString FixedText(double value, int width, int decimals);

// Dates and times as the till prints them: in the user's regional short date and time formats.
QString ShortDateText(const QDate& date);
QString TimeText(const QTime& time);
