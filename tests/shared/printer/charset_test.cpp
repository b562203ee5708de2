// The printers' and displays' bytes for the Latvian letters, against the byte tables the devices
// document (captured here as fixtures, not taken from the library).
#include "print_charset.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Bytes = std::string;

const QString kLetters = QStringLiteral("ĀČĒĢĪĶĻŅŠŪŽāčēģīķļņšūž");

Bytes hexBytes(std::initializer_list<int> values) {
    Bytes b;
    for (int v : values) b += char(v);
    return b;
}

TEST(PrintCharset, AbeleForTypesZeroThreeAndFour) {
    EXPECT_EQ(print::printerBytes(print::printerType(0), QStringLiteral("Ābele")), hexBytes({0xB5}) + "bele");
    EXPECT_EQ(print::printerBytes(print::printerType(3), QStringLiteral("Ābele")), hexBytes({0x1B, 0x25, 0x01, 0x61, 0x1B, 0x25, 0x00}) + "bele");
    EXPECT_EQ(print::printerBytes(print::printerType(3), QStringLiteral("Ābele")).size(), 11u);
    EXPECT_EQ(print::printerBytes(print::printerType(4), QStringLiteral("Ābele")), hexBytes({0xC2}) + "bele");
}

TEST(PrintCharset, EveryLetterThroughEachPrinterTable) {
    const Bytes tableA = hexBytes({0xB5, 0xD3, 0xF0, 0xF2, 0xD7, 0xF4, 0xF6, 0xFC, 0xD0, 0xDE, 0xF8, 0xC6, 0xD2, 0xF1, 0xD6, 0xD8, 0xF3,
                                   0xF5, 0xB7, 0xFD, 0xDD, 0xF7});
    const Bytes cp1257 = hexBytes({0xC2, 0xC8, 0xC7, 0xCC, 0xCE, 0xCD, 0xCF, 0xD2, 0xD0, 0xDB, 0xDE, 0xE2, 0xE8, 0xE7, 0xEC, 0xEE, 0xED,
                                   0xEF, 0xF2, 0xF0, 0xFB, 0xFE});
    for (int type : {0, 1, 2}) EXPECT_EQ(print::printerBytes(print::printerType(type), kLetters), tableA) << type;
    for (int type : {4, 5, 6, 7}) EXPECT_EQ(print::printerBytes(print::printerType(type), kLetters), cp1257) << type;
    Bytes tableB;
    for (char c = 'a'; c <= 'v'; ++c) tableB += hexBytes({0x1B, 0x25, 0x01}) + c + hexBytes({0x1B, 0x25, 0x00});
    for (int type : {3, 8, 99}) EXPECT_EQ(print::printerBytes(print::printerType(type), kLetters), tableB) << type;
}

TEST(PrintCharset, TypeThreeLineGrowsSixBytesALetter) {
    const QString line = QStringLiteral("Šņore 1.00 ");
    EXPECT_EQ(print::printerBytes(print::printerType(3), line).size(), std::size_t(line.size()) + 2 * 6);
}

TEST(PrintCharset, OtherCharactersPassAsTheirCodePageBytes) {
    EXPECT_EQ(print::printerBytes(print::printerType(0), QStringLiteral("Summa: 12.50 € %")), "Summa: 12.50 \x80 %");
}

TEST(PrintCharset, PlainLetters) {
    EXPECT_EQ(print::plainLatvianLetters(QStringLiteral("Ģirts Šņore")), QStringLiteral("Girts Snore"));
    EXPECT_EQ(print::plainLatvianLetters(kLetters), QStringLiteral("ACEGIKLNSUZacegiklnsuz"));
}

TEST(PrintCharset, DisplayTables) {
    EXPECT_EQ(print::displayBytes(print::displayType(0), kLetters), "!$&();>@]_~#%'(:<?\\^`~");
    EXPECT_EQ(print::displayBytes(print::displayType(1), kLetters), "ACEGIKLNSUZacegiklnsuz");
    const Bytes cp1257 = print::printerBytes(print::printerType(5), kLetters);
    EXPECT_EQ(print::displayBytes(print::displayType(2), kLetters), cp1257);
    EXPECT_EQ(print::displayBytes(print::displayType(3), kLetters), cp1257);
}

}  // namespace
