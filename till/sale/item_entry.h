// The item field's small command language: quantities, returns, typed prices, weighed-goods
// labels, voiding the last line and annulling the receipt, decoded from the text as typed.
#pragma once

#include "receipt.h"

#include <QString>

#include <optional>
#include <span>

// A number as the cashier types it: optional sign, "." as the decimal symbol, optional exponent,
// blanks around it allowed. Nothing else converts (no locale, no "inf").
std::optional<double> ParseEntryNumber(const QString& text);
// The run-time library's text for a text that does not convert.
QString NumberConversionMessage(const QString& text);

// Where a weighed-goods label keeps its parts (1-based positions) and what its digits mean.
struct WeighedLabelFormat {
    QString SvaruPrefix;       // empty: no labels
    int ArtikulaStart = 3;
    int ArtikulaGarums = 6;
    int SvaraStart = 9;
    int SvaraGarums = 4;
    bool UzlimeIrSumma = false;  // the digits are the sum in hundredths, not the weight in thousandths
};

inline constexpr int kWeighedLabelLength = 13;

enum class EntryKind {
    Nothing,   // empty code: only the common tail
    Payment,   // the line text begins with "/"
    Annul,     // "--" or "vv"
    VoidLast,  // "-" and anything but the above
    Item,
};

struct ItemEntry {
    QString Teksts;                 // the field's text as typed
    bool StarMinus = false;         // "*-" somewhere: refused
    bool NeedsReturnCheck = false;  // begins with "-" and is neither "-" nor "--"
    bool Semicolon = false;         // begins with ";": refused
    // Quantity: the text before the first "*" (1 without "*"); when that does not convert the
    // quantity is 1 and QuantityError holds the conversion message.
    double Daudzums = 1.0;
    QString QuantityError;
    QString LineText;               // what follows the first "*" (the whole text without one)

    EntryKind Kind = EntryKind::Nothing;
    QString Artikuls;               // the code to look up
    bool TypedPrice = false;        // "=" after the code
    double Cena = 0;                // the typed price; 0.01 when it does not convert
    // Weighed-goods label: the quantity (weight) or the label sum replaces a typed quantity.
    bool Label = false;
    double LabelSumma = 0;
    QString LabelError;             // the weight digits did not convert: the entry stops
};

ItemEntry ParseItemEntry(const QString& text, const WeighedLabelFormat& labels);

// Whether a take-back typed as "-q*article" fits the open receipt: q (0 when not a number) must
// not exceed the quantity of that article already on it (returns included). False for a text
// that does not begin with "-" or names no article.
bool CheckAtgriezDaudzums(const QString& text, std::span<const TCekaRinda> lines);
