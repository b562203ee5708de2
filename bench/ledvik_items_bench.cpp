// Sending ITEMS.DBF to the tills: 100,000 items to 10 till databases, the first pass inserting
// every item and the second updating them, each timed against a raw bulk insert of the same rows
// into 10 fresh databases (one prepared INSERT, one transaction per database) in the same run.
// Prints the times and the two ratios; the aim is <= 1.5 for each.
//   ledvik_items_bench [items] [tills]
#include "bench_folder.h"
#include "till_fleet.h"
#include "transfer_steps.h"

#include "codepage_1257.h"
#include "database.h"
#include "till_database.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

#include <chrono>
#include <cstdio>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// The till column of each ITEMS.DBF column (two dBase names are cut to ten characters).
QString tillColumn(const std::string& dbfName) {
    if (dbfName == "NOSAUKUMS") return QStringLiteral("GNOS");
    if (dbfName == "SKKASTELIE") return QStringLiteral("SKKASTELIELA");
    if (dbfName == "EAN_KASTEL") return QStringLiteral("EAN_KASTELIELA");
    return QString::fromStdString(dbfName);
}

// The baseline: every row of ITEMS.DBF into the same columns with one prepared statement.
bool rawInsert(const std::filesystem::path& file, const DbfTable& items) {
    QSqlDatabase db = platform::openDatabaseAt(platform::parseDatabaseLocation(file.string()), QStringLiteral("raw"),
                                               platform::tillDatabaseLogin());
    std::vector<std::pair<int, QString>> columns;
    QStringList names{QStringLiteral("ISN")}, values{QStringLiteral("1")};
    for (std::size_t c = 0; c < items.columns().size(); ++c) {
        if (items.columns()[c].name == "FIELD1001") continue;
        const QString name = tillColumn(items.columns()[c].name);
        columns.emplace_back(int(c), ":" + name);
        names << name;
        values << ":" + name;
    }
    db.transaction();
    QSqlQuery insert(db);
    insert.prepare("INSERT INTO N_PRECE (" + names.join(u',') + ") VALUES (" + values.join(u',') + ")");
    bool ok = true;
    for (int r = 0; ok && r < items.recordCount(); ++r) {
        for (const auto& [c, parameter] : columns) {
            const char type = items.columns()[std::size_t(c)].type;
            insert.bindValue(parameter, type == 'N' ? QVariant(items.number(r, c))
                                        : type == 'D' ? QVariant(items.date(r, c))
                                                      : QVariant(fromCp1257(items.text(r, c))));
        }
        ok = insert.exec();
    }
    if (!ok) std::fprintf(stderr, "raw insert: %s\n", qPrintable(insert.lastError().text()));
    insert.finish();
    ok = db.commit() && ok;
    db.close();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int itemCount = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int tillCount = argc > 2 ? std::atoi(argv[2]) : 10;
    const auto dir = std::filesystem::temp_directory_path() / ("tillora-ledvik-bench-" + std::to_string(::getpid()));
    enterBenchFolder(dir);

    std::vector<tills::ExchangeRow> rows;
    for (int i = 0; i < itemCount; ++i)
        rows.push_back(tills::ItemRow(std::to_string(4750000000000LL + i), "Prece Nr. " + std::to_string(i), 1 + i % 500 / 100.0));
    tills::WriteExchangeTable(dir / "ITEMS.DBF", tills::ItemsColumns(), rows);
    tills::TillFleet fleet(dir / "tills");
    std::vector<QString> paths;
    for (int t = 0; t < tillCount; ++t) paths.push_back(fleet.addTill("K" + QString::number(t + 1)));

    const DbfTable items = DbfTable::open(dir / "ITEMS.DBF");
    for (int t = 0; t < tillCount; ++t) schema::createTillDatabase(dir / ("raw" + std::to_string(t) + ".fdb"));
    auto started = Clock::now();
    for (int t = 0; t < tillCount; ++t)
        if (!rawInsert(dir / ("raw" + std::to_string(t) + ".fdb"), items)) return 1;
    const double raw = seconds(started);
    platform::closeDatabase(QStringLiteral("raw"));

    int failures = 0;
    ProcessLog log([&](const QString& line) {
        if (!line.endsWith(QStringLiteral(": OK")) && !line.contains(QStringLiteral("Sāku procesu"))) {
            ++failures;
            std::fprintf(stderr, "%s\n", qUtf8Printable(line));
        }
    });
    const TransferContext context{{dir, {}, {}, {}, {}, {}, {}}, log, {}};
    double passes[2] = {};
    for (double& pass : passes) {
        started = Clock::now();
        for (int t = 0; t < tillCount; ++t) SutaPreces(context, paths[std::size_t(t)], "K" + QString::number(t + 1));
        pass = seconds(started);
    }
    std::printf("%d items to %d tills\n", itemCount, tillCount);
    std::printf("raw bulk insert       %8.2f s\n", raw);
    std::printf("first pass (inserts)  %8.2f s  ratio %.2f\n", passes[0], passes[0] / raw);
    std::printf("second pass (updates) %8.2f s  ratio %.2f\n", passes[1], passes[1] / raw);
    std::printf("aim: each ratio <= 1.5\n");
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    fleet.closeConnections();
    std::filesystem::remove_all(dir);
    return failures == 0 ? 0 : 1;
}
