// The item look-up of the real sale window, thousands of times over, while another program
// commits price changes to the same database file, the till stores receipts on its own connection
// and its devices, timers and database engine run their threads.
#include "posmain.h"
#include "sale_engine.h"

#include "till_window.h"

#include <QCoreApplication>

#include <atomic>
#include <thread>

namespace {

class ItemLookupUnderLoad : public testsupport::TillWindowTest {
protected:
    ItemLookupUnderLoad() : TillWindowTest({.display = false}) {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TillWindowTest::SetUp());
        ASSERT_TRUE(startTill());
    }
};

TEST_F(ItemLookupUnderLoad, EveryLookupAnswersWhileAnotherProgramChangesPrices) {
    constexpr int kLookups = 6000;
    constexpr int kLookupsPerReceipt = 300;
    const QString code = QStringLiteral("4750001000017");

    // The other program: a price change committed, again and again, until the look-ups are done.
    std::atomic<bool> done = false, otherProgramEnded = false;
    std::atomic<int> commits = 0;
    std::thread otherProgram([&] {
        testsupport::SqlPeer peer(databaseFile().string());
        for (int i = 0; !done && peer.greeting() == "READY"; ++i) {
            const std::string price = std::to_string(2 + i % 50) + ".15";
            const std::string answer = peer.run("UPDATE N_PRECE SET CENA = " + price + " WHERE ARTIKULS = '4750001000017'");
            if (answer != "OK") {
                ADD_FAILURE() << answer;
                break;
            }
            ++commits;
        }
        otherProgramEnded = true;
    });

    int answered = 0;
    QStringList failures;
    // However slowly the other program starts, the look-ups go on until it has committed.
    for (int i = 0; i < kLookups || (commits == 0 && !otherProgramEnded); ++i) {
        try {
            if (w().Pardosana().FindPrece(code, 1)) ++answered;
            else failures << QStringLiteral("not found");
        } catch (const std::exception& error) {
            failures << QString::fromUtf8(error.what());
        }
        if (i % kLookupsPerReceipt == kLookupsPerReceipt - 1) {
            // A receipt stored between look-ups: the till's own connection commits, its timers run.
            enter(code);
            enter(QStringLiteral("/0=") + QString::number(w().CekaSumma, 'f', 2));
            QCoreApplication::processEvents();
        }
    }
    done = true;
    otherProgram.join();

    EXPECT_TRUE(failures.isEmpty()) << failures.size() << " look-ups failed, the first: " << failures.value(0).toStdString();
    EXPECT_GE(answered, kLookups - int(failures.size()));
    EXPECT_GT(commits, 0);
    EXPECT_GE(value("SELECT COUNT(*) FROM REALIZ").toInt(), kLookups / kLookupsPerReceipt);
}

}  // namespace
