// TPrintClass on the pole display simulator: two lines of 20 as the customer sees them, the
// downloaded letters and the advertising rows, for each display type.
#include "print_fixture.h"

namespace {

const QString kLetters = QStringLiteral("ĀČĒĢĪĶĻŅŠŪŽāčēģīķļņšūž");

struct DisplayCase {
    int type;
    // What the customer sees for the 22 letters (first 20 of them on the line).
    const char* letters;
};

class DisplayTypes : public PrintFixture, public ::testing::WithParamInterface<DisplayCase> {};

TEST_P(DisplayTypes, TwoLinesRightAlignedAndCutTo20) {
    setupInteger("KlDispejaTips", GetParam().type);
    startPrinter(5);
    startDisplay(GetParam().type);
    TPrintClass& p = open(5);
    EXPECT_EQ(p.PrintUzDispleja(QStringLiteral("Kopā"), QStringLiteral("abcdefghijklmnopqrstuvwxy")), 0);
    settle(*display);
    const std::string kopa = GetParam().type == 1 ? "Kopa" : "Kopā";
    EXPECT_EQ(display->line(0), "                " + kopa);
    EXPECT_EQ(display->line(1), "abcdefghijklmnopqrst");
    p.ClearDispleju();
    settle(*display);
    EXPECT_EQ(display->line(0), std::string(20, ' '));
    EXPECT_EQ(display->line(1), std::string(20, ' '));
    EXPECT_EQ(display->garbageBytes(), 0);
}

TEST_P(DisplayTypes, LatvianLetters) {
    setupInteger("KlDispejaTips", GetParam().type);
    startPrinter(5);
    startDisplay(GetParam().type);
    TPrintClass& p = open(5);
    p.PrintUzDispleja(kLetters.left(11), kLetters.mid(11));
    settle(*display);
    EXPECT_EQ(display->line(0) + display->line(1), GetParam().letters);
}

INSTANTIATE_TEST_SUITE_P(AllTypes, DisplayTypes,
                         ::testing::Values(
                             // BIRCH: ģ is drawn with Ģ's glyph and ž with Ž's.
                             DisplayCase{0, "         ĀČĒĢĪĶĻŅŠŪŽ         āčēĢīķļņšūŽ"},
                             DisplayCase{1, "         ACEGIKLNSUZ         acegiklnsuz"},
                             DisplayCase{2, "         ĀČĒĢĪĶĻŅŠŪŽ         āčēģīķļņšūž"},
                             DisplayCase{3, "         ĀČĒĢĪĶĻŅŠŪŽ         āčēģīķļņšūž"}),
                         [](const auto& info) { return "Type" + std::to_string(info.param.type); });

TEST_F(PrintFixture, BirchGlyphsDownloadedAtStart) {
    startPrinter(5);
    startDisplay(0);
    open(5);
    settle(*display);
    const auto letters = display->downloadedLetters();
    EXPECT_EQ(letters.size(), 20u);
    EXPECT_EQ(letters.at('!'), "Ā");
    EXPECT_EQ(letters.at('('), "Ģ");
    EXPECT_EQ(letters.at('\\'), "ņ");
    for (const auto& [code, letter] : letters) EXPECT_FALSE(letter.empty()) << int(code);
}

TEST_F(PrintFixture, OrdermanDefinesItsEightLettersAtTheirCodes) {
    setupInteger("KlDispejaTips", 3);
    startPrinter(5);
    startDisplay(3);
    open(5);
    settle(*display);
    EXPECT_EQ(display->downloadedLetters(), (std::map<std::uint8_t, std::string>{
                                                {0xC2, "Ā"}, {0xE2, "ā"}, {0xC8, "Č"}, {0xE8, "č"}, {0xC7, "Ē"}, {0xE7, "ē"}, {0xCC, "Ģ"}, {0xEC, "ģ"}}));
}

struct AdvertCase {
    int type;
    const char* row1;
    const char* row2;
    const char* shown1;
    const char* shown2;
};

class Adverts : public PrintFixture, public ::testing::WithParamInterface<AdvertCase> {};

TEST_P(Adverts, RowsOf13_15And41Characters) {
    const auto c = GetParam();
    setupInteger("KlDispejaTips", c.type);
    startPrinter(5);
    startDisplay(c.type);
    TPrintClass& p = open(5);
    p.DemoRindas = [&] { return std::pair{QString::fromUtf8(c.row1), QString::fromUtf8(c.row2)}; };
    const auto before = clock().steadyNow();
    p.PrintDemoUzDispleja();
    EXPECT_GE(clock().steadyNow() - before, std::chrono::milliseconds(300));
    settle(*display);
    EXPECT_EQ(display->scrolling(0), c.shown1);
    EXPECT_EQ(display->scrolling(1), c.shown2);
    EXPECT_EQ(display->garbageBytes(), 0);

    // The next two lines bring the display back to its normal mode.
    p.PrintUzDispleja(QStringLiteral("Paldies"), QString());
    settle(*display);
    EXPECT_EQ(display->scrolling(0), "");
    EXPECT_EQ(display->scrolling(1), "");
    EXPECT_EQ(display->line(0), "             Paldies");
}

const char* const k13 = "Svaigs maizes";                              // 13
const char* const k13x3 = "Svaigs maizes Svaigs maizes Svaigs maizes"; // 41, not filled
const char* const k15 = "Ābolu sula 1 EU";                            // 15
const char* const k15x2 = "Ābolu sula 1 EU Ābolu sula 1 EU         "; // filled to 40
const char* const k41 = "Atlaides visām precēm līdz mēneša beigām!";   // 41
const char* const k41cut = "Atlaides visām precēm līdz mēneša beigām";

INSTANTIATE_TEST_SUITE_P(Types, Adverts,
                         ::testing::Values(AdvertCase{0, k13, k15, k13x3, k15x2}, AdvertCase{0, k41, k13, k41cut, k13x3},
                                           AdvertCase{3, k15, k41, k15x2, k41cut},
                                           // JARLTECH trims the rows and shows plain letters.
                                           AdvertCase{1, k15, k41, "Abolu sula 1 EU Abolu sula 1 EU", "Atlaides visam precem lidz menesa beigam"}));

TEST_F(PrintFixture, Dsp850AdvertisingIsOneMacroOfBothRows) {
    setupInteger("KlDispejaTips", 2);
    startPrinter(5);
    startDisplay(2);
    TPrintClass& p = open(5);
    p.PrintDemoUzDispleja(QString::fromUtf8(k13), QString::fromUtf8(k15));
    settle(*display);
    EXPECT_EQ(display->scrolling(0), std::string(k13x3) + k15x2);
}

}  // namespace
