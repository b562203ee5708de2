// An order's bar slip, bill, kitchen slip and the waiter report printed through the real till
// window's printer object, on the receipt printer simulated on COM2 (printer type 0 and a
// narrower type), with the till's demo database.
#include "order_printing.h"
#include "report_forms.h"
#include "waiter_report.h"

#include "posmain.h"
#include "print_devices.h"
#include "printclass.h"
#include "report.h"
#include "till_window.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <algorithm>

namespace {

using Lines = std::vector<std::string>;

class OrderPrintingTest : public testsupport::TillWindowTest, public ::testing::WithParamInterface<int> {
protected:
    OrderPrintingTest() : TillWindowTest({.printerType = GetParam(), .display = false, .openingRecord = true}) {}

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(TillWindowTest::SetUp());
        exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, NODALA, CENA) VALUES ('B1', 'Alus', 1, 2.5)");
        exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, NODALA, CENA) VALUES ('B2', 'Kafija', 1, 1.8)");
        exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, NODALA, CENA) VALUES ('K1', 'Zupa', 2, 3.2)");
        exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, NODALA, CENA) VALUES ('K2', 'Karbonāde', 2, 7.9)");
        exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, NODALA, CENA) VALUES ('C1', 'Maizīte', 3, 0.67)");
        exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, NODALA, CENA) VALUES ('L1', :GNOS, 2, 12.5)", {{":GNOS", kLongName}});
        ASSERT_TRUE(startTill()) << messages().texts().join(" | ").toStdString();
        messages().clear();
    }

    void line(int pasutNr, const QString& artikuls, double daudzums, double cena, double atlaide = 0,
              const QVariant& dzests = {}, const QVariant& prnBars = {})
    {
        exec("INSERT INTO O_PASUT (DATUMS, PASUT_NR, GALDS, BARMENIS, ARTIKULS, DAUDZUMS, CENA, ATLAIDE, APMAKSATS, DZESTS, "
             "PRN_BARS) VALUES ('2026-03-02', :NR, '3', 'Anna', :ARTIKULS, :DAUDZUMS, :CENA, :ATLAIDE, 'F', :DZESTS, :PRN_BARS)",
             {{":NR", pasutNr}, {":ARTIKULS", artikuls}, {":DAUDZUMS", daudzums}, {":CENA", cena}, {":ATLAIDE", atlaide},
              {":DZESTS", dzests}, {":PRN_BARS", prnBars}});
    }
    int flagged(const char* flag, int pasutNr)
    {
        return value(QStringLiteral("SELECT COUNT(*) FROM O_PASUT WHERE %1='T' AND PASUT_NR=:NR").arg(flag), {{":NR", pasutNr}})
            .toInt();
    }
    int rowsOf(int pasutNr) { return value("SELECT COUNT(*) FROM O_PASUT WHERE PASUT_NR=:NR", {{":NR", pasutNr}}).toInt(); }

    int type() const { return GetParam(); }
    // A line as the paper shows it: cut at the printer's width, without trailing blanks.
    std::string onPaper(const QString& text) const
    {
        QString shown = text.left(print::printerType(type()).lineWidth);
        while (shown.endsWith(u' ')) shown.chop(1);
        return shown.toStdString();
    }
    Lines onPaper(const QStringList& texts) const
    {
        Lines lines;
        for (const QString& text : texts) lines.push_back(onPaper(text));
        return lines;
    }
    // The receipt lines printed since `from`, up to (not including) the first empty line: the
    // slip without its feed and the next receipt's header.
    Lines slipSince(std::size_t from)
    {
        const Lines all = paper();
        Lines slip;
        for (std::size_t i = from; i < all.size() && !all[i].empty(); ++i) slip.push_back(all[i]);
        return slip;
    }
    TPrintClass& printClass() { return *w().PrintClass; }

    static inline const QString kLongName = QStringLiteral("Šokolādes kūka ar ķiršiem un krējumu");  // 36 characters
    const QString rule28 = QString(28, u'-');
    const QString rule40 = QString(40, u'-');
};

TEST_P(OrderPrintingTest, BarSlipCarriesOnlyNewBarLinesAndMarksTheWholeOrder)
{
    line(7, "B1", 1, 2.5, 0, {}, "T");  // sent with an earlier slip
    line(7, "K1", 1, 3.2);              // kitchen
    line(7, "B2", 1, 1.8);
    line(7, "B2", 3, 1.8, 0, "T");      // deleted
    line(7, "B1", 2, 2.5, 0, "F");
    line(8, "B1", 4, 2.5);              // another order
    const OrderHeading heading{"Visi Bārmeņi", "Visi", 7};

    auto before = paper().size();
    EXPECT_TRUE(DrukatBaram(db(), printClass(), heading));
    EXPECT_EQ(slipSince(before), onPaper(QStringList{rule28, "Viesm.Visi Bārmeņi Galds-Visi Pasūt. Nr 7", rule28,
                                                     BarSlipLine(type(), "Kafija", 1), BarSlipLine(type(), "Alus", 2), rule28}));
    EXPECT_EQ(flagged("PRN_BARS", 7), 5);  // kitchen and deleted rows too
    EXPECT_EQ(flagged("PRN_BARS", 8), 0);
    const Lines after = paper();  // the next receipt's header follows the slip
    EXPECT_TRUE(std::any_of(after.begin() + std::ptrdiff_t(before), after.end(),
                            [](const std::string& printedLine) { return printedLine.starts_with("Kases S/N"); }));

    // Two lines added to the order already sent print alone.
    line(7, "B2", 2, 1.8);
    line(7, "K2", 1, 7.9);
    line(7, "B1", 1, 2.5);
    before = paper().size();
    EXPECT_TRUE(DrukatBaram(db(), printClass(), {"Anna", "3", 7}));
    EXPECT_EQ(slipSince(before), onPaper(QStringList{rule28, "Viesm.Anna Galds-3 Pasūt. Nr 7", rule28,
                                                     BarSlipLine(type(), "Kafija", 2), BarSlipLine(type(), "Alus", 1), rule28}));
    EXPECT_EQ(flagged("PRN_BARS", 7), 8);

    // Nothing new: the heading and the rules all the same.
    before = paper().size();
    EXPECT_TRUE(DrukatBaram(db(), printClass(), {"Anna", "3", 7}));
    EXPECT_EQ(slipSince(before), onPaper(QStringList{rule28, "Viesm.Anna Galds-3 Pasūt. Nr 7", rule28, rule28}));
    EXPECT_TRUE(messages().texts().isEmpty());
}

TEST_P(OrderPrintingTest, ABarSlipThatDidNotPrintLeavesItsLinesForTheNextOne)
{
    line(7, "B1", 1, 2.5);
    line(7, "K1", 1, 3.2);
    printer->faults().arm("paper-out");
    auto before = paper().size();
    EXPECT_FALSE(DrukatBaram(db(), printClass(), {"Anna", "3", 7}));
    EXPECT_EQ(paper().size(), before);
    EXPECT_EQ(messages().texts(), QStringList{kBarSlipNotPrinted});
    EXPECT_EQ(flagged("PRN_BARS", 7), 0);

    printer->faults().disarm("paper-out");
    messages().clear();
    line(7, "B2", 1, 1.8);
    before = paper().size();
    EXPECT_TRUE(DrukatBaram(db(), printClass(), {"Anna", "3", 7}));
    EXPECT_EQ(slipSince(before), onPaper(QStringList{rule28, "Viesm.Anna Galds-3 Pasūt. Nr 7", rule28,
                                                     BarSlipLine(type(), "Alus", 1), BarSlipLine(type(), "Kafija", 1), rule28}));
    EXPECT_EQ(flagged("PRN_BARS", 7), 3);
    EXPECT_TRUE(messages().texts().isEmpty());
}

TEST_P(OrderPrintingTest, BillOfEveryLiveLine)
{
    line(9, "C1", 0.5, 0.67);
    line(9, "C1", 0.5, 0.67);
    line(9, "C1", 0.5, 0.67);
    line(9, "B1", 4, 2.5, -10);     // 90 %
    line(9, "L1", 1, 12.5);         // a 36-character name
    line(9, "X9", 1, 50);           // no such item: not on the bill, not in its total
    line(9, "K1", 2, 3.2, 0, "T");  // deleted
    line(9, "B2", 1, 1.8, 0, "F", "T");
    const double total = 0.34 * 3 + 9.00 + 12.50 + 1.80;

    const auto before = paper().size();
    EXPECT_TRUE(DrukatRekinu(db(), printClass(), {"Anna", "3", 9}, "ADMIN"));
    const QStringList expected{"-------------- RĒĶINS ------------------",
                               "- Viesm.Anna ",
                               "- Galds-3 Pasūt. Nr 9 ",
                               rule40,
                               BillLine(type(), "Maizīte", 0.5, 0.34),
                               BillLine(type(), "Maizīte", 0.5, 0.34),
                               BillLine(type(), "Maizīte", 0.5, 0.34),
                               BillLine(type(), "Alus", 4, 9.00),
                               BillLine(type(), kLongName, 1, 12.50),
                               BillLine(type(), "Kafija", 1, 1.80),
                               rule40,
                               BillTotalLine(type(), total),
                               rule40,
                               "02.03.2026  10:15:00  Kas:ADMIN "};
    Lines slip = slipSince(before);
    // The clock moves on with the pauses of the impact printers: the date line has the time it
    // was printed at.
    ASSERT_EQ(slip.size(), std::size_t(expected.size()));
    const QRegularExpression dateLine("^02\\.03\\.2026  10:15:\\d\\d  Kas:ADMIN$");
    EXPECT_TRUE(dateLine.match(QString::fromStdString(slip.back())).hasMatch()) << slip.back();
    slip.back() = onPaper(expected.back());
    EXPECT_EQ(slip, onPaper(expected));
    EXPECT_TRUE(printed(onPaper(BillTotalLine(type(), 24.32))));
    // The long name is cut to its column and the sum stays on the line.
    EXPECT_TRUE(printed(onPaper(BillLine(type(), kLongName, 1, 12.50))));
    EXPECT_NE(onPaper(BillLine(type(), kLongName, 1, 12.50)).find("12.50"), std::string::npos);
    EXPECT_EQ(flagged("PRN_REKINS", 9), rowsOf(9));  // the missing item's and the deleted row too

    // A bill that did not print leaves the order unmarked and says so.
    exec("UPDATE O_PASUT SET PRN_REKINS=NULL");
    printer->faults().arm("paper-out");
    EXPECT_FALSE(DrukatRekinu(db(), printClass(), {"Anna", "3", 9}, "ADMIN"));
    EXPECT_EQ(messages().texts(), QStringList{kBillNotPrinted});
    EXPECT_EQ(flagged("PRN_REKINS", 9), 0);
    printer->faults().disarm("paper-out");
}

TEST_P(OrderPrintingTest, AnArticleCodeHeldByTwoItemsPrintsEachLineOnce)
{
    // Later items with the codes of a bar and a kitchen item: each line still prints once, under
    // the first item's name, and the bill's total is what the lines cost.
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, NODALA, CENA) VALUES ('B1', 'Alus tumšais', 1, 2.9)");
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, NODALA, CENA) VALUES ('K1', 'Zupa dienas', 2, 3.5)");
    line(7, "B1", 2, 2.5);
    line(7, "K1", 1, 3.2);

    auto before = paper().size();
    EXPECT_TRUE(DrukatBaram(db(), printClass(), {"Anna", "3", 7}));
    EXPECT_EQ(slipSince(before), onPaper(QStringList{rule28, "Viesm.Anna Galds-3 Pasūt. Nr 7", rule28,
                                                     BarSlipLine(type(), "Alus", 2), rule28}));

    before = paper().size();
    EXPECT_TRUE(DrukatRekinu(db(), printClass(), {"Anna", "3", 7}, "ADMIN"));
    const Lines bill = slipSince(before);
    ASSERT_GE(bill.size(), 8u);
    EXPECT_EQ(Lines(bill.begin() + 4, bill.begin() + 8),
              onPaper(QStringList{BillLine(type(), "Alus", 2, 5.00), BillLine(type(), "Zupa", 1, 3.20), rule40,
                                  BillTotalLine(type(), 8.20)}));

    const auto names = [](const platform::report::Report& report) {
        QStringList shown;
        for (const auto& row : report.rows) shown << row.values[0].toString();
        return shown;
    };
    EXPECT_EQ(names(BuildPasutijumsSaurs(db(), "Galds 3", 7)), QStringList{"Zupa"});
    EXPECT_EQ(names(BuildPasutijums(db(), "Galds 3", 7)), (QStringList{"B1", "K1"}));  // the articles
    const int soup = value("SELECT ISN FROM O_PASUT WHERE ARTIKULS='K1'").toInt();
    EXPECT_EQ(names(BuildVirtuveAnulets(db(), "Galds 3", soup)), QStringList{"Zupa"});
}

TEST_P(OrderPrintingTest, KitchenSlipOfNewKitchenLinesOnTheDefaultPrinter)
{
    line(7, "K1", 1, 3.2);
    line(7, "B1", 1, 2.5);
    line(7, "K2", 2, 7.9, 0, "T");  // deleted
    line(7, "K2", 1, 7.9);
    std::vector<platform::report::Report> pages;
    bool printerReady = true;
    platform::report::setPrintHandler([&](const platform::report::Report& report) {
        pages.push_back(report);
        return printerReady;
    });
    const auto names = [](const platform::report::Report& report) {
        QStringList shown;
        for (const auto& row : report.rows) shown << row.values[0].toString() + " " + row.values[1].toString();
        return shown;
    };

    // "Bāram un virtuvei": the bar slip on the receipt printer, the kitchen slip on the report printer.
    const OrderHeading heading{"Visi Bārmeņi", "Visi", 7};
    const auto before = paper().size();
    EXPECT_TRUE(DrukatBaram(db(), printClass(), heading));
    EXPECT_TRUE(DrukatVirtuvei(db(), heading));
    EXPECT_EQ(slipSince(before).at(3), onPaper(BarSlipLine(type(), "Alus", 1)));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].headLines, QStringList{"Bārmenis-Visi Bārmeņi Galds-Visi Pasūtījums Nr 7"});
    EXPECT_EQ(names(pages[0]), (QStringList{"Zupa 1", "Karbonāde 1"}));
    EXPECT_EQ(flagged("PRN_VIRTUVE", 7), 4);

    // Nothing new for the kitchen: no page.
    EXPECT_TRUE(DrukatVirtuvei(db(), heading));
    EXPECT_EQ(pages.size(), 1u);

    // A slip that did not print: said, and its line goes with the next slip.
    line(7, "K1", 3, 3.2);
    printerReady = false;
    EXPECT_FALSE(DrukatVirtuvei(db(), heading));
    EXPECT_EQ(messages().texts(), QStringList{kKitchenSlipNotPrinted});
    EXPECT_EQ(flagged("PRN_VIRTUVE", 7), 4);
    printerReady = true;
    EXPECT_TRUE(DrukatVirtuvei(db(), heading));
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(names(pages[2]), QStringList{"Zupa 3"});
    EXPECT_EQ(flagged("PRN_VIRTUVE", 7), 5);
    platform::report::setPrintHandler({});
}

TEST_P(OrderPrintingTest, WaiterReportOnTheReceiptPrinter)
{
    line(7, "B1", 4, 2.5);
    exec("UPDATE O_PASUT SET APMAKSATS='T'");
    line(7, "K1", 1, 5, -10);
    line(7, "B2", 1, 3, 0, "T");
    const QDate day(2026, 3, 2);
    const auto before = paper().size();
    PrintWaiterReport(db(), printClass(), day, day, "");
    EXPECT_EQ(slipSince(before), onPaper(WaiterReportLines(db(), day, day, "")));
    EXPECT_TRUE(printed("Kopā realizēts =   14.50"));
    EXPECT_TRUE(printed("Nenosl,neapmm. =    4.50"));
}

INSTANTIATE_TEST_SUITE_P(PrinterTypes, OrderPrintingTest, ::testing::Values(0, 5),
                         [](const ::testing::TestParamInfo<int>& info) { return "Type" + std::to_string(info.param); });

}  // namespace
