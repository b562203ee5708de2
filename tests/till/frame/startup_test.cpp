// The whole sale window started offscreen on a demo database, with the fiscal-memory module, the
// receipt printer and the customer display simulated on COM1, COM2 and COM3.
#include "datumodelis.h"
#include "fmproc.h"
#include "password_dlg.h"
#include "posmain.h"
#include "start_form.h"

#include "till_database.h"
#include "till_window.h"

#include <QApplication>
#include <QEvent>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs an action the moment the start form's progress line is painted with a given text.
class ProgressWatch : public QObject {
public:
    ProgressWatch(QLabel* label, QString text, std::function<void()> action)
        : label_(label), text_(std::move(text)), action_(std::move(action)) {
        label_->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == label_ && event->type() == QEvent::Paint && label_->text() == text_ && action_) std::exchange(action_, nullptr)();
        return false;
    }

private:
    QLabel* label_;
    QString text_;
    std::function<void()> action_;
};

class TillStartup : public testsupport::TillWindowTest {
protected:
    // Day-close records dated by the clock (the store's first record is never one).
    void writeDayCloses(int count) {
        TFMProc fm;
        ASSERT_EQ(fm.Status, 0);
        for (int nr = 1; nr <= count; ++nr) ASSERT_TRUE(fm.FMWriteGrand(nr, "00000000", 0, 0, 0, 0));
    }

    // A refused start: the message shown and whether the splash was closed before it.
    void expectEndsWith(const QString& message, bool startFormClosed) {
        EXPECT_FALSE(start());
        EXPECT_TRUE(POSMain.isNull());
        if (!message.isEmpty()) {
            EXPECT_TRUE(messages().shown(message)) << messages().texts().join(" | ").toStdString();
        }
        EXPECT_EQ(StartForm->isVisible(), !startFormClosed);
    }
};

TEST_F(TillStartup, ReachesTheReadySaleWindow) {
    setupText("EFT", "3");
    logIn();
    ASSERT_TRUE(start()) << messages().texts().join(" | ").toStdString();
    TPOSMain& w = *POSMain;
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();
    EXPECT_EQ(w.windowTitle(), "Tillora Te strādā :Administrators");
    EXPECT_EQ(w.Kasieris, "ADMIN");
    EXPECT_EQ(w.FMProc->Status, 0);
    ASSERT_NE(w.PrintClass, nullptr);
    EXPECT_EQ(StartForm->shProcess->text(), "");
    EXPECT_TRUE(w.TimerPulkstenis->isActive());
    EXPECT_FALSE(w.TimerFiskPrinteris->isActive());
    EXPECT_EQ(w.AktivaisEdit, w.edArtikuls);
    EXPECT_EQ(w.RinduSkaits, 0);
    EXPECT_TRUE(w.edAtlaide->isEnabled());
    EXPECT_TRUE(w.rdPirkumsStorno->isEnabled());
    EXPECT_TRUE(w.MenuItem17->isEnabled());
    EXPECT_TRUE(w.Dzstierakstu1->isEnabled());
    EXPECT_TRUE(w.Bankaskaruatskaite1->isVisible()) << "card terminal kind 3 keeps the card report";
    EXPECT_EQ(w.cmbApmaksasVeids->itemText(0), "0-Skaidra nauda EUR");
    EXPECT_EQ(w.cmbApmaksasVeids->itemText(1), "1-Bankas karte");
    EXPECT_EQ(w.cmbApmaksasVeids->itemText(w.cmbApmaksasVeids->count() - 1), "12-Skaidra nauda LVL");
    EXPECT_GT(w.dblKlientuSaraksts->count(), 0);
    EXPECT_EQ(w.dblKlientuSaraksts->currentIndex(), -1);

    // Quick keys from the demo items.
    int filled = 0;
    for (int i = 0; i < kQuickKeyCount; ++i)
        if (!w.QuickArtikuli[std::size_t(i)].isEmpty()) {
            ++filled;
            EXPECT_NE(w.QuickLabels[std::size_t(i)]->text(), "-");
        }
    EXPECT_GT(filled, 0);

    // The printer got four empty lines and the first receipt's header; the display its idle lines.
    printer->waitIdle();
    EXPECT_NE(printer->paperText().find("Kases S/N"), std::string::npos) << printer->paperText();
    display->waitIdle();

    // Closing the window puts the display's idle lines back.
    w.close();
}

TEST_F(TillStartup, NoCashierEndsWithoutAWord) {
    expectEndsWith({}, false);
    EXPECT_TRUE(messages().texts().isEmpty());
}

TEST_F(TillStartup, SingleInstanceGuard) {
    struct Case {
        const char* name;
        std::function<void(ScriptedProcesses&)> arrange;
        QString message;
    };
    const Case cases[] = {
        {"second copy", [](ScriptedProcesses& p) { p.add(77, "TILLORA.EXE"); }, kSecondCopyMessage},
        {"other file name", [](ScriptedProcesses& p) { p.setOwnName("tillora-old"); }, kWrongExeNameMessage},
        {"no process list", [](ScriptedProcesses& p) { p.list.reset(); }, kNoSnapshotMessage},
    };
    logIn();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        processes = ScriptedProcesses();
        c.arrange(processes);
        StartForm->show();
        messages().clear();
        expectEndsWith(c.message, true);
        EXPECT_TRUE(processes.terminated.empty()) << "the running copy is not touched";
    }
}

TEST_F(TillStartup, DatabaseFailuresEndTheStartWithTheirMessages) {
    logIn();
    exec("DROP TABLE N_KLIENTI");
    expectEndsWith({}, false);
    ASSERT_FALSE(messages().texts().isEmpty());
    EXPECT_TRUE(messages().texts().first().startsWith("Nevarēju atvērt datu bāzi, darbs tiek pārtraukts !!! "));

    messages().clear();
    exec("CREATE TABLE N_KLIENTI (ISN INTEGER, KODS VARCHAR(30), GNOS VARCHAR(140))");
    exec("DROP TABLE REALIZ");
    expectEndsWith({}, false);
    ASSERT_FALSE(messages().texts().isEmpty());
    EXPECT_TRUE(messages().texts().first().startsWith("Nevarēju atvērt REALIZĀCIJAS datus !!! "));
}

TEST_F(TillStartup, AnUnreachableDatabaseIsSaid) {
    logIn();
    delete DatuModelis;
    platform::closeDatabase(TDatuModelis::kPosDb);
    platform::defineAlias("POS_DB", (dir() / "missing" / "POS_DATI.GDB").string());
    DatuModelis = new TDatuModelis(nullptr);
    expectEndsWith({}, false);
    ASSERT_FALSE(messages().texts().isEmpty());
    EXPECT_TRUE(messages().texts().first().startsWith("Nevarēju atvērt datu bāzi, darbs tiek pārtraukts !!! "));
}

TEST_F(TillStartup, FiscalMemoryNotOpen) {
    setupInteger("FMTips", 0);
    logIn();
    expectEndsWith("Nav pieslēgts fiskālais bloks !!!", true);
}

TEST_F(TillStartup, AFailedDayCloseReadIsSaid) {
    writeDayCloses(2);
    logIn();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(StartForm));  // so its progress line is painted at once
    bool armed = false;
    ProgressWatch watch(StartForm->shProcess, "Initial FM Open FM OK", [this, &armed] {
        armed = true;
        fiscal->faults().arm("status=23");
    });
    expectEndsWith("Nevarēju nolasīt pēdējo Z atskaiti no fiskālā bloka, darbs tiek pārtraukts !!!", true);
    EXPECT_TRUE(armed);
}

TEST_F(TillStartup, ADayCloseDatedAfterTodayStopsTheStartEvenInCommandFileMode) {
    clock().advance(std::chrono::hours(24));
    writeDayCloses(2);
    clock().advance(-std::chrono::hours(24));
    setupInteger("FiskPrinteris", 1);
    logIn();
    expectEndsWith("Pārbaudat datorā iestādīto datumu !!!\nIespējams ir problēma ar sistēmbloka batareju", true);
}

TEST_F(TillStartup, ADayCloseDatedTodayPasses) {
    writeDayCloses(2);
    logIn();
    EXPECT_TRUE(start()) << messages().texts().join(" | ").toStdString();
}

TEST_F(TillStartup, NoReceiptHeaderAnnulsAndEnds) {
    printer.reset();
    display.reset();
    logIn();
    expectEndsWith({}, false);
}

TEST_F(TillStartup, StepsThatGoOn) {
    setupInteger("StockaraConect", 1);
    setupInteger("PrepaidServVeids", 1);
    setupText("EFT", "1");
    processes.add(90, "Fiskon.exe");
    processes.add(91, "fiskon");
    processes.add(92, "Fiskon");
    logIn();
    ASSERT_TRUE(start()) << messages().texts().join(" | ").toStdString();
    TPOSMain& w = *POSMain;
    EXPECT_EQ(processes.terminated, (std::vector<int>{90, 91}));
    EXPECT_TRUE(messages().shown("Nevarēju atvērt Sanitex savienojumu !!!"));
    EXPECT_EQ(w.PrepaidServObj, nullptr);
    ASSERT_EQ(messages().texts().size(), 2) << messages().texts().join(" | ").toStdString();
    EXPECT_TRUE(messages().texts()[1].startsWith("Nevarēju pieslēgties Stockara sistēmai !!!\n\n"));
    EXPECT_FALSE(w.StockaraConect);
    EXPECT_FALSE(StartForm->isVisible());
    EXPECT_TRUE(w.Bankaskaruatskaite1->isVisible());
}

TEST_F(TillStartup, NoCardTerminalHidesTheCardReport) {
    processes.add(90, "Fiskon.exe");
    logIn();
    ASSERT_TRUE(start());
    EXPECT_FALSE(POSMain->Bankaskaruatskaite1->isVisible());
    EXPECT_TRUE(processes.terminated.empty());
}

TEST_F(TillStartup, ACashierChangeAppliesTheNewCashiersRightsEverywhere) {
    logIn();
    ASSERT_TRUE(start());
    TPOSMain& w = *POSMain;
    ASSERT_TRUE(w.MenuItem17->isEnabled());
    QTimer::singleShot(0, [] {
        PasswordDlg->shLietotajs->setText("ANNA");
        PasswordDlg->Password->setText("2");
        PasswordDlg->BtOKClick();
    });
    w.Kasieramaia1Click();
    EXPECT_EQ(w.Kasieris, "ANNA");
    EXPECT_EQ(w.windowTitle(), "Tillora Te strādā :Anna Kļaviņa");
    EXPECT_FALSE(w.MenuItem17->isEnabled()) << "Z atskaite follows the new cashier";
    EXPECT_FALSE(w.edAtlaide->isEnabled());
    EXPECT_FALSE(w.Dzstierakstu1->isEnabled());
    EXPECT_TRUE(w.rdPirkumsStorno->isEnabled());
    EXPECT_FALSE(w.VarZAtskaiti);
}

TEST_F(TillStartup, WindowRoutines) {
    logIn();
    ASSERT_TRUE(start());
    TPOSMain& w = *POSMain;

    // The clock clears a weighing that never ends on the sixth tick.
    w.SversanaNotiek = true;
    for (int tick = 0; tick < 6; ++tick) w.TimerPulkstenisTimer();
    EXPECT_FALSE(w.SversanaNotiek);
    EXPECT_FALSE(w.lbSversana->isHidden());
    w.TimerPulkstenisTimer();
    EXPECT_TRUE(w.lbSversana->isHidden());
    EXPECT_FALSE(w.StatusText(1).isEmpty());

    // Cash in / collection refuses while a receipt is open.
    w.RinduSkaits = 1;
    w.MaiaInkascija1Click();
    EXPECT_TRUE(messages().shown("Sākumā jānobeidz čeks !!!"));
    w.RinduSkaits = 0;

    // Sale / return flips and relabels; a started receipt keeps its mode.
    w.PirkumsAtgrieana1Click();
    EXPECT_EQ(w.rdPirkumsStorno->ItemIndex(), 1);
    EXPECT_EQ(w.shSanetanaudaTXT->text(), "Atgrieztā nauda :");
    w.PirkumsAtgrieana1Click();
    EXPECT_EQ(w.rdPirkumsStorno->ItemIndex(), 0);
    EXPECT_EQ(w.shSanetanaudaTXT->text(), "Saņemtā nauda :");
    w.RinduSkaits = 1;
    w.PirkumsAtgrieana1Click();
    EXPECT_EQ(w.rdPirkumsStorno->ItemIndex(), 0);
    w.RinduSkaits = 0;

    // A quick key enters its article through the item field.
    const int key = int(std::find_if(w.QuickArtikuli.begin(), w.QuickArtikuli.end(), [](const QString& a) { return !a.isEmpty(); }) -
                        w.QuickArtikuli.begin());
    ASSERT_LT(key, kQuickKeyCount);
    w.QuickButtons[std::size_t(key)]->click();
    ASSERT_EQ(w.RinduSkaits, 1);
    EXPECT_EQ(w.CekaRindas[0].Artikuls, w.QuickArtikuli[std::size_t(key)]);
    EXPECT_EQ(w.edArtikuls->text(), "");

    // Command-file mode: unforced messages go only to the reply list.
    w.FiskPrinteris = true;
    w.RetPosList = std::make_unique<QStringList>();
    messages().clear();
    w.ShowPazinojums("Teksts !!!");
    EXPECT_TRUE(messages().texts().isEmpty());
    EXPECT_EQ(*w.RetPosList, QStringList{"Teksts !!!"});
    w.ShowPazinojums("Piespiedu !!!", true);
    EXPECT_TRUE(messages().shown("Piespiedu !!!"));
}

}  // namespace
