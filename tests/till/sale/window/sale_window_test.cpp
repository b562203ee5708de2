// The sale engine in the real sale window, started offscreen on the demo database with the
// fiscal-memory module on COM1 and the receipt printer on COM2: ringing up, voiding, refusals and
// annulling.
#include "fmproc.h"
#include "posmain.h"

#include "till_window.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <thread>

namespace {

using namespace sale_messages;

class SaleWindowTest : public testsupport::TillWindowTest {
protected:
    SaleWindowTest() : TillWindowTest({.display = false}) {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TillWindowTest::SetUp());
        setupText("EFT", "3");
        ASSERT_TRUE(startTill());
        messages().clear();
    }

    bool printed(const std::string& text) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        printer->waitIdle(100);
        for (const std::string& line : printer->receipt())
            if (line.find(text) != std::string::npos) return true;
        return false;
    }
};

TEST_F(SaleWindowTest, RingUpVoidAndAnnul) {
    enter("3*4750001000185");  // chocolate at 1.99
    ASSERT_EQ(w().RinduSkaits, 1);
    EXPECT_EQ(w().edArtikuls->text(), "");
    EXPECT_EQ(w().shCekaSumma->text(), "   5.97");
    ASSERT_EQ(w().PirkumuSaraksts->count(), 2);
    EXPECT_TRUE(w().PirkumuSaraksts->item(0)->text().endsWith("|0|"));
    EXPECT_EQ(w().PirkumuSaraksts->currentRow(), 1);

    // The grave accent enters like Enter and is not typed.
    w().edArtikuls->setText("4750001000024");
    QTest::keyClick(w().edArtikuls, '`');
    ASSERT_EQ(w().RinduSkaits, 2);
    EXPECT_EQ(w().edArtikuls->text(), "");
    EXPECT_EQ(w().shCekaSumma->text(), "   7.46");

    enter("-");
    ASSERT_EQ(w().RinduSkaits, 3);
    EXPECT_EQ(w().shCekaSumma->text(), "   5.97");

    enter("--");
    EXPECT_EQ(w().RinduSkaits, 0);
    EXPECT_EQ(w().shCekaSumma->text(), "   0.00");
    EXPECT_EQ(w().PirkumuSaraksts->count(), 0);
    QString counter;
    ASSERT_TRUE(w().FMProc->FMRead("CEKANRCOUN", counter));
    EXPECT_EQ(counter, "00000000002");
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS='T' AND CEKA_NR=2").toInt(), 3);
    EXPECT_DOUBLE_EQ(value("SELECT SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) FROM REALIZ").toDouble(), 5.97);
    EXPECT_TRUE(printed("ČEKS ANULĒTS"));
    EXPECT_TRUE(printed("Čeks Nr 2"));
}

TEST_F(SaleWindowTest, RefusalsKeepTheTextAndUseTheirChannel) {
    enter("2*-5");
    EXPECT_EQ(w().edArtikuls->text(), "2*-5");
    EXPECT_TRUE(messages().shown(kZvaigzneMinuss));
    enter("-");
    EXPECT_EQ(w().edArtikuls->text(), "-");
    EXPECT_TRUE(messages().shown(kNesapratu));
    EXPECT_EQ(w().RinduSkaits, 0);
}

TEST_F(SaleWindowTest, ClosingTheWindowAnnulsAnOpenReceipt) {
    enter("4750001000031");
    delete POSMain;
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS='T'").toInt(), 1);
}

TEST_F(SaleWindowTest, SellsWhatAnotherProgramChangedWhileTheTillRuns) {
    enter("4750001000017");  // bread at 2.15: the look-up has run
    ASSERT_EQ(w().RinduSkaits, 1);

    ASSERT_NO_FATAL_FAILURE(testsupport::changeDemoItemsFromAnotherProcess(databaseFile(), "9002", 3.30));

    enter("4750001000017");
    EXPECT_EQ(w().shCekaSumma->text(), "  12.14");
    // An article not found stops at a dialog: closed, the failure shows instead of a wait.
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
    });
    enter("9002");
    ASSERT_EQ(w().RinduSkaits, 3) << messages().texts().join(" | ").toStdString();
    EXPECT_EQ(w().shCekaSumma->text(), "  15.44");
    enter("4750001000024");
    ASSERT_EQ(w().RinduSkaits, 4);
    bool renamed = false;
    for (int i = 0; i < w().PirkumuSaraksts->count(); ++i)
        renamed = renamed || w().PirkumuSaraksts->item(i)->text().contains("Baltmaize jaunā");
    EXPECT_TRUE(renamed);
}

}  // namespace
