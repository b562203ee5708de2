// The item look-up (FindPrece) against a till database of 1,000,000 items, each with box,
// big-box and pallet codes: median and 99th percentile of one look-up over article codes, pack
// codes and unknown codes in random order, with a receipt of 20 lines open.
//
//   find_prece_bench [lookups]       (the database is made once in $TILLORA_BENCH_DIR,
//                                     default /tmp/tillora-bench, and reused)
#include "item_lookup.h"

#include "database.h"
#include "till_database.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kItems = 1'000'000;

void makeItemDatabase(const fs::path& file) {
    std::printf("making %s (%d items with pack codes)...\n", file.c_str(), kItems);
    std::fflush(stdout);
    schema::createDemoDatabase(file);
    QSqlDatabase db = platform::openDatabaseAt(platform::parseDatabaseLocation(file.string()), "BENCH_MAKE");
    QSqlQuery q(db);
    const QString sql = QStringLiteral(
        "EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < %1) DO BEGIN "
        "INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, CENA2, DAUDZUMS2, EAN_KASTE, SKKASTE, "
        "EAN_KASTELIELA, SKKASTELIELA, EAN_PALETE, SKPALETE) VALUES "
        "('47' || LPAD(:i, 11, '0'), 'Prece ' || :i, 'gab.', 1, 1 + MOD(:i, 500) / 100.0, 0.9, 10, "
        "'147' || LPAD(:i, 11, '0'), 12, '247' || LPAD(:i, 11, '0'), 24, '347' || LPAD(:i, 11, '0'), 720); "
        "i = i + 1; END END").arg(kItems);
    if (!q.exec(sql)) {
        std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
        std::exit(1);
    }
    q = QSqlQuery();
    db.close();
    db = QSqlDatabase();
    platform::closeDatabase("BENCH_MAKE");
}

QString code(int prefix, int item) {
    return (prefix == 0 ? QStringLiteral("47") : QString::number(prefix) + QStringLiteral("47")) +
           QStringLiteral("%1").arg(item, 11, 10, QLatin1Char('0'));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int lookups = argc > 1 ? std::max(100, std::atoi(argv[1])) : 20'000;
    const char* benchDir = std::getenv("TILLORA_BENCH_DIR");
    const fs::path dir = benchDir ? benchDir : "/tmp/tillora-bench";
    fs::create_directories(dir);
    const fs::path database = dir / "POS_DATI_PRECES.GDB";
    if (!fs::exists(database)) makeItemDatabase(database);

    double median = 0, p99 = 0;
    {
        QSqlDatabase db = platform::openDatabaseAt(platform::parseDatabaseLocation(database.string()), "BENCH");
        TPrecuMekletajs lookup(db);
        std::vector<TCekaRinda> receipt(20);
        for (std::size_t i = 0; i < receipt.size(); ++i) {
            receipt[i].Artikuls = code(0, int(i) * 997);
            receipt[i].Daudzums = 1;
        }
        std::mt19937 random(7);
        std::uniform_int_distribution<int> item(0, kItems - 1), kind(0, 4);
        std::vector<double> times;
        times.reserve(std::size_t(lookups));
        int found = 0;
        for (int n = 0; n < lookups; ++n) {
            const int k = kind(random);
            // Kinds 0..3: article, box, big box, pallet; 4: a code no item has.
            const QString c = k == 4 ? QStringLiteral("9%1").arg(item(random)) : code(k, item(random));
            const auto started = std::chrono::steady_clock::now();
            const auto p = lookup.FindPrece({c, 1.0, receipt, true, QDate::currentDate()});
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count());
            if (p) ++found;
        }
        std::sort(times.begin(), times.end());
        median = times[times.size() / 2];
        p99 = times[std::min(times.size() - 1, times.size() * 99 / 100)];
        std::printf("FindPrece over %d items: %d look-ups (%d found), median %.3f ms, p99 %.3f ms (targets 0.3 / 1 ms)\n",
                    kItems, lookups, found, median, p99);
    }
    platform::closeDatabase("BENCH");
    return median < 0.3 && p99 < 1.0 ? 0 : 2;
}
