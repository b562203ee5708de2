// Windows-1257 conversion: Latvian letters, the euro sign, unmappable text and byte round trips.
#include "codepage_1257.h"

#include <gtest/gtest.h>

namespace {

TEST(Codepage1257, LatvianLettersMapToTheirBytes)
{
    const QString text = QString::fromUtf8("Nav pieslēgta Fiskālā atmiņa € ŠŽČšžč ĀĒĪŪāēīūĢĶĻŅģķļņ");
    const std::string bytes = toCp1257(text);
    ASSERT_EQ(bytes.size(), std::size_t(text.size()));
    EXPECT_EQ(static_cast<unsigned char>(bytes[9]), 0xE7);   // ē
    EXPECT_EQ(static_cast<unsigned char>(bytes[29]), 0x80);  // €
    EXPECT_EQ(fromCp1257(bytes), text);
}

TEST(Codepage1257, TableOfKnownBytes)
{
    const struct { char16_t ch; unsigned char byte; } cases[] = {
        {u'A', 0x41}, {u'€', 0x80}, {u'Ā', 0xC2}, {u'ā', 0xE2}, {u'Č', 0xC8}, {u'č', 0xE8},
        {u'Ē', 0xC7}, {u'ē', 0xE7}, {u'Ģ', 0xCC}, {u'ģ', 0xEC}, {u'Ī', 0xCE}, {u'ī', 0xEE},
        {u'Ķ', 0xCD}, {u'ķ', 0xED}, {u'Ļ', 0xCF}, {u'ļ', 0xEF}, {u'Ņ', 0xD2}, {u'ņ', 0xF2},
        {u'Š', 0xD0}, {u'š', 0xF0}, {u'Ū', 0xDB}, {u'ū', 0xFB}, {u'Ž', 0xDE}, {u'ž', 0xFE},
        {u'„', 0x84}, {u'”', 0x94}, {u'–', 0x96}, {u'Ø', 0xA8}, {u'æ', 0xBF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<unsigned char>(cp1257::fromUnicode(c.ch)), c.byte) << int(c.ch);
        EXPECT_EQ(cp1257::toUnicode(c.byte), c.ch) << int(c.byte);
    }
}

TEST(Codepage1257, UnmappableCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(toCp1257(QString::fromUtf8("Я ю 中 😀x")), std::string("? ? ? ?x"));
}

TEST(Codepage1257, EveryByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(char(b));
    EXPECT_EQ(toCp1257(fromCp1257(all)), all);
}

}  // namespace
