// "Drukāt": the day-close records dated in the chosen range between two receipt headers.
#include "setup_fixture.h"

#include <algorithm>

namespace setuptest {
namespace {

class SetupPrint : public SetupTest {
protected:
    // Records 2..6 of the store (index 0 is the store's opening record), one a day from 26.02.
    void appendFiveDays()
    {
        for (int n = 0; n < 5; ++n)
            appendDayClose(n + 2, QDate(2026, 2, 26).addDays(n), 100000 * (n + 1), 1234 + n);
    }
    std::vector<std::string> printRange(QDate from, QDate to, int printerType = 0)
    {
        if (!form) {
            EXPECT_TRUE(openForm());
        }
        form->rdPrinteris->SetItemIndex(printerType);
        form->SakDatums->setDate(from);
        form->BeiguDatums->setDate(to);
        EXPECT_TRUE(run([this] { form->btDrukatClick(); }));
        return paper();
    }
    static std::vector<std::string> numberLines(const std::vector<std::string>& lines)
    {
        std::vector<std::string> found;
        std::copy_if(lines.begin(), lines.end(), std::back_inserter(found), [](const std::string& l) { return l.rfind("Nr=", 0) == 0; });
        return found;
    }
    static bool has(const std::vector<std::string>& lines, const std::string& line)
    {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

TEST_P(SetupPrint, RecordsInTheRangePrintFiveLinesEach)
{
    appendFiveDays();
    startPrinter(0);
    const auto lines = printRange(QDate(2026, 2, 27), QDate(2026, 3, 1));
    EXPECT_EQ(numberLines(lines), (std::vector<std::string>{"Nr=   2 GT=   2000.00", "Nr=   3 GT=   3000.00", "Nr=   4 GT=   4000.00"}));
    EXPECT_TRUE(has(lines, "FISK.ATM. 27.02.2026-01.03.2026"));
    EXPECT_TRUE(has(lines, " Grand PVN=    300.00"));
    EXPECT_TRUE(has(lines, " Dat.=28.02.2026 21:05"));
    EXPECT_TRUE(has(lines, "Dienas S=    12.35 PVN S=   1.24"));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "------"), 3);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string(39, '-')), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string(40, '-')), 1);
    // The frame: the receipt header before and after.
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "SIA Veikals"), 2);
}

TEST_P(SetupPrint, RangeEdges)
{
    appendFiveDays();
    appendDayClose(1, QDate(2026, 3, 2));
    startPrinter(0);
    struct Case {
        const char* name;
        QDate from, to;
        std::vector<std::string> numbers;
    };
    const Case cases[] = {
        {"one day", QDate(2026, 2, 28), QDate(2026, 2, 28), {"Nr=   3 GT=   3000.00"}},
        {"start after end", QDate(2026, 3, 1), QDate(2026, 2, 27), {}},
        // The newest record is read, and number 1 prints as 0.
        {"the newest", QDate(2026, 3, 2), QDate(2026, 3, 2), {"Nr=   5 GT=   5000.00", "Nr=   0 GT=      0.00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer->stop();
        startPrinter(0);
        EXPECT_EQ(numberLines(printRange(c.from, c.to)), c.numbers);
    }
}

TEST_P(SetupPrint, StoreWithOnlyItsOpeningRecordPrintsTheFrame)
{
    startPrinter(0);
    const auto lines = printRange(QDate(2000, 1, 1), QDate(2030, 1, 1));
    EXPECT_TRUE(numberLines(lines).empty());
    EXPECT_TRUE(has(lines, "FISK.ATM. 01.01.2000-01.01.2030"));
}

// Printer type 1 feeds seven lines before the closing header, the others five.
TEST_P(SetupPrint, ClosingFeedsByPrinterType)
{
    for (const auto& [type, feeds] : {std::pair{0, 5}, std::pair{1, 7}}) {
        SCOPED_TRACE(type);
        form.reset();
        if (printer) printer->stop();
        startPrinter(type);
        const auto lines = printRange(QDate(2026, 1, 1), QDate(2026, 1, 2), type);
        // The closing dashes, cut to the printer's width, follow the range line and its blank line.
        const auto range = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("FISK.ATM.", 0) == 0; });
        ASSERT_NE(range, lines.end());
        const auto dashes = std::find_if(range, lines.end(), [](const std::string& l) { return l.rfind("------", 0) == 0; });
        ASSERT_NE(dashes, lines.end());
        const auto text = std::find_if(dashes + 1, lines.end(), [](const std::string& l) { return !l.empty(); });
        EXPECT_EQ(text - dashes - 1, feeds);
    }
}

// A record's day amounts are for printing only: a save afterwards appends no day sum.
TEST_P(SetupPrint, SaveAfterAPrintAppendsNoDaySum)
{
    appendFiveDays();
    startPrinter(0);
    printRange(QDate(2026, 2, 26), QDate(2026, 3, 2));
    form->Z_Numurs->setText(QStringLiteral("30"));
    ASSERT_TRUE(run([this] { form->BtSaveClick(); }));
    const DayCloseRecord r = dayClose(-1);
    EXPECT_EQ(r.nr, 30);
    EXPECT_EQ(r.daySum, 0);
    EXPECT_EQ(r.dayVat, 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SetupPrint, ::testing::Values(kModule, kUsb), kindName);

class SetupPrintOnUsb : public SetupPrint {
protected:
    int kind() const override { return kUsb; }
};

// A record that cannot be read is left out, not printed with made-up data.
TEST_F(SetupPrintOnUsb, UnreadableRecordIsSkipped)
{
    appendFiveDays();
    startPrinter(0);
    ASSERT_TRUE(openForm());
    usb->faults().arm("device-error 2");
    const auto lines = printRange(QDate(2000, 1, 1), QDate(2030, 1, 1));
    EXPECT_EQ(numberLines(lines).size(), 4u);
    EXPECT_FALSE(has(lines, " Dat.=01.01.2001 12:00"));
}

TEST_F(SetupPrintOnUsb, CountThatCannotBeReadEndsTheProgramPrintingNothing)
{
    startPrinter(0);
    ASSERT_TRUE(openForm());
    usb->faults().arm("count-garbage");
    EXPECT_FALSE(run([this] { form->btDrukatClick(); }));
    EXPECT_TRUE(messages().shown(QStringLiteral("Nav ierakstu ko drukāt !!!")));
    EXPECT_TRUE(paper().empty());
}

}  // namespace
}  // namespace setuptest
