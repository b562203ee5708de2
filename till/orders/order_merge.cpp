#include "order_merge.h"

#include "order_sql.h"

#include <optional>

namespace {

std::optional<int> orderNumber(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

QString NotAnIntegerMessage(const QString& text) { return QStringLiteral("'%1' is not a valid integer value").arg(text); }

QString MergeOrders(const QSqlDatabase& db, const QString& from, const QString& to, QString& galds)
{
    if (from.isEmpty()) return kNoMergeSource;
    if (to.isEmpty()) return kNoMergeTarget;
    // The target's number is read first, so its table may already show when only the source
    // number is wrong.
    const std::optional<int> target = orderNumber(to);
    if (!target) return NotAnIntegerMessage(to);
    QSqlQuery table = RunOrderSql(db, QStringLiteral("SELECT GALDS FROM O_PASUT WHERE PASUT_NR=:NEW_NR ORDER BY ISN"),
                                  {{QStringLiteral(":NEW_NR"), *target}});
    if (table.next() && !table.value(0).toString().isEmpty()) galds = table.value(0).toString();
    const std::optional<int> source = orderNumber(from);
    if (!source) return NotAnIntegerMessage(from);
    // An empty box is an empty table, not an unknown one.
    RunOrderSql(db, QStringLiteral("UPDATE O_PASUT SET PASUT_NR=:NEW_NR, GALDS=:NEW_GALDS WHERE PASUT_NR=:OLD_NR"),
                {{QStringLiteral(":NEW_NR"), *target},
                 {QStringLiteral(":NEW_GALDS"), galds.isNull() ? QStringLiteral("") : galds},
                 {QStringLiteral(":OLD_NR"), *source}});
    return {};
}

int MoveLinesToNewOrder(const QSqlDatabase& db, const std::vector<int>& isns)
{
    if (isns.empty()) return 0;
    const int pasutNr = NextOrderNumber(db);
    for (const int isn : isns)
        RunOrderSql(db, QStringLiteral("UPDATE O_PASUT SET PASUT_NR=:NEW_NR WHERE ISN=:ISN"),
                    {{QStringLiteral(":NEW_NR"), pasutNr}, {QStringLiteral(":ISN"), isn}});
    return pasutNr;
}
