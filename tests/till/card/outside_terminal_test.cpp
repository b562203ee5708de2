// The outside vendor's terminal library as the till drives it: the request block's bytes, card
// sale and return rows against the stand-in library (loaded through the settings store's path
// table), the payment failure, the slip printed on the printer simulator and kept, the end of
// day's two calls, and a failing receipt header after a slip.
#include "card_slip.h"
#include "outside_terminal.h"
#include "outside_terminal_control.h"
#include "printclass.h"
#include "receipt_printing.h"
#include "printer_sim.h"
#include "windows_paths.h"

#include "fiscal_module_test.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// The block a request must be: zero but for the code, the amount text and the currency text.
TerminalRequest Expected(std::int32_t code, const std::string& amount, const std::string& currency) {
    TerminalRequest block{};
    for (int i = 0; i < 4; ++i) block[std::size_t(8 + i)] = std::byte((std::uint32_t(code) >> (8 * i)) & 0xFF);
    for (std::size_t i = 0; i < amount.size(); ++i) block[197 + i] = std::byte(amount[i]);
    for (std::size_t i = 0; i < currency.size(); ++i) block[223 + i] = std::byte(currency[i]);
    return block;
}

TEST(OutsideTerminalBlock, SaleAndReturnRows) {
    const OutsideTerminalSettings settings{1, 3, QStringLiteral("EUR")};
    struct Case {
        bool isReturn;
        double amount;
        TerminalRequest expected;
    };
    const Case cases[] = {
        {false, 12.34, Expected(1, "1234", "EUR")},
        {false, 10.00, Expected(1, "1000", "EUR")},
        {false, 0.29, Expected(1, "29", "EUR")},  // 28.999... cents rounds to 29
        {false, 1.005, Expected(1, "101", "EUR")},
        {true, -12.34, Expected(3, "0.00", "EUR")},
        {true, -0.01, Expected(3, "0.00", "EUR")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CardRowRequest(settings, c.isReturn, c.amount), c.expected) << c.isReturn << " " << c.amount;
}

TEST(OutsideTerminalBlock, CodesAndTextsKeepTheirFieldsAndTerminatingZero) {
    EXPECT_EQ(MakeTerminalRequest(-2), Expected(-2, "", ""));
    const TerminalRequest block = MakeTerminalRequest(0x01020304, std::string(40, '9'), std::string(700, 'E'));
    EXPECT_EQ(block[8], std::byte{0x04});
    EXPECT_EQ(block[11], std::byte{0x01});
    EXPECT_EQ(block[197 + 24], std::byte{'9'});
    EXPECT_EQ(block[197 + 25], std::byte{0});  // the amount field's last byte stays the NUL
    EXPECT_EQ(block[223], std::byte{'E'});
    EXPECT_EQ(block[911], std::byte{0});
    EXPECT_EQ(block[910], std::byte{'E'});
    TerminalRequest changed = block;
    SetTerminalRequestCode(changed, 9);
    EXPECT_EQ(changed[8], std::byte{9});
    EXPECT_TRUE(std::equal(changed.begin() + 12, changed.end(), block.begin() + 12));
}

class OutsideTerminalTest : public testsupport::FiscalModuleTest {
protected:
    QString initialDaySums() const override { return {}; }

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(FiscalModuleTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(startPrinterDevice(1));
        library(OUTSIDE_TERMINAL_STANDIN);
        platform::mapWindowsPath(kArccomSlipFile, slipFile().string());
        terminal = std::make_unique<ArccomTerminal>(*print, [this] {
            ++annulled;
            platform::ui::endProgram(1);
        });
    }
    void TearDown() override {
        terminal.reset();
        FiscalModuleTest::TearDown();
    }

    // The library the till's fixed path leads to: a copy of `file` in a folder of its own.
    void library(const std::filesystem::path& file) {
        std::filesystem::create_directories(libraryFolder());
        const auto copy = libraryFolder() / file.filename();
        std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing);
        platform::mapWindowsPath(kArccomLibrary, copy.string());
    }
    std::filesystem::path libraryFolder() const { return dir() / "Arcus2"; }
    std::filesystem::path slipFile() const { return dir() / "cheq.out"; }

    void control(std::vector<int> results, std::vector<std::string> lines = {"KARTE VISA", "Autorizacija %n"}) {
        sim::OutsideTerminalControl c;
        c.results = std::move(results);
        c.slipFile = slipFile();
        c.slipLines = std::move(lines);
        c.write(libraryFolder());
    }
    std::vector<std::string> paper() {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        printer->waitIdle(100);
        return printer->receipt();
    }
    bool onPaper(const std::string& line) {
        const auto p = paper();
        return std::find(p.begin(), p.end(), line) != p.end();
    }
    std::string kept(int copy) { return testsupport::readFile(dir() / KartesCeksFile(copy).toStdString()); }

    const OutsideTerminalSettings settings{1, 3, QStringLiteral("EUR")};
    std::unique_ptr<ArccomTerminal> terminal;
    int annulled = 0;
};

TEST_F(OutsideTerminalTest, ApprovedFromZeroToSevenForSalesAsForReturns) {
    struct Case {
        int result;
        bool isReturn;
        bool approved;
    };
    const Case cases[] = {{-1, false, false}, {0, false, true}, {7, false, true}, {8, false, false},
                          {-1, true, false},  {0, true, true},  {7, true, true},  {8, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.result) + (c.isReturn ? " return" : " sale"));
        std::filesystem::remove(dir() / "LastCC_Ceks2.rep");
        messages().clear();
        control({c.result});
        EXPECT_EQ(terminal->ChargeCardRow(settings, c.isReturn, c.isReturn ? -5.0 : 5.0), c.approved);
        const auto requests = sim::outsideTerminalRequests(libraryFolder());
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0], c.isReturn ? Expected(3, "0.00", "EUR") : Expected(1, "500", "EUR"));
        EXPECT_EQ(kept(1), "KARTE VISA\r\nAutorizacija 1\r\n\n\n\n\n\n\r\n");
        EXPECT_EQ(std::filesystem::exists(dir() / "LastCC_Ceks2.rep"), c.approved);
        if (c.approved)
            EXPECT_TRUE(messages().texts().isEmpty());
        else
            EXPECT_EQ(messages().texts(), QStringList{"Apmaksa nav notikusi !!!\n\nKARTE VISA\nAutorizacija 1\n"});
    }
    EXPECT_EQ(annulled, 0);
}

TEST_F(OutsideTerminalTest, TheSlipIsPrintedOnBothStationsAndFollowedByTheNextHeader) {
    control({0}, {"Termin\xE2ls 42", "SUMMA 5.00"});  // Windows-1257 "Terminā"
    ASSERT_TRUE(terminal->ChargeCardRow(settings, false, 5.0));
    const auto p = paper();
    EXPECT_EQ(std::count(p.begin(), p.end(), "SUMMA 5.00"), 2);  // copies 1 and 2
    EXPECT_EQ(std::count(p.begin(), p.end(), "SIA Veikals"), 2);  // each followed by a header
    const auto journal = printer->journal();
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "SUMMA 5.00"), 2);
    EXPECT_EQ(kept(2), "Termin\xE2ls 42\r\nSUMMA 5.00\r\n\n\n\n\n\n\r\n");
}

TEST_F(OutsideTerminalTest, NoSlipFileKeepsOnlyTheFeedAndTheFailureCarriesNoLines) {
    sim::OutsideTerminalControl c;
    c.results = {8};
    c.write(libraryFolder());
    EXPECT_FALSE(terminal->ChargeCardRow(settings, false, 5.0));
    EXPECT_EQ(kept(1), "\n\n\n\n\n\r\n");
    EXPECT_EQ(messages().texts(), QStringList{"Apmaksa nav notikusi !!!\n\n"});
}

TEST_F(OutsideTerminalTest, AMissingLibraryOrEntryIsAPaymentFailure) {
    platform::mapWindowsPath(kArccomLibrary, (dir() / "no-such-arccom.so").string());
    EXPECT_FALSE(terminal->ChargeCardRow(settings, false, 5.0));
    EXPECT_EQ(messages().texts(), (QStringList{"Nevarēju atrast Ingenico Dll arccom.dll !!!", "Apmaksa nav notikusi !!!\n\n"}));
    EXPECT_FALSE(terminal->ChargeCardRow(settings, true, -5.0));

    messages().clear();
    library(OUTSIDE_TERMINAL_STANDIN_NO_ENTRY);
    for (const bool isReturn : {false, true}) EXPECT_FALSE(terminal->ChargeCardRow(settings, isReturn, 5.0));
    EXPECT_EQ(messages().texts(), (QStringList{"Apmaksa nav notikusi !!!\n\n", "Apmaksa nav notikusi !!!\n\n"}));
    EXPECT_FALSE(std::filesystem::exists(dir() / "LastCC_Ceks1.rep"));
    EXPECT_EQ(terminal->LoadArccomDll(), -1);
}

TEST_F(OutsideTerminalTest, TheEndOfDaysSecondCallGetsTheBlockAsTheFirstLeftIt) {
    control({0, 3});
    TerminalDayEnd(*terminal, 21, 22);
    const auto requests = sim::outsideTerminalRequests(libraryFolder());
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], MakeTerminalRequest(21));
    TerminalRequest second = MakeTerminalRequest(22);
    second[12] = std::byte{1};  // what the first call wrote into the block
    EXPECT_EQ(requests[1], second);
    EXPECT_EQ(kept(1), "KARTE VISA\r\nAutorizacija 2\r\n\n\n\n\n\n\r\n");  // the second slip
    EXPECT_FALSE(std::filesystem::exists(dir() / "LastCC_Ceks2.rep"));
}

// The printer's line gone after a slip: a declined payment's receipt is annulled and the program
// ends; an approved one has charged the card, so its row is paid and the cashier is told to
// print the copy, never annulled.
TEST_F(OutsideTerminalTest, AFailingHeaderAfterASlipAnnulsOnlyAReceiptTheCardDidNotPay) {
    printer->stop();
    printer.reset();
    control({8});
    EXPECT_THROW(terminal->ChargeCardRow(settings, false, 5.0), platform::ui::ProgramEnded);
    EXPECT_EQ(annulled, 1);

    control({0});
    messages().clear();
    EXPECT_TRUE(terminal->ChargeCardRow(settings, false, 5.0));
    EXPECT_EQ(annulled, 1);
    EXPECT_TRUE(messages().shown(kPaidReceiptReprintMessage)) << messages().texts().join(" | ").toStdString();
}

}  // namespace
