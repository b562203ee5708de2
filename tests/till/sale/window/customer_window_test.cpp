// Customers, returns by receipt number and the touch keys on the real sale window, offscreen, on
// the demo database with the fiscal-memory module and the receipt printer simulated: the code
// field's look-ups with PIN and scan-only timing, a stored receipt taken back by its number, the
// keypad and quick keys, deleting a line, and a whole touch-only sale and its return.
#include "customer_choice.h"
#include "datumodelis.h"
#include "fmproc.h"
#include "frame_objects.h"
#include "klaviatura.h"
#include "password_dlg.h"
#include "posmain.h"
#include "receipt_print.h"
#include "receipt_return.h"
#include "small_dialogs.h"

#include "till_window.h"
#include "ui_services.h"

#include <QApplication>
#include <QDateTime>
#include <QFocusEvent>
#include <QSqlRecord>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {

std::chrono::system_clock::time_point At(const QDate& day, const QTime& time) {
    return std::chrono::system_clock::time_point(std::chrono::milliseconds(QDateTime(day, time).toMSecsSinceEpoch()));
}

class CustomerWindow : public testsupport::TillWindowTest {
protected:
    CustomerWindow() : TillWindowTest({.printerType = 1, .display = false}) {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TillWindowTest::SetUp());
        {
            TFMProc fm;
            ASSERT_TRUE(fm.FMWrite("NOD_D_SUM", testsupport::departmentRates(21)));
            ASSERT_TRUE(fm.FMWrite("CEKANRCOUN", "00000000041"));
            // Kinds 2 and 4 in use, kind 3 not: the list has a gap.
            ASSERT_TRUE(fm.FMWrite("APMVEID1", "Dāvanu karte"));
            ASSERT_TRUE(fm.FMWrite("APMVEID2", "Apmaksas veids 2"));
            ASSERT_TRUE(fm.FMWrite("APMVEID3", "Pārskaitījums"));
        }
        const struct {
            const char* kods;
            const char* gnos;
            double atlaide;
            const char* pin;
        } customers[] = {
            {"12345", "Alfa 12345", 2, nullptr},  {";=12", "Semikols", 0, nullptr},   {"1234", "Viens divi", 1, nullptr},
            {"00123", "Nulles", 0, nullptr},      {"0000000999", "Garie", 0, nullptr}, {"abc", "Mazie burti", 4, nullptr},
            {"P1", "Ar PIN", 7, "Ab12"},           {"000777", "Nulle PIN", 3, "55"},
        };
        for (const auto& c : customers)
            exec("INSERT INTO N_KLIENTI (KODS, GNOS, ADRESE, PVN_KODS, ATLAIDE, PINKODS) VALUES (:K, :G, 'Adrese 1', 'LV9', :A, :P)",
                 {{"K", c.kods}, {"G", QString::fromUtf8(c.gnos)}, {"A", c.atlaide}, {"P", c.pin ? QVariant(c.pin) : QVariant()}});
        ASSERT_TRUE(startTill());
        // ADMIN may choose customers only by scanning; the tests of the timing say so themselves.
        PasswordDlg->KlElektron = false;
        messages().clear();
    }

    // Runs `action` while a modal dialog of this kind may open; the first one that does gets
    // `fill` and is closed. True when one opened.
    template <typename Dialog>
    bool answering(QPointer<Dialog>& dialog, const std::function<void(Dialog&)>& fill, const std::function<void()>& action) {
        bool opened = false;
        QTimer timer;
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (!dialog || !dialog->isVisible()) return;
            opened = true;
            timer.stop();
            fill(*dialog);
            dialog->accept();
        });
        timer.start();
        action();
        return opened;
    }

    // The code field left with this text; true when the PIN was asked (and answered with `pin`).
    bool chooseByCode(const QString& code, const QString& pin = {}) {
        w().shKlKods->setText(code);
        return answering<TPinKods>(::PinKods, [&](TPinKods& d) { d.shPinKods->setText(pin); }, [&] { w().shKlKodsExit(); });
    }

    void leave(QWidget* field) {
        QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
        QApplication::sendEvent(field, &out);
    }

    void click(const char* name) {
        auto* key = w().findChild<QPushButton*>(name);
        ASSERT_NE(key, nullptr) << name;
        key->click();
    }

    void addStoredRow(int cekaNr, const QDate& datums, const char* artikuls, double cena, double daudzums, int apmVeids,
                      const QString& apmRinda = {}, const QString& klKods = {}, const QString& klNosaukums = {},
                      const QString& klRegNr = {}) {
        exec("INSERT INTO REALIZ (CEKA_NR, DATUMS, LAIKS, KL_KODS, KL_NOSAUKUMS, KL_REG_NR, ARTIKULS, CENA, NODOKLIS, "
             "DAUDZUMS, ATLAIDE, APM_VEIDS, NODALA, APM_RINDA, CITASZINAS, ANULETS) VALUES (:N, :D, '10:00:00', :KK, :KN, :KR, "
             ":A, :C, 1, :Q, 0, :AV, 1, :AR, 'Piezīme', 'F')",
             {{"N", cekaNr}, {"D", datums}, {"KK", klKods}, {"KN", klNosaukums}, {"KR", klRegNr}, {"A", artikuls},
              {"C", cena}, {"Q", daudzums}, {"AV", apmVeids}, {"AR", apmRinda}});
    }

    void returnMode() {
        if (w().rdPirkumsStorno->ItemIndex() == 0) w().PirkumsAtgrieana1Click();
        ASSERT_EQ(w().rdPirkumsStorno->ItemIndex(), 1);
    }

    int counter() { return record("CEKANRCOUN").toInt(); }

    std::vector<QSqlRecord> rowsOf(int cekaNr) {
        std::vector<QSqlRecord> rows;
        QSqlQuery q = exec("SELECT * FROM REALIZ WHERE CEKA_NR = :N ORDER BY ISN", {{"N", cekaNr}});
        while (q.next()) rows.push_back(q.record());
        return rows;
    }
};

TEST_F(CustomerWindow, CodeLookUpsAndPins) {
    const struct {
        const char* code;
        const char* pin;  // the answer, when asked
        bool pinAsked;
        const char* shownCode;  // the field afterwards
        const char* name;       // empty: nobody chosen
        const char* discount;
        QString message;
    } cases[] = {
        {"12345=6789", "", false, "12345", "Alfa 12345", "2", {}},
        {";=12", "", false, ";=12", "Semikols", "0", {}},
        {"=5", "", false, "", "", "9", kKlientsNavAtrasts},
        {"0001234", "", false, "1234", "Viens divi", "1", {}},
        {"0000000123", "", false, "00123", "Nulles", "0", {}},
        {"0000000999", "", false, "00999", "Garie", "0", {}},  // found only with its zeros
        {"ABC", "", false, "ABC", "Mazie burti", "4", {}},
        {"P1", "Ab12", true, "P1", "Ar PIN", "7", {}},
        {"p1", "Ab12", true, "p1", "Ar PIN", "7", {}},
        {"P1", "0000", true, "", "", "9", kPinNepareizs},
        {"P1", "ab12", true, "", "", "9", kPinNepareizs},
        {"000777", "55", true, "777", "Nulle PIN", "3", {}},  // zeros kept: the PIN is asked all the same
        {"000777", "", true, "", "", "9", kPinNepareizs},
        {"K9", "", false, "", "", "9", kKlientsNavAtrasts},
    };
    for (const auto& c : cases) {
        w().ClearKlients();
        w().edAtlaide->setText("9");
        messages().clear();
        EXPECT_EQ(chooseByCode(c.code, c.pin), c.pinAsked) << c.code;
        EXPECT_EQ(w().shKlKods->text(), c.shownCode) << c.code;
        EXPECT_EQ(w().shKlientaNosaukums->text(), QString::fromUtf8(c.name)) << c.code;
        EXPECT_EQ(w().shAdrese->text(), *c.name ? "Adrese 1" : "") << c.code;
        EXPECT_EQ(w().shRegNr->text(), *c.name ? "LV9" : "") << c.code;
        EXPECT_EQ(w().edAtlaide->text(), c.discount) << c.code;
        EXPECT_EQ(w().dblKlientuSaraksts->currentText(), QString::fromUtf8(c.name)) << c.code;
        EXPECT_EQ(messages().texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.code;
    }
    // The list loads without a PIN.
    messages().clear();
    w().dblKlientuSaraksts->setCurrentIndex(w().dblKlientuSaraksts->findText("Ar PIN"));
    w().dblKlientuSarakstsCloseUp();
    EXPECT_EQ(w().edAtlaide->text(), "7");
    EXPECT_TRUE(messages().texts().isEmpty());
}

TEST_F(CustomerWindow, ScanOnlyCashierIsTimedFromTheFirstKey) {
    PasswordDlg->KlElektron = true;
    const QDate day(2024, 5, 10);
    const struct {
        QTime firstKey;
        int exitAfterMs;
        bool refused;
    } cases[] = {
        {QTime(23, 59, 59, 900), 400, false},  // past midnight
        {QTime(10, 0), 430, false},
        {QTime(10, 0), 440, true},
    };
    for (const auto& c : cases) {
        w().ClearKlients();
        w().shKlientaNosaukums->setText("Iepriekšējais");
        messages().clear();
        clock().set(At(day, c.firstKey));
        QTest::keyClicks(w().shKlKods, "12345");
        clock().advance(std::chrono::milliseconds(c.exitAfterMs));
        w().shKlKodsExit();
        EXPECT_EQ(messages().texts(), c.refused ? QStringList{kTikaiElektroniski} : QStringList()) << c.exitAfterMs;
        EXPECT_EQ(w().shKlKods->text(), c.refused ? "" : "12345");
        EXPECT_EQ(w().shKlientaNosaukums->text(), c.refused ? "Iepriekšējais" : "Alfa 12345");
    }
    // An empty field left long after the last stamp.
    messages().clear();
    w().ClearKlients();
    clock().advance(std::chrono::minutes(5));
    leave(w().shKlKods);
    EXPECT_EQ(messages().texts(), QStringList{kTikaiElektroniski});
}

TEST_F(CustomerWindow, TheCodeFieldIsLookedUpOncePerLeaving) {
    // Enter moves on to the item field; leaving for a dialog or a pop-up is no leaving.
    w().shKlKods->setText("K9");
    QFocusEvent toDialog(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(w().shKlKods, &toDialog);
    EXPECT_TRUE(messages().texts().isEmpty());
    leave(w().shKlKods);
    EXPECT_EQ(messages().texts(), QStringList{kKlientsNavAtrasts});
    // The payer fields are edits the keyboard writes.
    messages().clear();
    answering<TKlaviatura>(::Klaviatura, [](TKlaviatura& k) { k.shRinda->setText("SIA Pircējs"); },
                           [&] { click("btMaksatajs"); });
    EXPECT_EQ(w().shKlientaNosaukums->text(), "SIA Pircējs");
    answering<TKlaviatura>(::Klaviatura, [](TKlaviatura& k) { k.shRinda->setText("K002"); }, [&] { click("btF5_Key"); });
    EXPECT_EQ(w().shKlKods->text(), "K002");  // not looked up until the field is left
    EXPECT_EQ(w().shKlientaNosaukums->text(), "SIA Pircējs");

    // The second screen, when there is one, shows the payer as it is typed.
    QWidget screen;
    auto* name = new QLabel(&screen);
    name->setObjectName("shKlientaNosaukums");
    auto* regNr = new QLineEdit(&screen);
    regNr->setObjectName("shRegNr");
    ::KlientLielaisEkrans = &screen;
    w().shRegNr->setText("LV40003000009");
    EXPECT_EQ(name->text(), "SIA Pircējs");
    EXPECT_EQ(regNr->text(), "LV40003000009");
    ::KlientLielaisEkrans = nullptr;
    w().shRegNr->setText("LV1");  // none now: nothing to copy into
}

TEST_F(CustomerWindow, KeypadAndQuickKeys) {
    // B3 is 203 at 4.20, A1 is 101 at 1.80.
    const struct {
        std::vector<const char*> keys;  // keypad captions, or "qB3" for a quick key
        const char* field;              // the item field before the entry
        int lines;
        double total;
    } cases[] = {
        {{"1", "2", "Daudzums *", "qB3"}, "12*203", 1, 50.40},
        {{"Cena =", "2", ".", "5", "qA1"}, "101=2.5", 1, 2.50},
        {{"7", "C", "Cena =", "<-", "qA1"}, "101", 1, 1.80},
        {{"3", "Daudzums *", "4750001000017", "Enter"}, "3*4750001000017", 1, 6.45},
    };
    for (const auto& c : cases) {
        QString seen;
        const auto watch = QObject::connect(w().edArtikuls, &QLineEdit::textChanged, [&](const QString& t) {
            if (!t.isEmpty()) seen = t;
        });
        for (const char* key : c.keys) {
            const QString k = QString::fromUtf8(key);
            if (k.startsWith('q')) w().QuickKeyClick(QuickKeyIndex(k.mid(1)));
            else if (k.size() > 3 && k.at(0).isDigit()) w().edArtikuls->insert(k);
            else w().KeypadClick(k);
        }
        QObject::disconnect(watch);
        EXPECT_EQ(seen, c.field);
        EXPECT_EQ(w().RinduSkaits, c.lines) << c.field;
        EXPECT_NEAR(w().CekaSumma, c.total, 1e-9) << c.field;
        EXPECT_EQ(w().edArtikuls->text(), "");  // Enter reached the item field
        click("btAnuletCeku");
        EXPECT_EQ(w().RinduSkaits, 0);
    }
    // "<-" on an empty field does nothing; "Anul.pēd.rindu" voids the last line.
    w().KeypadClick("<-");
    EXPECT_EQ(w().edArtikuls->text(), "");
    w().QuickKeyClick(0);
    click("btAnuletRindinu");
    EXPECT_EQ(w().RinduSkaits, 2);
    EXPECT_NEAR(w().CekaSumma, 0, 1e-9);
    click("btAnuletCeku");
}

TEST_F(CustomerWindow, DeletingLines) {
    for (const char* key : {"A1", "A2", "B1", "B2", "B3"}) w().QuickKeyClick(QuickKeyIndex(key));  // 101 102 201 202 203
    ASSERT_EQ(w().RinduSkaits, 5);
    const auto rowOf = [&](int line) {
        for (int i = 0; i < w().PirkumuSaraksts->count(); ++i)
            if (w().PirkumuSaraksts->item(i)->text().endsWith("|" + QString::number(line) + "|")) return i;
        return -1;
    };
    w().PirkumuSaraksts->setCurrentRow(rowOf(1));
    w().Dzstierakstu1Click();
    ASSERT_EQ(w().RinduSkaits, 4);
    const char* left[] = {"101", "201", "202", "203"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(w().CekaRindas[std::size_t(i)].Artikuls, left[i]);
    EXPECT_NEAR(w().CekaSumma, 1.80 + 3.90 + 7.50 + 4.20, 1e-9);
    EXPECT_EQ(w().shCekaSumma->text().trimmed(), "17.40");
    // The closing empty row and no selection delete nothing.
    w().PirkumuSaraksts->setCurrentRow(w().PirkumuSaraksts->count() - 1);
    w().Dzstierakstu1Click();
    w().PirkumuSaraksts->setCurrentRow(-1);
    w().Dzstierakstu1Click();
    EXPECT_EQ(w().RinduSkaits, 4);
    // A name holding "|" deletes its own line.
    w().CekaRindas[3].Nosaukums = "Zupa |0| ar maizi";
    w().RefreshPirkumuSaraksts();
    w().PirkumuSaraksts->setCurrentRow(rowOf(3));
    w().Dzstierakstu1Click();
    ASSERT_EQ(w().RinduSkaits, 3);
    EXPECT_EQ(w().CekaRindas[0].Artikuls, "101");
    EXPECT_EQ(w().CekaRindas[2].Artikuls, "202");
    click("btAnuletCeku");
}

TEST_F(CustomerWindow, ReturnsByNumber) {
    const QDate old(2013, 11, 5), now(2024, 5, 10);
    addStoredRow(501, old, "4750001000017", 1.51, 2, 1);  // 3.02 lats
    addStoredRow(501, old, "4750001000024", 4.01, 1, 1);  // 4.01 lats
    addStoredRow(502, now, "4750001000017", 2.15, 2, 1, "/0=3.30/1=1.00");
    addStoredRow(503, now, "4750001000024", 1.49, 1, 1, {}, "K002");
    addStoredRow(504, now, "4750001000024", 1.49, 1, 1, {}, {}, "SIA Pircējs", "LV40003000009");
    addStoredRow(505, now, "4750001000024", 1.49, 1, 5);  // kind 4, after the gap
    addStoredRow(506, now, "4750001000024", 1.49, 1, 13);  // lats cash: back in cash

    const struct {
        const char* number;
        QString question;      // empty: none asked
        int apmVeids;          // of the return rows; 0: nothing stored
        double total;          // of the return rows
        const char* apmRinda;
        const char* klKods;
        const char* klNosaukums;
        const char* payerLine;  // on the paper
    } cases[] = {
        {"501", ReturnQuestion(7.03, kLatiParEiro), 1, -10.01, "", "", "", nullptr},
        {"502", ReturnQuestion(4.30, 1), 1, -4.30, "/0=3.30/1=1.00", "", "", nullptr},
        {"503", ReturnQuestion(1.49, 1), 1, -1.49, "", "K002", "", "Maksātājs Jānis Bērziņš"},
        {"504", ReturnQuestion(1.49, 1), 1, -1.49, "", "", "SIA Pircējs", "Maksātājs SIA Pircējs"},
        {"505", ReturnQuestion(1.49, 1), 5, -1.49, "", "", "", nullptr},
        {"506", ReturnQuestion(1.49, 1), 1, -1.49, "", "", "", nullptr},
        {"999", {}, 0, 0, "", "", "", nullptr},
        {"abc", {}, 0, 0, "", "", "", nullptr},
    };
    for (const auto& c : cases) {
        messages().clear();
        returnMode();
        const int before = counter();
        w().shAtgrnr->setText(c.number);
        w().shAtgrnrKeyPress(13);
        EXPECT_EQ(messages().texts(), c.question.isEmpty() ? QStringList() : QStringList{c.question}) << c.number;
        EXPECT_EQ(w().RinduSkaits, 0) << c.number << messages().texts().join("|").toStdString();
        if (!c.apmVeids) {
            EXPECT_EQ(counter(), before) << c.number;
            continue;
        }
        ASSERT_EQ(counter(), before + 1) << c.number;
        const auto rows = rowsOf(before + 1);
        ASSERT_FALSE(rows.empty()) << c.number;
        double total = 0;
        for (const QSqlRecord& row : rows) {
            EXPECT_LT(row.value("DAUDZUMS").toDouble(), 0) << c.number;
            EXPECT_EQ(row.value("APM_VEIDS").toInt(), c.apmVeids) << c.number;
            EXPECT_EQ(row.value("APM_RINDA").toString(), c.apmRinda) << c.number;
            EXPECT_EQ(row.value("KL_KODS").toString(), c.klKods) << c.number;
            EXPECT_EQ(row.value("KL_NOSAUKUMS").toString(), QString::fromUtf8(c.klNosaukums)) << c.number;
            EXPECT_EQ(row.value("CITASZINAS").toString(), "Piezīme") << c.number;
            total += row.value("CENA").toDouble() * row.value("DAUDZUMS").toDouble();
        }
        EXPECT_NEAR(total, c.total, 1e-9) << c.number;
        if (c.payerLine) { EXPECT_TRUE(printed(c.payerLine)) << c.number; }
        EXPECT_EQ(w().rdPirkumsStorno->ItemIndex(), 0);  // the stored return ends return mode
    }
}

TEST_F(CustomerWindow, ReturnRefusalsAndTheCardQuestion) {
    const QDate now(2024, 5, 10);
    addStoredRow(601, now, "4750001000024", 1.49, 1, 2);  // paid by bank card

    // "No" to the return itself.
    returnMode();
    messages().answerNext(platform::ui::No);
    w().shAtgrnr->setText("601");
    w().ReturnReceipt();
    EXPECT_EQ(w().RinduSkaits, 0);
    EXPECT_EQ(w().shAtgrnr->text(), "");

    // A receipt already open.
    w().shAtgrnr->setText("601");
    enter("4750001000017");
    ASSERT_EQ(w().RinduSkaits, 1);
    messages().clear();
    w().KeypadClick("Enter");  // the keypad serves the item field
    EXPECT_EQ(w().RinduSkaits, 1);
    w().AktivaisEdit = w().shAtgrnr;
    w().KeypadClick("Enter");
    EXPECT_EQ(messages().texts(), QStringList{kIepriekshejaisCeks});
    click("btAnuletCeku");
    ASSERT_EQ(w().RinduSkaits, 0);

    // With a card terminal: "Yes" refunds once through it, "No" books the card row without it.
    w().EFT = 1;
    int refunds = 0;
    w().KartesAtgriesana = [&](double amount) {
        EXPECT_NEAR(amount, 1.49, 1e-9);
        ++refunds;
        return true;
    };
    for (const int answer : {int(platform::ui::Yes), int(platform::ui::No)}) {
        returnMode();
        const int before = counter();
        messages().clear();
        messages().answerNext(platform::ui::Yes);
        messages().answerNext(answer);
        w().shAtgrnr->setText("601");
        w().ReturnReceipt();
        EXPECT_EQ(messages().texts().value(1), kUzliktUzKartes);
        EXPECT_EQ(counter(), before + 1);
        EXPECT_EQ(rowsOf(before + 1).at(0).value("APM_VEIDS").toInt(), 2);
        EXPECT_FALSE(w().AtgriesanaPecCeka);  // cleared with the stored receipt
    }
    EXPECT_EQ(refunds, 1);

    // No terminal to take the refund: said, and the return stays open.
    w().KartesAtgriesana = nullptr;
    returnMode();
    messages().clear();
    w().shAtgrnr->setText("601");
    w().ReturnReceipt();
    EXPECT_TRUE(messages().shown(kKartesAtgriesanaNav));
    EXPECT_EQ(w().RinduSkaits, 1);
    click("btAnuletCeku");
}

TEST_F(CustomerWindow, TouchOnlySaleAndItsReturn) {
    // The customer card scanned into the code field, its PIN, the field left for the item field.
    QTest::keyClicks(w().shKlKods, "P1");
    answering<TPinKods>(::PinKods, [](TPinKods& d) { d.shPinKods->setText("Ab12"); }, [&] { leave(w().shKlKods); });
    EXPECT_EQ(w().shKlientaNosaukums->text(), "Ar PIN");
    EXPECT_EQ(w().edAtlaide->text(), "7");
    click("bt2");
    click("btDaudzums");
    w().QuickButtons[0]->click();  // A1, 101 at 1.80
    QTest::mouseClick(w().QuickLabels[6], Qt::LeftButton);  // the label of B1 acts as its key
    ASSERT_EQ(w().RinduSkaits, 2);
    const double total = double(RoundSumma(2 * 1.80 * 0.93, 2) + RoundSumma(3.90 * 0.93, 2));
    EXPECT_NEAR(w().CekaSumma, total, 1e-9);
    const int number = counter() + 1;
    click("btSkNauda");
    ASSERT_EQ(w().RinduSkaits, 0) << messages().texts().join("|").toStdString();
    EXPECT_EQ(counter(), number);
    EXPECT_TRUE(printed("Maksātājs Ar PIN"));
    auto sale = rowsOf(number);
    ASSERT_EQ(sale.size(), 2u);
    EXPECT_EQ(sale[0].value("KL_KODS").toString(), "P1");
    EXPECT_EQ(sale[0].value("KL_NOSAUKUMS").toString(), "");

    // Back by its number, touch only: the switch, the keypad's digits into the return field, Enter.
    w().rdPirkumsStorno->SetItemIndex(1);
    w().rdPirkumsStornoClick();
    w().AktivaisEdit = w().shAtgrnr;
    for (const QChar digit : QString::number(number)) w().KeypadClick(digit);
    w().KeypadClick("Enter");
    ASSERT_EQ(counter(), number + 1) << messages().texts().join("|").toStdString();
    const auto back = rowsOf(number + 1);
    ASSERT_EQ(back.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_DOUBLE_EQ(back[i].value("DAUDZUMS").toDouble(), -sale[i].value("DAUDZUMS").toDouble());
        EXPECT_NEAR(back[i].value("CENA").toDouble(), sale[i].value("CENA").toDouble(), 1e-9);
        EXPECT_DOUBLE_EQ(back[i].value("ATLAIDE").toDouble(), 7);
        EXPECT_EQ(back[i].value("KL_KODS").toString(), "P1");
    }
    EXPECT_TRUE(printed(kAtgriesanasBanneris.toStdString()));
}

}  // namespace
