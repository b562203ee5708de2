// The items file PRECES.DAT: one item a line, "code,price in hundredths,"name",anything", its
// bytes Windows-1257. The step that sends it is SutaPrecesDat (transfer_steps.h).
#pragma once

#include <QString>

#include <optional>

inline constexpr const char* kPrecesDatFile = "PRECES.DAT";

// Position (from 1) of the n-th `delimiter` in `text`; 0 when there are fewer or n < 1.
int DalitajaPozicija(QChar delimiter, const QString& text, int n);

// One line's fields. Commas split the line from the left with no regard to quotes.
struct PrecesDatLine {
    QString artikuls;   // before the first comma, trimmed
    QString priceText;  // between the first and second comma
    QString name;       // after the second comma up to the third, or to the line's end when there
                        // is none; without its first and last character (the quotes), trimmed
};

// Empty for a line that holds only blanks: a file ending in an empty line has one.
std::optional<PrecesDatLine> ParsePrecesDatLine(const QString& line);

// The price in hundredths read with "." as the decimal symbol, times 0.01; empty when it is not a
// number.
std::optional<double> PrecesDatPrice(const QString& priceText);
