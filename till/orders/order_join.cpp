#include "order_join.h"

#include "order_sql.h"
#include "report_forms.h"

#include <map>
#include <tuple>
#include <vector>

namespace {

struct JoinGroup {
    std::vector<int> isns;  // by key; the first survives
    double firstDaudzums = 0;
    double sum = 0;
};

}  // namespace

void JoinOrderLines(const QSqlDatabase& db, int pasutNr) {
    // SENT: the line went where its item is made, the bar (department 1) or the kitchen
    // (department 2); the other flags are set on every row of the order and say nothing of it.
    QSqlQuery rows = RunOrderSql(db,
                                 QStringLiteral("SELECT O.ISN, O.ARTIKULS, O.CENA, O.ATLAIDE, O.APMAKSATS, O.DAUDZUMS, "
                                                "CASE P.NODALA WHEN 1 THEN O.PRN_BARS WHEN 2 THEN O.PRN_VIRTUVE END SENT "
                                                "FROM O_PASUT O LEFT OUTER JOIN ") +
                                     kOrderLineItem +
                                     QStringLiteral(" WHERE O.PASUT_NR=:PASUT_NR AND (O.DZESTS<>'T' OR O.DZESTS IS NULL) "
                                                    "ORDER BY O.ISN"),
                                 {{"PASUT_NR", pasutNr}});
    const auto flag = [&rows](int column) { return rows.value(column).toString() == QStringLiteral("T"); };
    // An addition not yet sent to the bar or kitchen joined into a line already sent would be
    // charged and never made: the sent state belongs to the key.
    using Key = std::tuple<QString, double, double, bool, bool>;
    std::map<Key, JoinGroup> groups;
    while (rows.next()) {
        const Key key{rows.value(1).toString(), rows.value(2).toDouble(), rows.value(3).toDouble(), flag(4), flag(6)};
        JoinGroup& g = groups[key];
        const double daudzums = rows.value(5).toDouble();
        if (g.isns.empty()) g.firstDaudzums = daudzums;
        g.isns.push_back(rows.value(0).toInt());
        g.sum += daudzums;
    }
    rows.finish();

    QSqlDatabase connection = db;
    if (!connection.transaction()) throw OrderError("a transaction could not be started");
    try {
        for (const auto& [key, g] : groups) {
            if (g.isns.size() < 2 || g.sum == g.firstDaudzums) continue;
            RunOrderSql(db, QStringLiteral("UPDATE O_PASUT SET DAUDZUMS=:DAUDZUMS WHERE ISN=:ISN"),
                        {{"DAUDZUMS", g.sum}, {"ISN", g.isns.front()}});
            for (std::size_t i = 1; i < g.isns.size(); ++i)
                RunOrderSql(db, QStringLiteral("DELETE FROM O_PASUT WHERE ISN=:ISN"), {{"ISN", g.isns[i]}});
        }
    } catch (...) {
        connection.rollback();
        throw;
    }
    if (!connection.commit()) throw OrderError("the joined lines could not be committed");
}
