#include "item_lookup.h"

#include "database.h"
#include "read_committed_query.h"

#include <QSqlRecord>
#include <QVariant>

#include <cmath>

namespace {

constexpr double kQuantityTolerance = 1e-9;

const char* const kItemQuery =
    "SELECT ISN, ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, ATLAIDE, IZP_SAK_D, IZP_BEIG_D, NEDOT_ATL, NEDOT_ATL2,"
    " CENA2, DAUDZUMS2, TARA, WARNING, EAN_KASTE, EAN_KASTELIELA, EAN_PALETE, SKKASTE, SKKASTELIELA, SKPALETE"
    " FROM N_PRECE"
    " WHERE ARTIKULS=? OR EAN_KASTE=? OR EAN_KASTELIELA=? OR EAN_PALETE=?";

QString Text(const QSqlRecord& q, const char* column) { return q.value(column).toString(); }
double Number(const QSqlRecord& q, const char* column) { return q.value(column).toDouble(); }

std::unique_ptr<platform::ReadCommittedQuery> prepareItemQuery(const QSqlDatabase& posDb) {
    try {
        return std::make_unique<platform::ReadCommittedQuery>(posDb, QString::fromLatin1(kItemQuery));
    } catch (const platform::DatabaseError& e) {
        throw ItemLookupError(e.what());
    }
}

}  // namespace

std::optional<double> QuantityPrice(double cena, double cena2, double daudzums2, double alreadyOnReceipt, double quantity) {
    if (daudzums2 <= 0) return std::nullopt;
    const double total = alreadyOnReceipt + quantity;
    const bool applies = total >= daudzums2 - kQuantityTolerance || (daudzums2 <= alreadyOnReceipt && quantity < 0);
    if (!applies) return std::nullopt;
    const bool completes = std::fabs(total - daudzums2) < kQuantityTolerance;
    if (completes && alreadyOnReceipt != 0 && quantity > 0)
        return cena2 - (cena - cena2) * alreadyOnReceipt / quantity;
    return cena2;
}

TPrecuMekletajs::TPrecuMekletajs(const QSqlDatabase& posDb) : query_(prepareItemQuery(posDb)) {}

TPrecuMekletajs::~TPrecuMekletajs() = default;

std::optional<TAtrastaPrece> TPrecuMekletajs::FindPrece(const ItemLookupRequest& request) {
    const QString code = request.Kods.left(30);
    std::vector<QSqlRecord> rows;
    try {
        rows = query_->run({code, code, code, code}, 1);
    } catch (const platform::DatabaseError& e) {
        throw ItemLookupError(e.what());
    }
    if (rows.empty() || rows.front().value("ISN").toInt() == 0) return std::nullopt;
    const QSqlRecord& q = rows.front();
    TAtrastaPrece p;
    p.Artikuls = Text(q, "ARTIKULS");
    p.Nodala = q.value("NODALA").toInt();
    p.Mervieniba = Text(q, "MERVIENIBA") + u' ';
    p.NedotAtl = Text(q, "NEDOT_ATL");
    p.Warning = Text(q, "WARNING");
    const struct {
        const char* code;
        const char* count;
    } packs[] = {{"EAN_KASTE", "SKKASTE"}, {"EAN_KASTELIELA", "SKKASTELIELA"}, {"EAN_PALETE", "SKPALETE"}};
    for (const auto& pack : packs)
        if (Text(q, pack.code) == request.Kods && Number(q, pack.count) > 0) p.Iepakojums = Number(q, pack.count);
    p.Tara = Text(q, "TARA") == QStringLiteral("T");
    p.Nosaukums = Text(q, "GNOS");
    if (p.Nosaukums.isEmpty()) p.Nosaukums = QStringLiteral(" ");
    p.Cena = Number(q, "CENA");

    const QVariant from = q.value("IZP_SAK_D");
    const QVariant to = q.value("IZP_BEIG_D");
    const bool started = from.isNull() || from.toDate() <= request.Sodiena;
    const bool notEnded = !to.isNull() && to.toDate() >= request.Sodiena;
    if (started && notEnded && request.Pardosana) p.Atlaide = Number(q, "ATLAIDE");

    double onReceipt = 0;
    for (const TCekaRinda& line : request.Rindas)
        if (line.Artikuls == p.Artikuls) onReceipt += line.Daudzums;
    if (const auto price = QuantityPrice(p.Cena, Number(q, "CENA2"), Number(q, "DAUDZUMS2"), onReceipt, request.Daudzums)) {
        p.Cena = *price;
        p.NedotAtl = Text(q, "NEDOT_ATL2");
    }
    return p;
}
