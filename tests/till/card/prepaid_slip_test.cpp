// The prepaid top-up's voucher slips composed from the terminal's answer, printed on the printer
// simulator and kept; and the cutting of the description into printable pieces.
#include "prepaid_slip.h"
#include "printclass.h"
#include "printer_sim.h"
#include "regional.h"

#include "fiscal_module_test.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

TEST(GetTekstaRinda, CutsAtTheLastBlankThatLeavesRoomElseAtTheWidth) {
    struct Case {
        QString text;
        int width;
        QString piece, rest;
    };
    const Case cases[] = {
        {"abc", 10, "abc", ""},
        {"abcde", 5, "abcde", ""},                   // exactly the width
        {"abc def ghi", 8, "abc", "def ghi"},        // a blank at the width's position does not count
        {"abc def ghi", 9, "abc def", "ghi"},
        {"abcdefghijkl mn", 5, "abcde", "fghijkl mn"},  // an over-long word is cut and the text goes on
        {"", 5, "", ""},
    };
    for (const Case& c : cases) {
        QString rest = "stale";
        EXPECT_EQ(GetTekstaRinda(c.text, c.width, rest), c.piece) << c.text.toStdString() << " " << c.width;
        EXPECT_EQ(rest, c.rest) << c.text.toStdString() << " " << c.width;
    }
}

PrepaidCeksDati TopUp() {
    PrepaidCeksDati d;
    d.PrePaidName = "LMT Karte";
    d.PrePaidNominal = "500";
    d.PrePaidDuration = "31.12.2027";
    d.PrePaidExtDuration = "30 dienas";
    d.PrePaidSerial = "000123";
    d.PrePaidValue = "1234-5678-9012";
    d.PrePaidDescription = "Papildini kontu\nzvanot *123*kods# vai https://example.invalid/atjaunot-kontu-tagad beigas";
    d.TerminalID = "TID: T0000001";
    d.AuthCode = "Auth: 654321";
    d.summa = "250";
    return d;
}

class PrepaidSlipTest : public testsupport::FiscalModuleTest {
protected:
    QString initialDaySums() const override { return {}; }
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(FiscalModuleTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(startPrinterDevice(1));  // compressed print: 40 characters a line
    }
    std::vector<std::string> paper() {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        printer->waitIdle(100);
        return printer->receipt();
    }
    QString dateLine() const {
        return "Datums " + QString::fromStdString(platform::shortDateText(2026, 12, 11)) + " Laiks " +
               QString::fromStdString(platform::timeText(9, 5, 7));
    }
    const platform::LocalTime now{2026, 12, 11, 9, 5, 7, 0, 5};
};

TEST_F(PrepaidSlipTest, CopyOneForTheShopCopyTwoWithCodeAndDescription) {
    const QStringList head{dateLine(),
                           "\n",
                           "       ATJAUNOŠANAS KARTE",
                           "",
                           "LMT Karte",
                           "Atjaunošanas karte        5.00 ",
                           "Derīguma termiņš          31.12.2027 ",
                           "Lietošanas termiņš        30 dienas ",
                           "Sērijas Nr      000123 "};
    const QString summa = "Summa :                         2.50";
    const QStringList tail{"TID: T0000001", "Auth: 654321", "\n\n\n\n\n"};

    EXPECT_EQ(MakePrepaidCeks(1, TopUp(), *print, now), head + QStringList{summa} + tail);
    const QStringList copy2 = head + QStringList{"KODS       1234-5678-9012 ", summa, QString(30, '-'),
                                                 "Papildini kontu zvanot *123*kods# vai ",
                                                 "https://example.invalid/atjaunot-kontu- ", "tagad beigas "} +
                              tail;
    EXPECT_EQ(MakePrepaidCeks(2, TopUp(), *print, now), copy2);
    EXPECT_EQ(print->RindasGarums, 36);  // compressed print switched off again
}

TEST_F(PrepaidSlipTest, AnEmptyDescriptionPrintsNoDashes) {
    PrepaidCeksDati d = TopUp();
    d.PrePaidDescription.clear();
    const QStringList kept = MakePrepaidCeks(2, d, *print, now);
    EXPECT_FALSE(kept.contains(QString(30, '-')));
    EXPECT_EQ(kept.mid(kept.size() - 4), (QStringList{"Summa :                         2.50", "TID: T0000001", "Auth: 654321", "\n\n\n\n\n"}));
    EXPECT_EQ(print->RindasGarums, 36);
}

TEST_F(PrepaidSlipTest, KeptByCopyAndFollowedByTheNextHeader) {
    ASSERT_EQ(SellPrepaidKarte(1, TopUp(), *print, now), std::optional<int>(1));
    ASSERT_EQ(SellPrepaidKarte(2, TopUp(), *print, now), std::optional<int>(1));
    const std::string first = testsupport::readFile(dir() / "LastPrepaid1.rep");
    const std::string second = testsupport::readFile(dir() / "LastPrepaid2.rep");
    EXPECT_EQ(first.find("KODS"), std::string::npos);
    EXPECT_NE(second.find("KODS       1234-5678-9012 \r\n"), std::string::npos);
    const auto p = paper();
    EXPECT_EQ(std::count(p.begin(), p.end(), "SIA Veikals"), 2);
}

TEST_F(PrepaidSlipTest, AHeaderThatCannotBePrintedIsReportedToTheCaller) {
    printer->stop();  // the printer's line is gone
    printer.reset();
    const std::optional<int> header = SellPrepaidKarte(1, TopUp(), *print, now);
    ASSERT_TRUE(header.has_value());
    EXPECT_LT(*header, 0);
}

TEST_F(PrepaidSlipTest, NoProductNameGivesTheTwoErrorLinesOnly) {
    PrepaidCeksDati d = TopUp();
    d.PrePaidName.clear();
    EXPECT_EQ(SellPrepaidKarte(2, d, *print, now), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(dir() / "LastPrepaid2.rep"));
    const auto p = paper();
    EXPECT_NE(std::find(p.begin(), p.end(), "Jums jākontaktējas ar DRAVEL !!!"), p.end());
    EXPECT_EQ(std::count(p.begin(), p.end(), "SIA Veikals"), 0);
    EXPECT_EQ(std::find(p.begin(), p.end(), "KODS       1234-5678-9012 "), p.end());
}

}  // namespace
