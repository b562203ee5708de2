// The open receipt's records and the money rules every reader of a line applies.
#pragma once

#include <QString>

#include <array>

// One receipt line. A new line has empty texts, zero numbers and the flag off.
struct TCekaRinda {
    double Cena = 0;        // unit price before discount
    double Daudzums = 0;    // quantity in article units (packs when a pack code was scanned); negative on return and void lines
    double Atlaide = 0;     // discount per cent
    double Iepakojums = 0;  // units per scanned code
    QString Artikuls;
    QString Nosaukums;
    QString Mervieniba;
    QString Pazinojums{};     // the item's notice
    QString PrepaidRef{};
    QString PrepaidAtbilde{};
    int Bonuss = 0;
    int ApmVeids = 0;       // payment-kind list position when the line was entered, plus 1
    int Nodala = 0;         // department
    bool Tara = false;      // returnable packaging
};

// One payment row; Veids -1 marks a row not in use.
struct TApmaksasRinda {
    double Summa = 0;
    QString Teksts;
    int Veids = -1;
};

// A card row the terminal approved for the open receipt: money taken from the card, until the
// receipt is stored with it or the approval is cancelled on the terminal.
struct ApprovedCard {
    double Summa = 0;   // negative for a refund
    int Veids = 1;      // the payment kind of the row
    QString reference;  // the terminal's ticket number
};

inline constexpr int MaxCekaRindas = 500;
inline constexpr int MaxApmaksas = 20;

using TCekaRindas = std::array<TCekaRinda, MaxCekaRindas>;
using TApmaksas = std::array<TApmaksasRinda, MaxApmaksas>;

// Money rounding: half away from zero, a scaled fraction from 0.49999999 up counting as a half,
// so a double that lies a hair below a half (1.005) still rounds up.
long double RoundSumma(double value, int digits);

// The line amount: RoundSumma((1 - 0.01 * Atlaide) * Cena * Daudzums * Iepakojums, 2).
double RindasSumma(const TCekaRinda& line);
