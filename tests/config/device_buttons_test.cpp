// "Code page", "Font test" and "Admin": the bytes the printer gets and the request the terminal
// library gets.
#include "device_buttons.h"
#include "library_loader.h"
#include "outside_terminal_control.h"
#include "setup_fixture.h"
#include "terminal_request.h"

#include <cstdint>
#include <filesystem>

namespace setuptest {
namespace {

TEST(DeviceTestBytes, CodePageSends242BytesOf14Rows)
{
    const std::string bytes = CodePageBytes();
    ASSERT_EQ(bytes.size(), 242u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x1B\x63\x30\x02"));
    EXPECT_EQ(bytes.substr(4, 17), std::string(" !\"#$%&'()*+,-./\n"));
    for (int row = 0; row < 14; ++row) {
        const std::size_t at = 4 + std::size_t(row) * 17;
        EXPECT_EQ(std::uint8_t(bytes[at]), 32 + 16 * row);
        EXPECT_EQ(bytes[at + 16], '\n');
    }
    EXPECT_EQ(std::uint8_t(bytes[240]), 255);
}

TEST(DeviceTestBytes, FontTestSendsEveryPrintMode)
{
    const std::string bytes = FontTestBytes();
    EXPECT_EQ(bytes.substr(0, 7), std::string("\x1B\x63\x30\x02\x1B\x74\x2E"));
    EXPECT_EQ(bytes.substr(7, 15), std::string("\x1B\x21\x01") + "Font test 1\n");
    EXPECT_NE(bytes.find(std::string("\x1B\x21\x09") + "Font test 9\n"), std::string::npos);
    // Mode 10 is the line-feed byte itself.
    EXPECT_NE(bytes.find(std::string("\x1B\x21\x0A") + "Font test 10\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 17), std::string("\x1B\x21\xFF") + "Font test 255\n");
}

class DeviceButtons : public SetupOnModule {
protected:
    void TearDown() override
    {
        platform::LoadedLibrary::clearSubstitutions();
        SetupOnModule::TearDown();
    }
};

// The tests print with the type chosen on the form, on the port the settings store names.
TEST_F(DeviceButtons, PrinterTestsUseTheFormsPrinterType)
{
    setupInteger("Printeris", 0);
    startPrinter(4);
    ASSERT_TRUE(openForm());
    form->rdPrinteris->SetItemIndex(4);
    form->btCodePageClick();
    const auto lines = paper();
    EXPECT_NE(std::find(lines.begin(), lines.end(), " !\"#$%&'()*+,-./"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "0123456789:;<=>?"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "SIA Veikals"), lines.end());
    EXPECT_EQ(printer->garbageBytes(), 0);

    form->btFontTestClick();
    printer->waitIdle();
    const sim::ReceiptPaper p = printer->paper();
    EXPECT_EQ(p.printMode, 255);
    EXPECT_EQ(p.codeTable, 46);
    EXPECT_NE(std::find(p.receipt.begin(), p.receipt.end(), "Font test 9"), p.receipt.end());
}

// The terminal library's stand-in, copied into a folder of its own where it keeps its requests.
std::filesystem::path StandIn(const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder);
    const auto copy = folder / "arccom.so";
    std::filesystem::copy_file(OUTSIDE_TERMINAL_STANDIN, copy, std::filesystem::copy_options::overwrite_existing);
    return copy;
}

TEST_F(DeviceButtons, AdminHandsTheLibraryOperation99)
{
    platform::LoadedLibrary::substitute(kArccomLibrary, StandIn(dir() / "Arcus2").string());
    ASSERT_TRUE(openForm());
    form->btAdminClick();
    const auto requests = sim::outsideTerminalRequests(dir() / "Arcus2");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], MakeTerminalRequest(99));
    EXPECT_TRUE(messages().texts().isEmpty());
}

TEST_F(DeviceButtons, MissingLibraryIsToldAndTheNextClickTriesAgain)
{
    platform::LoadedLibrary::substitute(kArccomLibrary, (dir() / "no-such-library.so").string());
    ASSERT_TRUE(openForm());
    form->btAdminClick();
    EXPECT_EQ(messages().texts(), QStringList{QStringLiteral("Nevarēju atrast Ingenico Dll arccom.dll !!!")});
    platform::LoadedLibrary::substitute(kArccomLibrary, StandIn(dir() / "Arcus2").string());
    form->btAdminClick();
    EXPECT_EQ(messages().texts().size(), 1);
    EXPECT_EQ(sim::outsideTerminalRequests(dir() / "Arcus2").size(), 1u);
}

TEST_F(DeviceButtons, LibraryWithoutTheEntryDoesNothingSilently)
{
    platform::LoadedLibrary::substitute(kArccomLibrary, OUTSIDE_TERMINAL_STANDIN_NO_ENTRY);
    ASSERT_TRUE(openForm());
    form->btAdminClick();
    EXPECT_TRUE(messages().texts().isEmpty());
}

}  // namespace
}  // namespace setuptest
