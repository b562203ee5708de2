// The printed receipt read back from the printer simulator: tax summary, totals, payment rows,
// cashier and the next header, for a narrow and the 48-column printer; the kept closing lines;
// and the failures that stop or end the close.
#include "closing_fixture.h"
#include "payment_kinds.h"
#include "receipt_printing.h"

#include <QDateTime>

#include <algorithm>

namespace {

using Paper = std::vector<std::string>;

// Place of the first paper line equal to `text` (right blanks are not on the paper), -1 if none.
int Find(const Paper& paper, const QString& text) {
    const auto it = std::find(paper.begin(), paper.end(), text.toStdString());
    return it == paper.end() ? -1 : int(it - paper.begin());
}

class ReceiptPrinting : public ClosingTest {
protected:
    ClosingReceipt Sale() {
        lines = {Line("A", 12.10, 1, 5), Line("B", 3.00, 1, 6)};
        ClosingReceipt receipt;
        receipt.lines = lines;
        receipt.payments = Payments({{0, 20.00}});
        receipt.CekaSumma = 15.10;
        receipt.Sanemts = 20.00;
        return receipt;
    }
    ClosingSettings Euros() {
        ClosingSettings settings;
        settings.CekaValuta = 1;
        settings.CekaValutaKods = "EUR";
        settings.EUR_Kurss = 1.422872;
        return settings;
    }
    ReceiptPrintJob Job() {
        ReceiptPrintJob job;
        job.KasierisFullName = "Anna Ozola";
        job.now = QDateTime(QDate(2024, 3, 5), QTime(9, 5, 3));
        return job;
    }

    std::vector<TCekaRinda> lines;
    LastReceipt last;
};

struct Layout {
    int type;
    std::vector<QString> closing;  // rule to cashier, as printed
};

class ReceiptLayouts : public ReceiptPrinting, public ::testing::WithParamInterface<Layout> {};

TEST_P(ReceiptLayouts, ReceiptOnPaper) {
    const Layout layout = GetParam();
    startPrinter(layout.type);
    ASSERT_EQ(PrintAllCeks(Job(), Sale(), Euros(), *print, *fm, window, last), kPrintAllCeksPrinted);
    const Paper paper = this->paper();

    EXPECT_GE(Find(paper, "Čeks Nr 42"), 0);
    int at = Find(paper, "Čeks Nr 42");
    for (const QString& line : layout.closing) {
        const int next = Find(paper, line);
        EXPECT_GT(next, at) << line.toStdString();
        at = std::max(at, next);
    }
    const int cashier = Find(paper, "Kasieris : Anna Ozola");
    ASSERT_GE(cashier, 0);
    // The feed, then the next receipt's header around the cut.
    EXPECT_EQ(Paper(paper.begin() + cashier + 1, paper.begin() + cashier + 7), Paper(6, ""));
    EXPECT_EQ(Find(paper, "SIA Veikals"), cashier + 7);
    EXPECT_EQ(printer->cuts(), 1);
    EXPECT_EQ(printer->drawerPulses(), 1);
    EXPECT_EQ(record("CEKANRCOUN"), "00000000042");

    // The kept closing lines: from the rule to the cashier, then the feed.
    ASSERT_EQ(last.CekaBeiguRindas.size(), qsizetype(layout.closing.size()) + 3);
    EXPECT_EQ(last.CekaBeiguRindas.front(), QString(print->RindasGarums, u'-'));
    EXPECT_EQ(last.CekaBeiguRindas[last.CekaBeiguRindas.size() - 2], "Kasieris : Anna Ozola");
    EXPECT_EQ(last.CekaBeiguRindas.back(), "\n\n\n\n\n");
    EXPECT_EQ(last.PedejaisCekaNr, 42);
    EXPECT_EQ(window.annulled, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Printers, ReceiptLayouts,
    ::testing::Values(Layout{1,
                             {"Likme 5-21% PVN   2.10 b/n  10.00", "Likme 6-bez nodokļa Summa=   3.00",
                              "Kopā apmaksai EUR           15.10", "Kopā apmaksai LVL           10.61",
                              "Saņ.EUR    20.00 Izd.EUR     4.90", "0-Skaidra nauda EUR         20.00",
                              "Kasieris : Anna Ozola"}},
                      Layout{4,
                             {"Likme 5-21% PVN    2.10 bez nod.     10.00", "Likme 6-bez nodokļa Summa=   3.00",
                              "Kopā apmaksai EUR                    15.10", "Kopā apmaksai LVL                   10.61",
                              "Saņemts     20.00 EUR     Izdots      4.90 EUR",
                              "0-Skaidra nauda EUR                  20.00", "Kasieris : Anna Ozola"}}),
    [](const ::testing::TestParamInfo<Layout>& info) { return "Type" + std::to_string(info.param.type); });

TEST(ReceiptTotals, ForeignCurrencyReturnAndLats) {
    static const std::vector<TCekaRinda> lines{Line("A", 16.00, 1, 1)};
    ClosingReceipt receipt;
    receipt.lines = lines;
    receipt.CekaSumma = 16.00;
    receipt.Sanemts = 16.00;
    receipt.ApmValuta = "USD";
    receipt.valutasKurss = 0.8;
    ClosingSettings settings;
    settings.CekaValutaKods = "EUR";
    EXPECT_EQ(TotalLines(receipt, settings, 1),
              (QStringList{"Kopā apmaksai                15.10", " Saņemts(0.8000x  20.00USD)  16.00",
                           "   Izdots                     0.00"}
                   .replaceInStrings("15.10", "16.00")));

    receipt.ApmValuta.clear();
    receipt.isReturn = true;
    EXPECT_EQ(TotalLines(receipt, settings, 1), QStringList{"Apmaksai     0.00  Izdots    16.00"});
    EXPECT_EQ(TotalLines(receipt, settings, 4), QStringList{"Apmaksai      0.00 EUR Izdots    16.00 EUR"});

    // Lats paid are kept in euros and printed as paid.
    settings.EUR_Kurss = 1.422872;
    receipt.payments = Payments({{12, 14.23}});
    receipt.payments[0].Teksts = kSecondCurrencyText;
    EXPECT_EQ(PaymentRowLines(receipt, settings, 1), QStringList{"12-Skaidra nauda LVL        10.00"});
}

TEST(ReceiptTotals, DepartmentThatCancelsOutPrintsNoTaxLine) {
    static const std::vector<TCekaRinda> lines{Line("A", 2.00, 1, 3), Line("A", 2.00, -1, 3)};
    ClosingReceipt receipt;
    receipt.lines = lines;
    EXPECT_TRUE(TaxSummaryLines(receipt, {}, DaySums({21, 12, 5}), 1).isEmpty());
}

TEST_F(ReceiptPrinting, NoLinesOpensTheDrawerOnly) {
    startPrinter(1);
    EXPECT_EQ(PrintAllCeks(Job(), {}, Euros(), *print, *fm, window, last), kPrintAllCeksNoLines);
    EXPECT_TRUE(messages().shown(kPrintAllCeksNoLinesMessage));
    EXPECT_EQ(record("CEKANRCOUN"), "00000000041");
    paper();
    EXPECT_EQ(printer->drawerPulses(), 1);
}

TEST_F(ReceiptPrinting, RefusedLineStopsWithTheReceiptOpen) {
    startPrinter(1);
    ClosingReceipt receipt = Sale();
    lines[1].Nodala = 0;
    EXPECT_EQ(PrintAllCeks(Job(), receipt, Euros(), *print, *fm, window, last), kPrintAllCeksLineFailed);
    EXPECT_EQ(window.status, QStringList{"PrintAllCeks = -1"});
    EXPECT_EQ(window.annulled, 0);
    EXPECT_EQ(Find(paper(), "Kasieris : Anna Ozola"), -1);
}

TEST_F(ReceiptPrinting, PrinterGoneStopsWithTheReceiptOpen) {
    startPrinter(1);
    printer.reset();  // the line to the printer is gone
    EXPECT_EQ(PrintAllCeks(Job(), Sale(), Euros(), *print, *fm, window, last), kPrintAllCeksLineFailed);
    EXPECT_EQ(window.annulled, 0);
    ASSERT_EQ(window.status.size(), 1);
    EXPECT_TRUE(window.status[0].startsWith("PrintAllCeks = -"));
}

TEST_F(ReceiptPrinting, CounterThatIsNoNumberIsAFiscalFailure) {
    startPrinter(1);
    ASSERT_TRUE(fm->FMWrite("CEKANRCOUN", "0000000004x"));
    EXPECT_THROW(PrintAllCeks(Job(), Sale(), Euros(), *print, *fm, window, last), platform::ui::ProgramEnded);
    EXPECT_EQ(window.annulled, 1);
    EXPECT_EQ(record("CEKANRCOUN"), "0000000004x");
}

// The till goes on: the receipt is annulled, nothing of it printed and no number taken.
TEST_F(ReceiptPrinting, UnreadableTaxRatesAnnulTheReceipt) {
    startPrinter(1);
    const QString counter = record("CEKANRCOUN");
    module->faults().arm("status=27");
    EXPECT_EQ(PrintAllCeks(Job(), Sale(), Euros(), *print, *fm, window, last), kPrintAllCeksFiscalFailure);
    EXPECT_EQ(window.annulled, 1);
    EXPECT_EQ(record("CEKANRCOUN"), counter);
    const auto printed = paper();
    EXPECT_TRUE(std::none_of(printed.begin(), printed.end(),
                             [](const std::string& line) { return line.rfind("Čeks Nr", 0) == 0; }));
}

TEST_F(ReceiptPrinting, CardSlipFollowsOnTheSamePaper) {
    startPrinter(1);
    ReceiptPrintJob job = Job();
    job.KartesCeks = 1;
    std::vector<int> copies;
    job.printCardSlip = [&](int copy) { copies.push_back(copy); };
    ASSERT_EQ(PrintAllCeks(job, Sale(), Euros(), *print, *fm, window, last), kPrintAllCeksPrinted);
    EXPECT_EQ(copies, std::vector<int>{2});
    EXPECT_EQ(printer->cuts(), 0);
    EXPECT_EQ(last.CekaBeiguRindas.back(), "\n\n\n\n\n");
}

}  // namespace
