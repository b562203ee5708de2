#include "fleet_test.h"

#include "codepage_1257.h"
#include "database.h"
#include "ledvikform.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QProcess>
#include <QPushButton>
#include <QtTest/QTest>

#include <fstream>

namespace {

using testsupport::FleetTest;

class LedvikProgramTest : public FleetTest {
protected:
    const QDate today = QDate::currentDate();

    // Two tills with a day of sales (the second through the test's Firebird server when there is
    // one), a third held by another program; the till list and the exchange tables.
    void makeShop() {
        fleet().addTill(QStringLiteral("K1"));
        fleet().addTill(QStringLiteral("K2"), !testsupport::testFirebirdServer().empty());
        fleet().addTill(QStringLiteral("K3"));
        for (const char* till : {"K1", "K2"}) {
            fleet().sell(QString::fromLatin1(till), 1, today, {{"1001", 2, 3}});
            fleet().sell(QString::fromLatin1(till), 2, today, {{"1001", 2, 1}}, true);
        }
        fleet().closeConnections();
        fleet().hold(QStringLiteral("K3"));
        tills::TillFleet::WriteKases(dir(), {{"K1", fleet().path("K1"), "F", {}},
                                             {"K2", fleet().path("K2"), "F", {}},
                                             {"K3", fleet().path("K3"), "F", {}}});
        tills::WriteExchangeTable(dbf() / "ITEMS.DBF", tills::ItemsColumns(), {tills::ItemRow("1001", "Maize", 2)});
        setupText("DBFDir", (dbf() / "ITEMS.DBF").string());
    }

    int runLedvik(const QStringList& arguments) {
        QProcess ledvik;
        ledvik.setWorkingDirectory(QString::fromStdString(dir().string()));
        ledvik.setProcessChannelMode(QProcess::ForwardedChannels);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // An unattended run needs no display.
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        ledvik.setProcessEnvironment(environment);
        ledvik.start(QStringLiteral(LEDVIK_PROGRAM), arguments);
        EXPECT_TRUE(ledvik.waitForFinished(120000));
        return ledvik.exitStatus() == QProcess::NormalExit ? ledvik.exitCode() : -1;
    }

    QString logText() { return fromCp1257(testsupport::readFile(dir() / "Ledvik.log")); }
    // The log's last line without its date and time.
    QString lastLogLine() { return logText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).last().section(u' ', 2); }
};

TEST_F(LedvikProgramTest, AnUnattendedPassServesEveryReachableTill) {
    makeShop();
    EXPECT_EQ(runLedvik({QStringLiteral("s1r1")}), 1);
    fleet().release(QStringLiteral("K3"));
    for (const char* till : {"K1", "K2"})
        EXPECT_EQ(rows(QString::fromLatin1(till), QStringLiteral("SELECT ARTIKULS, GNOS FROM N_PRECE")), QStringList{"1001|Maize"}) << till;
    EXPECT_TRUE(rows(QStringLiteral("K3"), QStringLiteral("SELECT ARTIKULS FROM N_PRECE")).isEmpty());
    const DbfTable sales = DbfTable::open(dbf() / "R_ARTIK.DBF");
    ASSERT_EQ(sales.recordCount(), 4);
    EXPECT_EQ(sales.text(0, sales.column("KASE")), "K1");
    EXPECT_EQ(sales.text(3, sales.column("KASE")), "K2");
    const QString log = logText();
    EXPECT_EQ(log.count(QStringLiteral("Saņem R_ARTIK : OK. Summa=4.00")), 2) << log.toStdString();
    // The held till: one failure line per step, and the pass went on to the end.
    EXPECT_EQ(log.count(QStringLiteral("Nevarēju pieslēgties kasei ???")), 3) << log.toStdString();
    EXPECT_FALSE(log.contains(kProcessDoneMessage));
    EXPECT_EQ(lastLogLine(), kFailedTillsLine + "K3");
    // The switches' boxes are the next start's settings.
    EXPECT_EQ(settings().readInteger(testsupport::kSetupKey, "Preces"), 1);
    EXPECT_EQ(settings().readInteger(testsupport::kSetupKey, "R_ARTIK"), 1);
    EXPECT_EQ(settings().readInteger(testsupport::kSetupKey, "Klienti"), 0);
}

TEST_F(LedvikProgramTest, ThePassSendsPrecesDatAndCollectsSunTxtAndKaseForEveryTill) {
    makeShop();
    platform::defineAlias(platform::kAutoDirekcijaAlias, fleet().addSecondDatabase().toStdString());
    fleet().closeConnections();
    // The boxes no switch sets keep their stored state, also while the second database's is hidden.
    for (const char* box : {"SanemPrecesDAT", "RealizSun", "AtdKase"}) setupInteger(box, 1);
    std::ofstream(dbf() / "PRECES.DAT", std::ios::binary) << "2001,349,\"Kafija\",\r\n";
    EXPECT_EQ(runLedvik({QStringLiteral("unattended")}), 1);
    fleet().release(QStringLiteral("K3"));
    for (const char* till : {"K1", "K2"})
        EXPECT_EQ(rows(QString::fromLatin1(till), QStringLiteral("SELECT ARTIKULS, GNOS, CENA FROM N_PRECE")), QStringList{"2001|Kafija|3.49"})
            << till;
    // Three sold and one returned at one price: one line a till.
    const std::string sun = "0000000001001,000000000400,0002.000\r\n";
    EXPECT_EQ(testsupport::readFile(dbf() / "SUN.TXT"), sun + sun);
    QSqlQuery kase = testsupport::execSql(fleet().secondDb(), QStringLiteral("SELECT FILIALE_ID, KVITSNR, SUMMA FROM KASE ORDER BY FILIALE_ID, KVITSNR"));
    QStringList kaseRows;
    while (kase.next()) kaseRows << kase.value(0).toString() + "|" + kase.value(1).toString() + "|" + kase.value(2).toString();
    EXPECT_EQ(kaseRows, (QStringList{"K1|1|6", "K1|2|-2", "K2|1|6", "K2|2|-2"}));
    // The steps in their place after the departments and the other receive steps; the held till
    // fails the settings row and each of the three.
    const QString log = logText();
    const qsizetype dat = log.indexOf(QStringLiteral("Sūta PRECES.DAT : Sāku procesu K1")), sunAt = log.indexOf(QStringLiteral("Saņem SUN.TXT : Sāku procesu")),
                    kaseAt = log.indexOf(QStringLiteral("Saņem ATD KASE : Sāku procesu"));
    EXPECT_TRUE(dat >= 0 && dat < sunAt && sunAt < kaseAt) << log.toStdString();
    EXPECT_EQ(log.count(QStringLiteral("Saņem ATD KASE : OK")), 2) << log.toStdString();
    EXPECT_EQ(log.count(QStringLiteral("Nevarēju pieslēgties kasei ???")), 4) << log.toStdString();
    EXPECT_EQ(lastLogLine(), kFailedTillsLine + "K3");
}

// A scheduled run is judged by its exit status: over a fleet of a till file, a till on the server,
// an inactive till, one without a path, one unreachable and one refusing an item, the run fails
// and its last line names the two tills a step failed for; without those two it succeeds.
TEST_F(LedvikProgramTest, TheRunFailsWhenAStepFailedForAnyTillAndNamesThoseTills) {
    fleet().addTill(QStringLiteral("K1"));
    fleet().addTill(QStringLiteral("K2"), !testsupport::testFirebirdServer().empty());
    fleet().addTill(QStringLiteral("K6"));
    fleet().refuseKey(QStringLiteral("K6"), QStringLiteral("N_PRECE"), QStringLiteral("ARTIKULS"), QStringLiteral("1002"));
    fleet().closeConnections();
    tills::WriteExchangeTable(dbf() / "ITEMS.DBF", tills::ItemsColumns(), {tills::ItemRow("1001", "Maize", 2), tills::ItemRow("1002", "Piens", 1)});
    setupText("DBFDir", (dbf() / "ITEMS.DBF").string());
    const std::vector<QString> served = {"K1", fleet().path("K1"), "F", {}}, onServer = {"K2", fleet().path("K2"), "F", {}},
                               inactive = {"K3", tills::TillFleet::refusedServerPath(), "T", {}}, noPath = {"K4", {}, "F", {}},
                               unreachable = {"K5", tills::TillFleet::refusedServerPath(), "F", {}}, refusing = {"K6", fleet().path("K6"), "F", {}};

    tills::TillFleet::WriteKases(dir(), {served, onServer, inactive, noPath, unreachable, refusing});
    EXPECT_EQ(runLedvik({QStringLiteral("s1")}), 1);
    EXPECT_EQ(lastLogLine(), kFailedTillsLine + "K5, K6") << logText().toStdString();
    for (const char* till : {"K1", "K2"})
        EXPECT_EQ(rows(QString::fromLatin1(till), QStringLiteral("SELECT ARTIKULS FROM N_PRECE ORDER BY 1")), (QStringList{"1001", "1002"})) << till;

    std::filesystem::remove(dir() / "Ledvik.log");
    tills::TillFleet::WriteKases(dir(), {served, onServer, inactive, noPath});
    EXPECT_EQ(runLedvik({QStringLiteral("s1")}), 0);
    EXPECT_FALSE(logText().contains(kFailedTillsLine)) << logText().toStdString();
}

TEST_F(LedvikProgramTest, WhatWouldWaitOnABoxIsLoggedAndTheRunFails) {
    struct Case {
        const char* name;
        QStringList arguments;
        const char* logged;
    };
    const Case cases[] = {
        {"no till list", {QStringLiteral("r1")}, "Fails KASES.DBF nav tekošajā katalogā ? "},
        {"a bad date", {QStringLiteral("dno31.02.2015"), QStringLiteral("r1")}, "'31.02.2015' is not a valid date"},
        {"no exchange folder", {QStringLiteral("r1")}, "Cannot create dBase table "},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(dir() / "Ledvik.log");
        if (std::string(c.name) != "no till list") {
            tills::TillFleet::WriteKases(dir(), {{"K1", fleet().missingFilePath(), "F", {}}});
            setupText("DBFDir", (dir() / "nowhere" / "ITEMS.DBF").string());
        }
        EXPECT_EQ(runLedvik(c.arguments), 1) << c.name;
        EXPECT_TRUE(logText().contains(QString::fromUtf8(c.logged))) << c.name << "\n" << logText().toStdString();
    }
}

TEST_F(LedvikProgramTest, TheWindowsPassEndsWithItsMessage) {
    makeShop();
    fleet().release(QStringLiteral("K3"));
    setupInteger("Preces", 1);
    TLedvikDati dati;
    {
        TLedvik window(dati, false);
        window.show();
        EXPECT_TRUE(window.chkPreces->isChecked());
        EXPECT_FALSE(window.chkAtdKase->isVisible());
        EXPECT_EQ(window.shDemoRinda_1->text(), kDefaultDemoRinda1);
        window.chkR_ARTIK->setChecked(true);
        QTest::mouseClick(window.btSutit, Qt::LeftButton);
        EXPECT_EQ(messages().texts(), QStringList{kProcessDoneMessage});
        EXPECT_TRUE(window.ListProcess->count() > 0);
        EXPECT_TRUE(window.ListProcess->item(window.ListProcess->count() - 1)->text().endsWith(QStringLiteral("Saņem R_ARTIK : OK. Summa=0.00")));
        EXPECT_FALSE(window.Termometrs->isVisible());
    }
    for (const char* till : {"K1", "K2", "K3"})
        EXPECT_EQ(rows(QString::fromLatin1(till), QStringLiteral("SELECT ARTIKULS FROM N_PRECE")), QStringList{"1001"}) << till;
    // Closing wrote the boxes back.
    EXPECT_EQ(settings().readInteger(testsupport::kSetupKey, "R_ARTIK"), 1);
}

}  // namespace
