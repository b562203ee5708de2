// The real sale window, offscreen, on a demo database with the fiscal-memory module, the receipt
// printer and the customer display simulated: a receipt rung up, paid in the payment dialog and
// closed, then paper, counters, journal rows and the drawer-limit notice checked together.
#include "ceka_apmaksa.h"
#include "drawer_limit.h"
#include "fmproc.h"
#include "posmain.h"

#include "till_window.h"
#include "ui_services.h"

#include <QFocusEvent>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {

class PaymentWindow : public testsupport::TillWindowTest {
protected:
    PaymentWindow() : TillWindowTest({.printerType = 1}) {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TillWindowTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(writeRecords(
            {{"CEKAGALVA1", "SIA Veikals"}, {"NOD_D_SUM", testsupport::departmentRates(21)}, {"CEKANRCOUN", "00000000041"}}));
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

TEST_F(PaymentWindow, AFailedDrawerLimitCheckIsToldAndTheReceiptStillCloses) {
    TPOSMain& w = *POSMain;
    exec("ALTER TABLE N_ISI DROP ISINAUDALADELIMITS");
    enter("4750001000017");
    messages().clear();
    enter("/0=5");
    EXPECT_EQ(w.RinduSkaits, 0);
    EXPECT_EQ(w.edArtikuls->text(), "");
    EXPECT_EQ(record("CEKANRCOUN"), "00000000042");
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS='F'").toInt(), 1);
    const QStringList shown = messages().texts();
    ASSERT_EQ(shown.size(), 1) << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown[0].startsWith(kDrawerLimitFailed + "limits (N_ISI): ")) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains("ISINAUDALADELIMITS")) << shown[0].toStdString();
}

TEST_F(PaymentWindow, CardAboveTheTotalIsToldOnceForOneEnter) {
    TPOSMain& w = *POSMain;
    enter("999=10");
    ASSERT_EQ(w.RinduSkaits, 1);
    int told = 0;
    bool boxUp = false;
    platform::ui::setMessageHandler([&](const platform::ui::MessageRequest& box) {
        if (box.text == TCekaApmaksa::kCardAboveTotal) ++told;
        // A real box takes the focus from the card field while it is up (once), and gives it
        // back when it goes.
        if (!boxUp && CekaApmaksaForm) {
            boxUp = true;
            QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
            QCoreApplication::sendEvent(CekaApmaksaForm->edApmSum[1], &away);
            boxUp = false;
        }
        return int(platform::ui::Ok);
    });
    bool stayedOpen = false;
    QTimer::singleShot(0, [&stayedOpen] {
        TCekaApmaksa& form = *CekaApmaksaForm;
        form.edApmSum[1]->setText("10.01");
        QTest::keyClick(form.edApmSum[1], Qt::Key_Return);
        stayedOpen = form.isVisible();
        form.edApmSum[1]->clear();
        QTest::keyClick(form.edApmSum[1], Qt::Key_Escape);
    });
    QTest::keyClick(w.edArtikuls, '/');
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(w.RinduSkaits, 1);
}

TEST_F(PaymentWindow, DialogRowsFollowTheKindsInUse) {
    TPOSMain& w = *POSMain;
    ASSERT_TRUE(w.FMProc->FMWrite("APMVEID1", "Dāvanu karte"));
    ASSERT_TRUE(w.FMProc->FMWrite("APMVEID2", "Apmaksas veids 3"));
    ASSERT_TRUE(w.FMProc->FMWrite("APMVEID3", "   "));
    ASSERT_TRUE(w.FMProc->FMWrite("APMVEID4", "Pārskaitījums"));
    TCekaApmaksa dialog(&w);
    struct Row {
        int kind;
        bool shown;
        QString caption;
    };
    const Row rows[] = {
        {0, true, "0-Skaidra nauda EUR"}, {1, true, "1-Bankas karte"}, {2, true, "Dāvanu karte"},
        {3, false, {}},                   {4, false, {}},              {5, true, "Pārskaitījums"},
        {6, false, {}},                   {12, true, "Skaidra nauda LVL"},  // receipts in euros take lats
    };
    for (const Row& row : rows) {
        EXPECT_EQ(!dialog.edApmSum[std::size_t(row.kind)]->isHidden(), row.shown) << row.kind;
        EXPECT_EQ(!dialog.captions[std::size_t(row.kind)]->isHidden(), row.shown) << row.kind;
        if (row.shown) { EXPECT_EQ(dialog.captions[std::size_t(row.kind)]->text().trimmed(), row.caption) << row.kind; }
    }
}

TEST_F(PaymentWindow, LatsTypedOnTheDialogsKeypad) {
    TPOSMain& w = *POSMain;
    enter("2*4750001000017");
    TCekaApmaksa& form = *CekaApmaksaForm;
    form.FormActivate();
    form.edApmSum[0]->setText("abc");  // not a number: no row
    form.AktivaisEdit = form.edApmSum[12];
    for (const char* key : {"1", "0", "00", "<-", "&5"}) form.KeypadClick(QString::fromLatin1(key));
    EXPECT_EQ(form.edApmSum[12]->text(), "1005");
    form.KeypadClick("Enter");
    EXPECT_EQ(form.ApmaksasTeksts, "/12=1005.00");
    EXPECT_EQ(form.PedejaisVeids, 12);
    EXPECT_EQ(w.RinduSkaits, 1);
}

TEST_F(PaymentWindow, SummaryDiscountStopsAtTheCashiersMaximum) {
    TPOSMain& w = *POSMain;
    enter("4750001000017");
    enter("4750001000017");
    ASSERT_EQ(w.RinduSkaits, 2);
    for (int i = 0; i < 2; ++i) w.CekaRindas[std::size_t(i)].Atlaide = 3;
    w.MaxAtlaide = 6;
    TCekaApmaksa& form = *CekaApmaksaForm;
    form.FormActivate();
    const auto leaveDiscount = [&form](const QString& text) {
        form.shAtlaide->setText(text);
        QFocusEvent away(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(form.shAtlaide, &away);
    };
    messages().clear();
    leaveDiscount("5");  // 3 + 5 is above 6: each line told, each keeps 3
    EXPECT_EQ(messages().texts().count(TCekaApmaksa::kDiscountAboveMaximum), 2);
    EXPECT_DOUBLE_EQ(w.CekaRindas[0].Atlaide, 3);
    EXPECT_DOUBLE_EQ(w.CekaRindas[1].Atlaide, 3);

    messages().clear();
    leaveDiscount("3");  // up to the maximum itself
    EXPECT_TRUE(messages().shown(TCekaApmaksa::kDiscountQuestion));
    EXPECT_FALSE(messages().shown(TCekaApmaksa::kDiscountAboveMaximum));
    EXPECT_DOUBLE_EQ(w.CekaRindas[0].Atlaide, 6);
    EXPECT_DOUBLE_EQ(w.CekaRindas[1].Atlaide, 6);
    EXPECT_EQ(form.shCekaSumma->text(), "   4.04");  // 2 x 2.15 less 6 %
    EXPECT_EQ(w.shCekaSumma->text(), "   4.04");

    messages().clear();
    leaveDiscount("100");  // no question, nothing changes
    EXPECT_TRUE(messages().texts().isEmpty());
    EXPECT_DOUBLE_EQ(w.CekaRindas[0].Atlaide, 6);
}

// ---------------------------------------------------------------- the dialog's rules

TEST(PaymentDialogRules, ExtraKindsShownByTheirNames) {
    const std::pair<const char*, bool> cases[] = {
        {"Dāvanu karte", true}, {"  Kupons ", true},   {"", false},
        {"   ", false},         {"Apmaksas veids 7", false}, {"Vecās Apmaksas v.", false},
    };
    for (const auto& [name, shown] : cases) EXPECT_EQ(PaymentKindShown(QString::fromUtf8(name)), shown) << name;
}

TEST(PaymentDialogRules, SummaryDiscountAgainstTheMaximum) {
    const struct {
        std::vector<double> before;
        double value;
        double maximum;
        std::vector<double> after;
        int refused;
    } cases[] = {
        {{0, 0}, 5, 10, {5, 5}, 0},
        {{3, 3}, 5, 6, {3, 3}, 2},
        {{0, 3, 5}, 3, 6, {3, 6, 5}, 1},  // the maximum itself is allowed
        {{}, 5, 10, {}, 0},
        {{2}, 5, 0, {2}, 1},              // a cashier with no discount at all
    };
    for (const auto& c : cases) {
        std::vector<TCekaRinda> lines(c.before.size());
        for (std::size_t i = 0; i < lines.size(); ++i) lines[i].Atlaide = c.before[i];
        EXPECT_EQ(AddSummaryDiscount(lines, c.value, c.maximum), c.refused);
        for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_DOUBLE_EQ(lines[i].Atlaide, c.after[i]) << i;
    }
}

}  // namespace
