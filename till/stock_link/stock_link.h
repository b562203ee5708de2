// The till's link to the stock product's database (connection STOCKARA): the current balance of
// an article in this shop's department, and a sold or returned quantity taken off or put back.
#pragma once

#include <QSqlDatabase>
#include <QString>

#include <stdexcept>
#include <string>

// The stock product's connection and this shop's department code there (`KODS` of N_DEPART).
struct StockLink {
    QSqlDatabase stockara;
    QString nodalasKods;
};

// A statement the stock database refused, or the connection gone; what() is the database's text.
class StockLinkError : public std::runtime_error {
public:
    explicit StockLinkError(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// The summed balance of every row of the article (its whole code against ARTIKULS..ARTIKULS6)
// in the shop's department, whatever its NELEGALIZ. Throws StockLinkError.
double GetPrecesAtlikums(const StockLink& link, const QString& artikuls);

// Adds `change` to the article's balance row in the shop's department (a row flagged NELEGALIZ
// 'T' is never changed; the first change makes the row). The article is matched on its first 16
// characters against ARTIKULS and ARTIKULS7 and on its first 13 against ARTIKULS2..ARTIKULS6. An
// article or a department the stock product does not know changes nothing. Throws
// StockLinkError, also when the changed row cannot be written; nothing is then changed.
void UpdateAtlikumi(const StockLink& link, const QString& artikuls, double change);

// The balance as the sale window's label shows it.
QString AtlikumaTeksts(double atlikums);

inline const QString kStockUpdateFailedMessage = QStringLiteral("Naverāju noņemt no atlikumiem Stockara sistēmā !!!\n\n");
inline const QString kStockLookupFailedMessage = QStringLiteral("Naverāju iegūt atlikumu no Stockara sistēmas !!!\n\n");
