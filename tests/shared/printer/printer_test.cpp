// TPrintClass on the printer simulator: what each printer type puts on paper.
#include "print_fixture.h"

#include <QStringList>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace {

using Lines = std::vector<std::string>;

const QString kLetters = QStringLiteral("ĀČĒĢĪĶĻŅŠŪŽāčēģīķļņšūž");

struct TypeCase {
    int type;
    int width;
    bool journalPaper;     // a second station that prints beside the receipt
    bool waitsAfterLine;   // 300 ms after every line
    bool journalStation;   // DrukaUzKontrLentas prints
};

class PrinterTypes : public PrintFixture, public ::testing::WithParamInterface<TypeCase> {};

// The citizen.dlf an installation supplies: the 22 letters on 'a'..'v', 12 columns of 3 bytes each.
void writeCitizenDlf() {
    std::string dlf = "\x1B\x26\x03\x61\x76";
    for (int i = 0; i < 22; ++i) dlf += '\x0C' + std::string(36, '\x55');
    std::ofstream("citizen.dlf", std::ios::binary) << dlf;
}

TEST_P(PrinterTypes, LinesOnBothStationsCutFeedAndDrawer) {
    const TypeCase c = GetParam();
    startPrinter(c.type);
    writeCitizenDlf();
    TPrintClass& p = open(c.type);
    EXPECT_EQ(p.RindasGarums, c.width);

    const QString longText = QStringLiteral("Ābele ") + QString(60, u'x');
    auto before = clock().steadyNow();
    EXPECT_EQ(p.DrukaUzAbam(longText, 0), 0);
    EXPECT_EQ(clock().steadyNow() - before, std::chrono::milliseconds(c.waitsAfterLine ? 300 : 0));
    EXPECT_EQ(p.DrukaUzCeka(QStringLiteral("tikai čeks"), false, 0), 0);
    EXPECT_EQ(p.DrukaTuksasRindasUzAbam(2), 0);
    EXPECT_EQ(p.NogriezCeku(), 0);
    EXPECT_EQ(p.AtverNaudasLadi(), 0);

    const std::string cut = longText.left(c.width).toStdString();
    const Lines paper = receipt();
    // The start-up line, the line, the receipt-only line, two fed lines and the cut.
    EXPECT_EQ(paper, (Lines{"", cut, "tikai čeks", "", "", "[cut]"}));
    EXPECT_EQ(journal(), c.journalPaper ? (Lines{cut, "", ""}) : Lines{});
    EXPECT_EQ(printer->drawerPulses(), 1);
    EXPECT_EQ(printer->garbageBytes(), 0);
    EXPECT_EQ(printer->overlongLines(), 0);
    // The journal file keeps the whole text.
    EXPECT_NE(journalFile().find(toCp1257(longText) + "\r\n"), std::string::npos);
}

TEST_P(PrinterTypes, EveryLatvianLetterComesBackFromThePaper) {
    const TypeCase c = GetParam();
    startPrinter(c.type);
    writeCitizenDlf();
    TPrintClass& p = open(c.type);
    p.DrukaUzCeka(kLetters, false, 0);
    EXPECT_EQ(receipt().back(), kLetters.toStdString());
    EXPECT_TRUE(shownMessages().isEmpty());
}

TEST_P(PrinterTypes, JournalStation) {
    const TypeCase c = GetParam();
    startPrinter(c.type);
    writeCitizenDlf();
    TPrintClass& p = open(c.type);
    const auto sentBefore = [&] { settle(*printer); return printer->bytesReceived(); }();
    EXPECT_EQ(p.DrukaUzKontrLentas(QStringLiteral("Kontrole\n")), 0);
    settle(*printer);
    if (!c.journalStation) {
        EXPECT_EQ(printer->bytesReceived(), sentBefore);
    } else if (c.journalPaper) {
        EXPECT_EQ(journal(), (Lines{"Kontrole"}));
    } else {
        EXPECT_EQ(receipt().back(), "Kontrole");
    }
}

INSTANTIATE_TEST_SUITE_P(AllTypes, PrinterTypes,
                         ::testing::Values(TypeCase{0, 40, true, true, true}, TypeCase{1, 36, true, false, true},
                                           TypeCase{2, 40, false, true, true}, TypeCase{3, 36, true, false, true},
                                           TypeCase{5, 36, false, false, false}, TypeCase{6, 42, false, false, false},
                                           TypeCase{7, 36, false, false, false}),
                         [](const auto& info) { return "Type" + std::to_string(info.param.type); });

// The TH 582 runs at 38400 baud.
TEST_F(PrintFixture, Type4PrintsWholeLettersAt38400) {
    startPrinter(4);
    TPrintClass& p = open(4);
    EXPECT_EQ(p.RindasGarums, 48);
    p.DrukaUzAbam(kLetters + QStringLiteral(" Ābele"), 0);
    EXPECT_EQ(receipt().back(), (kLetters + QStringLiteral(" Ābele")).toStdString());
    EXPECT_EQ(printer->paper().codeTable, 46);
    EXPECT_EQ(printer->paper().printMode, 0x11);
}

TEST_F(PrintFixture, Type3LineOfLettersHasNoLimit) {
    startPrinter(3);
    writeCitizenDlf();
    TPrintClass& p = open(3);
    const QString many = kLetters.repeated(4);  // 88 letters: 72 of them printed, 7 bytes each, twice
    EXPECT_EQ(p.DrukaUzAbam(many, 0), 0);
    const std::string printed = many.left(36).toStdString();
    EXPECT_EQ(receipt().back(), printed);
    EXPECT_EQ(journal().back(), printed);
}

TEST_F(PrintFixture, MissingCitizenLetterSetIsSaidOnce) {
    startPrinter(3);
    open(3);
    EXPECT_EQ(shownMessages(), QStringList{QStringLiteral("Navarēju ielādēt printerī latviešu burtus, fails citizen.dlf nav atrodams !!!")});
}

TEST_F(PrintFixture, CompressedModeKeepsEachTypesWidth) {
    struct Case { int type, on, off; };
    for (Case c : {Case{0, 40, 40}, Case{2, 40, 40}, Case{4, 48, 48}, Case{1, 40, 36}, Case{5, 40, 36}, Case{6, 40, 42}, Case{7, 40, 36}}) {
        startPrinter(c.type);
        TPrintClass& p = open(c.type);
        p.SetCompressOn();
        EXPECT_EQ(p.RindasGarums, c.on) << c.type;
        p.SetCompressOff();
        EXPECT_EQ(p.RindasGarums, c.off) << c.type;
        print.reset();
        printer->stop();
    }
}

TEST_F(PrintFixture, HeaderCutPlacedByType) {
    struct Case { int type; Lines paper; };
    const Case cases[] = {
        {0, {"", "Veikals", "Iela 1", "Rīga", "PVN LV1", "[cut]", "Kases S/N K7 FA S/N 123", "VID ID 99"}},
        // One paper: the journal station's line feed shows on it.
        {2, {"", "Veikals", "Iela 1", "Rīga", "PVN LV1", "[cut]", "", "Kases S/N K7 FA S/N 123", "VID ID 99"}},
        {5, {"", "Veikals", "Iela 1", "[cut]", "Rīga", "PVN LV1", "Kases S/N K7 FA S/N 123", "VID ID 99"}},
        {7, {"", "[cut]", "Veikals", "Iela 1", "Rīga", "PVN LV1", "Kases S/N K7 FA S/N 123", "VID ID 99"}},
    };
    for (const auto& c : cases) {
        startPrinter(c.type);
        TPrintClass& p = open(c.type);
        p.CekaGalva = {QStringLiteral("Veikals"), QStringLiteral("Iela 1"), QStringLiteral("Rīga"), QStringLiteral("PVN LV1"),
                       QStringLiteral(" K7  "), QStringLiteral("99")};
        p.FMSerialNr = QStringLiteral("123");
        EXPECT_EQ(p.DrukaCekaGalvu(), 1);
        EXPECT_EQ(receipt(), c.paper) << c.type;
        print.reset();
        printer->stop();
    }
}

TEST_F(PrintFixture, HeaderWithoutVidId) {
    startPrinter(6);
    TPrintClass& p = open(6);
    p.CekaGalva = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("7"), QString()};
    EXPECT_EQ(p.DrukaCekaGalvu(), 1);
    EXPECT_EQ(receipt(), (Lines{"", "A", "B", "[cut]", "C", "D", "Kases S/N 7 FA S/N"}));
}

TEST_F(PrintFixture, HeaderFailsWhenTheFiscalMemoryDoesNotAnswer) {
    startPrinter(5);
    TPrintClass& p = open(5);
    EXPECT_EQ(p.DrukaCekaGalvu(), -1);  // the header records cannot be read
    EXPECT_EQ(p.DrukaCekaGalvu(), -1);  // and are tried again
    EXPECT_EQ(receipt(), (Lines{""}));
}

TEST_F(PrintFixture, LogoAndEanLabel) {
    startPrinter(5);
    TPrintClass& p = open(5);
    EXPECT_EQ(p.DrukaZudezoLogo(2), 0);
    EXPECT_EQ(p.DrukaZudezoEAN(QStringLiteral(" 4750000000017 ")), 0);
    // The label's two line feeds feed paper after the barcode.
    EXPECT_EQ(receipt(), (Lines{"", "[logo 3]", "[EAN13 4750000000017]", "", ""}));
    EXPECT_EQ(testsupport::readFile("EAN.TXT"),
              std::string("\x1D\x68\xC8\x0D\x1D\x48\x02\x0D\x1D\x6B\x43\x0D" "4750000000017\r\n\x1D\x42\xC8\r\n"));
    EXPECT_EQ(printer->garbageBytes(), 0);
}

TEST_F(PrintFixture, EanLabelRefusesACodeThatIsNotThirteenDigits) {
    startPrinter(5);
    TPrintClass& p = open(5);
    EXPECT_LT(p.DrukaZudezoEAN(QStringLiteral("47500000")), 0);
    EXPECT_EQ(receipt(), (Lines{""}));
    EXPECT_NE(testsupport::readFile("PrintErr.log").find("Komanda -DrukaZudezoEAN 2 \n"), std::string::npos);
}

TEST_F(PrintFixture, StatusBytes) {
    startPrinter(5);
    TPrintClass& p = open(5);
    std::uint8_t a = 9, b = 9, c = 9;
    p.LasitStatusu(a, b, c);
    EXPECT_EQ((std::vector<int>{a, b, c}), (std::vector<int>{0x12, 0x00, 0x00}));
    printer->faults().arm("paper-out");
    p.LasitStatusu(a, b, c);
    EXPECT_EQ((std::vector<int>{a, b, c}), (std::vector<int>{0x72, 0x0C, 0x01}));
}

TEST_F(PrintFixture, FailedPortWriteIsLoggedAndReturned) {
    setupInteger("PrinteraPorts", 9);  // nothing on COM9
    TPrintClass& p = open(5);
    EXPECT_EQ(p.hPrinteris, kComNotOpen);
    EXPECT_EQ(p.DrukaUzAbam(QStringLiteral("Ābele"), 0), kComWriteFailed);
    EXPECT_EQ(p.AtverNaudasLadi(), kComWriteFailed);
    const std::string block = "-------------------------------------\nDatums 02.03.2026 Laiks 10:15:00\n";
    const std::string log = testsupport::readFile("PrintErr.log");
    EXPECT_NE(log.find(block + "Komanda -DrukaUzAbam 1 \nError   -Error=-2\n" + block + "Komanda -DrukaUzAbam 2\nError   -Error=-2\n"),
              std::string::npos);
    EXPECT_NE(log.find("Komanda -AtverNaudasLadi 1 \n"), std::string::npos);
    // The line still reaches the journal.
    EXPECT_NE(journalFile().find("\xC2" "bele\r\n"), std::string::npos);
    EXPECT_EQ(p.DrukaCekaGalvu(), -1);
}

TEST_F(PrintFixture, WaitsRunOnTheMonotonicClockAcrossMidnight) {
    startPrinter(0);
    TPrintClass& p = open(0);
    std::tm tm{};
    tm.tm_year = 2026 - 1900;
    tm.tm_mon = 2;
    tm.tm_mday = 2;
    tm.tm_hour = 23;
    tm.tm_min = 59;
    tm.tm_sec = 59;
    tm.tm_isdst = -1;
    clock().set(std::chrono::system_clock::from_time_t(std::mktime(&tm)) + std::chrono::milliseconds(900));
    const auto before = clock().steadyNow();
    p.Gaidit(300);
    EXPECT_EQ(clock().steadyNow() - before, std::chrono::milliseconds(300));
}

TEST_F(PrintFixture, SharedPortPassesPrinterBytesThroughTheDisplay) {
    setupInteger("KlDisplejsPorts", 1);
    startDisplay(0, 5, "COM1");
    TPrintClass& p = open(5);
    EXPECT_EQ(p.hDisplejs, p.hPrinteris);
    auto before = clock().steadyNow();
    p.DrukaUzAbam(QStringLiteral("Ābele"), 0);
    EXPECT_EQ(clock().steadyNow() - before, std::chrono::milliseconds(300));
    before = clock().steadyNow();
    p.DrukaUzCeka(QStringLiteral("bez gaidīšanas"), false, 0);
    EXPECT_EQ(clock().steadyNow() - before, std::chrono::milliseconds(0));
    p.PrintUzDispleja(QStringLiteral("Ābele"), QStringLiteral("1.20"));
    p.NogriezCeku();
    settle(*display);
    EXPECT_EQ(display->printerReceipt(), (Lines{"", "Ābele", "bez gaidīšanas", "[cut]"}));
    EXPECT_EQ(display->line(0), "               Ābele");
    EXPECT_EQ(display->line(1), "                1.20");
    EXPECT_EQ(display->garbageBytes(), 0);
}

}  // namespace
