// The item look-up on N_PRECE: an article code or a box, big-box or pallet code, with the pack
// factor, the promotion window and the quantity price.
#pragma once

#include "receipt.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <memory>
#include <optional>
#include <span>
#include <stdexcept>

// A query on the item table failed; the text is the database's.
class ItemLookupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TAtrastaPrece {
    QString Artikuls;     // ARTIKULS, also when a pack code was given
    QString Nosaukums;    // GNOS, " " when empty
    QString Mervieniba;   // MERVIENIBA followed by one blank
    QString NedotAtl;     // NEDOT_ATL, or NEDOT_ATL2 under the quantity price
    QString Warning;
    double Cena = 0;
    double Iepakojums = 1.0;
    int Nodala = 0;
    bool Tara = false;
    // ATLAIDE when today lies in the promotion window and the screen is in sale mode; otherwise
    // the caller's discount stands.
    std::optional<double> Atlaide;
};

struct ItemLookupRequest {
    QString Kods;                         // as entered
    double Daudzums = 1.0;                // the quantity being entered (negative on a void or return)
    std::span<const TCekaRinda> Rindas;   // the open receipt, for the quantity price
    bool Pardosana = true;                // sale mode (false: a return receipt)
    QDate Sodiena;
};

namespace platform {
class ReadCommittedQuery;
}

// One prepared statement, kept for the connection's life, read in a read-committed read-only
// transaction: each look-up sees the items as last committed, so a price changed, an article added
// or renamed while the till runs is sold as committed.
class TPrecuMekletajs {
public:
    explicit TPrecuMekletajs(const QSqlDatabase& posDb);
    ~TPrecuMekletajs();
    // Empty when no row has the code. Throws ItemLookupError.
    std::optional<TAtrastaPrece> FindPrece(const ItemLookupRequest& request);

private:
    std::unique_ptr<platform::ReadCommittedQuery> query_;
};

// The price of a line under the quantity price rule: `alreadyOnReceipt` units of the article are
// on the open receipt at `cena`, `quantity` is the line being entered, `cena2` applies from
// `daudzums2` on. The line that completes the threshold gives back the difference on the units
// already sold, spread over its own quantity; a line taking units back (negative) gets the quantity
// price plainly. Empty when the rule does not apply.
std::optional<double> QuantityPrice(double cena, double cena2, double daudzums2, double alreadyOnReceipt, double quantity);
