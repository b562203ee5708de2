// The print buttons, merging and moving orders and the waiter report on the real orders window,
// offscreen, with the receipt printer (a 36-character type) simulated on COM2 and the kitchen
// slips kept as the default printer would take them.
#include "orders_window.h"

#include "order_printing.h"
#include "order_merge.h"

#include <QItemSelectionModel>

#include <algorithm>

namespace {

class OrderPrintingWindow : public OrdersWindow {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(OrdersWindow::SetUp());
        platform::report::setPrintHandler([this](const platform::report::Report& r) {
            kitchen.push_back(r);
            return true;
        });
    }
    void TearDown() override {
        platform::report::setPrintHandler({});
        OrdersWindow::TearDown();
    }
    // The receipt lines printed since `from`, up to the first empty line (the feed).
    std::vector<std::string> slipSince(std::size_t from) {
        const auto all = paper();
        std::vector<std::string> slip;
        for (std::size_t i = from; i < all.size() && !all[i].empty(); ++i) slip.push_back(all[i]);
        return slip;
    }
    static std::string trimmed(const QString& line) {
        QString text = line.left(36);
        while (text.endsWith(u' ')) text.chop(1);
        return text.toStdString();
    }
    int flagged(const char* flag) {
        return value(QStringLiteral("SELECT COUNT(*) FROM O_PASUT WHERE %1='T'").arg(flag)).toInt();
    }
    QString heading() {
        return f().tabBarmeni->tabText(f().tabBarmeni->currentIndex()) + " Galds-" +
               f().tabGaldi->tabText(f().tabGaldi->currentIndex()) + " Pasūt. Nr " + QString::number(f().CurrentPasutNr());
    }

    std::vector<platform::report::Report> kitchen;
};

TEST_F(OrderPrintingWindow, AnOrderSentToBarAndKitchenOneMoreLineThenItsBill) {
    open();
    serve("Anna", "3");
    type("101");  // Kafija ar pienu, bar
    type("201");  // Soļanka, kitchen
    const std::string rule(28, '-');

    auto before = paper().size();
    f().btPrnBarsVirtuve->click();
    EXPECT_EQ(slipSince(before), (std::vector<std::string>{rule, trimmed("Viesm." + heading()), rule,
                                                           trimmed(BarSlipLine(1, "Kafija ar pienu", 1)), rule}));
    ASSERT_EQ(kitchen.size(), 1u);
    ASSERT_EQ(kitchen[0].rows.size(), 1u);
    EXPECT_EQ(kitchen[0].rows[0].values[0].toString(), "Soļanka");
    EXPECT_EQ(flagged("PRN_BARS"), 2);
    EXPECT_EQ(flagged("PRN_VIRTUVE"), 2);

    // One more line of each kind: the bar gets the new coffee alone, the kitchen nothing new.
    type("101");
    before = paper().size();
    f().btPrnBars->click();
    EXPECT_EQ(slipSince(before), (std::vector<std::string>{rule, trimmed("Viesm." + heading()), rule,
                                                           trimmed(BarSlipLine(1, "Kafija ar pienu", 1)), rule}));
    f().btPrnVirtuvei->click();
    EXPECT_EQ(kitchen.size(), 1u);

    // The bill joins the two coffees first.
    before = paper().size();
    f().btPrnRekins->click();
    const std::vector<std::string> bill = slipSince(before);
    const std::vector<std::string> expected{trimmed("-------------- RĒĶINS ------------------"),
                                            trimmed("- Viesm." + f().tabBarmeni->tabText(f().tabBarmeni->currentIndex())),
                                            trimmed(QString(40, u'-')),
                                            trimmed(BillLine(1, "Kafija ar pienu", 2, 3.60)),
                                            trimmed(BillLine(1, "Soļanka", 1, 3.90)),
                                            trimmed(QString(40, u'-')),
                                            trimmed(BillTotalLine(1, 7.50)),
                                            trimmed(QString(40, u'-'))};
    ASSERT_EQ(bill.size(), 10u);
    EXPECT_EQ(bill[0], expected[0]);
    EXPECT_EQ(bill[1], expected[1]);
    EXPECT_EQ(std::vector<std::string>(bill.begin() + 3, bill.begin() + 9),
              std::vector<std::string>(expected.begin() + 2, expected.end()));
    EXPECT_EQ(bill[9].substr(bill[9].size() - 9), "Kas:ADMIN");
    EXPECT_EQ(value("SELECT COUNT(*) FROM O_PASUT").toInt(), 2);
    EXPECT_EQ(flagged("PRN_REKINS"), 2);
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();
}

TEST_F(OrderPrintingWindow, AnAdditionBilledBeforeItWentToTheBarStillGoesThere) {
    open();
    serve("Anna", "3");
    type("101");
    f().btPrnBars->click();
    type("101");
    type("101");

    // The bill before "Bāram": the sent coffee and the two new ones stay apart.
    auto before = paper().size();
    f().btPrnRekins->click();
    const std::vector<std::string> bill = slipSince(before);
    ASSERT_GE(bill.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(bill.begin() + 4, bill.begin() + 7),
              (std::vector<std::string>{trimmed(BillLine(1, "Kafija ar pienu", 1, 1.80)),
                                        trimmed(BillLine(1, "Kafija ar pienu", 2, 3.60)), trimmed(QString(40, u'-'))}));

    // The bar still gets the two.
    before = paper().size();
    f().btPrnBars->click();
    const std::vector<std::string> slip = slipSince(before);
    ASSERT_EQ(slip.size(), 5u);
    EXPECT_EQ(slip[3], trimmed(BarSlipLine(1, "Kafija ar pienu", 2)));
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();
}

TEST_F(OrderPrintingWindow, MergingMovingAndTheWaiterReport) {
    TPasutijumi& form = open();
    serve("Anna", "3");
    type("101");
    type("201");
    form.chkNewPasut->setChecked(true);
    serve("Jānis", "5");
    type("102");
    const auto orders = [&] {
        QStringList rows;
        QSqlQuery q = exec("SELECT ARTIKULS, PASUT_NR, GALDS FROM O_PASUT ORDER BY ISN");
        while (q.next()) rows << q.value(0).toString() + ":" + q.value(1).toString() + ":" + q.value(2).toString();
        return rows.join(' ').toStdString();
    };
    ASSERT_EQ(orders(), "101:1:3 201:1:3 102:2:5");

    // The two empty fields.
    form.BitBtn3->click();
    form.shPasutNo->setText("1");
    form.BitBtn3->click();
    EXPECT_EQ(messages().texts(), (QStringList{kNoMergeSource, kNoMergeTarget}));
    EXPECT_EQ(orders(), "101:1:3 201:1:3 102:2:5");

    // Order 1 into order 2: its table too.
    form.shPasutUz->setText("2");
    form.cmbGalds->setEditText("");
    form.BitBtn3->click();
    EXPECT_EQ(orders(), "101:2:5 201:2:5 102:2:5");
    EXPECT_EQ(form.cmbGalds->currentText(), "5");

    // Two marked lines into a new order.
    form.tabBarmeni->setCurrentIndex(0);  // every waiter
    form.tabGaldi->setCurrentIndex(0);    // every table
    ASSERT_EQ(form.Lines().size(), 3u);
    QItemSelectionModel* marks = form.grdO_PASUT->selectionModel();
    marks->clearSelection();
    for (int row = 0; row < int(form.Lines().size()); ++row)
        if (form.Lines()[std::size_t(row)].artikuls != "102")
            marks->select(form.grdO_PASUT->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    form.BitBtn2->click();
    EXPECT_EQ(orders(), "101:3:5 201:3:5 102:2:5");

    // The waiter report of today.
    const auto before = paper().size();
    form.Brmeuatskaite1->trigger();
    const auto report = slipSince(before);
    ASSERT_GE(report.size(), 4u);
    EXPECT_EQ(report[1], "-    Viesmīļu atskaite     -");
    EXPECT_EQ(report[3], "---------- Anna -----------");
    EXPECT_NE(std::find(report.begin(), report.end(), "Kopā realizēts =    6.90"), report.end());  // 1.80 + 3.90 + 1.20
}

}  // namespace
