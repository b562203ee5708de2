#include "stock_link.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <initializer_list>
#include <utility>

namespace {

// The statements as the stock product expects them; the look-up and the update match codes
// differently (see the header).
constexpr const char* kGoodsForLookup =
    "SELECT ISN                         FROM N_KLPREC                         WHERE ARTIKULS=:ARTIKULS"
    "                          OR ARTIKULS2=:ARTIKULS                          OR ARTIKULS3=:ARTIKULS"
    "                          OR ARTIKULS4=:ARTIKULS                          OR ARTIKULS5=:ARTIKULS"
    "                          OR ARTIKULS6=:ARTIKULS";
constexpr const char* kGoodsForUpdate =
    "SELECT ISN                         FROM N_KLPREC                         WHERE ARTIKULS=:ARTIKULS_1"
    "                          OR ARTIKULS2=:ARTIKULS                          OR ARTIKULS3=:ARTIKULS"
    "                          OR ARTIKULS4=:ARTIKULS                          OR ARTIKULS5=:ARTIKULS"
    "                          OR ARTIKULS6=:ARTIKULS                          OR ARTIKULS7=:ARTIKULS_1";
constexpr const char* kDepartment = "SELECT ISN                         FROM N_DEPART                         WHERE KODS=:KODS";
constexpr const char* kBalanceSum =
    "SELECT SUM(ATLIKUMS) ATLIKUMS             FROM O_TEKATLIK             WHERE O_TEKATLIK.ISPRECE = :ISPRECE"
    "              AND O_TEKATLIK.ISNODALA = :ISNODALA";
constexpr const char* kBalanceRow =
    "SELECT ATLIKUMS, ISPRECE, ISNODALA, NELEGALIZ              FROM O_TEKATLIK"
    "              WHERE O_TEKATLIK.ISPRECE = :ISPRECE               AND O_TEKATLIK.ISNODALA = :ISNODALA"
    "               AND (O_TEKATLIK.NELEGALIZ = 'F' OR O_TEKATLIK.NELEGALIZ IS NULL)";
// Posting the row read by kBalanceRow: the row is found again by every value it was read with,
// as an updatable result set does, so a row someone else changed meanwhile is not overwritten.
constexpr const char* kPostEdited =
    "UPDATE O_TEKATLIK SET ATLIKUMS = :ATLIKUMS WHERE ISPRECE = :ISPRECE AND ISNODALA = :ISNODALA"
    " AND ATLIKUMS IS NOT DISTINCT FROM :READ_ATLIKUMS AND NELEGALIZ IS NOT DISTINCT FROM :NELEGALIZ ROWS 1";
constexpr const char* kPostAppended =
    "INSERT INTO O_TEKATLIK (ISPRECE, ISNODALA, ATLIKUMS, NELEGALIZ) VALUES (:ISPRECE, :ISNODALA, :ATLIKUMS, 'F')";

using Params = std::initializer_list<std::pair<const char*, QVariant>>;

// A closed connection leaves the driver's error text empty: say what is wrong instead.
void requireOpen(const QSqlDatabase& db) {
    if (!db.isOpen()) throw StockLinkError(QStringLiteral("Savienojums ar noliktavas datu bāzi nav atvērts."));
}

QSqlQuery run(const QSqlDatabase& db, const char* sql, Params params) {
    requireOpen(db);
    QSqlQuery query(db);
    if (!query.prepare(QString::fromLatin1(sql))) throw StockLinkError(query.lastError().text());
    for (const auto& [name, value] : params) query.bindValue(QString::fromLatin1(name), value);
    if (!query.exec()) throw StockLinkError(query.lastError().text());
    return query;
}

// ISN of the first row, 0 when there is none.
int firstIsn(QSqlQuery query) { return query.next() ? query.value(0).toInt() : 0; }

int departmentIsn(const StockLink& link) { return firstIsn(run(link.stockara, kDepartment, {{":KODS", link.nodalasKods}})); }

// Runs `work` in a transaction of its own on the stock connection: committed when it returns,
// rolled back when it throws.
template <class Work>
void inTransaction(QSqlDatabase db, Work work) {
    requireOpen(db);
    if (!db.transaction()) throw StockLinkError(db.lastError().text());
    try {
        work();
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit()) {
        const QString text = db.lastError().text();
        db.rollback();
        throw StockLinkError(text);
    }
}

}  // namespace

double GetPrecesAtlikums(const StockLink& link, const QString& artikuls) {
    const int goods = firstIsn(run(link.stockara, kGoodsForLookup, {{":ARTIKULS", artikuls}}));
    const int department = departmentIsn(link);
    QSqlQuery sum = run(link.stockara, kBalanceSum, {{":ISPRECE", goods}, {":ISNODALA", department}});
    return sum.next() ? sum.value(0).toDouble() : 0.0;
}

void UpdateAtlikumi(const StockLink& link, const QString& artikuls, double change) {
    inTransaction(link.stockara, [&] {
        const int goods = firstIsn(
            run(link.stockara, kGoodsForUpdate, {{":ARTIKULS", artikuls.left(13)}, {":ARTIKULS_1", artikuls.left(16)}}));
        const int department = departmentIsn(link);
        // Goods or a department the stock product does not know would get a row of its own with
        // every sale; there is nothing to keep a balance of.
        if (goods == 0 || department == 0) return;
        QSqlQuery row = run(link.stockara, kBalanceRow, {{":ISPRECE", goods}, {":ISNODALA", department}});
        if (!row.next()) {
            run(link.stockara, kPostAppended, {{":ISPRECE", goods}, {":ISNODALA", department}, {":ATLIKUMS", change}});
            return;
        }
        const QVariant read = row.value(0);
        const QVariant flag = row.value(3);
        row.finish();
        QSqlQuery post = run(link.stockara, kPostEdited,
                             {{":ATLIKUMS", read.toDouble() + change},
                              {":ISPRECE", goods},
                              {":ISNODALA", department},
                              {":READ_ATLIKUMS", read},
                              {":NELEGALIZ", flag}});
        if (post.numRowsAffected() != 1)
            throw StockLinkError(QStringLiteral("Atlikuma ieraksts ir mainīts citā vietā, atlikums nav mainīts."));
    });
}

QString AtlikumaTeksts(double atlikums) { return QString::asprintf("Atlik=%7.3f", atlikums); }
