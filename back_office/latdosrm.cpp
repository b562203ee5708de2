#include "latdosrm.h"

#include <array>

namespace {

struct Letter {
    unsigned char dos, windows;
};

// Ā ņ ā Š č Č ģ Ī ī ū Ū Ē ē Ģ ķ Ķ ļ Ļ ž Ž Ņ š (Š has the same byte in both).
constexpr Letter kLetters[] = {
    {0xB5, 0xC2}, {0xB7, 0xF2}, {0xC6, 0xE2}, {0xD0, 0xD0}, {0xD2, 0xE8}, {0xD3, 0xC8}, {0xD6, 0xEC}, {0xD7, 0xCE},
    {0xD8, 0xEE}, {0xDD, 0xFB}, {0xDE, 0xDB}, {0xF0, 0xC7}, {0xF1, 0xE7}, {0xF2, 0xCC}, {0xF3, 0xED}, {0xF4, 0xCD},
    {0xF5, 0xEF}, {0xF6, 0xCF}, {0xF7, 0xFE}, {0xF8, 0xDE}, {0xFC, 0xD2}, {0xFD, 0xF0},
};

constexpr std::array<unsigned char, 256> table() {
    std::array<unsigned char, 256> bytes{};
    for (int i = 0; i < 256; ++i) bytes[std::size_t(i)] = static_cast<unsigned char>(i);
    for (const Letter& l : kLetters) bytes[l.dos] = l.windows;
    return bytes;
}

constexpr auto kTable = table();

}  // namespace

std::string LatDosToWin(std::string_view dosBytes) {
    std::string out(dosBytes);
    for (char& c : out) c = static_cast<char>(kTable[static_cast<unsigned char>(c)]);
    return out;
}
