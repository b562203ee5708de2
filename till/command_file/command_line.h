// The command file's line grammar: keyword and argument text, key=value look-up, and the
// locale-free numbers that commands read from values and write into the sale screen's fields.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string_view>

namespace command_file {

struct CommandLine {
    QString keyword;    // before the first ':', untouched (case and blanks matter)
    QString arguments;  // after the first ':'; the whole line when it has no ':'
};

CommandLine SplitCommandLine(const QString& line);

// Lines of a command file: a line ends at CR LF, a lone CR or a lone LF; the terminator of the
// last line does not start another one, so an empty file has no lines.
QStringList SplitFileLines(const QString& text);

// The value of `key` in the argument text: the first occurrence of the key's name followed by
// '=' (case-sensitive, anywhere in the text), up to the next ';', trimmed of blanks and control
// characters. A value with no ';' after it reads as empty. nullopt when the key does not occur.
std::optional<QString> KeyValue(const QString& arguments, QStringView key);

// Decimal numbers with '.' as the point (an optional sign and exponent are accepted); nullopt
// for anything else, including text around the number and values that are not finite.
std::optional<double> ParseDecimal(const QString& text);
// Decimal integers (optional sign); nullopt for anything else and for values out of range.
std::optional<std::int64_t> ParseInteger64(const QString& text);
std::optional<int> ParseInteger(const QString& text);

// The general format of numbers written into the item and discount fields: the shortest text of
// up to 15 significant digits, '.' as the point, no thousands separator (2 -> "2", 0.5 -> "0.5").
QString FormatGeneral(double value);
// An amount in cents as "0.00": at least one digit before the point, two after, '-' when
// negative.
QString FormatCents(std::int64_t cents);
// The same amount right-aligned in a field of `width` characters ("%10.2f").
QString FormatCentsWidth(std::int64_t cents, int width);

}  // namespace command_file
