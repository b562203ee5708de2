#include "print_charset.h"

#include "codepage_1257.h"

#include <array>
#include <cstdint>

namespace print {
namespace {

// One row per letter: the letter, its Windows-1257 byte, table A (printer code page of types
// 0-2), table B (downloaded letter of type 3), table C (plain letter), table D (BIRCH glyph).
struct Letter {
    char16_t unicode;
    std::uint8_t cp1257;
    std::uint8_t tableA;
    char tableB;
    char plain;
    char tableD;
};

constexpr std::array<Letter, 22> kLetters{{
    {u'Ā', 0xC2, 0xB5, 'a', 'A', '!'},  {u'Č', 0xC8, 0xD3, 'b', 'C', '$'},  {u'Ē', 0xC7, 0xF0, 'c', 'E', '&'},
    {u'Ģ', 0xCC, 0xF2, 'd', 'G', '('},  {u'Ī', 0xCE, 0xD7, 'e', 'I', ')'},  {u'Ķ', 0xCD, 0xF4, 'f', 'K', ';'},
    {u'Ļ', 0xCF, 0xF6, 'g', 'L', '>'},  {u'Ņ', 0xD2, 0xFC, 'h', 'N', '@'},  {u'Š', 0xD0, 0xD0, 'i', 'S', ']'},
    {u'Ū', 0xDB, 0xDE, 'j', 'U', '_'},  {u'Ž', 0xDE, 0xF8, 'k', 'Z', '~'},  {u'ā', 0xE2, 0xC6, 'l', 'a', '#'},
    {u'č', 0xE8, 0xD2, 'm', 'c', '%'},  {u'ē', 0xE7, 0xF1, 'n', 'e', '\''}, {u'ģ', 0xEC, 0xD6, 'o', 'g', '('},
    {u'ī', 0xEE, 0xD8, 'p', 'i', ':'},  {u'ķ', 0xED, 0xF3, 'q', 'k', '<'},  {u'ļ', 0xEF, 0xF5, 'r', 'l', '?'},
    {u'ņ', 0xF2, 0xB7, 's', 'n', '\\'}, {u'š', 0xF0, 0xFD, 't', 's', '^'},  {u'ū', 0xFB, 0xDD, 'u', 'u', '`'},
    {u'ž', 0xFE, 0xF7, 'v', 'z', '~'},
}};

const Letter* letterOfByte(unsigned char byte) {
    for (const auto& l : kLetters)
        if (l.cp1257 == byte) return &l;
    return nullptr;
}

const Letter* letterOfChar(char16_t ch) {
    for (const auto& l : kLetters)
        if (l.unicode == ch) return &l;
    return nullptr;
}

}  // namespace

std::string printerBytes(const PrinterType& type, const QString& text) {
    std::string bytes = toCp1257(text);
    if (type.letters == PrinterLetters::Cp1257) return bytes;
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const Letter* l = letterOfByte(static_cast<unsigned char>(c));
        if (!l) {
            out += c;
        } else if (type.letters == PrinterLetters::TableA) {
            out += char(l->tableA);
        } else {
            out.append(kUserSetOn).append(1, l->tableB).append(kUserSetOff);
        }
    }
    return out;
}

std::string displayBytes(const DisplayType& type, const QString& text) {
    std::string bytes = toCp1257(text);
    if (type.letters == DisplayLetters::Cp1257) return bytes;
    for (char& c : bytes) {
        if (const Letter* l = letterOfByte(static_cast<unsigned char>(c)))
            c = type.letters == DisplayLetters::TableD ? l->tableD : l->plain;
    }
    return bytes;
}

QString plainLatvianLetters(const QString& text) {
    QString out = text;
    for (QChar& ch : out) {
        if (const Letter* l = letterOfChar(ch.unicode())) ch = QChar(l->plain);
    }
    return out;
}

}  // namespace print
