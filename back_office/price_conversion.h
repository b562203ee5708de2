// The one-time conversion of a till's item prices from lats to euros (the hidden button
// "Pārrēkināt LVL->EUR" of the items page), marked in the till's settings row.
#pragma once

#include <QSqlDatabase>
#include <QString>

inline const QString kPricesConvertedMessage = QStringLiteral("Cenas pārrēķinātas !");
inline const QString kPricesAlreadyConvertedMessage = QStringLiteral("Cenas jau ir pārrēķinātas !!!");

// 1 / 0.702804 as the nearest double holds the rate, taken in extended precision.
inline constexpr long double kLvlToEur = 1.4228718106328364984L;

// A price in lats as euros, to the hundredth (halves up).
double LvlToEur(double cena);

enum class PriceConversion { Converted, AlreadyConverted };

// Converts every N_PRECE.CENA (a NULL price becomes 0) and sets N_ISI.PARVEURPARD_C to 'T' in
// one transaction: a failure leaves every price and the marker as they were (StepError with the
// database's text). A till whose N_ISI is empty gets the row that carries the marker. Nothing
// changes when the marker is 'T' already.
PriceConversion ConvertPricesToEuros(QSqlDatabase& till);
