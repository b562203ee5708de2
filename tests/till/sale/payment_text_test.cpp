// The payment text: rows, received money, change, and every refusal of a payment.
#include "payment_text.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>

// Texts in failure output.
inline void PrintTo(const QString& text, std::ostream* os) { *os << text.toStdString(); }

namespace {

PaymentKindList Kinds() {
    PaymentKindList kinds;
    kinds.add(0, QStringLiteral("0-Skaidra nauda EUR"));
    kinds.add(1, QStringLiteral("1-Bankas karte"));
    kinds.add(2, QStringLiteral("2-Dāvanu karte"));
    kinds.add(4, QStringLiteral("4-Pārskaitījums"));  // kind 3 is not in use
    kinds.add(12, kSecondCurrencyText);
    return kinds;
}

class PaymentText : public ::testing::Test {
protected:
    PaymentEntry Entry(const QString& text, double total = 15.50) {
        PaymentEntry entry;
        entry.text = text;
        entry.CekaSumma = total;
        entry.lineCount = 1;
        entry.kinds = &kinds;
        entry.CekaValuta = 1;
        entry.EUR_Kurss = 1.422872;
        entry.CekaValutaKods = QStringLiteral("EUR");
        entry.rate = [this](const QString& code) -> std::optional<double> {
            if (auto it = rates.find(code); it != rates.end()) return it->second;
            return std::nullopt;
        };
        return entry;
    }

    PaymentKindList kinds = Kinds();
    std::map<QString, double> rates{{"USD", 0.8}};
};

TEST_F(PaymentText, RowsOfCashAndCard) {
    const PaymentResult r = ParsePaymentText(Entry("/0=10.00/1=5.50"));
    ASSERT_EQ(r.verdict, PaymentResult::Accepted) << r.message.toStdString();
    EXPECT_EQ(r.rowCount, 2);
    EXPECT_EQ(r.rows[0].Veids, 0);
    EXPECT_EQ(r.rows[0].Summa, 10.0);
    EXPECT_EQ(r.rows[0].Teksts, "0-Skaidra nauda EUR");
    EXPECT_EQ(r.rows[1].Veids, 1);
    EXPECT_EQ(r.rows[1].Summa, 5.5);
    EXPECT_EQ(r.rows[2].Veids, -1);
    EXPECT_DOUBLE_EQ(r.Sanemts, 15.50);
    EXPECT_TRUE(r.ApmValuta.isEmpty());
}

TEST_F(PaymentText, CashAboveTheTotalGivesChange) {
    const PaymentResult r = ParsePaymentText(Entry("/0=16.00"));
    ASSERT_EQ(r.verdict, PaymentResult::Accepted);
    EXPECT_DOUBLE_EQ(r.Sanemts, 16.0);
    const auto [line1, line2] = PaymentDisplayLines(false, 15.50, r.Sanemts);
    EXPECT_EQ(line1, "Kopā   15.50");
    EXPECT_EQ(line2, "Saņ 16.00 Izd  0.50");
}

TEST_F(PaymentText, ForeignCurrencyAtItsRate) {
    const PaymentResult r = ParsePaymentText(Entry("/USD20"));
    ASSERT_EQ(r.verdict, PaymentResult::Accepted) << r.message.toStdString();
    EXPECT_EQ(r.ApmValuta, "USD");
    EXPECT_DOUBLE_EQ(r.valutasKurss, 0.8);
    EXPECT_EQ(r.rowCount, 1);
    EXPECT_EQ(r.rows[0].Veids, 0);
    EXPECT_DOUBLE_EQ(r.rows[0].Summa, 16.0);
    EXPECT_DOUBLE_EQ(r.Sanemts, 16.0);
}

TEST_F(PaymentText, ReturnWithSlashAloneRefundsTheWholeTotal) {
    PaymentEntry entry = Entry("/");
    entry.isReturn = true;
    const PaymentResult r = ParsePaymentText(entry);
    ASSERT_EQ(r.verdict, PaymentResult::Accepted) << r.message.toStdString();
    EXPECT_EQ(r.rowCount, 1);
    EXPECT_DOUBLE_EQ(r.rows[0].Summa, -15.50);
    EXPECT_EQ(r.Sanemts, 0);
    EXPECT_EQ(PaymentDisplayLines(true, 15.50, r.Sanemts).second, "Atg  0.00 Izd-15.50");
}

TEST_F(PaymentText, TwentyRowsAtMost) {
    QString text;
    for (int i = 0; i < 21; ++i) text += "/0=1";
    const PaymentResult r = ParsePaymentText(Entry(text, 20.0));
    ASSERT_EQ(r.verdict, PaymentResult::Accepted) << r.message.toStdString();
    EXPECT_EQ(r.rowCount, 20);
    EXPECT_DOUBLE_EQ(r.Sanemts, 20.0);
}

TEST_F(PaymentText, KindsAreFoundByTheirOwnNumber) {
    // Kind 3 is not in use, so kind 4 stands at place 3 of the list: /4= is still kind 4.
    PaymentEntry entry = Entry("/4=15.50");
    entry.selectedKind = 4;
    const PaymentResult r = ParsePaymentText(entry);
    ASSERT_EQ(r.verdict, PaymentResult::Accepted) << r.message.toStdString();
    EXPECT_EQ(r.rows[0].Veids, 4);
    EXPECT_EQ(r.rows[0].Teksts, "4-Pārskaitījums");
    EXPECT_EQ(ParsePaymentText(Entry("/3=15.50")).message, kWrongKindMessage);
}

TEST_F(PaymentText, LatsAtTheSecondCurrencyRate) {
    const PaymentResult r = ParsePaymentText(Entry("/12=11"));
    ASSERT_EQ(r.verdict, PaymentResult::Accepted) << r.message.toStdString();
    EXPECT_DOUBLE_EQ(r.rows[0].Summa, 15.65);  // 11 x 1.422872 in cents
    EXPECT_EQ(r.rows[0].Teksts, kSecondCurrencyText);
}

TEST_F(PaymentText, CardChargedRowByRowAndADeclineStops) {
    PaymentEntry entry = Entry("/0=10.00/1=5.50");
    std::vector<double> charged;
    entry.chargeCard = [&](const TApmaksasRinda& row) {
        charged.push_back(row.Summa);
        return false;
    };
    const PaymentResult declined = ParsePaymentText(entry);
    EXPECT_EQ(declined.verdict, PaymentResult::Refused);
    EXPECT_TRUE(declined.message.isEmpty());
    EXPECT_EQ(declined.Sanemts, 0);
    EXPECT_EQ(charged, std::vector<double>{5.5});

    // A return loaded from a stored receipt refunds no card here.
    entry.text = "/1=15.50";
    entry.isReturn = true;
    entry.AtgriesanaPecCeka = true;
    entry.selectedKind = 1;
    charged.clear();
    EXPECT_EQ(ParsePaymentText(entry).verdict, PaymentResult::Accepted);
    EXPECT_TRUE(charged.empty());
}

// A payment the checks refuse charges no card, so a retry cannot charge it twice; each card row
// of an accepted payment is charged its own amount, in row order.
TEST_F(PaymentText, CardsAreChargedOnlyAfterTheChecksEachRowItsOwnAmount) {
    struct Case {
        const char* text;
        int selectedKind;
        PaymentResult::Verdict verdict;
        std::vector<double> charged;
    };
    const Case cases[] = {
        {"/1=5.00", 0, PaymentResult::Refused, {}},                // not enough money (check a)
        {"/1=15.00", 1, PaymentResult::Refused, {}},               // one card row not equal to the total (check c)
        {"/0=5.00/1=16.00", 0, PaymentResult::Refused, {}},        // a card row above the total (check d)
        {"/0=10001.00/1=1.00", 0, PaymentResult::Refused, {}},     // above 10000 (check e)
        {"/1=5.50/0=5.00/1=5.00", 0, PaymentResult::Accepted, {5.5, 5.0}},
    };
    for (const Case& c : cases) {
        PaymentEntry entry = Entry(c.text);
        entry.selectedKind = c.selectedKind;
        std::vector<double> charged;
        entry.chargeCard = [&](const TApmaksasRinda& row) {
            charged.push_back(row.Summa);
            return true;
        };
        const PaymentResult r = ParsePaymentText(entry);
        EXPECT_EQ(r.verdict, c.verdict) << c.text;
        EXPECT_EQ(charged, c.charged) << c.text;
    }
}

TEST_F(PaymentText, DepositNeedsACustomer) {
    PaymentEntry entry = Entry("/50");
    entry.lineCount = 0;
    EXPECT_EQ(ParsePaymentText(entry).message, kChooseCustomerMessage);
    entry.customerChosen = true;
    const PaymentResult r = ParsePaymentText(entry);
    EXPECT_EQ(r.verdict, PaymentResult::DepositLine);
    EXPECT_EQ(r.depositAmount, 50.0);
    const TCekaRinda line = KlientaIemaksasRinda(r.depositAmount);
    EXPECT_EQ(line.Nosaukums, "Klienta naudas iemaksa");
    EXPECT_EQ(line.Nodala, 20);
    EXPECT_EQ(line.ApmVeids, 2);
    EXPECT_EQ(RindasSumma(line), 50.0);
}

struct Refusal {
    const char* text;
    double total;
    int selectedKind;
    bool isReturn;
    QString message;
    bool clearsField;
};

class PaymentRefusals : public PaymentText, public ::testing::WithParamInterface<Refusal> {};

TEST_P(PaymentRefusals, MessageAndField) {
    const Refusal c = GetParam();
    PaymentEntry entry = Entry(QString::fromUtf8(c.text), c.total);
    entry.selectedKind = c.selectedKind;
    entry.isReturn = c.isReturn;
    if (QString::fromUtf8(c.text).startsWith("/12") && c.message == kNoSecondCurrencyRateMessage) entry.EUR_Kurss = 0;
    const PaymentResult r = ParsePaymentText(entry);
    EXPECT_EQ(r.verdict, PaymentResult::Refused);
    EXPECT_EQ(r.message, c.message);
    EXPECT_EQ(r.clearField, c.clearsField);
    EXPECT_EQ(r.Sanemts, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PaymentRefusals,
    ::testing::Values(
        Refusal{"/0=10.00/1=5.50", 16.00, 0, false, kNotEnoughMessage, true},
        Refusal{"/", 15.50, 0, false, kNoAmountMessage, false},
        Refusal{"/USD20", 15.50, 0, true, kReturnInCurrencyMessage, false},
        // A code the currency table does not know is not taken at 1:1.
        Refusal{"/ABC20", 15.50, 0, false, UnknownCurrencyMessage("ABC"), false},
        Refusal{"/7=5", 15.50, 0, false, kWrongKindMessage, false},
        // "x=5" reads as a currency code with an empty amount.
        Refusal{"/x=5", 15.50, 0, false, kGuardMessage + "'' is not a valid floating point value", false},
        Refusal{"/0x=5", 15.50, 0, false, kGuardMessage + "'0x' is not a valid integer value", false},
        Refusal{"/0=5,50", 5.50, 0, false, kGuardMessage + "'5,50' is not a valid floating point value", false},
        Refusal{"/16", 15.50, 1, false, kCardEqualMessage, true},
        Refusal{"/0=10/1=16", 15.50, 0, false, kCardBelowMessage, true},
        Refusal{"/5", 15.50, 0, true, kReturnCashMessage, true},
        Refusal{"/0=10000.01", 10000.00, 0, false, "Apmaksas summa nedrīkst būt lielāka par EUR 10000", true},
        // Lats without a rate are refused, not taken 1:1.
        Refusal{"/12=10", 14.23, 0, false, kNoSecondCurrencyRateMessage, false}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return "Case" + std::to_string(info.index); });

TEST_F(PaymentText, TenThousandIsAccepted) {
    EXPECT_EQ(ParsePaymentText(Entry("/0=10000.00", 10000.00)).verdict, PaymentResult::Accepted);
}

TEST_F(PaymentText, LatsOnlyWhileReceiptsAreInEuros) {
    PaymentEntry entry = Entry("/12=10", 10.0);
    entry.CekaValuta = 0;
    EXPECT_EQ(ParsePaymentText(entry).message, kNoSecondCurrencyRateMessage);
}

TEST(PaymentTextHelpers, PosNAndRows) {
    EXPECT_EQ(PosN("/", "/0=1/1=2", 2), 5);
    EXPECT_EQ(PosN("/", "/0=1", 2), 0);
    EXPECT_EQ(PaymentTextRow(0, 20), "/0=20.00");
    EXPECT_EQ(PaymentTextRow(1, 5.345), "/1=5.35");
    EXPECT_EQ(ParseAmount(" 12.5 "), 12.5);
    EXPECT_EQ(ParseAmount("1e2"), 100.0);
    EXPECT_FALSE(ParseAmount("12,5"));
    EXPECT_FALSE(ParseAmount(""));
}

}  // namespace

namespace {

TEST(PaymentDialogRules, TextAndSum) {
    PaymentFields fields;
    fields[0] = "20";
    fields[1] = " 5.35 ";
    fields[2] = "abc";
    fields[3] = "0.00";
    EXPECT_EQ(PaymentDialogText(fields), (std::pair<QString, int>{"/0=20.00/1=5.35", 1}));
    EXPECT_DOUBLE_EQ(PaymentDialogSum(fields, 1.5), 25.35);
    fields = {};
    fields[12] = "10";
    EXPECT_EQ(PaymentDialogText(fields), (std::pair<QString, int>{"/12=10.00", 12}));
    EXPECT_DOUBLE_EQ(PaymentDialogSum(fields, 1.422872), 14.22872);
    fields[1] = "10.003";  // the card field rounds to cents
    EXPECT_EQ(PaymentDialogText(fields).first, "/1=10.00/12=10.00");
    EXPECT_EQ(PaymentDialogText({}), (std::pair<QString, int>{"", 0}));
}

}  // namespace
