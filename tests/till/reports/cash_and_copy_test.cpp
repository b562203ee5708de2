// Cash in and collection, the copy of the last Z report and the annulled-receipt list, against
// the module and printer simulators and a real till database.
#include "cash_in_out.h"
#include "report_fixture.h"
#include "z_copy.h"

#include <QDate>
#include <QFile>

namespace {

class CashInOutTest : public ReportTest {
protected:
    void SetUp() override
    {
        ReportTest::SetUp();
        startPrinter();
    }
    CashOutcome cash(const CashEntry& entry, ReportFiscalMemory& access)
    {
        return CashInOut(entry, 1.422871, QStringLiteral("Anna Bērziņa"), access, *print);
    }
    CashOutcome cash(const CashEntry& entry)
    {
        ReportFiscalMemory access(*fm);
        return cash(entry, access);
    }
    // The lines printed since the paper held `before` lines.
    Lines printedSince(std::size_t before)
    {
        const Lines all = paper();
        return Lines(all.begin() + std::ptrdiff_t(before), all.end());
    }
};

TEST(CashCents, RoundedToTheNearestCent)
{
    EXPECT_EQ(CashCents(QStringLiteral("1.15")), 115);
    EXPECT_EQ(CashCents(QStringLiteral("12.34")), 1234);
    EXPECT_EQ(CashCents(QStringLiteral("20.50")), 2050);
    EXPECT_EQ(CashCents(QStringLiteral("0.29")), 29);
    EXPECT_EQ(CashCents(QStringLiteral("10"), 1.422871), 1423);
    EXPECT_EQ(CashCents(QStringLiteral("-5")), -500);
    EXPECT_EQ(CashCents(QStringLiteral("abc")), 0);
    EXPECT_EQ(CashCents(QString()), 0);
}

TEST_F(CashInOutTest, CashInOfFiftyAndCollectionOfTwentyFifty)
{
    seed({{"IELIKTS", "   2    3000"}});
    const std::size_t before = paper().size();
    EXPECT_EQ(cash({QStringLiteral("50"), {}, {}, {}}).Statuss, 1);
    EXPECT_EQ(record("IELIKTS"), QStringLiteral("   3    8000 "));
    const Lines in = printedSince(before);
    ASSERT_GE(in.size(), 4u);
    EXPECT_EQ(Lines(in.begin(), in.begin() + 4),
              (Lines{"----------------------------------------", "Ielikts         50.00", "----------------------------------------",
                     "02.03.2026  10:15  Kasieris:Anna Bērziņa"}));
    EXPECT_NE(std::find(in.begin(), in.end(), "SIA Veikals"), in.end());
    EXPECT_EQ(printer->drawerPulses(), 1);

    // A record that a Z report zeroed counts from nothing.
    seed({{"IZNEMTS", QString(13, u'0')}});
    const std::size_t before2 = paper().size();
    EXPECT_EQ(cash({{}, {}, QStringLiteral("20.50"), {}}).Statuss, 1);
    EXPECT_EQ(record("IZNEMTS"), QStringLiteral("   1    2050 "));
    EXPECT_EQ(printedSince(before2).at(1), "Izņemts         20.50");
    EXPECT_EQ(printer->drawerPulses(), 2);

    // Lats are converted and rounded; the printout shows them as typed.
    const std::size_t before3 = paper().size();
    EXPECT_EQ(cash({{}, QStringLiteral("10"), {}, {}}).Statuss, 1);
    EXPECT_EQ(record("IELIKTS"), QStringLiteral("   4    9423 "));
    EXPECT_EQ(printedSince(before3).at(1), "Ielikts LVL 10");
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join('\n').toStdString();
}

TEST_F(CashInOutTest, RefusalsWriteNothing)
{
    seed({{"IELIKTS", "   2    3000"}, {"IZNEMTS", "   1     500"}});
    struct Case {
        CashEntry entry;
        QString message;
        CashField focus;
    } cases[] = {
        {{QStringLiteral("10"), {}, QStringLiteral("5"), {}}, kCashBothDirectionsMessage, CashField::None},
        {{{}, {}, QStringLiteral("-5"), {}}, kIznemtsNegativeMessage, CashField::None},
        {{{}, QStringLiteral("-1"), {}, {}}, kIeliktsNegativeMessage, CashField::IeliktsLVL},
        {{{}, {}, {}, QStringLiteral("-2")}, kIznemtsNegativeMessage, CashField::IznemtsLVL},
        {{QStringLiteral("abc"), {}, {}, {}}, kNoCashAmountMessage, CashField::None},
        {{}, kNoCashAmountMessage, CashField::None},
    };
    for (const Case& c : cases) {
        messages().clear();
        const CashOutcome outcome = cash(c.entry);
        EXPECT_EQ(outcome.Statuss, 0);
        EXPECT_EQ(outcome.focus, c.focus);
        EXPECT_EQ(messages().texts(), QStringList{c.message});
    }
    EXPECT_EQ(record("IELIKTS"), QStringLiteral("   2    3000 "));
    EXPECT_EQ(record("IZNEMTS"), QStringLiteral("   1     500 "));
    EXPECT_EQ(printer->drawerPulses(), 0);
}

// A counter that cannot be read or written: nothing printed, the drawer stays shut, Statuss -2.
TEST_F(CashInOutTest, CounterFailureIsFatal)
{
    seed({{"IELIKTS", "   2    3000"}});
    for (const char* step : {"read IELIKTS", "write IELIKTS"}) {
        const std::size_t before = paper().size();
        FailingFiscalMemory failing(*fm, *module, step);
        EXPECT_EQ(cash({QStringLiteral("50"), {}, {}, {}}, failing).Statuss, -2) << step;
        EXPECT_EQ(paper().size(), before) << step;
        EXPECT_EQ(printer->drawerPulses(), 0) << step;
    }
    EXPECT_EQ(record("IELIKTS"), QStringLiteral("   2    3000 "));
}

TEST_F(DayReport, ZCopyPrintsTheKeptReport)
{
    PrintLastZCopy(0, *print, window);
    EXPECT_EQ(window.pazinojumi, QStringList{kZCopyMissingMessage});
    ASSERT_EQ(run(kZReport), kReportDone);
    ASSERT_EQ(run(kXReport), kReportDone);  // an X report does not replace the kept Z report

    window.pazinojumi.clear();
    PrintLastZCopy(1, *print, window);
    EXPECT_EQ(window.pazinojumi, QStringList{kZCopyOpenReceiptMessage});

    const std::size_t before = paper().size();
    const int pulses = printer->drawerPulses();
    PrintLastZCopy(0, *print, window);
    const Lines all = paper();
    const Lines copy(all.begin() + std::ptrdiff_t(before), all.end());
    const Lines expected = reportBody("            Z atskaites Nr    5", "GR.TOTAL   1221.21 GR.PVN    201.68");
    const auto title = std::find(copy.begin(), copy.end(), expected.front());
    ASSERT_NE(title, copy.end());
    EXPECT_EQ(Lines(title, title + std::ptrdiff_t(expected.size())), onPaper(expected));
    // Between two receipt headers.
    EXPECT_EQ(std::count(copy.begin(), copy.end(), "SIA Veikals"), 2);
    EXPECT_LT(std::find(copy.begin(), copy.end(), "SIA Veikals"), title);
    EXPECT_EQ(printer->drawerPulses(), pulses + 1);
    EXPECT_EQ(window.pazinojumi.size(), 1);
}

TEST_F(ReportTest, AnnulledReceiptsOfAPeriod)
{
    startPrinter();
    const auto annulled = [&](int number, const QDate& date, double price, double quantity, double discount,
                              const char* flag) {
        exec(QStringLiteral("INSERT INTO REALIZ (CEKA_NR, DATUMS, LAIKS, ARTIKULS, CENA, DAUDZUMS, ATLAIDE, ANULETS) "
                            "VALUES (:N, :D, '10:00:00', 'A1', :C, :Q, :A, :F)"),
             {{"N", number}, {"D", date}, {"C", price}, {"Q", quantity}, {"A", discount}, {"F", QString::fromLatin1(flag)}});
    };
    annulled(42, QDate(2026, 3, 1), 10.0, 1, 0, "T");
    annulled(42, QDate(2026, 3, 1), 5.0, 1, 50, "T");  // the same receipt: summed into one line
    annulled(43, QDate(2026, 3, 2), 3.0, -2, 0, "T");
    annulled(44, QDate(2026, 3, 2), 7.0, 1, 0, "F");   // not annulled
    annulled(45, QDate(2026, 3, 3), 9.0, 1, 0, "T");   // after the period

    const std::size_t before = paper().size();
    PrintAnnulledReceipts(db(), QDate(2026, 3, 1), QDate(2026, 3, 2), *print);
    const Lines all = paper();
    const Lines printed(all.begin() + std::ptrdiff_t(before), all.end());
    ASSERT_GE(printed.size(), 7u);
    EXPECT_EQ(Lines(printed.begin(), printed.begin() + 7),
              (Lines{"-------------------------------", "       ANULĒTIE ČEKI", "par 01.03.2026-02.03.2026",
                     "-------------------------------", "Čeks Nr      42 summa   12.50", "Čeks Nr      43 summa   -6.00",
                     "-------------------------------"}));
    EXPECT_NE(std::find(printed.begin(), printed.end(), "SIA Veikals"), printed.end());

    // A period without annulled receipts: the head, the closing dashes and the next header.
    const std::size_t before2 = paper().size();
    PrintAnnulledReceipts(db(), QDate(2026, 2, 1), QDate(2026, 2, 2), *print);
    const Lines all2 = paper();
    const Lines empty(all2.begin() + std::ptrdiff_t(before2), all2.end());
    EXPECT_EQ(empty.at(4), "-------------------------------");
    EXPECT_NE(std::find(empty.begin(), empty.end(), "SIA Veikals"), empty.end());
}

}  // namespace
