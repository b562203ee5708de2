#include "till_window.h"

#include "datumodelis.h"
#include "fmproc.h"
#include "password_dlg.h"
#include "posmain.h"
#include "start_form.h"

#include "memorix.h"
#include "session.h"
#include "till_database.h"
#include "ui_services.h"

#include <QTest>

#include <algorithm>
#include <chrono>
#include <thread>

namespace testsupport {

void writeTillSetup(platform::SettingsStore& store, int printerType) {
    store.writeText("Control Panel\\International", "sDecimal", ".");
    store.writeInteger(kSetupKey, "FMTips", 1);
    store.writeInteger(kSetupKey, "FMPort", 1);
    store.writeInteger(kSetupKey, "Printeris", printerType);
    store.writeInteger(kSetupKey, "PrinteraPorts", 2);
    store.writeInteger(kSetupKey, "KlDisplejsPorts", 3);
    store.writeInteger(kSetupKey, "KlDispejaTips", 0);
    store.writeInteger(kSetupKey, "CekaValuta", 1);
}

bool TillDevices::startDevices(const std::filesystem::path& folder, const std::filesystem::path& portsDir,
                               const TillOptions& options, long moduleBaud, long printerBaud) {
    fiscal = std::make_unique<sim::FiscalMemorySim>(folder / "fiscal-memory.bin");
    if (!fiscal->start(portsDir, "COM1", moduleBaud) || MEMORIX_OpenComPort(1, int(kModuleBaud)) != 0 || HT_ClearAll() != 0)
        return false;
    if (options.openingRecord && FM_AppendRecord("0", "opening", 7) != 0) return false;
    printer = std::make_unique<sim::PrinterSimulator>(options.printerType);
    if (printerBaud > 0) printer->setReceivePacing(printerBaud);
    if (!printer->start(portsDir, "COM2")) return false;
    // The scale and the scanner stand where the settings say, as tillora-devices puts them.
    const auto& settings = platform::SettingsStore::current();
    const auto svariCom = settings.readInteger(kSetupKey, "SvariCom");
    const auto svariTips = sim::scaleModel(int(settings.readInteger(kSetupKey, "SvariTips").value_or(0)));
    if (svariCom && *svariCom > 0 && svariTips) {
        scale = std::make_unique<sim::ScaleSim>(*svariTips);
        if (!scale->start(portsDir, "COM" + std::to_string(*svariCom))) return false;
    }
    const auto skanerisCom = settings.readInteger(kSetupKey, "SkanerisCom");
    if (skanerisCom && *skanerisCom > 1) {
        scanner = std::make_unique<sim::ScannerSim>();
        if (!scanner->start(portsDir, "COM" + std::to_string(*skanerisCom))) return false;
    }
    if (!options.display) return true;
    display = std::make_unique<sim::DisplaySimulator>(0);
    return display->start(portsDir, "COM3");
}

void TillDevices::stopDevices() {
    MEMORIX_CloseComPort();
    if (printer) printer->stop();
    if (display) display->stop();
    if (fiscal) fiscal->stop();
    printer.reset();
    display.reset();
    scale.reset();
    scanner.reset();
    fiscal.reset();
}

void openStartForm() {
    DatuModelis = new TDatuModelis(nullptr);
    StartForm = new TStartForm;
    StartForm->show();
}

void logInAs(const QString& user, const QString& password) {
    if (!PasswordDlg) PasswordDlg = new TPasswordDlg(StartForm);
    PasswordDlg->shLietotajs->setText(user);
    PasswordDlg->Password->setText(password);
    PasswordDlg->BtOKClick();
}

bool startSaleWindow() {
    try {
        new TPOSMain;
        return true;
    } catch (const platform::ui::ProgramEnded&) {
        return false;
    }
}

void closeTill() {
    delete POSMain;
    delete StartForm;
    delete DatuModelis;
}

void TillWindowTest::SetUp() {
    DatabaseTest::SetUp();
    platform::runScript(platform::parseDatabaseLocation(databaseFile().string()), schema::demoDataScript());
    writeTillSetup(settings(), options_.printerType);
    if (options_.scaleModel >= 0) {
        settings().writeInteger(kSetupKey, "SvariCom", 4);
        settings().writeInteger(kSetupKey, "SvariTips", options_.scaleModel);
    }
    if (options_.scanner) settings().writeInteger(kSetupKey, "SkanerisCom", 5);
    memorix::setReadTimeoutMs(300);
    ASSERT_TRUE(startDevices(dir(), portsDir(), options_));
    processScope_ = std::make_unique<ProcessListScope>(processes);
    openStartForm();
}

void TillWindowTest::TearDown() {
    closeTill();
    stopDevices();
    memorix::setReadTimeoutMs(5000);
    processScope_.reset();
    DatabaseTest::TearDown();
}

QString departmentRates(int percent) {
    QString rates;
    for (int slot = 1; slot <= 24; ++slot) rates += QString::asprintf("%2d%8d", percent, 0);
    return rates;
}

void TillWindowTest::writeRecords(const std::vector<std::pair<const char*, QString>>& records) {
    TFMProc fm;
    for (const auto& [name, text] : records) ASSERT_TRUE(fm.FMWrite(name, text)) << name;
}

bool TillWindowTest::startTill() {
    logIn();
    if (!start()) return false;
    EXPECT_FALSE(POSMain.isNull());
    return !POSMain.isNull();
}

TPOSMain& TillWindowTest::w() { return *POSMain; }

void TillWindowTest::enter(const QString& text) {
    w().edArtikuls->setText(text);
    QTest::keyClick(w().edArtikuls, Qt::Key_Return);
}

void changeDemoItemsFromAnotherProcess(const std::filesystem::path& database, const std::string& newCode, double newPrice) {
    SqlPeer peer(database.string());
    ASSERT_EQ(peer.greeting(), "READY");
    EXPECT_EQ(peer.run("UPDATE N_PRECE SET CENA = 9.99 WHERE ARTIKULS = '4750001000017'"), "OK");
    EXPECT_EQ(peer.run("UPDATE N_PRECE SET GNOS = 'Baltmaize jaunā' WHERE ARTIKULS = '4750001000024'"), "OK");
    EXPECT_EQ(peer.run("INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('" + newCode + "', 'Jauna prece', 'gab.', 1, " +
                       QString::number(newPrice, 'f', 2).toStdString() + ")"),
              "OK");
}

std::vector<std::string> TillWindowTest::paper() {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    printer->waitIdle(100);
    return printer->receipt();
}

bool TillWindowTest::printed(const std::string& line) {
    const auto all = paper();
    return std::find(all.begin(), all.end(), line) != all.end();
}

QString TillWindowTest::record(const char* name) {
    QString text;
    EXPECT_TRUE(w().FMProc->FMRead(QString::fromLatin1(name), text)) << name;
    return text;
}

}  // namespace testsupport
