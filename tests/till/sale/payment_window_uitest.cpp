// The real sale window, offscreen, on a demo database with the fiscal-memory module, the receipt
// printer and the customer display simulated: a receipt rung up, paid in the payment dialog and
// closed, then paper, counters, journal rows and the drawer-limit notice checked together.
#include "ceka_apmaksa.h"
#include "fmproc.h"
#include "posmain.h"

#include "till_window.h"

#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {

class PaymentWindow : public testsupport::TillWindowTest {
protected:
    PaymentWindow() : TillWindowTest({.printerType = 1}) {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TillWindowTest::SetUp());
        {
            TFMProc fm;
            ASSERT_TRUE(fm.FMWrite("CEKAGALVA1", "SIA Veikals"));
            QString rates;
            for (int slot = 1; slot <= 24; ++slot) rates += "21       0";
            ASSERT_TRUE(fm.FMWrite("NOD_D_SUM", rates));
            ASSERT_TRUE(fm.FMWrite("CEKANRCOUN", "00000000041"));
        }
        ASSERT_TRUE(startTill());
    }

    // Types a text into the item field and presses Enter.
    void enter(const QString& text) {
        POSMain->edArtikuls->setText(text);
        POSMain->edArtikulsKeyPress(13);
    }

    // Presses "/" in the item field and pays in the dialog with these amounts, kind by kind.
    void payInDialog(const std::vector<std::pair<int, QString>>& amounts) {
        QTimer::singleShot(0, [amounts] {
            ASSERT_TRUE(CekaApmaksaForm && CekaApmaksaForm->isVisible());
            for (const auto& [kind, amount] : amounts) CekaApmaksaForm->edApmSum[std::size_t(kind)]->setText(amount);
            CekaApmaksaForm->btOKClick();
        });
        POSMain->edArtikuls->setFocus();
        QTest::keyClick(POSMain->edArtikuls, '/');
    }

    QString record(const QString& name) {
        QString text;
        EXPECT_TRUE(POSMain->FMProc->FMRead(name, text));
        return text;
    }

    std::vector<std::string> paper() {
        printer->waitIdle();
        return printer->receipt();
    }
};

TEST_F(PaymentWindow, RingUpPayInTheDialogAndClose) {
    TPOSMain& w = *POSMain;
    enter("2*4750001000017");  // 2 x 2.15
    ASSERT_EQ(w.RinduSkaits, 1) << messages().texts().join(" | ").toStdString();
    payInDialog({{0, "5"}});

    EXPECT_EQ(w.RinduSkaits, 0) << messages().texts().join(" | ").toStdString();
    EXPECT_EQ(w.edArtikuls->text(), "");
    EXPECT_EQ(w.shCekaSumma->text(), "   4.30");
    EXPECT_EQ(w.shSanemts->text(), "   5.00");
    EXPECT_EQ(w.shIzdot->text(), "   0.70");
    EXPECT_FALSE(w.shNodotKasi->isVisible());

    const auto p = paper();
    const auto has = [&](const std::string& line) { return std::find(p.begin(), p.end(), line) != p.end(); };
    EXPECT_TRUE(has("Čeks Nr 42")) << printer->paperText();
    EXPECT_TRUE(has("Likme 1-21% PVN   0.75 b/n   3.55"));
    EXPECT_TRUE(has("Saņ.EUR     5.00 Izd.EUR     0.70"));
    EXPECT_TRUE(has("0-Skaidra nauda EUR          5.00"));
    EXPECT_TRUE(has(("Kasieris : " + w.KasierisFullName).toStdString()));

    EXPECT_EQ(record("NOD_D_SUM").left(10), "21     430");
    EXPECT_EQ(record("CEKANRCOUN"), "00000000042");
    QSqlQuery row = exec("SELECT CEKA_NR, ARTIKULS, DAUDZUMS, CENA, SANEMTS, IZDOTS, APM_VEIDS, KASIERIS, ANULETS FROM REALIZ");
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.value(0).toInt(), 42);
    EXPECT_EQ(row.value(1).toString(), "4750001000017");
    EXPECT_DOUBLE_EQ(row.value(2).toDouble(), 2);
    EXPECT_DOUBLE_EQ(row.value(3).toDouble(), 2.15);
    EXPECT_DOUBLE_EQ(row.value(4).toDouble(), 5);
    EXPECT_NEAR(row.value(5).toDouble(), 0.70, 1e-9);
    EXPECT_EQ(row.value(6).toInt(), 1);
    EXPECT_EQ(row.value(7).toString(), "ADMIN");
    EXPECT_EQ(row.value(8).toString(), "F");
    EXPECT_FALSE(row.next());

    // The next entry clears the sums; a second receipt passes the drawer limit of 5.00.
    exec("UPDATE N_ISI SET ISINAUDALADELIMITS=5");
    enter("4750001000017");
    enter("/0=2.15");
    EXPECT_EQ(w.RinduSkaits, 0);
    EXPECT_TRUE(w.shNodotKasi->isVisibleTo(&w));
    EXPECT_EQ(record("CEKANRCOUN"), "00000000043");
}

TEST_F(PaymentWindow, CopyOfTheLastReceiptFromTheMenu) {
    TPOSMain& w = *POSMain;
    w.Iepriekjekakopija1Click();
    EXPECT_TRUE(messages().shown("Čeka kopiju izdrukāt nevar (nav datu) !!!"));

    enter("2*4750001000017");
    enter("/0=5");
    ASSERT_EQ(w.RinduSkaits, 0);
    enter("4750001000017");  // the next receipt is open: no copy now
    w.Iepriekjekakopija1Click();
    EXPECT_TRUE(messages().shown("Ir jau iesākts nākošais čeks, kopiju izdrukāt nevar !!!"));
    enter("--");  // annulled

    printer->waitIdle();
    const std::size_t before = printer->receipt().size();
    w.Iepriekjekakopija1Click();
    const auto p = paper();
    ASSERT_GT(p.size(), before);
    const std::vector<std::string> copy(p.begin() + long(before), p.end());
    const auto has = [&](const std::string& line) { return std::find(copy.begin(), copy.end(), line) != copy.end(); };
    // The annulled receipt 43 in between does not take the copy's number.
    EXPECT_TRUE(has("             KOPIJA ČEKAM Nr 42")) << printer->paperText();
    EXPECT_TRUE(has("Saņ.EUR     5.00 Izd.EUR     0.70")) << printer->paperText();

    w.PdjsBankaskarteskopija1Click();
    EXPECT_TRUE(messages().shown("Nav informācijas par pēdējo Bankas kartes čeka kopiju !!!"));
}

TEST_F(PaymentWindow, DialogLeftWithEscapeKeepsTheReceipt) {
    TPOSMain& w = *POSMain;
    enter("4750001000017");
    QTimer::singleShot(0, [] {
        QTest::keyClick(CekaApmaksaForm->edApmSum[0], Qt::Key_Escape);
    });
    QTest::keyClick(w.edArtikuls, '/');
    EXPECT_EQ(w.RinduSkaits, 1);
    EXPECT_EQ(w.edArtikuls->text(), "");
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ").toInt(), 0);
}

TEST_F(PaymentWindow, CardFieldOfTheDialogAndACardPayment) {
    TPOSMain& w = *POSMain;
    enter("999=10");  // an article sold at a typed price
    ASSERT_EQ(w.RinduSkaits, 1);
    bool stayedOpen = false;
    QTimer::singleShot(0, [this, &stayedOpen] {
        TCekaApmaksa& form = *CekaApmaksaForm;
        form.edApmSum[1]->setText("10.01");
        QTest::keyClick(form.edApmSum[1], Qt::Key_Return);
        stayedOpen = form.isVisible() && messages().shown(TCekaApmaksa::kCardAboveTotal);
        form.edApmSum[1]->setText("10.003");  // within half a cent
        QTest::keyClick(form.edApmSum[1], Qt::Key_Return);
    });
    QTest::keyClick(w.edArtikuls, '/');
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(w.RinduSkaits, 0) << messages().texts().join(" | ").toStdString();
    EXPECT_EQ(record("BANKA_SUM").trimmed(), "1000");
    EXPECT_EQ(value("SELECT APM_VEIDS FROM REALIZ").toInt(), 2);
    EXPECT_EQ(value("SELECT PIEZIMES FROM REALIZ").toString(), "BR.CENA");
    EXPECT_EQ(w.cmbApmaksasVeids->currentIndex(), 0);
}

}  // namespace
