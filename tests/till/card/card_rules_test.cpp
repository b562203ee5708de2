// The card operation's rules that need no window: the cents a card operation sends, the
// cashier's texts, the card log line, the prompts' answers and the bank report's lines.
#include "bank_report.h"
#include "card_operation.h"
#include "card_slip.h"
#include "payvo.h"

#include <gtest/gtest.h>

#include <QFile>

#include <optional>

#include "test_environment.h"

namespace {

struct CentsCase {
    const char* itemText;
    int nodala;
    double amount;
    std::optional<double> row;
    double cents;
    bool overInSale;
};

// A receipt of 12.30 throughout.
TEST(CardAmount, CentsOfTheOperation) {
    const CentsCase cases[] = {
        {"/1=12.30", 0, 12.30, {}, 1230, false},
        {"/0=5.00/1=7.30", 0, 12.30, {}, 730, false},
        {"/1=7.30/0=5.00", 0, 12.30, {}, 730, false},
        {"/1=15.00", 0, 12.30, {}, 1500, true},
        {"/1=12.301", 0, 12.30, {}, 1230, false},  // a residue of 0.001 or less passes
        {"/1=12.302", 0, 12.30, {}, 1230, false},  // whole cents
        {"", 0, 12.30, {}, 1230, false},           // no card row typed: the amount given
        {"/1=12.30", 75, 5.00, {}, 500, false},    // a prepaid line: its own amount whatever the field holds
        {"/1=abc", 0, 12.30, {}, 0, false},
        // A card row charged with its own amount, not the first row's.
        {"/1=5.00/0=2.30/1=5.00", 0, 12.30, 5.00, 500, false},
        {"/1=2.00/1=10.30", 0, 12.30, 10.30, 1030, false},
    };
    for (const CentsCase& c : cases) {
        const double cents = KartesSummaCentos(c.itemText, c.nodala, c.amount, c.row);
        EXPECT_EQ(cents, c.cents) << c.itemText;
        EXPECT_EQ(ParsniedzCekaSummu(cents, c.amount), c.overInSale) << c.itemText;
    }
    EXPECT_FALSE(ParsniedzCekaSummu(1230.1, 12.30));  // 12.301 against 12.30
    EXPECT_TRUE(ParsniedzCekaSummu(1230.2, 12.30));
}

TEST(CardAmount, TheAmountFieldIsWholeCents) {
    EXPECT_EQ(ReadSumma("1230"), 1230);
    EXPECT_EQ(ReadSumma("12.9"), 12);
    EXPECT_EQ(ReadSumma(""), std::nullopt);
    EXPECT_EQ(ReadSumma("12,30"), std::nullopt);
}

TEST(CardTexts, StatesResultsAndReaderCodes) {
    EXPECT_EQ(TerminalStateText(0), "");
    EXPECT_EQ(TerminalStateText(1), "Termināls ir aizņemts (1) !!!");
    EXPECT_EQ(TerminalStateText(5), "Nav atbildes no termināla (5) !!!");
    EXPECT_EQ(TerminalStateText(7), "Nezināma kļūda (7) !!!");
    EXPECT_EQ(TerminalStateText(8), "");
    EXPECT_EQ(TransactionResultText(-1), "");
    EXPECT_EQ(TransactionResultText(1), "Tranzakcija kancelēta (1) !!!");
    EXPECT_EQ(TransactionResultText(5), "Autorizācijas kļūda (5) !!!");
    EXPECT_EQ(TransactionResultText(6), "");
    EXPECT_EQ(OutcomeMessage("Nav korekta summa (2) !!!", 51, "DECLINED"), "Nav korekta summa (2) !!!\n51-DECLINED");

    const std::pair<int, const char*> reader[] = {
        {-1001, "seriālā porta statusa kļūda"},
        {-1002, "seriālā porta statusa kļūda"},
        {-1003, "seriāla porta atvēršanas kļūda-kļūdains seriālā porta numurs"},
        {-1004, "PIN ievades ierīce neatbild(komunikācijas problēma)"},
        {-1008, " Kļūda -1008"},
        {-1011, "saņemta kļūdaina pakete no EFT servera"},
        {-1016, " Kļūda -1016"},
    };
    for (const auto& [code, text] : reader) EXPECT_EQ(ChipErrorText(code), QString::fromUtf8(text)) << code;
}

class CardLog : public testsupport::TestEnvironment {};

TEST_F(CardLog, OneLineAtATimeWithDateAndTime) {
    const QString text = TransactionLogText(0, 0, "000123", 1230);
    EXPECT_EQ(text, "Transaction Type=0\t PrePaidCode=0\t Ticket Number=000123\t Summa=1230");
    const QString line = KartesLogLine(platform::LocalTime{2026, 12, 8, 14, 5, 33, 0, 2}, text);
    EXPECT_EQ(line, "08.12.2026-14:05:33 " + text);
    AppendKartesLog(line);
    AppendKartesLog("otra");
    EXPECT_EQ(testsupport::readFile(dir() / kKartesLogFile), (line + "\r\notra\r\n").toStdString());
}

struct PromptCase {
    std::int32_t dispid;
    const char* waiting;
    bool edit;
    std::int32_t refusal;
    const char* typed;
    std::optional<QString> answer;
};

TEST(CardPrompts, EachPromptItsFormAndAnswer) {
    const PromptCase cases[] = {
        {payvo::kEnterReceiptNr, "Gaidu numuru...", true, -3, "0042", QStringLiteral("0042")},
        {payvo::kEnterLast4Digits, "Gaidu numuru...", true, -1, "1234", QStringLiteral("1234")},
        {payvo::kEnterSTAN, "Gaidu numuru...", true, -1, "0007", QStringLiteral("0007")},
        {payvo::kEnterMerchantPwd, "Gaidu numuru...", true, -1, "9999", QStringLiteral("9999")},
        {payvo::kAskYesNo, "", false, -1, "", QStringLiteral("1")},
        {payvo::kEnterDate, "Gaidu datumu...", true, -3, "08.12.2026", QStringLiteral("08122026")},
        {payvo::kEnterDate, "Gaidu datumu...", true, -3, " 8.12.2026", QStringLiteral("08122026")},
        {payvo::kEnterDate, "Gaidu datumu...", true, -3, "31.02.2026", std::nullopt},  // no such day: refused
        {payvo::kEnterDate, "Gaidu datumu...", true, -3, "08.12.", std::nullopt},
        {payvo::kEnterTime, "Gaidu laiku...", true, -1, "14:05", QStringLiteral("1405")},
        {payvo::kEnterTime, "Gaidu laiku...", true, -1, " 9:30", QStringLiteral("0930")},
        {payvo::kEnterTime, "Gaidu laiku...", true, -1, "25:00", std::nullopt},
    };
    for (const PromptCase& c : cases) {
        const std::optional<PromptForm> form = PromptFormOf(c.dispid);
        ASSERT_TRUE(form) << c.dispid;
        EXPECT_EQ(form->waiting, c.waiting) << c.dispid;
        EXPECT_EQ(form->editShown, c.edit) << c.dispid;
        EXPECT_EQ(form->refusal, c.refusal) << c.dispid;
        EXPECT_EQ(PromptAnswer(*form, c.typed), c.answer) << c.dispid << " " << c.typed;
    }
    EXPECT_EQ(RefusedAnswer(*PromptFormOf(payvo::kAskYesNo)), QStringLiteral("2"));
    EXPECT_EQ(RefusedAnswer(*PromptFormOf(payvo::kEnterReceiptNr)), std::nullopt);
    EXPECT_EQ(PromptFormOf(payvo::kAskYesNo)->okCaption, "Yes");
    EXPECT_EQ(PromptFormOf(payvo::kAskYesNo)->cancelCaption, "No");
    for (std::int32_t other : {payvo::kEnterAuthCode, payvo::kEnterDailyPwd, payvo::kEnterSaleAmount, payvo::kNotification,
                               payvo::kCheckCardSecurity, payvo::kProcessLoyaltyData})
        EXPECT_FALSE(PromptFormOf(other)) << other;

    const platform::LocalTime now{2026, 12, 8, 14, 5, 33, 0, 2};
    EXPECT_EQ(PromptInitialText(*PromptFormOf(payvo::kEnterReceiptNr), now), "0000");
    EXPECT_EQ(PromptInitialText(*PromptFormOf(payvo::kEnterDate), now), "08.12.2026");
    EXPECT_EQ(PromptInitialText(*PromptFormOf(payvo::kEnterTime), now), "14:05");
}

TEST(CardSlipLayout, TwoColumnLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"Kases Nr: 12", "Kases Nr:                    12"},
        {"Summa : 12.30 EUR", "Summa :               12.30 EUR"},
        {"TID:T0000001", "TID:                   T0000001"},
        {"  Label :  x  ", "Label :                       x"},
        {"Label:", "Label:                         "},
        {"no colon here", "no colon here"},
        {"", ""},
        {"AAAAAAAAAAAAAAA: BBBBBBBBBBBBBBB", "AAAAAAAAAAAAAAA: BBBBBBBBBBBBBBB"},
        {"AAAAAAAAAAAAAAA:   BBBBBBBBBBBBBB", "AAAAAAAAAAAAAAA: BBBBBBBBBBBBBB"},
    };
    for (const auto& [text, line] : cases) {
        EXPECT_EQ(TwoColumnLine(text), line) << text;
        if (QString(text).contains(':') && QString(line) != text) { EXPECT_EQ(TwoColumnLine(text).size(), 31) << text; }
    }
}

TEST(BankReport, LinesUpToEachLineFeed) {
    EXPECT_EQ(BankReportLines("A\nB"), (QStringList{"A", "B"}));
    EXPECT_EQ(BankReportLines("A\nB\n"), (QStringList{"A", "B"}));
    EXPECT_EQ(BankReportLines("A\n\nB\n"), (QStringList{"A", "", "B"}));
    EXPECT_EQ(BankReportLines(""), (QStringList{""}));
}

}  // namespace
