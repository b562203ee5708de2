#include "order_join.h"

#include "order_sql.h"

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
    QSqlQuery rows = RunOrderSql(db,
                                 QStringLiteral("SELECT ISN, ARTIKULS, CENA, ATLAIDE, APMAKSATS, DAUDZUMS FROM O_PASUT "
                                                "WHERE PASUT_NR=:PASUT_NR AND (DZESTS<>'T' OR DZESTS IS NULL) ORDER BY ISN"),
                                 {{"PASUT_NR", pasutNr}});
    using Key = std::tuple<QString, double, double, bool>;
    std::map<Key, JoinGroup> groups;
    while (rows.next()) {
        const Key key{rows.value(1).toString(), rows.value(2).toDouble(), rows.value(3).toDouble(),
                      rows.value(4).toString() == QStringLiteral("T")};
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
