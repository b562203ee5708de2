// The receipt journal review on the start-up bench's database (5,000,000 journal rows, 25,000 a
// day): a day is opened and a time window typed, character by character. Each refresh is timed
// until the grid holds its first screen of rows, and divided by the same statement's first screen
// fetched by a plain query in the same run. Target: at most 1.3.
//
//   journal_review_bench [runs]      (run till_startup_bench once first: it makes the database
//                                     in $TILLORA_BENCH_DIR, default /tmp/tillora-bench)
#include "cekulentas_caurskate.h"
#include "journal_review.h"

#include "database.h"

#include <QApplication>
#include <QSqlQuery>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The grid's first screen through the review's model.
double reviewRefresh(const QSqlDatabase& db, const JournalWindow& window, JournalModel& model)
{
    const auto start = Clock::now();
    model.Reset(db, OpenJournal(db, window));
    model.fetchMore({});
    return seconds(Clock::now() - start);
}

// The same statement and as many rows by a plain query.
double plainFirstScreen(const QSqlDatabase& db, const JournalWindow& window, int rows)
{
    const auto start = Clock::now();
    QSqlQuery query = OpenJournal(db, window);
    for (int i = 0; i < rows && query.next(); ++i) (void)query.value(0);
    return seconds(Clock::now() - start);
}

}  // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const char* benchDir = std::getenv("TILLORA_BENCH_DIR");
    const fs::path database = fs::path(benchDir ? benchDir : "/tmp/tillora-bench") / "POS_DATI_BIG.GDB";
    if (!fs::exists(database)) {
        std::fprintf(stderr, "%s is missing: run till_startup_bench once to make it\n", database.c_str());
        return 1;
    }
    QSqlDatabase db = platform::openDatabaseAt(platform::parseDatabaseLocation(database.string()), "BENCH");
    const QDate day = QDate::currentDate().addDays(-1);
    // The end of the window typed over "23:59", one character a refresh.
    const QStringList typed{"1_:59", "12:59", "12:0_", "12:00"};
    double review = 0, plain = 0;
    int screen = 0;
    for (int run = 0; run < runs; ++run) {
        JournalModel model;
        for (const QString& end : typed) {
            const JournalWindow window{day, day, "08:00", end, {}};
            review += reviewRefresh(db, window, model);
            screen = model.rowCount();
            plain += plainFirstScreen(db, window, screen);
        }
    }
    std::printf("journal review: %d refreshes, first screen %d rows: review %.4f s, plain %.4f s, ratio %.2f\n",
                runs * int(typed.size()), screen, review, plain, plain > 0 ? review / plain : 0.0);
    db = QSqlDatabase();
    platform::closeDatabase("BENCH");
    return 0;
}
