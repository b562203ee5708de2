// Another program driving the real till, offscreen, through the command file alone: the demo
// database, the fiscal-memory module on COM1, the receipt printer on COM2 and the customer
// display on COM3. Each exchange writes "comand.pos" and waits for the till to take it and
// answer in "ret.pos", as the driving program does.
#include "driven_till.h"

#include "codepage_1257.h"
#include "fiscal_registration.h"
#include "fmproc.h"

#include <QTest>

#include <algorithm>
#include <fstream>

// Texts in failure output.
inline void PrintTo(const QString& text, std::ostream* os) { *os << text.toStdString(); }

namespace {

namespace fs = std::filesystem;
using command_file::kCommandFileName;
using command_file::kReplyFileName;
using command_file::kTakenFileName;

const QString kNotOpen = QStringLiteral("Ir iesākts čeks, atskaiti ņemt nedrīkst !!!");
const QString kFinishReceipt = QStringLiteral("Sākumā jānobeidz čeks !!!");

class CommandFileWindow : public testsupport::TillWindowTest {
protected:
    CommandFileWindow() : TillWindowTest(driven_till::kTillOptions) {}

    void startTill(bool fiskPrinteris = true) {
        setupInteger("FiskPrinteris", fiskPrinteris ? 1 : 0);
        ASSERT_TRUE(TillWindowTest::startTill());
        messages().clear();
    }

    void put(const std::string& bytes) { driven_till::putCommandFile(dir(), bytes); }

    // One exchange: the file is taken, then the reply appears.
    QStringList exchange(const QString& commands) {
        put(toCp1257(commands));
        const bool answered = QTest::qWaitFor(
            [&] { return !fs::exists(dir() / kCommandFileName) && fs::exists(dir() / kReplyFileName); }, 20000);
        EXPECT_TRUE(answered) << commands.toStdString();
        return command_file::DecodeCommandFile(testsupport::readFile(dir() / kReplyFileName));
    }

    void setRecord(const char* name, const QString& text) { ASSERT_TRUE(w().FMProc->FMWrite(QString::fromLatin1(name), text)) << name; }

    int realizRows(const QString& where = "1=1") { return value("SELECT COUNT(*) FROM REALIZ WHERE " + where).toInt(); }
};

TEST_F(CommandFileWindow, EdgesOfTheFileExchange) {
    startTill();
    EXPECT_TRUE(w().TimerFiskPrinteris->isActive());

    // No command file: nothing is touched.
    std::ofstream(dir() / kReplyFileName, std::ios::binary) << "earlier\r\n";
    QTest::qWait(900);
    EXPECT_EQ(testsupport::readFile(dir() / kReplyFileName), "earlier\r\n");

    // An empty file: an empty reply, the file kept as the taken copy.
    EXPECT_EQ(exchange(""), QStringList{});
    EXPECT_TRUE(fs::exists(dir() / kTakenFileName));

    // An error inside a command answers its line; serving and polling go on.
    const QStringList refused = exchange("PRG:PLU=" + QString(40, u'7') + ";GNOS=Sula;\r\nLASTCHEQUE:\r\n");
    // LASTCHEQUE with no receipt yet: the copy's own message stands before its answer.
    ASSERT_EQ(refused.size(), 3);
    EXPECT_FALSE(refused[0].isEmpty());
    EXPECT_NE(refused[0], "OK");
    EXPECT_EQ(refused[1], "Čeka kopiju izdrukāt nevar (nav datu) !!!");
    EXPECT_EQ(refused[2], "OK");
    EXPECT_TRUE(w().TimerFiskPrinteris->isActive());

    // OPENCASH and DISPLAY: two answers, the drawer kicked, the display written.
    const int pulses = printer->drawerPulses();
    EXPECT_EQ(exchange("OPENCASH:\r\nDISPLAY:LINE1=Labdien;LINE2=Paldies;\r\n"), (QStringList{"OK", "OK"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return printer->drawerPulses() == pulses + 1; }, 2000)) << printer->drawerPulses();
    // The two lines reach the display one after the other: wait for both.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return display->line(0).find("Labdien") != std::string::npos && display->line(1).find("Paldies") != std::string::npos;
        },
        2000))
        << display->line(0) << " / " << display->line(1);

    // A lower-case keyword and a quantity not closed by ';': refused, nothing entered.
    EXPECT_EQ(exchange("opencash:\r\nSALE:PLU=4750001000017;QNTY=2\r\n"),
              (QStringList{"Nezināma komanda !!!", "Nav daudzuma !!!"}));
    EXPECT_EQ(w().RinduSkaits, 0);
    EXPECT_EQ(printer->drawerPulses(), pulses + 1);

    // A message raised by a command stands before its answer.
    EXPECT_EQ(exchange("SALE:PLU=4750001000017;QNTY=1;\r\nINOUTCASH:SUM=5;\r\nRESET:\r\n"),
              (QStringList{"OK", kFinishReceipt, kFinishReceipt, "OK"}));
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();
}

TEST_F(CommandFileWindow, ProgrammedAndChangedItemsSellAsCommitted) {
    startTill();
    EXPECT_EQ(exchange("SALE:PLU=4750001000017;QNTY=1;\r\n"), QStringList{"OK"});  // the look-up has run

    // Another program changes a price, renames an article and adds one (the printed line shows
    // the start of the name: "Baltmaize j", was "Baltmaize a").
    ASSERT_NO_FATAL_FAILURE(testsupport::changeDemoItemsFromAnotherProcess(databaseFile(), "9003", 0.70));

    const QStringList reply = exchange(
        "PRG:PLU=9002;GNOS=Jauna prece;MERV=gab.;NODALA=1;CENA=3.30;\r\n"
        "SALE:PLU=9002;QNTY=1;\r\n"
        "SALE:PLU=9003;QNTY=1;\r\n"
        "SALE:PLU=4750001000017;QNTY=1;\r\n"
        "SALE:PLU=4750001000024;QNTY=1;\r\n"
        "PAYM:MEDIA=0;AMOUNT=20.00;\r\n");
    EXPECT_EQ(reply, QStringList(6, "OK")) << reply.join(" | ").toStdString();
    EXPECT_DOUBLE_EQ(value("SELECT CENA FROM REALIZ WHERE ARTIKULS='9002'").toDouble(), 3.30);
    EXPECT_DOUBLE_EQ(value("SELECT CENA FROM REALIZ WHERE ARTIKULS='9003'").toDouble(), 0.70);
    EXPECT_EQ(realizRows("ARTIKULS='4750001000017' AND CENA=9.99"), 1);
    EXPECT_EQ(realizRows("ARTIKULS='4750001000017' AND CENA=2.15"), 1);
    std::string onPaper;
    for (const std::string& line : paper()) onPaper += line + "\n";
    EXPECT_NE(onPaper.find("4750001000024 Baltmaize j"), std::string::npos) << onPaper;
}

TEST_F(CommandFileWindow, TheInterfaceIsOffWithoutTheSetting) {
    startTill(false);
    EXPECT_FALSE(w().TimerFiskPrinteris->isActive());
    put("OPENCASH:\r\n");
    QTest::qWait(1000);
    EXPECT_TRUE(fs::exists(dir() / kCommandFileName));
    EXPECT_FALSE(fs::exists(dir() / kReplyFileName));
}

TEST_F(CommandFileWindow, AWholeReceipt) {
    startTill();
    const QString receiptCounter = record("CEKANRCOUN");
    const QStringList reply = exchange(
        "PRG:PLU=9001;GNOS=Ābolu sula 1 l;MERV=gab.;NODALA=1;CENA=1.50;\r\n"
        "SALE:PLU=9001;QNTY=2;\r\n"
        "DISC:PRC=10;\r\n"
        "SALE:PLU=4750001000017;QNTY=1;\r\n"
        "DISC:PRC=0;\r\n"
        "HEAD:MAKS=SIA Ābele;PVN=LV40003000000;ADR=Rīga, Brīvības 1;\r\n"
        "PAYM:MEDIA=0;AMOUNT=10.00;\r\n");
    EXPECT_EQ(reply, QStringList(7, "OK")) << reply.join(" | ").toStdString();
    EXPECT_EQ(w().RinduSkaits, 0);
    EXPECT_EQ(value("SELECT GNOS FROM N_PRECE WHERE ARTIKULS='9001'").toString(), QStringLiteral("Ābolu sula 1 l"));

    // 2 x 1.50 and 2.15 less 10 %: the lines in the journal, then the payment row.
    EXPECT_EQ(realizRows("ARTIKULS='9001'"), 1);
    EXPECT_DOUBLE_EQ(value("SELECT DAUDZUMS FROM REALIZ WHERE ARTIKULS='9001'").toDouble(), 2);
    EXPECT_DOUBLE_EQ(value("SELECT ATLAIDE FROM REALIZ WHERE ARTIKULS='4750001000017'").toDouble(), 10);
    EXPECT_DOUBLE_EQ(value("SELECT ATLAIDE FROM REALIZ WHERE ARTIKULS='9001'").toDouble(), 0);
    EXPECT_NE(record("CEKANRCOUN"), receiptCounter);
    EXPECT_EQ(record("NOD_D_SUM").mid(2, 8).trimmed().toLongLong(), 300 + 194);

    const auto all = paper();
    const auto has = [&](const std::string& part) {
        return std::any_of(all.begin(), all.end(), [&](const std::string& line) { return line.find(part) != std::string::npos; });
    };
    EXPECT_TRUE(has("Ābolu sula 1 l")) << printer->paperText();
    EXPECT_TRUE(has("SIA Ābele")) << printer->paperText();
}

TEST_F(CommandFileWindow, AReturnReceipt) {
    startTill();
    EXPECT_EQ(exchange("RETURN:PLU=4750001000017;QNTY=1;\r\nSALE:PLU=4750001000024;QNTY=1;\r\n"),
              (QStringList{"OK", "Vienā čekā nevar būt gan pirkums, gan atgriešana !!!"}));
    EXPECT_EQ(w().RinduSkaits, 1);
    EXPECT_EQ(w().rdPirkumsStorno->ItemIndex(), 1);
    // A return is paid back whole by an amount of 0.
    EXPECT_EQ(exchange("PAYM:MEDIA=0;AMOUNT=0;\r\n"), QStringList{"OK"});
    EXPECT_EQ(w().RinduSkaits, 0);
    EXPECT_EQ(realizRows("ARTIKULS='4750001000017'"), 1);
    EXPECT_EQ(realizRows("ARTIKULS='4750001000024'"), 0);
}

TEST_F(CommandFileWindow, AnUnknownArticleIsAnsweredNotStopped) {
    startTill();
    const QStringList reply = exchange("SALE:PLU=999999;QNTY=1;\r\nSALE:PLU=4750001000017;QNTY=1;\r\n");
    ASSERT_FALSE(reply.isEmpty());
    EXPECT_EQ(reply.front(), "Artikuls 999999 nav atrasts !!!");
    EXPECT_EQ(reply.back(), "OK");
    EXPECT_EQ(w().RinduSkaits, 1);
}

TEST_F(CommandFileWindow, ResetAnnulsTheOpenReceipt) {
    startTill();
    EXPECT_EQ(exchange("SALE:PLU=4750001000017;QNTY=1;\r\nRESET:\r\n"), (QStringList{"OK", "OK"}));
    EXPECT_EQ(w().RinduSkaits, 0);
    EXPECT_EQ(realizRows("ANULETS='T'"), 1);
}

TEST_F(CommandFileWindow, ZReportWhileAReceiptIsOpenEndsTheFile) {
    startTill();
    const QStringList reply = exchange("SALE:PLU=4750001000017;QNTY=1;\r\nZ_REPORT:\r\nRESET:\r\n");
    EXPECT_EQ(reply, (QStringList{"OK", kNotOpen}));
    EXPECT_EQ(w().RinduSkaits, 1);  // RESET was not served
    EXPECT_EQ(exchange("X_REPORT:\r\n"), (QStringList{kNotOpen, kNotOpen}));
}

TEST_F(CommandFileWindow, CashInAndOut) {
    startTill();
    EXPECT_EQ(exchange("INOUTCASH:SUM=50;\r\nINOUTCASH:SUM=-20.5;\r\nINOUTCASH:SUM=piecdesmit;\r\n"),
              (QStringList{"OK", "OK", "Nepareiza summa !!!"}));
    EXPECT_EQ(record("IELIKTS"), "   1    5000 ");
    EXPECT_EQ(record("IZNEMTS"), "   1    2050 ");
    EXPECT_TRUE(printed("Ielikts         50.00")) << printer->paperText();

    EXPECT_EQ(exchange("SALE:PLU=4750001000017;QNTY=1;\r\nINOUTCASH:SUM=5;\r\n"),
              (QStringList{"OK", kFinishReceipt, kFinishReceipt}));
    EXPECT_EQ(record("IELIKTS"), "   1    5000 ");
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();
}

TEST_F(CommandFileWindow, CashSummaryFromTheCounters) {
    startTill();
    setRecord("ATLNOIEPR", "2500");
    QString day;
    for (int slot = 0; slot < 24; ++slot) day += QStringLiteral("21") + (slot == 0 ? "   12345" : slot == 2 ? "     100" : "       0");
    setRecord("NOD_D_SUM", day);
    setRecord("IELIKTS", "   2    5000");
    setRecord("IZNEMTS", "   1    1000");
    setRecord("BANKA_SUM", "3000");
    setRecord("BANKA_ATGR", "500");
    setRecord("ATGRTARA", "   1     200");
    setRecord("APMVEID3", "Kupons");
    setRecord("APMFLAG3", "T");
    setRecord("APM_SUM3", "700");
    setRecord("APMVEID4", "VISA");
    setRecord("APMFLAG4", "F");
    setRecord("APM_SUM4", "1250");
    EXPECT_EQ(exchange("CASHSUM:\r\n"), (QStringList{
                                            "Sākuma atl.kasē =25.00",
                                            "Kopā realizēts  =124.45",
                                            "Maiņas nauda    =50.00",
                                            "Inkasācija      =10.00",
                                            "Bankas karte    =30.00",
                                            "Bankas k.atgr.  =5.00",
                                            "Inkasācij.tara  =2.00",
                                            "Kupons          =      7.00 Nauda kasē",
                                            "VISA            =     12.50 Bezs.nauda",
                                            // 25 + 124.45 + 50 - 10 - (30 + 12.50 + 5) - 2
                                            "Atlikums kasē   =139.95",
                                            "OK",
                                        }));
}

TEST_F(CommandFileWindow, ADayEndsWithXAndZReports) {
    startTill();
    EXPECT_EQ(exchange("SALE:PLU=4750001000017;QNTY=1;\r\nPAYM:MEDIA=0;AMOUNT=2.15;\r\nX_REPORT:\r\nZ_REPORT:\r\n"),
              (QStringList{"OK", "OK", "OK", "OK"}));
    EXPECT_TRUE(printed("            Z atskaites Nr    1")) << printer->paperText();
    EXPECT_EQ(value("SELECT PIEZIMES FROM REALIZ WHERE PIEZIMES LIKE 'Z=%'").toString(), "Z=1");
    EXPECT_EQ(record("ATLNOIEPR").trimmed(), "215");
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();
}

TEST_F(CommandFileWindow, PaymentKindByItsOwnNumber) {
    setupInteger("EUR_Summa", 1);
    setupText("EUR_Kurss", "1.422872");
    startTill();
    // Kind 2 is not in use, so from kind 3 on a kind's place in the list is one less than its
    // number; kind 12 (lats) ends the list.
    setRecord("APMVEID1", "Apmaksas veids 1");
    for (int n = 2; n <= 10; ++n) setRecord(QStringLiteral("APMVEID%1").arg(n).toLatin1().constData(), QStringLiteral("Veids%1").arg(n + 1));
    w().LoadApmaksasVeidi();

    const struct {
        int media;
        const char* amount;
    } cases[] = {{3, "2.15"}, {4, "2.15"}, {11, "2.15"}, {12, "2.00"}, {0, "5.00"}, {1, "2.15"}};
    for (const auto& c : cases) {
        const QStringList reply = exchange(QStringLiteral("SALE:PLU=4750001000017;QNTY=1;\r\nPAYM:MEDIA=%1;AMOUNT=%2;\r\n")
                                               .arg(c.media)
                                               .arg(QString::fromLatin1(c.amount)));
        EXPECT_EQ(reply, (QStringList{"OK", "OK"})) << c.media;
        EXPECT_EQ(w().RinduSkaits, 0) << c.media;
        // The journal counts the kinds from 1.
        EXPECT_EQ(value("SELECT FIRST 1 APM_VEIDS FROM REALIZ ORDER BY ISN DESC").toInt(), c.media + 1) << c.media;
    }

    // The kind not in use is refused by the item entry, the receipt stays open.
    const QStringList refused = exchange("SALE:PLU=4750001000017;QNTY=1;\r\nPAYM:MEDIA=2;AMOUNT=2.15;\r\n");
    EXPECT_EQ(refused, (QStringList{"OK", "Ievadīts nepareizs apmaksas veids, ievadiet lūdzu korektu !!!", "OK"}));
    EXPECT_EQ(w().RinduSkaits, 1);
}

TEST_F(CommandFileWindow, CashSummaryOfAFreshDayReadsUnwrittenCountersAsZero) {
    startTill();
    // A newly prepared module: every working record made, empty; the set-up program wrote the
    // tax rates, the last Z the opening balance.
    ASSERT_TRUE(w().FMProc->InitMRX_FMRam());
    QString rates;
    for (int slot = 0; slot < 24; ++slot) rates += QStringLiteral("21       0");
    setRecord("NOD_D_SUM", rates);
    setRecord("ATLNOIEPR", "5000");
    EXPECT_EQ(exchange("CASHSUM:\r\n"), (QStringList{
                                            "Sākuma atl.kasē =50.00",
                                            "Kopā realizēts  =0.00",
                                            "Maiņas nauda    =0.00",
                                            "Inkasācija      =0.00",
                                            "Bankas karte    =0.00",
                                            "Bankas k.atgr.  =0.00",
                                            "Inkasācij.tara  =0.00",
                                            "Atlikums kasē   =50.00",
                                            "OK",
                                        }));
}

TEST_F(CommandFileWindow, CashThatWouldOverflowItsCounterIsRefusedBeforeAnythingIsWritten) {
    startTill();
    const struct {
        const char* stored;  // IELIKTS before
        const char* sum;
    } cases[] = {
        {"   199999999", "1.15"},  // 999999.99 put in: the total would need nine digits
        {"9999    5000", "1"},      // the count would need five
    };
    for (const auto& c : cases) {
        setRecord("IELIKTS", QString::fromLatin1(c.stored));
        const QString before = record("IELIKTS");
        const int pulses = printer->drawerPulses();
        const std::size_t printedLines = paper().size();
        EXPECT_EQ(exchange(QStringLiteral("INOUTCASH:SUM=%1;\r\n").arg(QString::fromLatin1(c.sum))),
                  (QStringList{"Summa vairs neietilpst fiskālā bloka dienas skaitītājā, vispirms jāņem Z atskaite !!!",
                               "Nepareiza summa !!!"}))
            << c.stored;
        EXPECT_EQ(record("IELIKTS"), before) << c.stored;
        EXPECT_EQ(printer->drawerPulses(), pulses) << c.stored;
        EXPECT_EQ(paper().size(), printedLines) << printer->paperText();
    }
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();
}

// A sale whose amount no longer fits its department's day counter: the refusal goes into the
// reply, no number is taken, nothing printed, counted or stored, the drawer stays shut and the
// receipt open.
TEST_F(CommandFileWindow, ASaleThatWouldOverflowACounterIsRefusedBeforeAnythingIsWritten) {
    startTill();
    // Department 1 (21 %) holds 999999.00, the other 23 nothing.
    setRecord("NOD_D_SUM", QStringLiteral("2199999900") + QStringLiteral("21       0").repeated(23));
    const QString before = record("NOD_D_SUM"), counter = record("CEKANRCOUN");
    const int pulses = printer->drawerPulses();
    const std::size_t printedLines = paper().size();
    const int rows = realizRows();
    const QStringList reply = exchange("SALE:PLU=4750001000017;QNTY=1;\r\nPAYM:MEDIA=0;AMOUNT=5.00;\r\n");
    // The refusal stands before PAYM's own answer, as every message a command raises does.
    EXPECT_EQ(reply, (QStringList{"OK", kCounterFullMessage, "OK"}));
    EXPECT_EQ(w().RinduSkaits, 1);
    EXPECT_EQ(record("NOD_D_SUM"), before);
    EXPECT_EQ(record("CEKANRCOUN"), counter);
    EXPECT_EQ(printer->drawerPulses(), pulses);
    EXPECT_EQ(paper().size(), printedLines) << printer->paperText();
    EXPECT_EQ(realizRows(), rows);
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();
}

}  // namespace
