// Receipt printer and customer display types: what each type's bytes, widths, waits and letter
// handling are, as data the printer object reads instead of branching on the type number.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace print {

using namespace std::string_view_literals;

// How a printer type gets the 22 Latvian letters.
enum class PrinterLetters {
    TableA,       // one byte each from the printer's own code page (table A)
    UserDefined,  // ESC % 1, the letter of the downloaded set (table B), ESC % 0
    Cp1257,       // the Windows-1257 bytes as they are
};

// What IeladeDrukasDraiveri does for the type.
enum class LetterLoading { None, CodeTable46, CitizenDlf };

// Where the paper cut sits among the four receipt header lines.
enum class HeaderCut { AfterLines, BetweenLines2And3, BeforeLines };

struct PrinterType {
    std::string_view name;        // the set-up program's caption
    int lineWidth;
    long baud;
    std::uint8_t bothStations;    // n of ESC c 0 n for a line on both stations
    bool lineTwice;               // the padded line goes twice in one line (receipt, then journal half)
    bool journalStation;          // DrukaUzKontrLentas prints (the El. kontr. types have none)
    bool waitAfterEveryLine;      // the impact printers need 300 ms after each line
    bool compressible;            // SetCompressOn/Off act (width 40 compressed)
    HeaderCut headerCut;
    PrinterLetters letters;
    LetterLoading loading;
};

inline constexpr std::array<PrinterType, 8> kPrinterTypes{{
    {"EPSON TM-U950", 40, 9600, 3, true, true, true, false, HeaderCut::AfterLines, PrinterLetters::TableA, LetterLoading::None},
    {"CITIZEN CBM-262 (TERMO)", 36, 9600, 3, true, true, false, true, HeaderCut::BetweenLines2And3, PrinterLetters::TableA, LetterLoading::None},
    {"EPSON TM-U210", 40, 9600, 3, false, true, true, false, HeaderCut::AfterLines, PrinterLetters::TableA, LetterLoading::None},
    {"CITIZEN Lādēt latv.draiveri", 36, 9600, 3, true, true, false, true, HeaderCut::BetweenLines2And3, PrinterLetters::UserDefined, LetterLoading::CitizenDlf},
    {"TH 582", 48, 38400, 3, false, true, false, false, HeaderCut::BetweenLines2And3, PrinterLetters::Cp1257, LetterLoading::CodeTable46},
    {"CITIZEN CT-S801 (El. kontr.)", 36, 9600, 2, false, false, false, true, HeaderCut::BetweenLines2And3, PrinterLetters::Cp1257, LetterLoading::None},
    {"SAM4S (El. kontr.)", 42, 9600, 3, false, false, false, true, HeaderCut::BetweenLines2And3, PrinterLetters::Cp1257, LetterLoading::None},
    {"Protech 3520 (El. kontr.)", 36, 9600, 2, false, false, false, true, HeaderCut::BeforeLines, PrinterLetters::Cp1257, LetterLoading::None},
}};

// A type number outside 0..7 behaves as the CITIZEN with downloaded letters.
inline constexpr PrinterType kOtherPrinterType{"", 36, 9600, 3, true, true, false, true, HeaderCut::BetweenLines2And3,
                                               PrinterLetters::UserDefined, LetterLoading::CitizenDlf};

constexpr const PrinterType& printerType(int type) {
    return (type >= 0 && type < int(kPrinterTypes.size())) ? kPrinterTypes[std::size_t(type)] : kOtherPrinterType;
}

inline constexpr int kCompressedWidth = 40;

// Printer commands.
inline constexpr std::uint8_t kStationJournal = 1;
inline constexpr std::uint8_t kStationReceipt = 2;
inline constexpr std::uint8_t kStationBoth = 3;
inline constexpr auto kCut = "\x1B\x6D"sv;
inline constexpr auto kOpenDrawer = "\x1B\x70\x30\x0A\x01"sv;
inline constexpr auto kCompressOn = "\x1B\x21\x01"sv;
inline constexpr auto kCompressOff = "\x1B\x21\x06"sv;
inline constexpr auto kCodeTable46 = "\x1B\x74\x2E"sv;
inline constexpr auto kPrintMode17 = "\x1B\x21\x11"sv;
inline constexpr auto kUserSetOn = "\x1B\x25\x01"sv;
inline constexpr auto kUserSetOff = "\x1B\x25\x00"sv;
inline constexpr auto kLogoTail = "\x1D\x42\x0A\x00"sv;
inline constexpr std::array<std::string_view, 3> kStatusQueries{"\x10\x04\x04"sv, "\x1B\x76"sv, "\x1B\x75\x30"sv};

// How a display type shows the Latvian letters.
enum class DisplayLetters {
    TableD,  // the 20 characters redefined in the display (two letters share a glyph each)
    Plain,   // table C: the Latin base letter
    Cp1257,  // the Windows-1257 bytes as they are
};

// A display command and the label its failed write is logged with (empty: not checked).
struct DisplayStep {
    std::string_view bytes;
    std::string_view logLabel;
};

// A glyph downloaded into the display: the character code and its five columns.
struct Glyph {
    std::uint8_t code;
    std::array<std::uint8_t, 5> columns;
};

inline constexpr auto k23Spaces = "                       "sv;

struct DisplayType {
    std::string_view name;
    DisplayStep passThrough;        // SwitchToPrinter on a shared port
    DisplayStep select;             // start of PrintUzDispleja
    std::array<DisplayStep, 2> beforeLine1;
    std::array<DisplayStep, 2> beforeLine2;
    std::string_view normalMode;    // after the advertising rows
    std::string_view advertLine1Setup;
    std::string_view advertLine1Start;
    std::string_view advertLine2Setup;
    std::string_view advertLine2Start;
    std::string_view advertRun;     // after the last wait
    bool advertAsMacro;             // both rows go into one macro: no start, wait or set-up between them
    bool advertTrimmed;             // the rows are trimmed of blanks before sending
    std::span<const Glyph> glyphs;  // downloaded by IeladetDisplejaBurtus
    std::string_view glyphDownloadStart;
    std::string_view glyphHeader;   // before each glyph: header, code, code
    bool glyphWidthByte;            // then 05 (the ESC/POS user-character form)
    std::string_view glyphDownloadEnd;
    DisplayLetters letters;
};

inline constexpr std::array<Glyph, 20> kBirchGlyphs{{
    {0x21, {0x79, 0x15, 0x13, 0x15, 0x79}}, {0x23, {0x38, 0x45, 0x45, 0x39, 0x7C}}, {0x24, {0x3C, 0x43, 0x43, 0x43, 0x24}},
    {0x25, {0x38, 0x46, 0x44, 0x46, 0x28}}, {0x26, {0x7E, 0x5B, 0x5B, 0x43, 0x42}}, {0x27, {0x7C, 0x55, 0x55, 0x55, 0x44}},
    {0x28, {0x1E, 0x21, 0x75, 0x25, 0x1C}}, {0x29, {0x00, 0x01, 0x7D, 0x01, 0x00}}, {0x3A, {0x01, 0x3D, 0x41, 0x20, 0x00}},
    {0x3B, {0x7F, 0x08, 0x54, 0x22, 0x51}}, {0x3C, {0x7C, 0x10, 0x68, 0x64, 0x00}}, {0x3E, {0x7F, 0x40, 0x50, 0x60, 0x50}},
    {0x3F, {0x7C, 0x40, 0x50, 0x60, 0x50}}, {0x40, {0x7F, 0x04, 0x68, 0x10, 0x7F}}, {0x5C, {0x78, 0x04, 0x64, 0x04, 0x78}},
    {0x5D, {0x24, 0x47, 0x4A, 0x53, 0x24}}, {0x5E, {0x28, 0x4D, 0x56, 0x29, 0x00}}, {0x5F, {0x3D, 0x41, 0x41, 0x41, 0x3D}},
    {0x60, {0x00, 0x3D, 0x41, 0x41, 0x3D}}, {0x7E, {0x44, 0x65, 0x56, 0x4D, 0x44}},
}};

inline constexpr std::array<Glyph, 8> kOrdermanGlyphs{{
    {0xC2, {0x3E, 0xC8, 0xC8, 0xC8, 0x3E}}, {0xE2, {0x04, 0xAA, 0xAA, 0xAA, 0x1E}}, {0xC8, {0xBC, 0xC2, 0x42, 0xC2, 0xA4}},
    {0xE8, {0x1C, 0xA2, 0x62, 0xA2, 0x14}}, {0xC7, {0x7E, 0xD2, 0xD2, 0xD2, 0x42}}, {0xE7, {0x1C, 0xAA, 0xAA, 0xAA, 0x10}},
    {0xCC, {0x7C, 0x82, 0x93, 0x92, 0x5E}}, {0xEC, {0x18, 0xA5, 0x65, 0xA5, 0x3E}},
}};

inline constexpr DisplayType kBirchDisplay{
    "BIRCH",
    {"\x1B\x3D\x31"sv, "SwitchToPrinter 3"sv},
    {"\x1B\x3D\x32"sv, "PrintUzDispleja 1 "sv},
    {{{"\x1B\x55"sv, "PrintUzDispleja 4 "sv}, {k23Spaces, "PrintUzDispleja 5"sv}}},
    {{{"\x1B\x44"sv, ""sv}, {k23Spaces, "PrintUzDispleja 8"sv}}},
    "\x1B\x3D\x32\x1B\x45\x55\x33\x1B\x45\x44\x33"sv,
    "\x1B\x3D\x32\x1B\x45\x55\x33"sv,
    "\x1B\x45\x55\x31"sv,
    "\x1B\x45\x44\x33"sv,
    "\x1B\x45\x44\x31"sv,
    {},
    false,
    false,
    kBirchGlyphs,
    "\x1B\x3D\x32\x1B\x40\x1B\x25\x01"sv,
    "\x1B\x26"sv,
    false,
    "\x1B\x45\x58\x33\x1B\x25\x01"sv,
    DisplayLetters::TableD,
};

inline constexpr std::array<DisplayType, 4> kDisplayTypes{{
    kBirchDisplay,
    {"JARLTECH",
     {"\x1B\x5F\x50"sv, "SwitchToPrinter 1"sv},
     {"\x1B\x5F\x44"sv, "PrintUzDispleja 2 "sv},
     {{{"\x0D\x0A"sv, "PrintUzDispleja 6"sv}, {}}},
     {{{"\x0D\x0A"sv, "PrintUzDispleja 9"sv}, {}}},
     "\x1B\x5F\x44\x1B\x25\x30\x1B\x25\x31\x1B\x3A"sv,
     "\x1B\x5F\x44\x1B\x28\x31"sv,
     "\x0D\x1B\x29\x30\x31\x34\x31"sv,
     "\x1B\x28\x31"sv,
     "\x0D\x1B\x29\x31\x31\x34\x31"sv,
     {},
     false,
     true,
     {}, {}, {}, false, {},
     DisplayLetters::Plain},
    {"Bir DSP-850",
     {"\x1B\x3D\x01"sv, "SwitchToPrinter 2"sv},
     {"\x0B"sv, "PrintUzDispleja 3 "sv},
     {},
     {},
     "\x1F\x3A\x1F\x3A"sv,
     "\x1F\x3A"sv,
     {},
     {},
     "\x1F\x3A"sv,
     "\x1F\x5E\x02\x02"sv,
     true,
     false,
     {}, {}, {}, false, {},
     DisplayLetters::Cp1257},
    // Orderman: the BIRCH command set, its own letters at their Windows-1257 codes. The download
    // selects the display first, so on a port shared with the printer the glyphs reach the display.
    {"Orderman 300",
     kBirchDisplay.passThrough,
     kBirchDisplay.select,
     kBirchDisplay.beforeLine1,
     kBirchDisplay.beforeLine2,
     kBirchDisplay.normalMode,
     kBirchDisplay.advertLine1Setup,
     kBirchDisplay.advertLine1Start,
     kBirchDisplay.advertLine2Setup,
     kBirchDisplay.advertLine2Start,
     {},
     false,
     false,
     kOrdermanGlyphs,
     "\x1B\x3D\x32\x1B\x40\x1B\x25\x01"sv,
     "\x1B\x26\x01"sv,
     true,
     "\x1B\x25\x01"sv,
     DisplayLetters::Cp1257},
}};

// A type number outside 0..3 behaves as the BIRCH.
constexpr const DisplayType& displayType(int type) {
    return (type >= 0 && type < int(kDisplayTypes.size())) ? kDisplayTypes[std::size_t(type)] : kDisplayTypes[0];
}

}  // namespace print
