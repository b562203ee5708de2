#include "fleet_test.h"

#include "codepage_1257.h"
#include "ledvikform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest/QTest>

namespace {

using testsupport::execSql;
using testsupport::FleetTest;
using State = EditorList::State;

// Types the text key by key; letters beyond ASCII come as keys that carry only their text.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80)
            QTest::keyClick(widget, char(ch.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

// Answers the program's file dialogs from a queue (cancelling when it is empty) and keeps what
// each dialog asked.
class ScriptedFiles {
public:
    ScriptedFiles() {
        platform::ui::setFileHandler([this](const platform::ui::FileRequest& r) -> std::optional<QString> {
            asked.push_back(r);
            if (answers.empty()) return std::nullopt;
            QString answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    ~ScriptedFiles() { platform::ui::setFileHandler({}); }
    std::deque<QString> answers;
    std::vector<platform::ui::FileRequest> asked;
};

class LedvikEditorTest : public FleetTest {
protected:
    void SetUp() override {
        FleetTest::SetUp();
        for (const char* name : {"K1", "K2"}) {
            const QString till = QString::fromLatin1(name);
            fleet().addTill(till);
            sql(till, "INSERT INTO O_USERS (ISN, GNOS, PASWORD, FULLNAME) VALUES (1, 'ADMIN', '1', 'Administrators " + till + "')");
            sql(till, "INSERT INTO N_VALUTAS (ISN, VAL_KODS, GNOS, KURSS) VALUES (1, 'EUR', 'Eiro', 1)");
            sql(till, "INSERT INTO N_VALUTAS (ISN, VAL_KODS, GNOS, KURSS) VALUES (1, 'USD', 'Dolārs', 0.92)");
        }
        sql("K1", "INSERT INTO N_PRECE (ISN, ARTIKULS, GNOS, NODALA, CENA) VALUES (1, 'ABC1', 'Maize', 1, 1.20)");
        sql("K1", "INSERT INTO N_PRECE (ISN, ARTIKULS, GNOS, NODALA, CENA) VALUES (1, '1002', 'abc1', 1, 0.85)");
        sql("K1", "INSERT INTO N_KLIENTI (ISN, KODS, GNOS) VALUES (1, 'K001', 'Zeltiņš')");
        sql("K1", "INSERT INTO N_KLIENTI (ISN, KODS, GNOS) VALUES (1, '4711', 'Bērziņš')");
        sql("K1", "INSERT INTO N_KLIENTI (ISN, KODS, GNOS) VALUES (1, '4722', 'Kalniņš')");
        sql("K1", "INSERT INTO N_KLIENTI (ISN, KODS, GNOS) VALUES (1, '5000', 'Apinis')");
        sql("K2", "INSERT INTO N_PRECE (ISN, ARTIKULS, GNOS, NODALA, CENA) VALUES (1, '2001', 'Piens', 1, 0.99)");
        writeKases({{"K1", fleet().path("K1"), "F", {}}, {"K2", fleet().path("K2"), "F", {}}});
    }
    void TearDown() override {
        window.reset();
        dati.reset();
        FleetTest::TearDown();
    }

    void sql(const QString& till, const QString& statement) { execSql(fleet().db(till), statement); }
    void writeKases(const std::vector<std::vector<QString>>& rows) { tills::TillFleet::WriteKases(dir(), rows); }

    TLedvik& open() {
        dati = std::make_unique<TLedvikDati>();
        window = std::make_unique<TLedvik>(*dati, false);
        window->show();
        return *window;
    }
    void showPage(QWidget* page) { window->PageControl->setCurrentWidget(page); }
    template <typename W>
    W* field(const char* name) {
        W* widget = window->findChild<W*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* edit(const char* name) { return field<QLineEdit>(name); }
    void click(const QString& button) {
        QPushButton* b = window->findChild<QPushButton*>(button);
        ASSERT_NE(b, nullptr) << button.toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // The grid's shown value of a column on a row.
    static QString cell(EditorList* list, int row, const QString& column) {
        QAbstractItemModel* model = list->rows()->model();
        return model->data(model->index(row, list->rows()->column(column))).toString();
    }
    // Enter in the item search field with this text.
    void shMeklet(const QString& text) {
        window->shMekletPreces->setText(text);
        window->shMekletPreces->setFocus();
        QTest::keyClick(window->shMekletPreces, Qt::Key_Return);
    }
    static int rowCount(EditorList* list) { return list->rows() ? list->rows()->model()->rowCount() : 0; }

    std::unique_ptr<TLedvikDati> dati;
    std::unique_ptr<TLedvik> window;
};

// Each list refuses a row missing one of its required fields with that field's message and the
// focus on its edit; the row stays new, and nothing reaches the database or the till list.
TEST_F(LedvikEditorTest, RequiredFieldsOfEveryList) {
    struct Case {
        const char* list;
        const char* page;  // the page to show; empty for the till list
        std::vector<std::pair<const char*, const char*>> filled;
        const char* missing;
        const char* message;
    };
    const Case cases[] = {
        {"Kase", "", {{"PATH", "/x/POS_DATI.GDB"}}, "GNOS", "Nav ievadīts kases vārds !!!"},
        {"Kase", "", {{"GNOS", "K9"}}, "PATH", "Nav ievadīts kases failu atrašanās vieta !!!"},
        {"Kasieris", "TabSheet2", {{"Kasieri_FULLNAME", "Jānis"}}, "Kasieri_GNOS", "Nav ievadīts kasiera vārds !!!"},
        {"Valuta", "TabSheet2", {{"Valutas_KURSS", "2"}}, "Valutas_VAL_KODS", "Nav ievadīts valūtas nosaukums !!!"},
        {"Valuta", "TabSheet2", {{"Valutas_VAL_KODS", "GBP"}}, "Valutas_KURSS", "Nav ievadīts valūtas kurss !!!"},
        {"Valuta", "TabSheet2", {{"Valutas_VAL_KODS", "GBP"}, {"Valutas_KURSS", "0"}}, "Valutas_KURSS", "Nav ievadīts valūtas kurss !!!"},
        {"Prece", "TabSheet3", {{"Preces_ARTIKULS", "9"}, {"Preces_NODALA", "1"}}, "Preces_GNOS", "Nav ievadīts preces nosaukums !!!"},
        {"Prece", "TabSheet3", {{"Preces_GNOS", "Sāls"}, {"Preces_NODALA", "1"}}, "Preces_ARTIKULS", "Nav ievadīts preces artikuls !!!"},
        {"Prece", "TabSheet3", {{"Preces_GNOS", "Sāls"}, {"Preces_ARTIKULS", "9"}, {"Preces_CENA", "2.5"}}, "Preces_NODALA", "Nav ievadīts nodaļas kods !!!"},
        {"Klients", "TabSheet4", {{"Klienti_KODS", "77"}}, "Klienti_GNOS", "Nav ievadīts klienta nosaukums !!!"},
        {"Klients", "TabSheet4", {{"Klienti_GNOS", "SIA X"}}, "Klienti_KODS", "Nav ievadīts klienta kods !!!"},
    };
    open();
    const std::map<QString, EditorList*> lists = {{"Kase", window->Kases}, {"Kasieris", window->Kasieri}, {"Valuta", window->Valutas},
                                                 {"Prece", window->Preces}, {"Klients", window->Klienti}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        if (*c.page) showPage(window->findChild<QWidget*>(QLatin1String(c.page)));
        EditorList* list = lists.at(QLatin1String(c.list));
        const int before = rowCount(list);
        click(QStringLiteral("btNew") + QLatin1String(c.list));
        ASSERT_EQ(list->state(), State::Insert);
        for (const auto& [name, value] : c.filled) typeText(edit(name), QString::fromUtf8(value));
        messages().clear();
        click(QStringLiteral("btSave") + QLatin1String(c.list));
        EXPECT_EQ(messages().texts(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(window->focusWidget(), edit(c.missing));
        EXPECT_EQ(list->state(), State::Insert);
        list->Cancel();
        EXPECT_EQ(rowCount(list), before);
    }
    EXPECT_EQ(rows("K1", "SELECT COUNT(*) FROM N_PRECE"), QStringList{"2"});
    EXPECT_EQ(rows("K1", "SELECT COUNT(*) FROM N_VALUTAS"), QStringList{"2"});
    TillList reread(dir());
    reread.load();
    EXPECT_EQ(reread.rowCount(), 2);
}

TEST_F(LedvikEditorTest, ARateOfZeroIsRefusedANegativeOneSaved) {
    open();
    showPage(window->TabSheet2);
    click(QStringLiteral("btNewValuta"));
    typeText(edit("Valutas_VAL_KODS"), QStringLiteral("GBP"));
    typeText(edit("Valutas_KURSS"), QStringLiteral("-1.5"));
    click(QStringLiteral("btSaveValuta"));
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(u'\n').toStdString();
    EXPECT_EQ(window->Valutas->state(), State::Browse);
    EXPECT_EQ(rows("K1", "SELECT VAL_KODS, KURSS FROM N_VALUTAS WHERE VAL_KODS = 'GBP'"), QStringList{"GBP|-1.5"});
    // An item without a price can be saved.
    showPage(window->TabSheet3);
    click(QStringLiteral("btNewPrece"));
    typeText(edit("Preces_ARTIKULS"), QStringLiteral("3003"));
    typeText(edit("Preces_GNOS"), QStringLiteral("Sāls"));
    typeText(edit("Preces_NODALA"), QStringLiteral("2"));
    click(QStringLiteral("btSavePrece"));
    EXPECT_TRUE(messages().texts().isEmpty());
    EXPECT_EQ(rows("K1", "SELECT GNOS, NODALA, CENA FROM N_PRECE WHERE ARTIKULS = '3003'"), QStringList{"Sāls|2|"});
}

TEST_F(LedvikEditorTest, NewWhileEditingDoesNothingAndTypingStartsEditingExceptForCashiers) {
    open();
    showPage(window->TabSheet2);
    // Cashiers: the edits are closed until "Labot".
    EXPECT_TRUE(edit("Kasieri_GNOS")->isReadOnly());
    EXPECT_FALSE(field<QCheckBox>("Kasieri_VARDZEST")->isEnabled());
    click(QStringLiteral("btEditKasieris"));
    EXPECT_EQ(window->Kasieri->state(), State::Edit);
    EXPECT_FALSE(edit("Kasieri_GNOS")->isReadOnly());
    click(QStringLiteral("btNewKasieris"));
    EXPECT_EQ(window->Kasieri->state(), State::Edit);
    EXPECT_EQ(rowCount(window->Kasieri), 1);
    // Currencies: typing edits the current row; "Jauns" then adds nothing.
    typeText(edit("Valutas_KURSS"), QStringLiteral("5"));
    EXPECT_EQ(window->Valutas->state(), State::Edit);
    click(QStringLiteral("btNewValuta"));
    EXPECT_EQ(rowCount(window->Valutas), 2);
    EXPECT_EQ(window->Valutas->state(), State::Edit);
    click(QStringLiteral("btSaveValuta"));
    EXPECT_EQ(rows("K1", "SELECT KURSS FROM N_VALUTAS WHERE VAL_KODS = 'EUR'"), QStringList{"15"});
    // Escape cancels a new row; moving to another row cancels an edit.
    click(QStringLiteral("btNewValuta"));
    typeText(edit("Valutas_VAL_KODS"), QStringLiteral("GBP"));
    QTest::keyClick(edit("Valutas_VAL_KODS"), Qt::Key_Escape);
    EXPECT_EQ(window->Valutas->state(), State::Browse);
    EXPECT_EQ(rowCount(window->Valutas), 2);
    ASSERT_EQ(window->Valutas->currentRow(), 1);
    typeText(edit("Valutas_KURSS"), QStringLiteral("9"));
    window->Valutas->setCurrentRow(0);
    EXPECT_EQ(window->Valutas->state(), State::Browse);
    EXPECT_EQ(edit("Valutas_VAL_KODS")->text(), QStringLiteral("EUR"));
    click(QStringLiteral("btSaveValuta"));
    EXPECT_EQ(rows("K1", "SELECT VAL_KODS, KURSS FROM N_VALUTAS ORDER BY VAL_KODS"), (QStringList{"EUR|15", "USD|0.92"}));
}

TEST_F(LedvikEditorTest, DeletingACashierRereadsBothListsFromTheFirstRow) {
    sql("K1", "INSERT INTO O_USERS (ISN, GNOS, PASWORD) VALUES (1, 'ANNA', '2')");
    open();
    showPage(window->TabSheet2);
    ASSERT_EQ(rowCount(window->Kasieri), 2);
    window->Valutas->setCurrentRow(1);
    window->Kasieri->setCurrentRow(1);
    // Another program changes a rate meanwhile; the re-read shows it.
    sql("K1", "UPDATE N_VALUTAS SET KURSS = 0.5 WHERE VAL_KODS = 'USD'");
    click(QStringLiteral("btDelKasieris"));
    EXPECT_EQ(rows("K1", "SELECT GNOS FROM O_USERS"), QStringList{"ADMIN"});
    EXPECT_EQ(rowCount(window->Kasieri), 1);
    EXPECT_EQ(window->Valutas->currentRow(), 0);
    EXPECT_EQ(cell(window->Valutas, 1, "KURSS"), QStringLiteral("0.5"));
    // An item's deletion reads nothing anew.
    showPage(window->TabSheet3);
    ASSERT_EQ(rowCount(window->Preces), 2);
    click(QStringLiteral("btDelPrece"));
    EXPECT_EQ(rows("K1", "SELECT ARTIKULS FROM N_PRECE"), QStringList{"ABC1"});
}

// A save writes back what the user changed: an edit shows a price to two decimals and had cut a
// long name, and neither may reach the till unless typed.
TEST_F(LedvikEditorTest, ASaveWritesOnlyTheChangedFields) {
    const QString longName = QStringLiteral("SIA Ķīmiķis ") + QString(120, u'N');
    const QString longAddress = QStringLiteral("Liepājas iela 12, ") + QString(80, u'A');
    sql("K1", "UPDATE N_PRECE SET CENA = 1.359, ATLAIDE = 2.125 WHERE ARTIKULS = 'ABC1'");
    sql("K1", "UPDATE N_KLIENTI SET GNOS = '" + longName + "', ADRESE = '" + longAddress + "', ATLAIDE = 1.5 WHERE KODS = 'K001'");
    open();
    showPage(window->TabSheet3);
    window->Preces->setCurrentRow(window->Preces->findRow(QStringLiteral("ARTIKULS"), [](const QString& v) { return v == u"ABC1"; }));
    EXPECT_EQ(edit("Preces_CENA")->text(), QStringLiteral("1.36"));
    edit("Preces_GNOS")->setFocus();
    typeText(edit("Preces_GNOS"), QStringLiteral(" balta"));
    click(QStringLiteral("btSavePrece"));
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(u'\n').toStdString();
    EXPECT_EQ(rows("K1", "SELECT GNOS, CENA, ATLAIDE FROM N_PRECE WHERE ARTIKULS = 'ABC1'"), QStringList{"Maize balta|1.359|2.125"});
    // A price typed keeps the decimals typed.
    window->Preces->setCurrentRow(window->Preces->findRow(QStringLiteral("ARTIKULS"), [](const QString& v) { return v == u"ABC1"; }));
    edit("Preces_CENA")->selectAll();
    typeText(edit("Preces_CENA"), QStringLiteral("2.455"));
    click(QStringLiteral("btSavePrece"));
    EXPECT_EQ(rows("K1", "SELECT GNOS, CENA, ATLAIDE FROM N_PRECE WHERE ARTIKULS = 'ABC1'"), QStringList{"Maize balta|2.455|2.125"});

    showPage(window->TabSheet4);
    window->Klienti->setCurrentRow(window->Klienti->findRow(QStringLiteral("KODS"), [](const QString& v) { return v == u"K001"; }));
    EXPECT_EQ(edit("Klienti_GNOS")->text(), longName);
    edit("Klienti_ATLAIDE")->selectAll();
    typeText(edit("Klienti_ATLAIDE"), QStringLiteral("7"));
    click(QStringLiteral("btSaveKlients"));
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(u'\n').toStdString();
    EXPECT_EQ(rows("K1", "SELECT GNOS, ADRESE, ATLAIDE FROM N_KLIENTI WHERE KODS = 'K001'"),
              QStringList{longName + "|" + longAddress + "|7"});
    // A long name typed in whole is stored whole.
    window->Klienti->setCurrentRow(window->Klienti->findRow(QStringLiteral("KODS"), [](const QString& v) { return v == u"K001"; }));
    edit("Klienti_ADRESE")->setFocus();
    edit("Klienti_ADRESE")->end(false);
    typeText(edit("Klienti_ADRESE"), QStringLiteral("Z"));
    click(QStringLiteral("btSaveKlients"));
    EXPECT_EQ(rows("K1", "SELECT ADRESE FROM N_KLIENTI WHERE KODS = 'K001'"), QStringList{longAddress + "Z"});
}

TEST_F(LedvikEditorTest, ItemSearchFindsArticleThenNameIgnoringCaseBeyondTheFirstFetch) {
    // More rows than a first fetch brings; the name sorting last lies at the end.
    sql("K1",
        "INSERT INTO N_PRECE (ISN, ARTIKULS, GNOS, NODALA) WITH RECURSIVE D (I) AS (SELECT 0 FROM RDB$DATABASE UNION ALL "
        "SELECT I + 1 FROM D WHERE I < 39) SELECT 1, 'A' || LPAD(A.I * 40 + B.I, 5, '0'), 'Prece ' || (A.I * 40 + B.I), 1 "
        "FROM D A CROSS JOIN D B WHERE A.I * 40 + B.I < 1500");
    sql("K1", "INSERT INTO N_PRECE (ISN, ARTIKULS, GNOS, NODALA) VALUES (1, 'ZZZ', 'Žāvēta zivs', 1)");
    open();
    showPage(window->TabSheet3);
    struct Case {
        const char* text;
        const char* article;  // of the row found; empty: the row stays
    };
    const Case cases[] = {
        {"abc1", "ABC1"},         // an article first, though a name matches too
        {"ŽĀVĒTA ZIVS", "ZZZ"},  // a name, past the first fetch
        {"a01499", "A01499"},
        {"Prece", ""},  // the whole value only
        {"", ""},
    };
    for (const Case& c : cases) {
        window->Preces->setCurrentRow(1);
        shMeklet(c.text);
        const int row = window->Preces->currentRow();
        EXPECT_EQ(cell(window->Preces, row, "ARTIKULS"), *c.article ? QString::fromUtf8(c.article) : cell(window->Preces, 1, "ARTIKULS"))
            << c.text;
        EXPECT_EQ(window->focusWidget(), window->shMekletPreces);
    }
}

TEST_F(LedvikEditorTest, CustomerSearchRunsAheadWithThePressedKeyAndRespectsCase) {
    open();
    showPage(window->TabSheet4);
    // By name: Apinis, Bērziņš (4711), Kalniņš (4722), Zeltiņš (K001).
    ASSERT_EQ(cell(window->Klienti, 0, "GNOS"), QStringLiteral("Apinis"));
    QLineEdit* search = window->shMekletKlientu;
    search->setFocus();
    QTest::keyClick(search, Qt::Key_4);
    EXPECT_EQ(cell(window->Klienti, window->Klienti->currentRow(), "KODS"), QStringLiteral("4711"));
    QTest::keyClick(search, Qt::Key_7);
    QTest::keyClick(search, Qt::Key_2);
    EXPECT_EQ(cell(window->Klienti, window->Klienti->currentRow(), "KODS"), QStringLiteral("4722"));
    // A deletion key is one more character: nothing starts so, the row stays.
    QTest::keyClick(search, Qt::Key_Backspace);
    EXPECT_EQ(cell(window->Klienti, window->Klienti->currentRow(), "KODS"), QStringLiteral("4722"));
    EXPECT_EQ(search->text(), QStringLiteral("47"));
    // Codes first, then names; letter case counts.
    search->clear();
    typeText(search, QStringLiteral("k"));
    EXPECT_EQ(cell(window->Klienti, window->Klienti->currentRow(), "KODS"), QStringLiteral("4722"));
    search->clear();
    typeText(search, QStringLiteral("K"));
    EXPECT_EQ(cell(window->Klienti, window->Klienti->currentRow(), "KODS"), QStringLiteral("K001"));
    search->clear();
    typeText(search, QStringLiteral("Ka"));
    EXPECT_EQ(cell(window->Klienti, window->Klienti->currentRow(), "GNOS"), QStringLiteral("Kalniņš"));
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(window->focusWidget(), window->DBGrid5);
}

TEST_F(LedvikEditorTest, CombosMoveTheTillListAndTwoRowsOfOnePathPickTheFirst) {
    writeKases({{"K1", fleet().path("K1"), "F", {}}, {"K2", fleet().path("K2"), "F", {}}, {"K2bis", fleet().path("K2"), "F", {}}});
    open();
    showPage(window->TabSheet3);
    EXPECT_EQ(window->DBLKasesPreces->currentText(), QStringLiteral("K1"));
    window->DBLKasesPreces->setCurrentIndex(2);
    window->DBLKasesPrecesCloseUp();
    EXPECT_EQ(window->Kases->currentRow(), 1);
    EXPECT_EQ(window->DBLKasesPreces->currentText(), QStringLiteral("K2"));
    EXPECT_EQ(cell(window->Preces, 0, "ARTIKULS"), QStringLiteral("2001"));
    // The add-on page has no combo: it follows the till last picked.
    showPage(window->tabPievPreces);
    typeText(edit("N_ISI_PIEVARTIK1"), QStringLiteral("2001"));
    window->N_ISI->Save();
    EXPECT_EQ(rows("K2", "SELECT PIEVARTIK1 FROM N_ISI"), QStringList{"2001"});
    EXPECT_EQ(rows("K1", "SELECT PIEVARTIK1 FROM N_ISI"), QStringList{""});
    // Showing another page closes the lists of the others.
    EXPECT_EQ(window->Preces->rows(), nullptr);
}

TEST_F(LedvikEditorTest, AnEmptySettingsTableIsNotWrittenByTheAddOnPage) {
    sql("K1", "DELETE FROM N_ISI");
    open();
    showPage(window->tabPievPreces);
    typeText(edit("N_ISI_PIEVARTIK1"), QStringLiteral("1001"));
    QTest::mouseClick(window->btSavePievPreces, Qt::LeftButton);
    EXPECT_TRUE(rows("K1", "SELECT ISN FROM N_ISI").isEmpty());
}

TEST_F(LedvikEditorTest, ARefusedSaveStaysInEditing) {
    fleet().refuseKey("K1", "O_USERS", "GNOS", "BAD");
    open();
    showPage(window->TabSheet2);
    click(QStringLiteral("btNewKasieris"));
    typeText(edit("Kasieri_GNOS"), QStringLiteral("BAD"));
    click(QStringLiteral("btSaveKasieris"));
    ASSERT_EQ(messages().texts().size(), 1);
    EXPECT_TRUE(messages().texts().front().contains(QStringLiteral("The till refuses GNOS BAD"))) << messages().texts().front().toStdString();
    EXPECT_EQ(window->Kasieri->state(), State::Insert);
    EXPECT_EQ(edit("Kasieri_GNOS")->text(), QStringLiteral("BAD"));
    edit("Kasieri_GNOS")->clear();
    typeText(edit("Kasieri_GNOS"), QStringLiteral("GOOD"));
    click(QStringLiteral("btSaveKasieris"));
    EXPECT_EQ(window->Kasieri->state(), State::Browse);
    EXPECT_EQ(rows("K1", "SELECT GNOS FROM O_USERS ORDER BY GNOS"), (QStringList{"ADMIN", "GOOD"}));
}

TEST_F(LedvikEditorTest, AnUnreachableTillLeavesThePageEmpty) {
    writeKases({{"K3", tills::TillFleet::refusedServerPath(), "F", {}}});
    open();
    showPage(window->TabSheet2);
    ASSERT_EQ(messages().texts().size(), 1);
    EXPECT_TRUE(messages().texts().front().startsWith(QStringLiteral("Nevarēju atvērt datu bāzi "))) << messages().texts().front().toStdString();
    EXPECT_EQ(window->Kasieri->rows(), nullptr);
    EXPECT_EQ(window->Valutas->rows(), nullptr);
}

TEST_F(LedvikEditorTest, TillListEditsAreReadBackFromKasesDbf) {
    writeKases({{"K1", fleet().path("K1"), "F", {}}, {"K2", fleet().path("K2"), "F", {}}, {"K3", "/old/POS_DATI.GDB", "T", {}}});
    ScriptedFiles files;
    open();
    // "1. POS fails" and "Logo fails" act only on a row being edited.
    click(QStringLiteral("btPosFails"));
    click(QStringLiteral("btLogoFails"));
    EXPECT_TRUE(files.asked.empty());
    // Rename the first till with a Latvian letter.
    typeText(window->GNOS, QStringLiteral("ē"));
    EXPECT_EQ(window->Kases->state(), State::Edit);
    click(QStringLiteral("btSaveKase"));
    // A new till, its database and logo picked in the dialogs.
    click(QStringLiteral("btNewKase"));
    typeText(window->GNOS, QStringLiteral("Jaunā"));
    files.answers = {QStringLiteral("/srv/k4/POS_DATI.GDB"), QStringLiteral("/srv/k4/logo.jpg")};
    click(QStringLiteral("btPosFails"));
    click(QStringLiteral("btLogoFails"));
    ASSERT_EQ(files.asked.size(), 2u);
    EXPECT_EQ(files.asked[0].title, QStringLiteral("Kur atrodas POS_DATI.GDB ?"));
    EXPECT_EQ(files.asked[0].filter, QStringLiteral("POS fails|*.GDB"));
    EXPECT_EQ(files.asked[1].title, QStringLiteral("Kur atrodas attēla JPG fails ?"));
    EXPECT_EQ(files.asked[1].filter, QStringLiteral("JPG fails|*.JPG"));
    EXPECT_EQ(window->PATH->text(), QStringLiteral("/srv/k4/POS_DATI.GDB"));
    click(QStringLiteral("btSaveKase"));
    // Delete the second till.
    window->Kases->setCurrentRow(1);
    click(QStringLiteral("btDelKase"));

    const DbfTable kases = DbfTable::open(dir() / "KASES.DBF");
    ASSERT_EQ(kases.recordCount(), 4);  // the deleted record keeps its place
    EXPECT_TRUE(kases.deleted(1));
    EXPECT_EQ(fromCp1257(kases.text(0, kases.column("GNOS"))), QStringLiteral("K1ē"));
    EXPECT_EQ(kases.text(2, kases.column("NEAKTIVA")), "T");
    EXPECT_EQ(fromCp1257(kases.text(3, kases.column("GNOS"))), QStringLiteral("Jaunā"));
    EXPECT_EQ(kases.text(3, kases.column("LOGO_EKR")), "/srv/k4/logo.jpg");
    EXPECT_EQ(kases.text(3, kases.column("NEAKTIVA")), "F");
    TillList reread(dir());
    reread.load();
    ASSERT_EQ(reread.rows().size(), 3u);
    EXPECT_EQ(reread.rows()[2].PATH, QStringLiteral("/srv/k4/POS_DATI.GDB"));
    // The pass works on the list as edited.
    EXPECT_EQ(dati->Kases().size(), 3u);
    EXPECT_EQ(dati->Kases()[1].GNOS, QStringLiteral("K3"));
}

TEST_F(LedvikEditorTest, TheDbfFolderIsPickedInItsDialog) {
    ScriptedFiles files;
    open();
    window->shDBFDir->setText(QStringLiteral("/old/ITEMS.DBF"));
    click(QStringLiteral("Button3"));
    EXPECT_EQ(window->shDBFDir->text(), QStringLiteral("/old/ITEMS.DBF"));  // cancelled
    files.answers = {QStringLiteral("/new/items.dbf")};
    click(QStringLiteral("Button3"));
    EXPECT_EQ(window->shDBFDir->text(), QStringLiteral("/new/items.dbf"));
    ASSERT_EQ(files.asked.size(), 2u);
    EXPECT_EQ(files.asked[0].title, QStringLiteral("Kur atrodas ITEMS.DBF ?"));
    EXPECT_EQ(files.asked[0].filter, QStringLiteral("DBF fails (ITEMS.DBF)|*.DBF"));
    EXPECT_EQ(files.asked[0].start, QStringLiteral("/old/ITEMS.DBF"));
}

// A new user's round on the real window: pick a till, add a cashier with rights, save, switch
// till, search an item, delete it.
TEST_F(LedvikEditorTest, EveryPageEditsATillOnTheWindow) {
    open();
    QTabWidget* pages = window->PageControl;
    pages->setCurrentWidget(window->TabSheet2);
    QComboBox* combo = window->DBLKasesKasieri;
    combo->setCurrentIndex(1);
    window->DBLKasesKasieriCloseUp();
    EXPECT_EQ(cell(window->Kasieri, 0, "FULLNAME"), QStringLiteral("Administrators K2"));
    click(QStringLiteral("btNewKasieris"));
    typeText(edit("Kasieri_GNOS"), QStringLiteral("ILZE"));
    typeText(edit("Kasieri_FULLNAME"), QStringLiteral("Ilze Ozola"));
    typeText(edit("Kasieri_PASWORD"), QStringLiteral("77"));
    typeText(edit("Kasieri_MAXATLAIDE"), QStringLiteral("15"));
    field<QCheckBox>("Kasieri_VARATGREIZT")->click();
    field<QCheckBox>("Kasieri_KL_ELEKTRON")->click();
    click(QStringLiteral("btSaveKasieris"));
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(u'\n').toStdString();
    EXPECT_EQ(rows("K2", "SELECT GNOS, FULLNAME, PASWORD, MAXATLAIDE, VARATGREIZT, VAR_Z_ATSKAITI, KL_ELEKTRON FROM O_USERS WHERE GNOS = 'ILZE'"),
              QStringList{"ILZE|Ilze Ozola|77|15|T|F|T"});
    EXPECT_TRUE(rows("K1", "SELECT GNOS FROM O_USERS WHERE GNOS = 'ILZE'").isEmpty());

    // The items page opens on the till picked; switch back to the first till and search.
    pages->setCurrentWidget(window->TabSheet3);
    EXPECT_EQ(window->DBLKasesPreces->currentText(), QStringLiteral("K2"));
    window->DBLKasesPreces->setCurrentIndex(0);
    window->DBLKasesPrecesCloseUp();
    shMeklet("maize");
    EXPECT_EQ(cell(window->Preces, window->Preces->currentRow(), "ARTIKULS"), QStringLiteral("ABC1"));
    EXPECT_EQ(edit("Preces_CENA")->text(), QStringLiteral("1.20"));
    // Edit its price by typing, save, and the list is read anew.
    edit("Preces_CENA")->selectAll();
    typeText(edit("Preces_CENA"), QStringLiteral("1.35"));
    click(QStringLiteral("btSavePrece"));
    EXPECT_EQ(rows("K1", "SELECT CENA FROM N_PRECE WHERE ARTIKULS = 'ABC1'"), QStringList{"1.35"});
    shMeklet("abc1");
    click(QStringLiteral("btDelPrece"));
    EXPECT_EQ(rows("K1", "SELECT ARTIKULS FROM N_PRECE"), QStringList{"1002"});

    // Customers: a new one.
    pages->setCurrentWidget(window->TabSheet4);
    click(QStringLiteral("btNewKlients"));
    typeText(edit("Klienti_KODS"), QStringLiteral("900"));
    typeText(edit("Klienti_GNOS"), QStringLiteral("SIA Ābele"));
    typeText(edit("Klienti_ATLAIDE"), QStringLiteral("2.5"));
    click(QStringLiteral("btSaveKlients"));
    EXPECT_EQ(rows("K1", "SELECT GNOS, ATLAIDE FROM N_KLIENTI WHERE KODS = '900'"), QStringList{"SIA Ābele|2.5"});
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(u'\n').toStdString();

    // A pass points the connection at every till: the page's list closes first.
    pages->setCurrentWidget(window->DatuSutisana);
    ASSERT_NE(window->Klienti->rows(), nullptr);
    QTest::mouseClick(window->btSutit, Qt::LeftButton);
    EXPECT_EQ(messages().texts(), QStringList{kProcessDoneMessage});
    EXPECT_EQ(window->Klienti->rows(), nullptr);
    EXPECT_EQ(rows("K2", "SELECT DEMORINDA_1 FROM N_ISI").size(), 1);
}

}  // namespace
