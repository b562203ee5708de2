// A real till process killed at each step of closing a receipt, on the fiscal-memory module and
// on the USB device, then started again against the same simulators, database and paper, and one
// more receipt sold: the fiscal counters, the journal file and REALIZ agree, and every receipt
// number is counted and stored or printed and stored as annulled, never both and never twice. A
// receipt a card paid through the payment terminal is never annulled: killed once the terminal
// approved it, it is finished, or cancelled on the terminal when it never got its number.
#include "card_test_support.h"
#include "stock_fixture.h"
#include "till_window.h"
#include "test_database.h"

#include "clock.h"
#include "codepage_1257.h"
#include "command_file_exchange.h"
#include "fmproc.h"
#include "receipt_recovery.h"
#include "report_fiscal_memory.h"

#include "database.h"
#include "memorix.h"
#include "session.h"
#include "till_database.h"
#include "usb_fiscal_device.h"
#include "voucher_service_sim.h"

#include <QProcess>
#include <QTest>

#include <fstream>
#include <map>

namespace {

namespace fs = std::filesystem;

// Receipts A, B and C: their entries and payments, and their amounts in cents (department 1).
const char* const kReceiptA = "4750001000017|/0=5.00";
const char* const kReceiptB = "2*4750001000024|/0=10.00";
const char* const kReceiptC = "4750001000031|/0=2.00";
constexpr long long kCentsA = 215, kCentsB = 298, kCentsC = 109;
// The numbers they get on a fresh fiscal memory (its counter reads as 1).
constexpr int kNumberA = 2, kNumberB = 3, kNumberC = 4;

enum class Kind { Module, Usb };

// The same receipts as a driving program's command files, and a sale's answer.
const QString kSaleA = "SALE:PLU=4750001000017;QNTY=1;\r\nPAYM:MEDIA=0;AMOUNT=5.00;\r\n";
const QString kSaleB = "SALE:PLU=4750001000024;QNTY=2;\r\nPAYM:MEDIA=0;AMOUNT=10.00;\r\n";
const QString kSaleC = "SALE:PLU=4750001000031;QNTY=1;\r\nPAYM:MEDIA=0;AMOUNT=2.00;\r\n";
const QStringList kAnsweredSale{"OK", "OK"};

// The till process (till_process.cpp) in the test's folder.
class TillProcess {
public:
    // A real clock for a till that talks to the payment terminal, which answers in its own time.
    explicit TillProcess(const QStringList& arguments, bool realClock = false) {
        const auto seconds =
            std::chrono::duration_cast<std::chrono::seconds>(platform::clock().now().time_since_epoch()).count();
        process_.start(QStringLiteral(TILL_PROCESS),
                       QStringList{realClock ? QStringLiteral("real") : QString::number(seconds)} + arguments);
        process_.waitForStarted(30000);
    }
    ~TillProcess() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(30000);
        }
    }
    // Waits for its end: its exit code, -1 when it was killed (by itself or by the test).
    int finish() {
        if (!process_.waitForFinished(120000)) process_.kill(), process_.waitForFinished(30000);
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }
    void kill() {
        process_.kill();
        process_.waitForFinished(30000);
    }
    bool running() const { return process_.state() == QProcess::Running; }
    // The messages it showed, one a line.
    QString output() { return QString::fromUtf8(process_.readAllStandardOutput()); }

private:
    QProcess process_;
};

class ReceiptKill : public testsupport::DatabaseTest, protected testsupport::TillDevices {
protected:
    void startOn(Kind kind) {
        kind_ = kind;
        platform::runScript(platform::parseDatabaseLocation(databaseFile().string()), schema::demoDataScript());
        testsupport::writeTillSetup(settings(), 6);
        memorix::setReadTimeoutMs(300);
        ASSERT_TRUE(startDevices(dir(), portsDir(), {.printerType = 6, .display = true, .openingRecord = true}));
        MEMORIX_CloseComPort();  // the till processes open it as a started program does
        if (kind == Kind::Usb) {
            setupInteger("FMTips", 3);
            settings().writeInteger(platform::kFtdiSettingsKey, "ReadTimeoutMs", 300);
            usb = std::make_unique<sim::UsbFiscalDevice>();
            ASSERT_TRUE(usb->start(portsDir(), "FTDI0"));
        }
        closeDb();
    }
    void TearDown() override {
        if (usb) usb->stop();
        stopDevices();
        memorix::setReadTimeoutMs(5000);
        DatabaseTest::TearDown();
    }

    // The embedded database is opened by one process at a time.
    void closeDb() { QSqlDatabase::database(kTestConnection, false).close(); }

    // A run of the till: sells the receipts, killed where asked; its exit code and messages.
    std::pair<int, QString> runTill(const QStringList& arguments) {
        closeDb();
        TillProcess till(arguments, realClock_);
        const int code = till.finish();
        return {code, till.output()};
    }
    // A run killed where asked, then a start that finishes receipt `number` and says so once.
    void killThenFinish(const QStringList& killed, int number) {
        const auto [killedCode, killedOutput] = runTill(killed);
        ASSERT_EQ(killedCode, -1) << killedOutput.toStdString();
        const auto [code, output] = runTill({"-", "0"});
        ASSERT_EQ(code, 0) << output.toStdString();
        EXPECT_EQ(output.count(FinishedAfterInterruption(number)), 1) << output.toStdString();
    }

    QString fiscalRecord(const char* name) {
        if (kind_ == Kind::Usb) return QString::fromStdString(usb->record(name).value_or(std::string()));
        QString text;
        {
            TFMProc fm;
            EXPECT_EQ(fm.Status, 0);
            EXPECT_TRUE(fm.FMRead(QString::fromLatin1(name), text)) << name;
        }
        MEMORIX_CloseComPort();
        return text;
    }

    // The journal files' text.
    QString journal() {
        QString text;
        for (const auto& entry : fs::directory_iterator(dir() / "El_Kontr"))
            if (entry.is_regular_file()) text += fromCp1257(testsupport::readFile(entry.path()));
        return text;
    }

    // Everything agrees: each of A, B and C stored once (B as a sale when `bFinished`, else as
    // annulled), the department's counter is the sum of the stored sales, the receipt counter
    // stands at C, no marker or pending file is left, and journal and paper show each number.
    void expectAgreement(bool bFinished) {
        std::map<int, QString> flags;
        {
            QSqlQuery rows = exec("SELECT CEKA_NR, ANULETS FROM REALIZ ORDER BY CEKA_NR");
            while (rows.next()) {
                const int nr = rows.value(0).toInt();
                EXPECT_TRUE(!flags.count(nr) || flags[nr] == rows.value(1).toString()) << nr;
                flags[nr] = rows.value(1).toString();
            }
        }
        EXPECT_EQ(flags, (std::map<int, QString>{{kNumberA, "F"}, {kNumberB, bFinished ? "F" : "T"}, {kNumberC, "F"}}));
        EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE CEKA_NR = :N", {{":N", kNumberB}}).toInt(), 1);
        const long long stored =
            std::llround(value("SELECT SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) FROM REALIZ WHERE ANULETS='F'").toDouble() * 100);
        closeDb();
        const long long expected = kCentsA + kCentsC + (bFinished ? kCentsB : 0);
        EXPECT_EQ(stored, expected);
        EXPECT_EQ(fiscalRecord("NOD_D_SUM").mid(2, 8).trimmed().toLongLong(), expected);
        EXPECT_EQ(fiscalRecord("CEKANRCOUN").trimmed().toInt(), kNumberC);
        EXPECT_EQ(fiscalRecord("CSLEGSANA").trimmed(), QString());
        EXPECT_FALSE(fs::exists(dir() / kPendingReceiptFile));

        const QString tape = journal();
        for (const int nr : {kNumberA, kNumberB, kNumberC})
            EXPECT_TRUE(tape.contains(QStringLiteral("Čeks Nr %1").arg(nr))) << nr;
        EXPECT_EQ(tape.contains(QStringLiteral("ČEKS ANULĒTS")), !bFinished);
        printer->waitIdle(200);
        const auto paper = printer->receipt();
        const auto onPaper = [&](const std::string& line) { return std::find(paper.begin(), paper.end(), line) != paper.end(); };
        for (const int nr : {kNumberA, kNumberB, kNumberC}) EXPECT_TRUE(onPaper("Čeks Nr " + std::to_string(nr))) << nr;
    }

    // Hands the till a command file as a driving program does: its reply once there, or the
    // reply file's lines (none) when the till died taking it.
    QStringList exchange(TillProcess& till, const QString& commands) {
        const fs::path part = dir() / "comand.part";
        std::ofstream(part, std::ios::binary) << toCp1257(commands);
        fs::rename(part, dir() / command_file::kCommandFileName);
        EXPECT_TRUE(QTest::qWaitFor([&] { return fs::exists(dir() / command_file::kReplyFileName) || !till.running(); },
                                    60000));
        return command_file::DecodeCommandFile(testsupport::readFile(dir() / command_file::kReplyFileName));
    }
    // The till of a driving program: it serves command files.
    void startServingOn(Kind kind) {
        startOn(kind);
        setupInteger("FiskPrinteris", 1);
        closeDb();
    }
    // A till serving command files: sale A answered, then killed at `step` of what `commands`
    // start (receipt `killReceipt` of the run), before any answer to them.
    void killedServing(const char* step, const char* killReceipt, const QString& commands) {
        TillProcess till({"serve", step, killReceipt});
        EXPECT_EQ(exchange(till, kSaleA), kAnsweredSale);
        exchange(till, commands);
        EXPECT_EQ(till.finish(), -1);
        EXPECT_FALSE(fs::exists(dir() / command_file::kReplyFileName));
    }
    // The till started again: the driving program, still waiting, reads the answer the start
    // wrote for the command file the killed run took (`expected`), removes it, and sends sale C,
    // which is answered as any sale.
    void restartAnswers(const QStringList& expected) {
        TillProcess till({"serve", "-", "0"});
        EXPECT_TRUE(QTest::qWaitFor([&] { return fs::exists(dir() / command_file::kReplyFileName); }, 60000));
        EXPECT_EQ(command_file::DecodeCommandFile(testsupport::readFile(dir() / command_file::kReplyFileName)), expected);
        fs::remove(dir() / command_file::kReplyFileName);
        EXPECT_EQ(exchange(till, kSaleC), kAnsweredSale);
        till.kill();
    }

    // The number of the newest day-close record.
    int newestDayClose() {
        // The USB device's list starts with its opening record once the first day is closed.
        if (kind_ == Kind::Usb) return std::max(int(usb->dayCloseRecords().size()) - 1, 0);
        DayCloseRecord last;
        {
            TFMProc fm;
            EXPECT_TRUE(ReportFiscalMemory(fm).readLastDayClose(last));
        }
        MEMORIX_CloseComPort();
        return last.nr;
    }

    Kind kind_ = Kind::Module;
    bool realClock_ = false;
    std::unique_ptr<sim::UsbFiscalDevice> usb;
};


std::string kindName(Kind kind) { return kind == Kind::Module ? "Module" : "Usb"; }

struct Kill {
    const char* step;  // where receipt B's closing is cut short
    bool finished;     // B is counted and stored after the restart (else annulled)
};

class KilledWhileClosing : public ReceiptKill, public ::testing::WithParamInterface<std::tuple<Kind, Kill>> {};

TEST_P(KilledWhileClosing, RestartAccountsForEveryNumber) {
    const auto [kind, kill] = GetParam();
    startOn(kind);
    const auto [killedCode, killedOutput] = runTill({kill.step, "2", kReceiptA, kReceiptB});
    ASSERT_EQ(killedCode, -1) << killedOutput.toStdString();

    const auto [code, output] = runTill({"-", "0", kReceiptC});
    ASSERT_EQ(code, 0) << output.toStdString();
    const QString message = kill.finished ? FinishedAfterInterruption(kNumberB) : AnnulledAfterInterruption(kNumberB);
    EXPECT_EQ(output.count(message), 1) << output.toStdString();
    expectAgreement(kill.finished);

    // A start after that finds nothing left to do.
    const auto [again, quiet] = runTill({"-", "0"});
    EXPECT_EQ(again, 0);
    EXPECT_FALSE(quiet.contains(QStringLiteral("pēc pārtraukuma"))) << quiet.toStdString();
    expectAgreement(kill.finished);
}

const Kill kKills[] = {{"numbered", false}, {"first-line", false}, {"printed", true},
                       {"counting", true},  {"counted", true},     {"stored", true}};

INSTANTIATE_TEST_SUITE_P(Steps, KilledWhileClosing,
                         ::testing::Combine(::testing::Values(Kind::Module, Kind::Usb), ::testing::ValuesIn(kKills)),
                         [](const auto& info) {
                             std::string name = std::string(std::get<0>(info.param) == Kind::Module ? "Module_" : "Usb_") +
                                                std::get<1>(info.param).step;
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

// The start-up's own recovery killed as it counts, then as it stores: the next start finishes
// the receipt, once.
class KilledWhileRecovering : public ReceiptKill, public ::testing::WithParamInterface<Kind> {};

TEST_P(KilledWhileRecovering, TheReceiptIsFinishedOnce) {
    startOn(GetParam());
    ASSERT_EQ(runTill({"printed", "2", kReceiptA, kReceiptB}).first, -1);
    ASSERT_EQ(runTill({"recovery-counted", "0"}).first, -1);
    ASSERT_EQ(runTill({"recovery-stored", "0"}).first, -1);
    const auto [code, output] = runTill({"-", "0", kReceiptC});
    ASSERT_EQ(code, 0) << output.toStdString();
    EXPECT_TRUE(output.contains(FinishedAfterInterruption(kNumberB))) << output.toStdString();
    expectAgreement(true);
}

INSTANTIATE_TEST_SUITE_P(Kinds, KilledWhileRecovering, ::testing::Values(Kind::Module, Kind::Usb),
                         [](const auto& info) { return kindName(info.param); });

// A driving program's sale whose till died after counting it, or after storing it and clearing
// its marker but before its answer was written: the restarted till answers the taken command
// file, so the program does not send the sale again and it is recorded once.
class CommandFileSaleKilled : public ReceiptKill, public ::testing::WithParamInterface<std::tuple<Kind, const char*>> {};

TEST_P(CommandFileSaleKilled, IsAnsweredAfterTheRestartAndNotRecordedTwice) {
    const auto [kind, step] = GetParam();
    startServingOn(kind);
    killedServing(step, "2", kSaleB);
    ASSERT_TRUE(fs::exists(dir() / command_file::kTakenFileName));
    // Answered OK, the sale is not sent again; the next one is.
    restartAnswers({"OK", FinishedAfterInterruption(kNumberB), "OK"});
    expectAgreement(true);
}

INSTANTIATE_TEST_SUITE_P(Steps, CommandFileSaleKilled,
                         ::testing::Values(std::tuple(Kind::Module, "counted"), std::tuple(Kind::Module, "cleared"),
                                           std::tuple(Kind::Usb, "cleared")),
                         [](const auto& info) {
                             return kindName(std::get<0>(info.param)) + "_" + std::get<1>(info.param);
                         });

// A Z report asked for by a command file, killed after its day-close record is appended and after
// the day is wholly closed: the restart finishes the day and answers the Z report "OK", so no
// second day-close record follows.
class ZReportKilled : public ReceiptKill, public ::testing::WithParamInterface<std::tuple<Kind, const char*>> {};

TEST_P(ZReportKilled, TheRestartAnswersItAndTheDayIsClosedOnce) {
    const auto [kind, step] = GetParam();
    startServingOn(kind);
    const int before = newestDayClose();
    killedServing(step, "1", "Z_REPORT:\r\n");
    restartAnswers({"OK"});
    // One day-close record, and the next day's sale counts from zero.
    EXPECT_EQ(newestDayClose(), before + 1);
    EXPECT_EQ(fiscalRecord("NOD_D_SUM").mid(2, 8).trimmed().toLongLong(), kCentsC);
    EXPECT_FALSE(fs::exists(dir() / command_file::kOwedDayCloseFile));
}

INSTANTIATE_TEST_SUITE_P(Steps, ZReportKilled,
                         ::testing::Combine(::testing::Values(Kind::Module, Kind::Usb),
                                            ::testing::Values("day-appended", "day-closed")),
                         [](const auto& info) {
                             std::string name = kindName(std::get<0>(info.param)) + "_" + std::get<1>(info.param);
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

// An order paid at the till from the orders window, its receipt killed once counted and once
// stored: the restart finishes the receipt and marks the order's lines paid, so the order is not
// offered for payment again.
class KilledPayingAnOrder : public ReceiptKill, public ::testing::WithParamInterface<const char*> {};

TEST_P(KilledPayingAnOrder, TheFinishedReceiptMarksTheOrderPaid) {
    startOn(Kind::Module);
    const platform::LocalTime now = platform::localNow();
    for (const char* artikuls : {"4750001000017", "4750001000024"})
        exec("INSERT INTO O_PASUT (DATUMS, PASUT_NR, GALDS, BARMENIS, ARTIKULS, CENA, DAUDZUMS, ATLAIDE, APMAKSATS) "
             "VALUES (:D, 5, '3', 'Anna', :A, 1.50, 1, 0, 'F')",
             {{":D", QDate(now.year, now.month, now.day)}, {":A", artikuls}});
    closeDb();

    ASSERT_NO_FATAL_FAILURE(killThenFinish({GetParam(), "1", "@/0=10.00"}, kNumberA));

    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE CEKA_NR = :N AND ANULETS = 'F'", {{":N", kNumberA}}).toInt(), 2);
    EXPECT_EQ(value("SELECT COUNT(*) FROM O_PASUT WHERE APMAKSATS = 'T'").toInt(), 2);
    closeDb();
    EXPECT_FALSE(fs::exists(dir() / kPendingReceiptFile));
}

INSTANTIATE_TEST_SUITE_P(Steps, KilledPayingAnOrder, ::testing::Values("counted", "stored"),
                         [](const auto& info) { return std::string(info.param); });

// A voucher of the web service sold, the till killed at each step of its receipt: after the restart
// a receipt finished as paid has its voucher bought and the code printed exactly once; a receipt
// annulled or never numbered leaves no reservation open at the service.
struct VoucherKill {
    const char* step;
    bool paid;  // the receipt is finished as paid
};

class KilledSellingAVoucher : public ReceiptKill, public ::testing::WithParamInterface<VoucherKill> {
protected:
    int printedCodes() {
        printer->waitIdle(200);
        const auto paper = printer->receipt();
        return int(std::count(paper.begin(), paper.end(), std::string("Reference Nr:")));
    }
    sim::VoucherServiceSim service;
};

TEST_P(KilledSellingAVoucher, EveryBoughtCodeIsPrintedOnceAndNoReservationIsLeftOpen) {
    const VoucherKill kill = GetParam();
    startOn(Kind::Module);
    ASSERT_TRUE(service.start());
    setupText("ZudezoServer", service.baseUrl());
    setupInteger("PrepaidServVeids", 2);
    setupText("ZudezoClientID", "K1");
    setupText("ZudezoPasword", "slepens");
    setupText("ZudezoUserID", "U7");
    setupText("ZudezoLogo_1", "zudezo");

    const auto [killedCode, killedOutput] = runTill({kill.step, "1", "4750000000001|/0=5.00"});
    ASSERT_EQ(killedCode, -1) << killedOutput.toStdString();
    const auto [code, output] = runTill({"-", "0"});
    ASSERT_EQ(code, 0) << output.toStdString();

    EXPECT_TRUE(service.openReservations().empty());
    EXPECT_EQ(service.bought(), kill.paid ? std::vector<std::string>{"R1"} : std::vector<std::string>{});
    EXPECT_EQ(service.cancelled(), kill.paid ? std::vector<std::string>{} : std::vector<std::string>{"R1"});
    EXPECT_EQ(printedCodes(), kill.paid ? 1 : 0);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS = 'F'").toInt(), kill.paid ? 1 : 0);
    closeDb();
    EXPECT_FALSE(fs::exists(dir() / kPendingReceiptFile));

    // A start after that finds nothing left to do.
    ASSERT_EQ(runTill({"-", "0"}).first, 0);
    EXPECT_EQ(printedCodes(), kill.paid ? 1 : 0);
    EXPECT_EQ(service.bought().size(), kill.paid ? 1u : 0u);
}

const VoucherKill kVoucherKills[] = {{"voucher-reserved", false}, {"numbered", false},      {"printed", true},
                                     {"voucher-bought", true},    {"voucher-printed", true}, {"counted", true}};

INSTANTIATE_TEST_SUITE_P(Steps, KilledSellingAVoucher, ::testing::ValuesIn(kVoucherKills), [](const auto& info) {
    std::string name = info.param.step;
    for (char& c : name)
        if (c == '-') c = '_';
    return name;
});

// With the stock link on, a receipt of two lines killed before its stock moved, after its first
// line's stock moved, or before it was stored: the restart moves each line's stock exactly once.
class KilledWithTheStockLink : public ReceiptKill,
                               protected testsupport::StockDatabase,
                               public ::testing::WithParamInterface<const char*> {
protected:
    // The embedded stock database, like the till's, is opened by one process at a time here.
    void closeStock() { stock.close(); }
};

TEST_P(KilledWithTheStockLink, EveryLineMovesTheStockOnce) {
    startOn(Kind::Module);
    create(dir());
    const int milk = addGoods("4750001000017"), bread = addGoods("4750001000024");
    addBalance(milk, 10);
    addBalance(bread, 10);
    setupInteger("StockaraConect", 1);
    setupText("StockaraNodalasKods", kKods.toStdString());
    closeStock();

    ASSERT_NO_FATAL_FAILURE(killThenFinish({GetParam(), "1", "4750001000017,2*4750001000024|/0=10.00"}, kNumberA));

    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE CEKA_NR = :N AND ANULETS = 'F'", {{":N", kNumberA}}).toInt(), 2);
    closeDb();
    reopen();
    EXPECT_DOUBLE_EQ(changeable(milk), 9);
    EXPECT_DOUBLE_EQ(changeable(bread), 8);
    EXPECT_FALSE(fs::exists(dir() / kPendingReceiptFile));
    closeStock();
}

INSTANTIATE_TEST_SUITE_P(Steps, KilledWithTheStockLink, ::testing::Values("counted", "stored", "stock-line"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

// Receipt B paid by card on the payment terminal (terminal kind 2 on COM4), the till killed once
// the terminal approved it.
const char* const kCardReceiptB = "2*4750001000024|/1=2.98";

class CardReceiptKill : public ReceiptKill {
protected:
    void startCardTill(Kind kind) {
        // The terminal answers in its own time: the tills' waits are real ones.
        platform::setClock(nullptr);
        realClock_ = true;
        startOn(kind);
        ASSERT_EQ(DllRegisterServer(), 0);
        ASSERT_TRUE(terminal.start(portsDir(), "COM4"));
        setupText("EFT", "2");
        setupInteger("CHIPReader", 4);
        setupText("SerialPortSpeed", "115200");
    }
    void TearDown() override {
        if (HasFailure()) std::fprintf(stderr, "terminal's trace:\n%s\n", terminal.trace().text().c_str());
        terminal.stop();
        ReceiptKill::TearDown();
    }
    // The terminal's transaction requests of one type ("0" purchase, "1" cancellation), each as
    // its amount in cents.
    std::vector<std::string> transactions(const std::string& type) {
        std::vector<std::string> amounts;
        for (const std::string& request : terminal.requestsOfType("1"))
            if (cardtest::field(request, 1) == type) amounts.push_back(cardtest::field(request, 2));
        return amounts;
    }
    long long cardCounter() { return fiscalRecord("BANKA_SUM").trimmed().toLongLong(); }

    sim::PaymentTerminalSim terminal;
};

class CardPaidWhenKilled : public CardReceiptKill, public ::testing::WithParamInterface<std::tuple<Kind, const char*>> {};

// Killed after the receipt took its number, before it was wholly printed: the card paid it, so
// the restart prints it again in full, counts and stores it; nothing goes back to the card.
TEST_P(CardPaidWhenKilled, TheRestartFinishesTheReceiptAsPaid) {
    const auto [kind, step] = GetParam();
    startCardTill(kind);
    const auto [killedCode, killedOutput] = runTill({step, "2", kReceiptA, kCardReceiptB});
    ASSERT_EQ(killedCode, -1) << killedOutput.toStdString();
    EXPECT_EQ(transactions("0"), (std::vector<std::string>{"298"}));

    const auto [code, output] = runTill({"-", "0", kReceiptC});
    ASSERT_EQ(code, 0) << output.toStdString();
    EXPECT_EQ(output.count(FinishedAfterInterruption(kNumberB)), 1) << output.toStdString();
    expectAgreement(true);
    EXPECT_EQ(cardCounter(), kCentsB);
    EXPECT_EQ(transactions("0"), (std::vector<std::string>{"298"}));
    EXPECT_TRUE(transactions("1").empty());
}

INSTANTIATE_TEST_SUITE_P(Steps, CardPaidWhenKilled,
                         ::testing::Combine(::testing::Values(Kind::Module, Kind::Usb),
                                            ::testing::Values("numbered", "first-line", "printed")),
                         [](const auto& info) {
                             std::string name = std::string(std::get<0>(info.param) == Kind::Module ? "Module_" : "Usb_") +
                                                std::get<1>(info.param);
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

// Killed right after the terminal's approval was read, before the receipt took a number: nothing
// of it was printed or counted, so the restart cancels the approved amount on the terminal, once,
// and says so; the next receipt takes the number B would have had.
TEST_F(CardReceiptKill, AnApprovalOfAReceiptNeverNumberedIsCancelledOnTheTerminalOnce) {
    startCardTill(Kind::Module);
    const auto [killedCode, killedOutput] = runTill({"card-approved", "2", kReceiptA, kCardReceiptB});
    ASSERT_EQ(killedCode, -1) << killedOutput.toStdString();
    ASSERT_TRUE(fs::exists(dir() / kPendingReceiptFile));

    const auto [code, output] = runTill({"-", "0", kReceiptC});
    ASSERT_EQ(code, 0) << output.toStdString();
    EXPECT_EQ(output.count(CardsCancelledAfterInterruption(2.98)), 1) << output.toStdString();
    EXPECT_EQ(transactions("0"), (std::vector<std::string>{"298"}));
    EXPECT_EQ(transactions("1"), (std::vector<std::string>{"298"}));
    EXPECT_FALSE(fs::exists(dir() / kPendingReceiptFile));
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE CEKA_NR = :N AND ANULETS = 'F'", {{":N", kNumberB}}).toInt(), 1);
    EXPECT_EQ(value("SELECT COUNT(DISTINCT CEKA_NR) FROM REALIZ").toInt(), 2);
    closeDb();
    EXPECT_EQ(cardCounter(), 0);
    EXPECT_EQ(fiscalRecord("NOD_D_SUM").mid(2, 8).trimmed().toLongLong(), kCentsA + kCentsC);

    const auto [again, quiet] = runTill({"-", "0"});
    EXPECT_EQ(again, 0);
    EXPECT_EQ(transactions("1").size(), 1u);
}

// A driving program's card sale whose till died once the terminal approved it: the restarted till
// answers the taken command file, "OK" for a receipt it finished (charged once, stored once), the
// cancellation's message for one never numbered (its approval cancelled on the terminal), so the
// program never sends a charged sale again.
struct CardAnswer {
    const char* step;
    // Receipts the command files had numbered when the till dies (serve mode counts at "numbered").
    const char* receipt;
    bool finished;
};

class CardSaleAnsweredAfterRestart : public CardReceiptKill, public ::testing::WithParamInterface<CardAnswer> {};

TEST_P(CardSaleAnsweredAfterRestart, TheProgramGetsItsAnswerAndTheCardIsChargedOnce) {
    const CardAnswer kill = GetParam();
    startCardTill(Kind::Module);
    setupInteger("FiskPrinteris", 1);
    closeDb();
    const QString saleB = "SALE:PLU=4750001000024;QNTY=2;\r\nPAYM:MEDIA=1;AMOUNT=2.98;\r\n";
    {
        TillProcess till({"serve", kill.step, kill.receipt}, true);
        std::ofstream(dir() / command_file::kCommandFileName, std::ios::binary) << toCp1257(saleB);
        EXPECT_EQ(till.finish(), -1);
    }
    EXPECT_FALSE(fs::exists(dir() / command_file::kReplyFileName));
    {
        TillProcess till({"serve", "-", "0"}, true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(dir() / command_file::kReplyFileName); }, 60000));
        const QStringList answer =
            command_file::DecodeCommandFile(testsupport::readFile(dir() / command_file::kReplyFileName));
        const QString message = kill.finished ? FinishedAfterInterruption(kNumberA) : CardsCancelledAfterInterruption(2.98);
        EXPECT_EQ(answer, (QStringList{"OK", message, kill.finished ? QStringLiteral("OK") : message}));
        till.kill();
    }
    EXPECT_EQ(transactions("0"), (std::vector<std::string>{"298"}));
    EXPECT_EQ(transactions("1"), kill.finished ? std::vector<std::string>{} : std::vector<std::string>{"298"});
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS = 'F'").toInt(), kill.finished ? 1 : 0);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS = 'T'").toInt(), 0);
    closeDb();
    EXPECT_EQ(cardCounter(), kill.finished ? kCentsB : 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, CardSaleAnsweredAfterRestart,
                         ::testing::Values(CardAnswer{"card-approved", "0", false}, CardAnswer{"numbered", "1", true}),
                         [](const auto& info) {
                             std::string name = info.param.step;
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

}  // namespace
