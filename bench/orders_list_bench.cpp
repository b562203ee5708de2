// The orders list (TPasutijumi::RefreshPasutijumi) over 2,000 listed lines of 200 orders on a
// till database of 20,000 items: each refresh is timed and divided by one statement that selects
// the same rows with their item names, read to the end, in the same run. Target: at most 2.
//
//   orders_list_bench [runs]         (the database is made once in $TILLORA_BENCH_DIR,
//                                     default /tmp/tillora-bench, and reused)
#include "datumodelis.h"
#include "pasutijumi.h"

#include "bench_folder.h"
#include "clock.h"
#include "database.h"
#include "till_database.h"

#include <QApplication>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kItems = 20'000;
constexpr int kOrders = 200;
constexpr int kLinesPerOrder = 10;

void run(QSqlQuery& q, const QString& sql) {
    if (!q.exec(sql)) {
        std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
        std::exit(1);
    }
}

// Items "B00000" ..; every order line names one of them, a few by a longer code whose first 13
// characters are the item's.
void makeOrderDatabase(const fs::path& file) {
    std::printf("making %s (%d items, %d order lines)...\n", file.c_str(), kItems, kOrders * kLinesPerOrder);
    std::fflush(stdout);
    schema::createTillDatabase(file);
    QSqlDatabase db = platform::openDatabaseAt(platform::parseDatabaseLocation(file.string()), "BENCH_MAKE");
    QSqlQuery q(db);
    run(q, QStringLiteral("EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < %1) DO BEGIN "
                          "INSERT INTO N_PRECE (ARTIKULS, GNOS, NODALA, CENA) VALUES "
                          "('B' || LPAD(:i, 12, '0'), 'Ēdiens ' || :i, 1 + MOD(:i, 2), 1 + MOD(:i, 700) / 100.0); "
                          "i = i + 1; END END")
               .arg(kItems));
    run(q, QStringLiteral("EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < %1) DO BEGIN "
                          "INSERT INTO O_PASUT (DATUMS, PASUT_NR, GALDS, VIETA, CENA, ATLAIDE, DAUDZUMS, APMAKSATS, "
                          "BARMENIS, ARTIKULS) VALUES (CURRENT_DATE, 1 + :i / %2, 'Galds ' || MOD(:i / %2, 25), '', "
                          "1 + MOD(:i, 900) / 100.0, -MOD(:i, 3) * 5, 1 + MOD(:i, 3), 'F', 'Viesmīlis ' || MOD(:i, 7), "
                          "'B' || LPAD(MOD(:i * 37, %3), 12, '0') || IIF(MOD(:i, 10) = 0, 'X', '')); "
                          "i = i + 1; END END")
               .arg(kOrders * kLinesPerOrder)
               .arg(kLinesPerOrder)
               .arg(kItems));
    q = QSqlQuery();
    db.close();
    db = QSqlDatabase();
    platform::closeDatabase("BENCH_MAKE");
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The same rows with their names by one plain statement, read to the end.
double plainList(const QSqlDatabase& db) {
    const auto start = Clock::now();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // The name through the index on N_PRECE.ARTIKULS, as the list reads it.
    run(q, QStringLiteral("SELECT O.*, (SELECT FIRST 1 P.GNOS FROM N_PRECE P WHERE P.ARTIKULS = "
                          "SUBSTRING(O.ARTIKULS FROM 1 FOR 13)) FROM O_PASUT O WHERE (O.DZESTS<>'T' OR O.DZESTS IS NULL) "
                          "AND O.DATUMS BETWEEN CURRENT_DATE AND CURRENT_DATE AND O.APMAKSATS<>'T' "
                          "ORDER BY O.DATUMS, O.PASUT_NR, O.ISN"));
    int rows = 0;
    const int columns = q.record().count();
    while (q.next()) {
        for (int c = 0; c < columns; ++c) (void)q.value(c);
        ++rows;
    }
    if (rows != kOrders * kLinesPerOrder) std::fprintf(stderr, "the plain statement read %d rows\n", rows);
    return seconds(Clock::now() - start);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;
    const char* benchDir = std::getenv("TILLORA_BENCH_DIR");
    const fs::path dir = fs::path(benchDir ? benchDir : "/tmp/tillora-bench");
    fs::create_directories(dir);
    const fs::path database = dir / "POS_DATI_ORDERS.GDB";
    if (!fs::exists(database)) makeOrderDatabase(database);
    enterBenchFolder(dir / "orders");
    platform::defineAlias(platform::kPosDbAlias, database.string());

    double ratio = 0;
    {
        DatuModelis = new TDatuModelis(nullptr);
        TPasutijumi form(nullptr);
        const QSqlDatabase db = DatuModelis->POS_DB();
        std::vector<double> refresh, plain;
        for (int i = 0; i < runs; ++i) {
            plain.push_back(plainList(db));
            const auto start = Clock::now();
            form.RefreshPasutijumi(0);
            refresh.push_back(seconds(Clock::now() - start));
        }
        if (form.Lines().size() != std::size_t(kOrders * kLinesPerOrder))
            std::fprintf(stderr, "the list holds %zu lines\n", form.Lines().size());
        ratio = median(refresh) / median(plain);
        std::printf("RefreshPasutijumi over %zu lines: median %.2f ms; the plain statement %.2f ms; ratio %.2f (target 2)\n",
                    form.Lines().size(), median(refresh) * 1000, median(plain) * 1000, ratio);
    }
    delete DatuModelis;
    return ratio <= 2.0 ? 0 : 2;
}
