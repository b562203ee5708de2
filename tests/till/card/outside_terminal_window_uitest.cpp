// Terminal kind 3 on the real sale window, offscreen, against the outside library's stand-in and
// the simulated module, printer and display: a receipt paid by card, a declined card, and the Z
// report followed by the terminal's end of day, also from the reports menu.
#include "outside_terminal_control.h"
#include "posmain.h"
#include "terminal_request.h"
#include "windows_paths.h"

#include "till_window.h"

#include <QSqlQuery>

#include <algorithm>
#include <cstdlib>

namespace {

class OutsideTerminalWindow : public testsupport::TillWindowTest {
protected:
    OutsideTerminalWindow() : TillWindowTest({.printerType = 1, .openingRecord = true}) {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TillWindowTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(writeRecords({{"CEKAGALVA1", "SIA Veikals"}, {"NOD_D_SUM", testsupport::departmentRates(21)}}));
        setupText("EFT", "3");
        setupInteger("IngenicoPardosana", 1);
        setupInteger("IngenicoAtgr", 3);
        setupInteger("IngenicoDienBeigas1", 21);
        setupInteger("IngenicoDienBeigas2", 22);
        setupText("IngenicoVal", "EUR");
        std::filesystem::create_directories(folder());
        std::filesystem::copy_file(OUTSIDE_TERMINAL_STANDIN, folder() / "arccom.so");
        platform::mapWindowsPath(kArccomLibrary, (folder() / "arccom.so").string());
        platform::mapWindowsPath(kArccomSlipFile, (dir() / "cheq.out").string());
        control({0});
        ASSERT_TRUE(startTill()) << messages().texts().join(" | ").toStdString();
        messages().clear();
    }

    std::filesystem::path folder() const { return dir() / "Arcus2"; }
    void control(std::vector<int> results) {
        sim::OutsideTerminalControl c;
        c.results = std::move(results);
        c.slipFile = dir() / "cheq.out";
        c.slipLines = {"INGENICO", "Darijums %n"};
        c.write(folder());
    }
    std::vector<std::array<std::byte, 912>> requests() const { return sim::outsideTerminalRequests(folder()); }
    int count(const std::string& line) {
        const auto p = paper();
        return int(std::count(p.begin(), p.end(), line));
    }
    static std::int32_t code(const std::array<std::byte, 912>& block) {
        return std::int32_t(std::uint32_t(block[8]) | std::uint32_t(block[9]) << 8 | std::uint32_t(block[10]) << 16 |
                            std::uint32_t(block[11]) << 24);
    }
};

TEST_F(OutsideTerminalWindow, AReceiptPaidByCard) {
    enter("4750001000017");  // 2.15
    w().ApmaksaArKartiEFTClick();

    EXPECT_EQ(w().RinduSkaits, 0) << messages().texts().join(" | ").toStdString();
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0], MakeTerminalRequest(1, "215", "EUR"));
    EXPECT_EQ(count("Darijums 1"), 2);  // both copies
    EXPECT_EQ(testsupport::readFile(dir() / "LastCC_Ceks2.rep"), "INGENICO\r\nDarijums 1\r\n\n\n\n\n\n\r\n");
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE APM_VEIDS = 2 AND ANULETS = 'F'").toInt(), 1);
}

TEST_F(OutsideTerminalWindow, ADeclinedCardLeavesTheReceiptOpen) {
    control({8});
    enter("4750001000017");
    w().ApmaksaArKartiEFTClick();

    EXPECT_EQ(w().RinduSkaits, 1);
    EXPECT_EQ(w().Sanemts, 0);
    EXPECT_TRUE(w().edArtikuls->text().isEmpty());
    EXPECT_EQ(messages().texts(), QStringList{"Apmaksa nav notikusi !!!\n\nINGENICO\nDarijums 1\n"});
    EXPECT_EQ(count("Darijums 1"), 1);  // the shop's copy only
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ").toInt(), 0);
}

TEST_F(OutsideTerminalWindow, ACardReturnSendsNoAmountAndAnErrorResultRefundsNothing) {
    w().rdPirkumsStorno->SetItemIndex(1);
    w().PirkumsStorno = 1;
    enter("4750001000017");
    ASSERT_EQ(w().RinduSkaits, 1);

    control({-1});
    w().ApmaksaArKartiEFTClick();
    EXPECT_EQ(w().RinduSkaits, 1);
    EXPECT_EQ(messages().texts(), QStringList{"Apmaksa nav notikusi !!!\n\nINGENICO\nDarijums 1\n"});
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ").toInt(), 0);

    control({0});
    w().ApmaksaArKartiEFTClick();
    EXPECT_EQ(w().RinduSkaits, 0) << messages().texts().join(" | ").toStdString();
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0], MakeTerminalRequest(3, "0.00", "EUR"));
    EXPECT_EQ(std::abs(record("BANKA_ATGR").trimmed().toInt()), 215);  // the day's card returns in cents
}

TEST_F(OutsideTerminalWindow, TheZReportEndsWithTheTerminalsEndOfDayAsTheMenuCommandDoes) {
    w().Zatskaite1Click();
    ASSERT_EQ(requests().size(), 2u);
    EXPECT_EQ(code(requests()[0]), 21);
    EXPECT_EQ(code(requests()[1]), 22);
    EXPECT_EQ(requests()[1][12], std::byte{1});  // the block as the first call left it
    EXPECT_EQ(testsupport::readFile(dir() / "LastCC_Ceks1.rep"), "INGENICO\r\nDarijums 2\r\n\n\n\n\n\n\r\n");
    const auto p = paper();
    const auto z = std::find_if(p.begin(), p.end(), [](const std::string& l) { return l.find("Z atskaites Nr") != std::string::npos; });
    const auto first = std::find(p.begin(), p.end(), "Darijums 1");
    ASSERT_NE(z, p.end());
    EXPECT_LT(z, first);
    EXPECT_LT(first, std::find(p.begin(), p.end(), "Darijums 2"));

    control({0});
    w().IngenicoTMS1Click();
    EXPECT_EQ(requests().size(), 2u);
    w().EFT = 2;  // another terminal kind: the command does nothing
    w().IngenicoTMS1Click();
    EXPECT_EQ(requests().size(), 2u);
}

}  // namespace
