// The report's lines and totals text computed from counters: the worked example of the totals
// text, VAT rounding per slot, payment-kind labels and flags, currencies, the zeroed texts.
#include "counter_fields.h"
#include "terminal_day_end.h"
#include "xz_layout.h"
#include "z_row.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

XZLayoutSettings Settings()
{
    XZLayoutSettings settings;
    settings.CekaValutaKods = QStringLiteral("EUR");
    settings.KasierisFullName = QStringLiteral("Anna");
    settings.dateText = QStringLiteral("02.03.2026");
    settings.timeText = QStringLiteral("10:15:00");
    settings.valutasKurss = [](const QString&) { return 1.0; };
    return settings;
}

bool HasLine(const XZReport& report, const QString& text) { return report.texts().contains(text); }

TEST(ZReportTotals, WorkedExample)
{
    DayCounters c;
    c.last.nr = 9;
    c.last.grandTotal = 100000;
    c.last.grandVat = 17300;
    c.opening = 5000;
    c.taxSlots[0] = {21, 12100};
    c.card = 2100;
    c.paymentKinds[0] = {1000, QStringLiteral("Kupons"), QStringLiteral("T")};
    const XZReport report = BuildXZReport(kZReport, c, Settings());
    EXPECT_EQ(report.totals,
              QStringLiteral("SAK_ATL=50.00|PVN_NR_L=1|PVN_L=21|BEZ_PVN_L=121.00|PVN_SUM_L=21.00|BEZ_PVN=100.00|PVN_SUM=21.00|"
                             "MAINA=0.00|INKAS=0.00|ATGR_SK=0.00|INKAS_TARA=0.00|ATGR_BANKA=0.00|KOREKC_SUM=0.00|KOREKC_SK=0|"
                             "ATLAIDES=0.00|APM_BANKA=21.00|APM_1=10.00|APM_KASE=100.00|ATL_KASE=150.00|GR_TOTAL=1121.00|"
                             "GR_PVN=194.00|"));
    EXPECT_EQ(report.number, 9);
    EXPECT_EQ(report.dayClose.nr, 10);
    EXPECT_EQ(report.dayClose.grandTotal, 112100);
    EXPECT_EQ(report.dayClose.grandVat, 19400);
    EXPECT_EQ(report.dayClose.daySum, 12100);
    EXPECT_EQ(report.dayClose.dayVat, 2100);
    // The X report of the same counters prints the old grand totals but gives the same text.
    const XZReport x = BuildXZReport(kXReport, c, Settings());
    EXPECT_EQ(x.totals, report.totals);
    EXPECT_TRUE(HasLine(x, QStringLiteral("GR.TOTAL   1000.00 GR.PVN    173.00")));
    EXPECT_TRUE(HasLine(report, QStringLiteral("GR.TOTAL   1121.00 GR.PVN    194.00")));
    EXPECT_TRUE(x.zeroed.empty());
}

// 12.345 cents of VAT print as 0.12 and count 12; 12.5 cents count 13.
TEST(XZLayout, EachSlotsVatIsRoundedToCents)
{
    DayCounters c;
    c.taxSlots[0] = {21, 71}; // 71 * 21 / 121 = 12.32 cents
    c.taxSlots[1] = {25, 62}; // 62 * 25 / 125 = 12.4
    c.taxSlots[3] = {5, 262};  // 262 * 5 / 105 = 12.476...
    c.taxSlots[4] = {25, 63};  // 12.6
    XZReport report = BuildXZReport(kXReport, c, Settings());
    EXPECT_EQ(report.vat, 12 + 12 + 12 + 13);
    EXPECT_TRUE(HasLine(report, QStringLiteral(" 1 - 21%=       0.71 PVN=      0.12")));
    EXPECT_TRUE(HasLine(report, QStringLiteral(" 5 - 25%=       0.63 PVN=      0.13")));

    DayCounters half;
    half.taxSlots[0] = {25, 625};  // 125 cents exactly: not a fraction
    half.taxSlots[1] = {100, 25};  // 12.5 cents
    report = BuildXZReport(kXReport, half, Settings());
    EXPECT_EQ(report.vat, 125 + 13);
}

TEST(XZLayout, SlotThreeAndUntaxedSlots)
{
    DayCounters c;
    c.taxSlots[2] = {-1, 1000};
    c.taxSlots[6] = {-1, 500};
    c.taxSlots[7] = {12, 0};
    const XZReport report = BuildXZReport(kXReport, c, Settings());
    EXPECT_TRUE(HasLine(report, QStringLiteral(" 3 Alkohols -1%=   10.00 PVN=  0.00")));
    EXPECT_TRUE(HasLine(report, QStringLiteral(" 7 - b/n=       5.00 PVN=      0.00")));
    EXPECT_EQ(report.vat, 0);
    EXPECT_FALSE(report.totals.contains(QStringLiteral("PVN_NR_L=8|")));
}

TEST(XZLayout, PaymentKindLabelsAndFlags)
{
    DayCounters c;
    c.paymentKinds[0] = {100, QStringLiteral("Ļoti garš maksājuma"), QString()};
    c.paymentKinds[1] = {200, QStringLiteral("Kupons"), QStringLiteral("T")};
    c.paymentKinds[2] = {300, QStringLiteral("Čeks"), QStringLiteral("F")};
    c.paymentKinds[4] = {0, QStringLiteral("Nelietots"), QStringLiteral("F")};
    const XZReport report = BuildXZReport(kXReport, c, Settings());
    EXPECT_TRUE(HasLine(report, QStringLiteral("Ļoti garš maks=      1.00 Bezs.nauda")));
    EXPECT_TRUE(HasLine(report, QStringLiteral("Kupons        =      2.00 Nauda kasē")));
    EXPECT_TRUE(HasLine(report, QStringLiteral("Čeks          =      3.00 Bezs.nauda")));
    EXPECT_TRUE(report.totals.contains(QStringLiteral("|APM_1=1.00|APM_2=2.00|APM_3=3.00|APM_KASE=-4.00|")));
    EXPECT_TRUE(report.totals.contains(QStringLiteral("|ATL_KASE=-4.00|")));
}

TEST(XZLayout, ForeignCashAndTheZeroedTexts)
{
    DayCounters c;
    c.opening = 1000;
    c.currencies[0] = {QStringLiteral("USD"), 1000};
    c.currencies[1] = {QStringLiteral("GBP"), -200};
    c.currencies[2] = {QStringLiteral("SEK"), 0};
    c.taxSlots[0] = {21, 0};
    c.taxSlots[1] = {12, 0};
    XZLayoutSettings settings = Settings();
    settings.valutasKurss = [](const QString& code) { return code == QStringLiteral("USD") ? 0.92345 : 1.0; };
    const XZReport report = BuildXZReport(kZReport, c, settings);
    EXPECT_TRUE(HasLine(report, QStringLiteral("USD=     10.00 x 0.923=     9.23 EUR")));
    EXPECT_TRUE(HasLine(report, QStringLiteral("Kopā val.summa EUR =      9.23")));
    EXPECT_FALSE(report.texts().join('\n').contains(QStringLiteral("GBP=")));
    // A = (1000 - 923.45) cents, carried in whole cents.
    EXPECT_TRUE(HasLine(report, QStringLiteral("Atlikums kasē =      0.77")));
    ASSERT_EQ(report.zeroed.size(), 21u);
    EXPECT_EQ(report.zeroed[0].name, QStringLiteral("NOD_D_SUM"));
    EXPECT_EQ(report.zeroed[0].text, QStringLiteral("21       012       0") + QStringLiteral(" 0       0").repeated(22));
    EXPECT_EQ(report.zeroed[7].name, QStringLiteral("VALUT_D_S"));
    EXPECT_EQ(report.zeroed[7].text,
              QStringLiteral("USD       0GBP       0SEK       0") + QStringLiteral("          0").repeated(27));
    EXPECT_EQ(report.zeroed[8].name, QStringLiteral("ATLNOIEPR"));
    EXPECT_EQ(report.zeroed[8].text, QStringLiteral("77"));
}

TEST(CounterFields, StoredNumbers)
{
    EXPECT_EQ(CounterNumber(QStringLiteral("   120")), 120);
    EXPECT_EQ(CounterNumber(QStringLiteral("-250")), -250);
    EXPECT_EQ(CounterNumber(QStringLiteral("0000000000000")), 0);
    EXPECT_FALSE(CounterNumber(QStringLiteral("120   ")));
    EXPECT_FALSE(CounterNumber(QStringLiteral("   ")));
    EXPECT_FALSE(CounterNumber(QStringLiteral("abc")));
    EXPECT_FALSE(CounterNumber(QString()));
    EXPECT_EQ(TrimmedCounterValue(QStringLiteral(" 42  ")), 42);
    EXPECT_EQ(AmountText(-0.001), QStringLiteral("0.00"));
    EXPECT_EQ(AmountText(-12.5), QStringLiteral("-12.50"));
    EXPECT_EQ(AmountText(1.005), QStringLiteral("1.01"));
}

TEST(ZRow, TimeGetsItsLeadingZero)
{
    EXPECT_EQ(ZRowLaiks(QStringLiteral("9:05:07")), QStringLiteral("09:05:07"));
    EXPECT_EQ(ZRowLaiks(QStringLiteral("19:05:07")), QStringLiteral("19:05:07"));
    const ZReportRow row = MakeZReportRow(12, QStringLiteral("T|"), {2026, 3, 2, 9, 5, 7, 0, 1});
    EXPECT_EQ(row.LAIKS, QStringLiteral("09:05:07"));
    EXPECT_EQ(row.PIEZIMES, QStringLiteral("Z=12"));
    EXPECT_EQ(row.DATUMS, QDate(2026, 3, 2));
}

}  // namespace

namespace {

class RecordedTerminal : public OutsideTerminal {
public:
    int loaded = 0;
    std::vector<TerminalRequest> requests;  // as each call received it
    std::vector<int> slips;                 // copy numbers, in order
    int LoadArccomDll() override { return loaded; }
    int ProcessOw(TerminalRequest& request) override
    {
        requests.push_back(request);
        // The library answers into the block: the till must hand the second call what it left.
        request[600] = std::byte{0x5A};
        return 0;
    }
    void PrintIngenicoCeks(int copy) override { slips.push_back(copy); }
};

TEST(TerminalDayEnd, TwoRequestsTheSecondInTheBlockTheFirstLeftEachPrintedAsCopyOne)
{
    RecordedTerminal terminal;
    TerminalDayEnd(terminal, 7, 9);
    ASSERT_EQ(terminal.requests.size(), 2u);
    EXPECT_EQ(terminal.requests[0], MakeTerminalRequest(7));
    TerminalRequest second = MakeTerminalRequest(9);
    second[600] = std::byte{0x5A};
    EXPECT_EQ(terminal.requests[1], second);
    EXPECT_EQ(terminal.slips, (std::vector<int>{1, 1}));

    RecordedTerminal missing;
    missing.loaded = -1;
    TerminalDayEnd(missing, 7, 9);
    EXPECT_TRUE(missing.requests.empty());
    EXPECT_TRUE(missing.slips.empty());
}

}  // namespace
