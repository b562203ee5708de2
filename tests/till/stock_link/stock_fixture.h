// The stock product's database for the till's tests: a fresh embedded copy in the test's folder
// named by the alias STOCKARA, this shop's department "V1", and ways to add goods and balance rows
// and to read the balance rows back.
#pragma once

#include "stock_link.h"
#include "test_database.h"

#include "database.h"

#include <QString>
#include <QVariant>

#include <array>
#include <filesystem>

namespace testsupport {

// The stock product's database beside a test's till database; made by create() in the test's
// folder, its connections closed with the test's.
class StockDatabase {
public:
    static inline const QString kKods = QStringLiteral("V1");

    void create(const std::filesystem::path& folder) {
        copyFreshStockaraDatabase(folder / "STOCKARA.GDB");
        platform::defineAlias("STOCKARA", (folder / "STOCKARA.GDB").string());
        reopen();
        execSql(stock, "INSERT INTO N_DEPART (KODS, GNOS) VALUES ('V0', 'Noliktava')");
        execSql(stock, "INSERT INTO N_DEPART (KODS, GNOS) VALUES (:KODS, 'Veikals')", {{":KODS", kKods}});
        department = selectValue(stock, "SELECT ISN FROM N_DEPART WHERE KODS = :KODS", {{":KODS", kKods}}).toInt();
    }
    void reopen() { stock = platform::openDatabase("STOCKARA", kStockTestConnection); }

    StockLink link() { return {stock, kKods}; }

    // New goods known under these codes (ARTIKULS first; empty ones stay NULL); its ISN.
    int addGoods(const std::array<QString, 7>& codes) {
        execSql(stock,
                "INSERT INTO N_KLPREC (ARTIKULS, ARTIKULS2, ARTIKULS3, ARTIKULS4, ARTIKULS5, ARTIKULS6, ARTIKULS7) "
                "VALUES (:A1, :A2, :A3, :A4, :A5, :A6, :A7)",
                {{":A1", orNull(codes[0])}, {":A2", orNull(codes[1])}, {":A3", orNull(codes[2])}, {":A4", orNull(codes[3])},
                 {":A5", orNull(codes[4])}, {":A6", orNull(codes[5])}, {":A7", orNull(codes[6])}});
        return selectValue(stock, "SELECT MAX(ISN) FROM N_KLPREC").toInt();
    }
    int addGoods(const QString& artikuls) { return addGoods(std::array<QString, 7>{artikuls}); }

    void addBalance(int goods, double atlikums, const QVariant& nelegaliz = QStringLiteral("F"), int nodala = 0) {
        execSql(stock, "INSERT INTO O_TEKATLIK (ISPRECE, ISNODALA, ATLIKUMS, NELEGALIZ) VALUES (:P, :N, :A, :F)",
                {{":P", goods}, {":N", nodala ? nodala : department}, {":A", atlikums}, {":F", nelegaliz}});
    }

    // The goods' balance rows in the shop's department that the till may change ('F' or NULL),
    // summed; and the number of all rows.
    double changeable(int goods) {
        return selectValue(stock,
                           "SELECT COALESCE(SUM(ATLIKUMS), 0) FROM O_TEKATLIK WHERE ISPRECE = :P AND ISNODALA = :N "
                           "AND (NELEGALIZ = 'F' OR NELEGALIZ IS NULL)",
                           {{":P", goods}, {":N", department}})
            .toDouble();
    }
    int balanceRows() { return selectValue(stock, "SELECT COUNT(*) FROM O_TEKATLIK").toInt(); }

    static inline const QString kStockTestConnection = QStringLiteral("TEST_STOCKARA");
    QSqlDatabase stock;
    int department = 0;

private:
    static QVariant orNull(const QString& code) { return code.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(code); }
};

}  // namespace testsupport
