// Paying orders at the till on the real sale window: the lines and their discounts on the
// receipt, the customer and the note on every journal row, and the order marked paid only when
// the receipt that carries its lines was stored; the whole road from Ctrl+P to the paper.
#include "orders_window.h"

#include "fmproc.h"
#include "password_dlg.h"
#include "printer_sim.h"

#include <QTest>

namespace {

class OrderPayment : public OrdersWindow {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(OrdersWindow::SetUp());
        // ADMIN may choose customers only by scanning; the order's customer is typed by the window.
        PasswordDlg->KlElektron = false;
    }

    // Stores an order line as the window would have, for order `nr` at table 3 of Anna.
    int line(int nr, const char* artikuls, double cena, double daudzums, double atlaide, const QVariant& klKods = {},
             const QVariant& dzests = {}) {
        exec("INSERT INTO O_PASUT (DATUMS, PASUT_NR, GALDS, BARMENIS, ARTIKULS, CENA, DAUDZUMS, ATLAIDE, APMAKSATS, KL_KODS, "
             "DZESTS) VALUES ('2026-03-02', :N, '3', 'Anna', :A, :C, :Q, :AT, 'F', :K, :D)",
             {{"N", nr}, {"A", artikuls}, {"C", cena}, {"Q", daudzums}, {"AT", atlaide}, {"K", klKods}, {"D", dzests}});
        return value("SELECT MAX(ISN) FROM O_PASUT").toInt();
    }

    // Pays the order of the list's last line with this text.
    void pay(const QString& text) {
        f().RefreshPasutijumi(0);
        type(text);
    }

    // Typed into the sale window's item field and confirmed, as the cashier would.
    void atTheSaleWindow(const QString& text) {
        w().edArtikuls->setText(text);
        w().edArtikulsKeyPress(13);
    }

    std::vector<QString> paidFlags() {
        std::vector<QString> flags;
        for (const auto& row : stored()) flags.push_back(row.apmaksats);
        return flags;
    }

    // Rows of stored receipts, annulled ones left out.
    int journalRows(const QString& where = QStringLiteral("1=1")) {
        return value("SELECT COUNT(*) FROM REALIZ WHERE CEKA_NR IS NOT NULL AND (ANULETS IS NULL OR ANULETS<>'T') AND " + where)
            .toInt();
    }
};

TEST_F(OrderPayment, LinesWithTheirDiscountsTheCustomerOnceAndTheNoteOnEveryRow) {
    line(5, "101", 1.80, 2, -10, "K004");
    line(5, "102", 1.20, 1, 0, "K001");  // a later line's customer is not read
    line(5, "201", 3.90, 1, 0, {}, "T");
    line(5, "202", 7.50, 1, -20);
    open();
    pay("/0=20");
    EXPECT_EQ(w().RinduSkaits, 0) << messages().texts().join(" | ").toStdString();

    QSqlQuery q = exec("SELECT ARTIKULS, DAUDZUMS, CENA, ATLAIDE, KL_KODS, CITASZINAS FROM REALIZ "
                       "WHERE CEKA_NR IS NOT NULL ORDER BY ISN");
    struct Row {
        QString artikuls;
        double daudzums, cena, atlaide;
    };
    const std::vector<Row> expected{{"101", 2, 1.80, 10}, {"102", 1, 1.20, 0}, {"202", 1, 7.50, 20}};
    for (const Row& e : expected) {
        ASSERT_TRUE(q.next()) << e.artikuls.toStdString();
        EXPECT_EQ(q.value(0).toString(), e.artikuls);
        EXPECT_DOUBLE_EQ(q.value(1).toDouble(), e.daudzums);
        EXPECT_DOUBLE_EQ(q.value(2).toDouble(), e.cena);
        EXPECT_DOUBLE_EQ(q.value(3).toDouble(), e.atlaide);
        EXPECT_EQ(q.value(4).toString(), "K004");
        EXPECT_EQ(q.value(5).toString(), "Viesm.Anna P.Nr 5 Galds 3");
    }
    EXPECT_FALSE(q.next());
    EXPECT_EQ(paidFlags(), (std::vector<QString>{"T", "T", "T", "T"}));
    EXPECT_TRUE(f().Lines().empty());
    EXPECT_EQ(f().shArtikuls->text(), "");
}

TEST_F(OrderPayment, AnOrderIsMarkedPaidOnlyWithItsStoredReceipt) {
    // A surcharge becomes a negative typed discount, which the till refuses: the payment text is
    // not handed over, so the receipt is not closed without that line.
    line(6, "101", 1.80, 1, 0);
    line(6, "102", 1.20, 1, 5);
    open();
    pay("/0=20");
    EXPECT_TRUE(messages().shown("Atlaide nedrīkst pārsniegt 100 % vai būt mazāka par 0"));
    EXPECT_EQ(w().RinduSkaits, 1);
    EXPECT_EQ(journalRows(), 0);
    EXPECT_EQ(paidFlags(), (std::vector<QString>{"F", "F"}));
    w().AnuletCeku();

    // A payment the till refuses leaves the lines on the open receipt and the order unpaid; the
    // cashier annuls that receipt.
    exec("UPDATE O_PASUT SET ATLAIDE=0");
    messages().clear();
    pay("/");
    EXPECT_TRUE(messages().shown("Obligāti jāievada saņemtās naudas summa !!!")) << messages().texts().join(" | ").toStdString();
    EXPECT_EQ(w().RinduSkaits, 2);
    w().AnuletCeku();
    EXPECT_EQ(w().RinduSkaits, 0);
    EXPECT_EQ(paidFlags(), (std::vector<QString>{"F", "F"}));
    EXPECT_EQ(journalRows(), 0);

    // Paid at last.
    pay("/0=5");
    EXPECT_EQ(journalRows(), 2);
    EXPECT_EQ(paidFlags(), (std::vector<QString>{"T", "T"}));
}

TEST_F(OrderPayment, AnOrderPaidLaterAtTheSaleWindowIsMarkedWithThatReceipt) {
    line(8, "101", 1.80, 1, 0);
    line(8, "102", 1.20, 1, 0);
    open();
    pay("/");  // refused: the lines wait on the open receipt
    ASSERT_EQ(w().RinduSkaits, 2);
    ASSERT_EQ(paidFlags(), (std::vector<QString>{"F", "F"}));

    // A line the waiter adds meanwhile is not on that receipt.
    line(8, "201", 3.90, 1, 0);
    atTheSaleWindow("/0=10");
    ASSERT_EQ(w().RinduSkaits, 0) << messages().texts().join(" | ").toStdString();
    EXPECT_EQ(journalRows(), 2);
    EXPECT_EQ(paidFlags(), (std::vector<QString>{"T", "T", "F"}));

    // The next receipt owes the order nothing.
    exec("UPDATE O_PASUT SET APMAKSATS='F'");
    atTheSaleWindow("101");
    atTheSaleWindow("/0=5");
    EXPECT_EQ(journalRows(), 3);
    EXPECT_EQ(paidFlags(), (std::vector<QString>{"F", "F", "F"}));

    // Nor does one that follows an annulled hand-over.
    exec("UPDATE O_PASUT SET DZESTS='T' WHERE ARTIKULS='201'");
    pay("/");
    ASSERT_EQ(w().RinduSkaits, 2);
    w().AnuletCeku();
    atTheSaleWindow("101");
    atTheSaleWindow("/0=5");
    EXPECT_EQ(journalRows(), 4);
    EXPECT_EQ(paidFlags(), (std::vector<QString>{"F", "F", "F"}));
}

// The lines the sale window took before it refused one are paid with the receipt that carries
// them, wherever it is paid; the refused line stays unpaid for another receipt.
TEST_F(OrderPayment, LinesTakenBeforeARefusedOneArePaidWithTheirReceipt) {
    line(10, "101", 1.80, 1, 0);
    line(10, "102", 1.20, 1, 5);  // a surcharge: refused
    open();
    pay("/0=20");
    ASSERT_EQ(w().RinduSkaits, 1);
    w().edAtlaide->clear();  // the refused surcharge is still in the discount field
    atTheSaleWindow("/0=5");
    ASSERT_EQ(w().RinduSkaits, 0) << messages().texts().join(" | ").toStdString();
    EXPECT_EQ(journalRows(), 1);
    EXPECT_EQ(paidFlags(), (std::vector<QString>{"T", "F"}));
}

TEST_F(OrderPayment, AMarkingThatFailsIsToldAndTheReceiptStands) {
    line(9, "101", 1.80, 1, 0);
    exec("CREATE EXCEPTION ORDERS_LOCKED 'orders are locked'");
    exec("CREATE TRIGGER O_PASUT_LOCKED FOR O_PASUT BEFORE UPDATE AS BEGIN EXCEPTION ORDERS_LOCKED; END");
    open();
    pay("/0=5");
    EXPECT_EQ(w().RinduSkaits, 0);
    EXPECT_EQ(journalRows(), 1);
    EXPECT_EQ(paidFlags(), (std::vector<QString>{"F"}));
    EXPECT_TRUE(messages().texts().join(" | ").contains("orders are locked")) << messages().texts().join(" | ").toStdString();
}

TEST_F(OrderPayment, ALineAddedToAPaidOrderIsChargedAlone) {
    line(7, "101", 1.80, 1, 0);
    TPasutijumi& form = open();
    pay("/0=5");
    ASSERT_EQ(journalRows(), 1);

    // All lines listed; the paid one is the current line, so the next joins its order.
    form.AtlaseApmaksa->Item(2)->click();
    serve("Anna", "3");
    type("201");
    ASSERT_EQ(stored().back().pasutNr, 7);
    type("/0=5");
    EXPECT_EQ(journalRows(), 2);
    EXPECT_EQ(journalRows("ARTIKULS='101'"), 1);
    EXPECT_EQ(journalRows("ARTIKULS='201'"), 1);
    EXPECT_EQ(paidFlags(), (std::vector<QString>{"T", "T"}));
}

TEST_F(OrderPayment, FromCtrlPToThePaper) {
    QAction* menu = w().findChild<QAction*>("Pastjumasastdana1");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->shortcut(), QKeySequence("Ctrl+P"));
    // The menu's keys reach the window that has the focus, as on the till's screen.
    w().show();
    w().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w(), 5000));
    w().edArtikuls->setFocus();
    QTest::keyClick(w().edArtikuls, Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(Pasutijumi);
    TPasutijumi& form = f();
    ASSERT_TRUE(form.isVisible());

    serve("Anna", "1");
    type("2*101");
    type("201");
    serve("Anna", "2");
    type("202");
    ASSERT_EQ(stored().size(), 3u);
    EXPECT_EQ(stored()[2].pasutNr, 2);

    // Back to table 1's order and paid in cash.
    form.tabGaldi->setCurrentIndex(form.FindGaldsTab("1"));
    type("/0=20");
    EXPECT_EQ(w().RinduSkaits, 0) << messages().texts().join(" | ").toStdString();

    EXPECT_TRUE(printed("Čeks Nr 42")) << printer->paperText();
    EXPECT_TRUE(printed("0-Skaidra nauda EUR         20.00")) << printer->paperText();
    EXPECT_EQ(record("CEKANRCOUN").toInt(), 42);
    EXPECT_EQ(journalRows("CITASZINAS='Viesm.Anna P.Nr 1 Galds 1'"), 2);
    EXPECT_EQ(journalRows(), 2);
    EXPECT_EQ(paidFlags(), (std::vector<QString>{"T", "T", "F"}));
    // Table 2's order is what the list still shows.
    EXPECT_EQ(form.Lines().size(), 0u);
    form.tabGaldi->setCurrentIndex(0);
    ASSERT_EQ(form.Lines().size(), 1u);
    EXPECT_EQ(form.Lines()[0].galds, "2");
}

}  // namespace
