// The orders window on the real till window: opening, settings, the list and its tabs, entering
// lines, the service charge, quick items, deleting lines, the order discount and the customer.
#include "orders_window.h"

#include "order_printing.h"

#include "klaviatura.h"

#include <QTest>
#include <QTimer>

namespace {

TEST_F(OrdersWindow, OneWindowWithTheCashiersRightAtEachOpening) {
    TPasutijumi& form = open();
    EXPECT_EQ(form.windowTitle(), "Pasūtījumu sastādīšana");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.tabBarmeni->count(), 1);
    EXPECT_EQ(form.tabBarmeni->tabText(0), "Visi Bārmeņi");
    EXPECT_EQ(form.tabGaldi->tabText(0), "Visi");
    EXPECT_EQ(form.shSumma->text(), "      0.00");
    EXPECT_EQ(form.GetNextPasutNr(), 1);
    EXPECT_TRUE(form.btDzest->isEnabled());

    form.close();
    EXPECT_FALSE(form.isVisible());
    w().VarAtgreizt = false;
    EXPECT_EQ(&open(), &form);
    EXPECT_FALSE(form.btDzest->isEnabled());
    w().VarAtgreizt = true;
    open();
    EXPECT_TRUE(form.btDzest->isEnabled());
}

TEST_F(OrdersWindow, ServiceSettingsFromTheRegistryAndBack) {
    settings().writeText(kPasutijumiKey, "ApkArtikuls", "APK");
    settings().writeInteger(kPasutijumiKey, "Apkalposana", 12);  // of the other kind: the layout's text stays
    TPasutijumi& form = open();
    EXPECT_EQ(form.shApkalposana->text(), "10");
    EXPECT_EQ(form.shApkArtikuls->text(), "APK");
    form.shApkalposana->setText("12.5");
    form.move(40, 30);
    testsupport::closeTill();
    EXPECT_EQ(settings().readText(kPasutijumiKey, "Apkalposana").value_or(""), "12.5");
    EXPECT_EQ(settings().readText(kPasutijumiKey, "ApkArtikuls").value_or(""), "APK");
    EXPECT_TRUE(settings().readInteger(kPasutijumiKey, "Top").has_value());
}

TEST_F(OrdersWindow, TwelveKeyedItemsShowTheFirstElevenByName) {
    // The demo's four quick keys F5 .. F8 and eight more.
    for (int i = 0; i < 8; ++i)
        exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, NODALA, SHORTKEY) VALUES (:A, :G, 1, 1, :K)",
             {{"A", QString("Z%1").arg(i)}, {"G", QString("Zz %1").arg(i)}, {"K", QString("Ctrl+%1").arg(i)}});
    TPasutijumi& form = open();
    int shown = 0;
    for (QAction* item : form.Prece) shown += item->isVisible();
    EXPECT_EQ(shown, 11);
    EXPECT_EQ(form.Prece[0]->text(), "Cepta zivs ar kartupeļiem");
    EXPECT_EQ(form.Prece[0]->shortcut().toString(), "F8");
    EXPECT_EQ(form.Prece[10]->text(), "Zz 6");
    EXPECT_EQ(form.Prece[10]->shortcut().toString(), "Ctrl+6");

    // A quick item replaces whatever was typed and enters one unit of its item.
    serve("Anna", "1");
    form.shAtlaide->setText("10");
    form.shArtikuls->setText("2*202");
    form.Prece[1]->trigger();  // "Kafija ar pienu", F5
    const auto rows = stored();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].artikuls, "101");
    EXPECT_DOUBLE_EQ(rows[0].daudzums, 1);
    EXPECT_DOUBLE_EQ(rows[0].atlaide, -10);
    EXPECT_EQ(form.shArtikuls->text(), "");
}

// A quick item's key works from the field that has the keyboard, even a key the field edits with.
TEST_F(OrdersWindow, AQuickItemsKeyWorksFromTheItemField) {
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, NODALA, SHORTKEY) VALUES ('Z1', 'Zupa', 1, 1, 'Ctrl+Z')");
    TPasutijumi& form = open();
    serve("Anna", "1");
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.shArtikuls->setFocus();
    form.shArtikuls->setText("2");
    QTest::keyClick(form.shArtikuls, Qt::Key_Z, Qt::ControlModifier);
    const auto rows = stored();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].artikuls, "Z1");
}

TEST_F(OrdersWindow, EnteredLines) {
    TPasutijumi& form = open();
    serve("Anna", "1");
    const struct {
        const char* text;
        const char* atlaide;
        bool stored;
        const char* artikuls;
        double cena, daudzums, storedAtlaide;
        const char* message;
        const char* left;  // the field afterwards
    } cases[] = {
        {"2*101", "", true, "101", 1.80, 2, 0, nullptr, ""},
        {"101", "15", true, "101", 1.80, 1, -15, nullptr, ""},
        {"2*101=4.5", "100", true, "101", 4.5, 2, -100, nullptr, ""},
        {"2,5*101", "-5", true, "101", 1.80, 1, 5, "Lietots nepareizs komata atdalītājs, vai iavdīts nepareizs daudzums !!!", ""},
        {"101=abc", "", true, "101", 0.01, 1, 0, nullptr, ""},
        {"999", "", false, "", 0, 0, 0, "Artikuls 999 nav atrasts !!!", ""},
        {"999=3", "15", true, "999", 3, 1, 0, nullptr, ""},
        {"101", "101", false, "", 0, 0, 0, "Atlaide nedrīkst pārsniegt 100 %", "101"},
        // The promotion's 15 % lowers the line like a typed discount.
        {"4750003000015", "", true, "4750003000015", 1.49, 1, -15, nullptr, ""},
        // A box code is stored under the article with the typed quantity.
        {"2*14750002000013", "", true, "4750002000016", 0.65, 2, 0, nullptr, ""},
    };
    for (const auto& c : cases) {
        messages().clear();
        const std::size_t before = stored().size();
        form.shAtlaide->setText(c.atlaide);
        type(c.text);
        const auto rows = stored();
        EXPECT_EQ(rows.size(), before + (c.stored ? 1 : 0)) << c.text;
        if (c.stored && rows.size() > before) {
            EXPECT_EQ(rows.back().artikuls, c.artikuls) << c.text;
            EXPECT_DOUBLE_EQ(rows.back().cena, c.cena) << c.text;
            EXPECT_DOUBLE_EQ(rows.back().daudzums, c.daudzums) << c.text;
            EXPECT_DOUBLE_EQ(rows.back().atlaide, c.storedAtlaide) << c.text;
            EXPECT_EQ(rows.back().apmaksats, "F") << c.text;
            EXPECT_EQ(form.CurrentIsn(), rows.back().isn) << c.text;
        }
        EXPECT_EQ(messages().texts(), c.message ? QStringList{c.message} : QStringList{}) << c.text;
        EXPECT_EQ(form.shArtikuls->text(), c.left) << c.text;
    }
    // Every line joined the first one's order.
    for (const auto& row : stored()) EXPECT_EQ(row.pasutNr, 1);

    // The letter "p" enters the line typed so far.
    form.shAtlaide->clear();
    form.shArtikuls->setText("3*102");
    form.shArtikuls->setFocus();
    QTest::keyClick(form.shArtikuls, 'p');
    EXPECT_EQ(stored().back().artikuls, "102");
    EXPECT_DOUBLE_EQ(stored().back().daudzums, 3);
    EXPECT_EQ(form.shArtikuls->text(), "");
}

TEST_F(OrdersWindow, WaiterAndTableAreRequired) {
    TPasutijumi& form = open();
    const struct {
        const char *barmenis, *galds, *message;
        QWidget* focus;
    } cases[] = {
        {"", "1", "Nav ievadīts Bārmenis !!!", form.cmbBarmens},
        {"Anna", "", "Nav ievadīts galds !!!", form.cmbGalds},
    };
    for (const auto& c : cases) {
        messages().clear();
        serve(c.barmenis, c.galds);
        type("101");
        EXPECT_EQ(messages().texts(), QStringList{c.message});
        EXPECT_EQ(form.shArtikuls->text(), "101");
        EXPECT_TRUE(stored().empty());
    }
}

TEST_F(OrdersWindow, OrderNumbersAndTabs) {
    exec("INSERT INTO O_PASUT (DATUMS, PASUT_NR, GALDS, BARMENIS, ARTIKULS, CENA, DAUDZUMS, APMAKSATS) "
         "VALUES ('2020-01-01', 7, 'Vecais', 'Jānis', '101', 1, 1, 'T')");
    TPasutijumi& form = open();
    EXPECT_EQ(form.Lines().size(), 0u);
    serve("Anna", "Terase'2");
    type("101");  // the list is empty: a new order
    type("102");  // joins it: the list moved to the new line
    form.chkNewPasut->setChecked(true);
    type("201");
    EXPECT_FALSE(form.chkNewPasut->isChecked());
    serve("Anna", "5");
    type("202");  // a table without a tab: a new order, and the tab
    type("203");
    const auto rows = stored();
    ASSERT_EQ(rows.size(), 6u);
    const std::vector<int> numbers{rows[1].pasutNr, rows[2].pasutNr, rows[3].pasutNr, rows[4].pasutNr, rows[5].pasutNr};
    EXPECT_EQ(numbers, (std::vector<int>{8, 8, 9, 10, 10}));

    EXPECT_EQ(form.tabBarmeni->tabText(form.tabBarmeni->currentIndex()), "Anna");
    EXPECT_EQ(form.tabGaldi->tabText(form.tabGaldi->currentIndex()), "5");
    EXPECT_EQ(form.cmbBarmens->currentText(), "Anna");
    EXPECT_EQ(form.cmbGalds->currentText(), "5");
    EXPECT_EQ(form.FindGaldsTab("Terase'2"), form.FindGaldsTab("5") + 1);
    EXPECT_EQ(form.FindBarmenisTab("anna"), -1);
    // The list shows table 5's lines, named, with their total.
    ASSERT_EQ(form.Lines().size(), 2u);
    EXPECT_EQ(form.Lines()[0].nosaukums, "Cepta zivs ar kartupeļiem");
    EXPECT_EQ(form.shSumma->text(), "     11.70");

    // Choosing the tab of all tables lists the waiter's four orders' lines; the quoted table too.
    form.tabGaldi->setCurrentIndex(0);
    EXPECT_EQ(form.Lines().size(), 5u);
    EXPECT_EQ(form.cmbGalds->currentText(), "");
    form.tabGaldi->setCurrentIndex(form.FindGaldsTab("Terase'2"));
    EXPECT_EQ(form.Lines().size(), 3u);
    EXPECT_EQ(form.cmbGalds->currentText(), "Terase'2");
    // Paid lines show under "Apmaksātie" only.
    form.tabBarmeni->setCurrentIndex(0);
    form.DatumsNo->setDate(QDate(2019, 1, 1));
    form.AtlaseApmaksa->Item(1)->click();
    ASSERT_EQ(form.Lines().size(), 1u);
    EXPECT_EQ(form.Lines()[0].pasutNr, 7);
}

TEST_F(OrdersWindow, NamesThatReadLikeTheAllTabsFilterNothing) {
    for (const char* names : {"'Visi Bārmeņi', 'Visi'", "'Anna', '1'"})
        exec(QString("INSERT INTO O_PASUT (DATUMS, PASUT_NR, BARMENIS, GALDS, ARTIKULS, CENA, DAUDZUMS, APMAKSATS) "
                     "VALUES ('2026-03-02', 1, %1, '101', 1, 1, 'F')")
                 .arg(names));
    TPasutijumi& form = open();
    ASSERT_EQ(form.tabBarmeni->count(), 3);
    form.tabBarmeni->setCurrentIndex(2);  // the waiter named "Visi Bārmeņi"
    EXPECT_EQ(form.cmbBarmens->currentText(), "Visi Bārmeņi");
    EXPECT_EQ(form.Lines().size(), 2u);
    form.tabBarmeni->setCurrentIndex(1);
    EXPECT_EQ(form.Lines().size(), 1u);
    form.tabBarmeni->setCurrentIndex(0);
    form.tabGaldi->setCurrentIndex(form.tabGaldi->count() - 1);  // the table named "Visi"
    EXPECT_EQ(form.Lines().size(), 2u);
}

TEST_F(OrdersWindow, ServiceCharge) {
    TPasutijumi& form = open();
    serve("Anna", "1");
    form.shApkArtikuls->setText("APK");
    form.shApkalposana->setText("10");
    form.BitBtn5Click();  // no lines yet: the charge is 0
    type("10*101=2.5");
    form.BitBtn5Click();
    form.BitBtn5Click();  // the first charge is in the base
    const auto rows = stored();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].artikuls, "APK");
    EXPECT_DOUBLE_EQ(rows[0].cena, 0);
    EXPECT_EQ(rows[2].artikuls, "APK");
    EXPECT_DOUBLE_EQ(rows[2].cena, 2.5);
    EXPECT_DOUBLE_EQ(rows[2].daudzums, 1);
    EXPECT_NEAR(rows[3].cena, 2.75, 1e-9);

    const struct {
        const char *percent, *article, *message;
    } refused[] = {
        {"", "APK", "Nav ievadīts apkalpošanas % !!!"},
        {"10", "", "Nav ievadīts apkalpošanas artikuls !!!"},
    };
    for (const auto& r : refused) {
        messages().clear();
        form.shApkalposana->setText(r.percent);
        form.shApkArtikuls->setText(r.article);
        form.BitBtn5Click();
        EXPECT_EQ(messages().texts(), QStringList{r.message});
        EXPECT_EQ(stored().size(), 4u);
    }
    // Typed by hand, with a quantity: 10 % of 25.00 + 0 + 2.50 + 2.75.
    type("2*101=AP");
    const auto typed = stored();
    ASSERT_EQ(typed.size(), 5u);
    EXPECT_EQ(typed[4].artikuls, "101");
    EXPECT_DOUBLE_EQ(typed[4].daudzums, 2);
    EXPECT_NEAR(typed[4].cena, 3.025, 1e-9);
}

TEST_F(OrdersWindow, WaiterAndTableFromTheOnScreenKeyboard) {
    TPasutijumi& form = open();
    ASSERT_TRUE(Klaviatura);
    Klaviatura->shRinda->setText("vecais");
    const auto typeOnKeyboard = [](const QString& text) {
        QTimer::singleShot(0, [text] {
            Klaviatura->shRinda->insert(text);
            Klaviatura->btClose->click();
        });
    };
    typeOnKeyboard("Jānis");
    form.BitBtn6Click();  // the keyboard's line is emptied first
    EXPECT_EQ(form.cmbBarmens->currentText(), "Jānis");
    typeOnKeyboard("2");
    form.BitBtn8Click();  // it starts from what was typed last
    EXPECT_EQ(form.cmbGalds->currentText(), "Jānis2");
}

TEST_F(OrdersWindow, DeletingLines) {
    TPasutijumi& form = open();
    serve("Anna", "1");
    type("101");
    type("201");
    exec("UPDATE O_PASUT SET PRN_VIRTUVE='T' WHERE ARTIKULS='201'");
    type("102");
    type("202");
    form.RefreshPasutijumi(0);
    const auto at = [&](const char* artikuls) {
        for (const auto& row : stored())
            if (row.artikuls == artikuls) return row.isn;
        return 0;
    };
    const struct {
        const char* artikuls;
        int answer;
        bool kept;     // printed before: marked, not removed
        bool slip;     // the cancellation slip went to the default printer
        bool printer;  // the printer takes it
    } cases[] = {
        {"102", platform::ui::No, false, false, true},
        {"201", platform::ui::Yes, true, true, true},
        {"101", platform::ui::Yes, false, true, true},
        {"202", platform::ui::Yes, false, true, false},
    };
    for (const auto& c : cases) {
        slips.clear();
        printerReady = c.printer;
        const int isn = at(c.artikuls);
        ASSERT_NE(isn, 0) << c.artikuls;
        const int row = [&] {
            for (std::size_t i = 0; i < form.Lines().size(); ++i)
                if (form.Lines()[i].isn == isn) return int(i);
            return -1;
        }();
        ASSERT_GE(row, 0) << c.artikuls;
        form.grdO_PASUT->setCurrentIndex(form.grdO_PASUT->model()->index(row, 0));
        messages().clear();
        messages().answerNext(c.answer);
        form.btDzestClick();
        // A slip the printer did not take is told: the kitchen learns of the cancellation only from it.
        QStringList told{"Vai drukāt atteikumu uz virtuves printera ?"};
        if (!c.printer) told << kCancellationSlipNotPrinted;
        EXPECT_EQ(messages().texts(), told) << c.artikuls;
        const QVariant dzests = value("SELECT DZESTS FROM O_PASUT WHERE ISN=:I", {{"I", isn}});
        EXPECT_EQ(dzests.isValid(), c.kept) << c.artikuls;
        if (c.kept) {
            EXPECT_EQ(dzests.toString(), "T");
        }
        ASSERT_EQ(slips.size(), c.slip ? 1u : 0u) << c.artikuls;
        if (c.slip) {
            EXPECT_EQ(slips[0].headLines,
                      (QStringList{"Anulēts pasūtījums", "Bārmenis-Anna Galds-1 Pasūtījums Nr 1"}));
            ASSERT_EQ(slips[0].rows.size(), 1u);
        }
        for (const OrderLine& l : form.Lines()) EXPECT_NE(l.isn, isn) << c.artikuls;
    }
    EXPECT_TRUE(previews.empty());  // nothing waits on screen for the waiter to close
    EXPECT_EQ(form.shSumma->text(), "      0.00");
}

TEST_F(OrdersWindow, OnlyTheLinesMarkedWithCtrlClickMoveToANewOrder) {
    TPasutijumi& form = open();
    serve("Anna", "1");
    type("101");
    type("201");
    form.chkNewPasut->setChecked(true);
    serve("Anna", "2");
    type("102");  // another table's order, listed last
    form.tabGaldi->setCurrentIndex(0);  // every table
    ASSERT_EQ(form.Lines().size(), 3u);
    ASSERT_EQ(form.Lines().back().artikuls, "102");

    QTableView& grid = *form.grdO_PASUT;
    for (int row : {0, 1}) {
        const QRect cell = grid.visualRect(grid.model()->index(row, 1));
        ASSERT_TRUE(grid.viewport()->rect().contains(cell.center()));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, cell.center());
    }
    QTest::mouseClick(form.BitBtn2, Qt::LeftButton);

    QStringList orders;
    for (const Stored& row : stored()) orders << row.artikuls + ":" + QString::number(row.pasutNr);
    EXPECT_EQ(orders, (QStringList{"101:3", "201:3", "102:2"}));
}

TEST_F(OrdersWindow, OrderDiscountAndCustomer) {
    TPasutijumi& form = open();
    serve("Anna", "1");
    type("101");
    type("2*102");
    form.chkNewPasut->setChecked(true);
    type("201");  // another order, untouched
    form.grdO_PASUT->setCurrentIndex(form.grdO_PASUT->model()->index(0, 0));
    const auto discounts = [&] {
        std::vector<double> d;
        for (const auto& row : stored()) d.push_back(row.atlaide);
        return d;
    };
    const struct {
        const char* field;
        std::vector<double> expected;
        const char* message;
    } cases[] = {
        {"10", {-10, -10, 0}, nullptr},
        {"101", {-10, -10, 0}, "Atlaide nedrīkst pārsniegt 100 %"},
        {"", {0, 0, 0}, nullptr},
    };
    for (const auto& c : cases) {
        messages().clear();
        form.grdO_PASUT->setCurrentIndex(form.grdO_PASUT->model()->index(0, 0));
        form.shAtlaide->setText(c.field);
        form.btAtlaideVisamClick();
        EXPECT_EQ(discounts(), c.expected) << c.field;
        EXPECT_EQ(messages().texts(), c.message ? QStringList{c.message} : QStringList{}) << c.field;
    }

    // A customer of 5 % (K002), then a code nobody has: on every line of the current order.
    form.grdO_PASUT->setCurrentIndex(form.grdO_PASUT->model()->index(0, 0));
    type(">K002");
    EXPECT_EQ(discounts(), (std::vector<double>{-5, -5, 0}));
    EXPECT_EQ(value("SELECT COUNT(*) FROM O_PASUT WHERE KL_KODS='K002'").toInt(), 2);
    form.grdO_PASUT->setCurrentIndex(form.grdO_PASUT->model()->index(0, 0));
    type(">NAV");
    EXPECT_EQ(discounts(), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(value("SELECT COUNT(*) FROM O_PASUT WHERE KL_KODS='NAV'").toInt(), 2);
    EXPECT_EQ(form.shArtikuls->text(), "");
}

}  // namespace
