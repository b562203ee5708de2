// Characters from the scanner's port gathered into the codes handed to the item field.
#include "scanned_code.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// Every code the characters complete, one step a character ("~" stands for a step with none).
QStringList codes(const std::string& characters) {
    ScannedCode gather;
    QStringList out;
    for (char c : characters)
        if (auto code = gather.step(c == '~' ? std::string() : std::string(1, c))) out << *code;
    return out;
}

TEST(ScannedCode, CodesEndAtCarriageReturns) {
    struct Case {
        const char* name;
        std::string characters;
        QStringList codes;
    } cases[] = {
        {"plain", "4751\r", {"4751"}},
        {"F starts anew", "F4751\r", {"4751"}},
        {"A drops what came before", "12A34\r", {"34"}},
        {"lower-case f and a stay", "f12a\r", {"f12a"}},
        {"lone and repeated returns", "\r\r47\r\r\r", {"47"}},
        {"steps without a character", "4~7~~\r", {"47"}},
        {"CR LF: the line feed is not the next code's", "4751\r\n4752\r\n", {"4751", "4752"}},
        {"other control characters and NUL dropped", std::string("47\x00\x09" "51\r", 7), {"4751"}},
        {"no return, no code", "4751", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(codes(c.characters), c.codes) << c.name;
}

TEST(ScannedCode, CharactersWithoutAReturnStayGathered) {
    ScannedCode gather;
    for (char c : std::string("475")) gather.step(std::string(1, c));
    EXPECT_EQ(gather.gathered(), "475");
    EXPECT_EQ(gather.step("1"), std::nullopt);
    EXPECT_EQ(gather.step("\r"), QString("4751"));
    EXPECT_EQ(gather.gathered(), "");
}

}  // namespace
