// The payment kinds of the sale screen (cash, bank card, the further kinds the fiscal memory
// names, cash in the second currency), exchange rates of N_VALUTAS and the add-on article offer.
#pragma once

#include "receipt.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

class TFMProc;

inline constexpr int kCashKind = 0;
inline constexpr int kCardKind = 1;
inline constexpr int kSecondCurrencyKind = 12;
inline const QString kSecondCurrencyText = QStringLiteral("12-Skaidra nauda LVL");

// One entry of the payment-kind list: its own number (the one payment texts carry) and its text,
// the number, "-" and the name.
struct PaymentKind {
    int number = 0;
    QString text;
};

// The list as the payment-kind combo shows it. A kind is found by its own number, never by its
// place: kinds that are not in use leave no gap, so places and numbers differ after one.
class PaymentKindList {
public:
    const std::vector<PaymentKind>& kinds() const { return kinds_; }
    QStringList texts() const;
    void add(int number, const QString& text) { kinds_.push_back({number, text}); }

    // The entry of kind `number`; empty when the kind is not in use.
    std::optional<PaymentKind> find(int number) const;
    // Place of kind `number` in the list, -1 when it is not in use.
    int positionOf(int number) const;
    // The kind number of a list text (the number before its "-"), -1 when no entry has the text.
    int numberOfText(const QString& text) const;

private:
    std::vector<PaymentKind> kinds_;
};

// Fills the list: cash of the receipt currency, "1-Bankas karte", kind n+1 for every record
// APMVEIDn (n = 1..10) that holds a name (not empty, not the "Apmaksas v..." default; a failed
// read counts as empty) cut to 15 characters, and "12-Skaidra nauda LVL" when receipts are in
// euros and lats are taken too (CekaValuta 1).
PaymentKindList LoadApmaksasVeidi(TFMProc& fm, int cekaValuta);

// The rate of a currency code from N_VALUTAS; empty when the table has no row for the code.
// Throws std::runtime_error with the database's text when the query fails.
std::optional<double> GetValutasKurss(const QSqlDatabase& posDb, const QString& code);

// The add-on article to offer for the receipt total: of the three N_ISI pairs (PIEVARTIKn,
// PIEVSUMMAn) the last whose threshold is above 0 and below the total; none in return mode, when
// no threshold fits, or when the article is already on the receipt.
struct AddOnArticle {
    QString artikuls;
    QString nosaukums;  // N_PRECE.GNOS, empty when the article has no row
};
std::optional<AddOnArticle> CheckPievArtikuli(const QSqlDatabase& posDb, double cekaSumma, bool isReturn,
                                              std::span<const TCekaRinda> lines);
// The question the offer asks.
QString AddOnQuestion(const AddOnArticle& article);
