// The interpreter's parsing, checks and answers against a recording till: what each command
// asks of the till, in which order, and what the reply list holds.
#include "command_file_messages.h"
#include "command_interpreter.h"
#include "fake_till.h"
#include "ui_services.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace command_file;
using command_file_test::FakeTill;

namespace {

class Interpreter : public ::testing::Test {
protected:
    // Serves the lines as one file and returns the reply list.
    QStringList serve(const QStringList& lines) {
        QStringList& reply = till.StartReply();
        CommandInterpreter(till).Serve(lines, reply);
        return reply;
    }
    FakeTill till;
};

}  // namespace

TEST_F(Interpreter, CommandTableOrder) {
    QStringList keywords;
    for (const auto& command : CommandInterpreter::Commands()) keywords << QString::fromUtf16(command.keyword.data(), qsizetype(command.keyword.size()));
    EXPECT_EQ(keywords, (QStringList{"PRG", "DISC", "SALE", "RETURN", "HEAD", "PAYM", "DISPLAY", "CASHSUM", "INOUTCASH",
                                     "OPENCASH", "LASTCHEQUE", "RESET", "X_REPORT", "Z_REPORT"}));
}

TEST_F(Interpreter, UnknownKeywordsAnswerAnErrorNotThePreviousAnswer) {
    EXPECT_EQ(serve({"OPENCASH:", "opencash:", "", "OPENCASH", " OPENCASH:"}),
              (QStringList{"OK", messages::kNezinamaKomanda, messages::kNezinamaKomanda, messages::kNezinamaKomanda,
                           messages::kNezinamaKomanda}));
    EXPECT_EQ(till.calls, QStringList{"drawer"});
}

TEST_F(Interpreter, OpenDrawerAndDisplayAnswerOkEach) {
    EXPECT_EQ(serve({"OPENCASH:", "DISPLAY:LINE1=Labdien;LINE2=Kopā 3.00;"}), (QStringList{"OK", "OK"}));
    EXPECT_EQ(till.calls, (QStringList{"drawer", "display [Labdien][Kopā 3.00]"}));
}

TEST_F(Interpreter, DisplayWithOneLineSendsAnEmptySecondLine) {
    serve({"DISPLAY:LINE1=Sveiki;"});
    EXPECT_EQ(till.calls, QStringList{"display [Sveiki][]"});
}

TEST_F(Interpreter, SaleLineEntryTexts) {
    struct Case {
        QString line;
        QString entry;
    } const cases[] = {
        {"SALE:PLU=4750;QNTY=1;", "4750"},
        {"SALE:PLU=4750;QNTY=2.5;CENA=1.2;", "2.5*4750=1.2"},
        {"SALE:CENA=0.99;QNTY=3;PLU=A 1;", "3*A 1=0.99"},
        {"SALE:PLU=4750;QNTY=1;CENA=x;", "4750"},
    };
    for (const Case& c : cases) {
        till.calls.clear();
        EXPECT_EQ(serve({c.line}), QStringList{"OK"}) << c.line.toStdString();
        EXPECT_EQ(till.calls, (QStringList{"mode 0", "enter " + c.entry})) << c.line.toStdString();
    }
}

TEST_F(Interpreter, SaleWithoutQuantityIsRefusedAndChangesNothing) {
    till.mode = 1;
    for (const QString& line : {QStringLiteral("SALE:PLU=4750;"), QStringLiteral("SALE:PLU=4750;QNTY=2"),
                                QStringLiteral("SALE:PLU=4750;QNTY=two;"), QStringLiteral("SALE:PLU=4750;QNTY=0;")}) {
        EXPECT_EQ(serve({line}), QStringList{messages::kNavDaudzuma}) << line.toStdString();
    }
    EXPECT_TRUE(till.calls.isEmpty());
    EXPECT_EQ(till.mode, 1);
}

TEST_F(Interpreter, SaleWithoutArticleIsRefused) {
    EXPECT_EQ(serve({"SALE:QNTY=1;", "RETURN:PLU=;QNTY=1;"}), (QStringList{messages::kNavArtikula, messages::kNavArtikula}));
    EXPECT_TRUE(till.calls.isEmpty());
}

TEST_F(Interpreter, ReturnAsFirstLineSwitchesToReturnMode) {
    serve({"RETURN:PLU=4750;QNTY=1;"});
    EXPECT_EQ(till.calls, (QStringList{"mode 1", "enter 4750"}));
}

TEST_F(Interpreter, LineOfTheOtherKindOnAnOpenReceiptIsRefused) {
    till.lines = 2;
    till.mode = 0;
    EXPECT_EQ(serve({"RETURN:PLU=4750;QNTY=1;"}), QStringList{messages::kJauktsCeks});
    till.mode = 1;
    EXPECT_EQ(serve({"SALE:PLU=4750;QNTY=1;"}), QStringList{messages::kJauktsCeks});
    EXPECT_TRUE(till.calls.isEmpty());
    // The same kind goes on without a mode switch.
    EXPECT_EQ(serve({"RETURN:PLU=4750;QNTY=1;"}), QStringList{"OK"});
    EXPECT_EQ(till.calls, QStringList{"enter 4750"});
}

TEST_F(Interpreter, MessagesRaisedByACommandStandBeforeItsAnswer) {
    till.onEntry = [&](const QString&) { till.ShowPazinojums("Artikuls 9 nav atrasts !!!"); };
    EXPECT_EQ(serve({"SALE:PLU=9;QNTY=1;", "OPENCASH:"}), (QStringList{"Artikuls 9 nav atrasts !!!", "OK", "OK"}));
}

TEST_F(Interpreter, DiscountField) {
    struct Case {
        QString line;
        QString field;
    } const cases[] = {
        {"DISC:PRC=10;", "10"}, {"DISC:PRC=12.5;", "12.5"}, {"DISC:PRC=1;", "1"}, {"DISC:PRC=100;", "100"},
        {"DISC:PRC=0.5;", ""},  {"DISC:PRC=150;", ""},      {"DISC:", ""},        {"DISC:PRC=x;", ""},
    };
    for (const Case& c : cases) {
        till.calls.clear();
        EXPECT_EQ(serve({c.line}), QStringList{"OK"});
        EXPECT_EQ(till.calls, QStringList{"discount " + c.field}) << c.line.toStdString();
    }
}

TEST_F(Interpreter, HeaderSetsTheFieldsThatOccurInOrder) {
    serve({"HEAD:ADR=Rīga;MAKS=SIA Ābele;COMENT=;"});
    EXPECT_EQ(till.calls, (QStringList{"customer 0 ", "customer 1 SIA Ābele", "customer 3 Rīga"}));
}

TEST_F(Interpreter, PaymentRowsInOrderFirstKindSelected) {
    EXPECT_EQ(serve({"PAYM:MEDIA=0;AMOUNT=10.00;MEDIA=1;AMOUNT=5.00;"}), QStringList{"OK"});
    EXPECT_EQ(till.calls, (QStringList{"kind 0", "enter /0=10.00/1=5.00"}));
}

TEST_F(Interpreter, PaymentKindThatIsNotANumberIsLeftOutWithItsAmount) {
    serve({"PAYM:MEDIA=x;AMOUNT=3;MEDIA=2;AMOUNT=7.5;"});
    EXPECT_EQ(till.calls, (QStringList{"kind 2", "enter /2=7.5"}));
}

TEST_F(Interpreter, PaymentOfZeroInSaleModeIsRefused) {
    for (const QString& line : {QStringLiteral("PAYM:MEDIA=0;AMOUNT=0;"), QStringLiteral("PAYM:MEDIA=0;AMOUNT=x;"),
                                QStringLiteral("PAYM:MEDIA=0;AMOUNT=5"), QStringLiteral("PAYM:")}) {
        till.calls.clear();
        EXPECT_EQ(serve({line}), QStringList{messages::kNavSummas}) << line.toStdString();
        EXPECT_FALSE(till.calls.join('|').contains("enter")) << line.toStdString();
    }
    till.mode = 1;
    till.calls.clear();
    EXPECT_EQ(serve({"PAYM:MEDIA=0;AMOUNT=0;"}), QStringList{"OK"});
    EXPECT_EQ(till.calls, (QStringList{"kind 0", "enter /0=0"}));
}

TEST_F(Interpreter, PaymentNotClosedBySemicolonEndsWithAnError) {
    for (const QString& line : {QStringLiteral("PAYM:MEDIA=0"), QStringLiteral("PAYM:MEDIA=0;AMOUNT=5;MEDIA=1")}) {
        till.calls.clear();
        EXPECT_EQ(serve({line, "OPENCASH:"}), (QStringList{messages::kNepabeigtaApmaksa, "OK"})) << line.toStdString();
        EXPECT_FALSE(till.calls.join('|').contains("enter"));
    }
}

TEST_F(Interpreter, RefusedCardPaymentAnswersEftCancel) {
    till.cardRefused = true;
    EXPECT_EQ(serve({"PAYM:MEDIA=1;AMOUNT=5;", "PAYM:MEDIA=0;AMOUNT=5;"}), (QStringList{"EFT - Cancel", "OK"}));
}

TEST_F(Interpreter, ResetEntersTheAnnulmentEvenWithNoReceipt) {
    EXPECT_EQ(serve({"RESET:"}), QStringList{"OK"});
    EXPECT_EQ(till.calls, QStringList{"enter --"});
}

TEST_F(Interpreter, CashInOutAmounts) {
    struct Case {
        QString line;
        QString call;
    } const cases[] = {
        {"INOUTCASH:SUM=50;", "cash [50][]"},
        {"INOUTCASH:SUM=-20.5;", "cash [][20.50]"},
        {"INOUTCASH:SUM= 12.345 ;", "cash [12.345][]"},
    };
    for (const Case& c : cases) {
        till.calls.clear();
        EXPECT_EQ(serve({c.line}), QStringList{"OK"});
        EXPECT_EQ(till.calls, QStringList{c.call}) << c.line.toStdString();
    }
}

TEST_F(Interpreter, CashInOutRefusals) {
    struct Case {
        QString line;
        QString answer;
    } const cases[] = {
        {"INOUTCASH:", "OK"},
        {"INOUTCASH:SUM=abc;", messages::kNepareizaSumma},
        {"INOUTCASH:SUM=5,5;", messages::kNepareizaSumma},
        {"INOUTCASH:SUM=50", messages::kNepareizaSumma},  // not closed: empty
        {"INOUTCASH:SUM=1000000;", messages::kNepareizaSumma},
        {"INOUTCASH:SUM=0;", messages::kNavSummasInkasacijai},
    };
    for (const Case& c : cases) EXPECT_EQ(serve({c.line}), QStringList{c.answer}) << c.line.toStdString();
    EXPECT_TRUE(till.calls.isEmpty());
}

TEST_F(Interpreter, CashInOutWithAnOpenReceiptRepliesTwice) {
    till.lines = 1;
    EXPECT_EQ(serve({"INOUTCASH:SUM=50;"}), (QStringList{messages::kJanobeidzCeks, messages::kJanobeidzCeks}));
    EXPECT_EQ(till.calls, QStringList{"message " + messages::kJanobeidzCeks});
}

TEST_F(Interpreter, CashInOutFiscalFailure) {
    till.cashInOutResult = -2;
    EXPECT_EQ(serve({"INOUTCASH:SUM=50;"}), (QStringList{messages::kDarbsPartraukts, messages::kFmKluda}));
}

TEST_F(Interpreter, CashInOutRefusedByTheFormIsNotAnsweredOk) {
    till.cashInOutResult = 0;
    EXPECT_EQ(serve({"INOUTCASH:SUM=50;"}), QStringList{messages::kNepareizaSumma});
}

TEST_F(Interpreter, CashSummaryOfAFreshDay) {
    till.FreshDay();
    EXPECT_EQ(serve({"CASHSUM:"}), (QStringList{"Sākuma atl.kasē =0.00", "Kopā realizēts  =0.00", "Maiņas nauda    =0.00",
                                                "Inkasācija      =0.00", "Bankas karte    =0.00", "Bankas k.atgr.  =0.00",
                                                "Inkasācij.tara  =0.00", "Atlikums kasē   =0.00", "OK"}));
}

TEST_F(Interpreter, CashSummaryFiguresAndBalance) {
    till.FreshDay();
    till.records["ATLNOIEPR"] = "      2500";
    // Three of the 24 day fields carry sales; the first two characters of a field are not money.
    QString day(240, u'0');
    day.replace(0, 10, "0100012345");
    day.replace(50, 10, "99  000100");
    day.replace(230, 10, "xx00000005");
    till.records["NOD_D_SUM"] = day;
    till.records["IELIKTS"] = "   200005000";
    till.records["IZNEMTS"] = "   100001000";
    till.records["BANKA_SUM"] = " 3000 ";
    till.records["BANKA_ATGR"] = "500";
    till.records["ATGRTARA"] = "   1000000zz";  // unreadable digits count as 0
    till.kinds[3] = {"T", "Kupons", 700};
    till.kinds[4] = {"F", "VISA", 1250};
    till.kinds[5] = {"", "Ļoti garš maksājuma veids", 100};
    const QStringList reply = serve({"CASHSUM:"});
    ASSERT_EQ(reply.size(), 12);
    EXPECT_EQ(reply[0], "Sākuma atl.kasē =25.00");
    EXPECT_EQ(reply[1], "Kopā realizēts  =124.50");
    EXPECT_EQ(reply[2], "Maiņas nauda    =50.00");
    EXPECT_EQ(reply[3], "Inkasācija      =10.00");
    EXPECT_EQ(reply[4], "Bankas karte    =30.00");
    EXPECT_EQ(reply[5], "Bankas k.atgr.  =5.00");
    EXPECT_EQ(reply[6], "Inkasācij.tara  =0.00");
    EXPECT_EQ(reply[7], "Kupons          =      7.00 Nauda kasē");
    EXPECT_EQ(reply[8], "VISA            =     12.50 Bezs.nauda");
    EXPECT_EQ(reply[9], "Ļoti garš maksāj=      1.00 Bezs.nauda");
    // 25 + 124.50 + 50 - 10 - (30 + 13.50 + 5) - 0
    EXPECT_EQ(reply[10], "Atlikums kasē   =141.00");
    EXPECT_EQ(reply[11], "OK");
}

// The summary reads the counters only after a receipt cut short is finished; when it cannot be,
// no counter is read and the answer is the read error.
TEST_F(Interpreter, CashSummaryFinishesAPendingReceiptFirst) {
    till.FreshDay();
    EXPECT_EQ(serve({"CASHSUM:"}).last(), "OK");
    EXPECT_EQ(till.calls, QStringList{"finish pending"});

    till.calls.clear();
    till.pendingFinishes = false;
    EXPECT_EQ(serve({"CASHSUM:"}), QStringList{"-2"});
    EXPECT_EQ(till.calls, QStringList{"finish pending"});
}

TEST_F(Interpreter, CashSummaryStopsAtAnUnreadableRecord) {
    till.FreshDay();
    till.records.remove("IZNEMTS");
    const QStringList reply = serve({"CASHSUM:", "OPENCASH:"});
    EXPECT_EQ(reply, (QStringList{"Sākuma atl.kasē =0.00", "Kopā realizēts  =0.00", "Maiņas nauda    =0.00", "-2", "OK"}));

    till.FreshDay();
    till.unreadableKinds = {2};
    till.kinds[1] = {"F", "Čeks", 100};
    const QStringList kinds = serve({"CASHSUM:"});
    ASSERT_EQ(kinds.size(), 9);
    EXPECT_EQ(kinds[7], "Čeks            =      1.00 Bezs.nauda");
    EXPECT_EQ(kinds[8], "-2");
}

TEST_F(Interpreter, ReportsAnswerOkWhenDone) {
    EXPECT_EQ(serve({"OPENCASH:", "X_REPORT:", "Z_REPORT:", "LASTCHEQUE:"}), (QStringList{"OK", "OK", "OK", "OK"}));
    EXPECT_EQ(till.calls, (QStringList{"drawer", "x report", "display clear", "z report", "display idle", "copy"}));
}

TEST_F(Interpreter, XReportRefusedForAnOpenReceipt) {
    till.xDone = false;
    EXPECT_EQ(serve({"X_REPORT:"}), (QStringList{messages::kAtskaitiNedrikst, messages::kAtskaitiNedrikst}));
}

TEST_F(Interpreter, ZReportWithAnOpenReceiptEndsTheFile) {
    till.lines = 3;
    EXPECT_EQ(serve({"DISPLAY:LINE1=a;", "Z_REPORT:", "OPENCASH:", "RESET:"}), (QStringList{"OK", messages::kAtskaitiNedrikst}));
    EXPECT_EQ(till.calls, QStringList{"display [a][]"});
}

TEST_F(Interpreter, ZReportFailureAnswersTwoLinesAndGoesOn) {
    till.zResult = -2;
    EXPECT_EQ(serve({"Z_REPORT:", "OPENCASH:"}), (QStringList{messages::kZAtskaitesKluda, "OK"}));
    EXPECT_EQ(till.calls, (QStringList{"display clear", "z report", "display idle", "drawer"}));
}

TEST_F(Interpreter, AnErrorInsideACommandAnswersItsTextAndServingGoesOn) {
    till.onEntry = [](const QString&) { throw std::runtime_error("Printeris neatbild"); };
    EXPECT_EQ(serve({"SALE:PLU=1;QNTY=1;", "OPENCASH:"}), (QStringList{"Printeris neatbild", "OK"}));
}

TEST_F(Interpreter, TheProgramsEndPassesThrough) {
    till.onEntry = [](const QString&) { platform::ui::endProgram(1); };
    platform::ui::setEndProgramThrows(true);
    EXPECT_THROW(serve({"SALE:PLU=1;QNTY=1;"}), platform::ui::ProgramEnded);
    platform::ui::setEndProgramThrows(false);
}
