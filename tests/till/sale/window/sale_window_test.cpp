// The sale engine in the real sale window, started offscreen on the demo database with the
// fiscal-memory module on COM1 and the receipt printer on COM2: ringing up, voiding, refusals and
// annulling.
#include "datumodelis.h"
#include "fmproc.h"
#include "password_dlg.h"
#include "posmain.h"
#include "receipt_list.h"

#include "captured_log.h"
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

TEST_F(SaleWindowTest, ColumnHeadingsOverTheReceiptList) {
    const auto* header1 = w().findChild<QLabel*>("lbHeader1");
    const auto* header2 = w().findChild<QLabel*>("lbHeader2");
    ASSERT_TRUE(header1 && header2);
    enter("4750001000031");
    EXPECT_EQ(header1->text().simplified(), kVirsraksts1Rinda.simplified());
    EXPECT_TRUE(header2->isHidden());

    w().EkrNosaukDivasRindas = true;
    w().RefreshPirkumuSaraksts();
    EXPECT_EQ(header1->text().simplified(), kVirsraksts1DivasRindas.simplified());
    EXPECT_FALSE(header2->isHidden());
    EXPECT_EQ(header2->text().simplified(), kVirsraksts2DivasRindas.simplified());
}

TEST_F(SaleWindowTest, AClosedReturnPutsTheSaleCaptionsBack) {
    // Annulled, and paid back in cash (a lone "/" on a return).
    for (const QString& ending : {QStringLiteral("--"), QStringLiteral("/")}) {
        w().PirkumsAtgrieana1Click();
        ASSERT_EQ(w().rdPirkumsStorno->ItemIndex(), 1);
        ASSERT_EQ(w().shSanetanaudaTXT->text(), "Atgrieztā nauda :");
        ASSERT_TRUE(w().Label4->isHidden());
        enter("4750001000031");
        ASSERT_EQ(w().RinduSkaits, 1) << messages().texts().join(" | ").toStdString();
        enter(ending);
        ASSERT_EQ(w().RinduSkaits, 0) << ending.toStdString() << ": " << messages().texts().join(" | ").toStdString();
        EXPECT_EQ(w().rdPirkumsStorno->ItemIndex(), 0) << ending.toStdString();
        EXPECT_EQ(w().shSanetanaudaTXT->text(), "Saņemtā nauda :") << ending.toStdString();
        EXPECT_FALSE(w().Label4->isHidden()) << ending.toStdString();
        EXPECT_TRUE(w().shAtgrnr->isHidden()) << ending.toStdString();
    }
}

TEST_F(SaleWindowTest, ADatabaseErrorUnderTheSlashKeyIsShownAndTheReceiptStays) {
    enter("4750001000031");
    ASSERT_EQ(w().RinduSkaits, 1);
    exec("ALTER TABLE N_ISI DROP PIEVARTIK3");  // the add-on article offer reads it first
    w().edArtikuls->clear();
    EXPECT_NO_THROW(QTest::keyClick(w().edArtikuls, '/'));
    EXPECT_EQ(messages().texts().size(), 1) << messages().texts().join(" | ").toStdString();
    EXPECT_EQ(w().RinduSkaits, 1);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ").toInt(), 0);
}

TEST_F(SaleWindowTest, CancellingACashierChangeKeepsTheCashierAndTheOpenReceipt) {
    enter("4750001000031");
    QTimer::singleShot(0, [] {
        PasswordDlg->shLietotajs->setText("ANNA");
        PasswordDlg->BtAtliktClick();
    });
    EXPECT_NO_THROW(w().Kasieramaia1Click());
    EXPECT_EQ(w().Kasieris, "ADMIN");
    EXPECT_EQ(PasswordDlg->shLietotajs->text(), "ADMIN");
    EXPECT_EQ(w().RinduSkaits, 1);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ").toInt(), 0);

    QTimer::singleShot(0, [] {
        PasswordDlg->shLietotajs->setText("ANNA");
        PasswordDlg->Password->setText("2");
        PasswordDlg->BtOKClick();
    });
    w().Kasieramaia1Click();
    EXPECT_EQ(w().Kasieris, "ANNA");
    EXPECT_EQ(w().RinduSkaits, 1);
}

TEST_F(SaleWindowTest, AnAnnulmentThatFailsAtCloseIsLoggedAndTheWindowGoes) {
    enter("4750001000031");
    // The annulled rows cannot be stored.
    exec("CREATE EXCEPTION REALIZ_REFUSED 'REALIZ takes no rows now'");
    exec("CREATE TRIGGER REALIZ_REFUSE FOR REALIZ BEFORE INSERT AS BEGIN EXCEPTION REALIZ_REFUSED; END");
    {
        testsupport::CapturedLog log;
        delete POSMain;  // must not end the process
        EXPECT_TRUE(log.has("The open receipt was not annulled when the till closed")) << log.lines().join(" | ").toStdString();
        EXPECT_TRUE(log.has("REALIZ takes no rows now")) << log.lines().join(" | ").toStdString();
    }
    EXPECT_TRUE(POSMain.isNull());
    EXPECT_TRUE(printed("ČEKS ANULĒTS"));
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
