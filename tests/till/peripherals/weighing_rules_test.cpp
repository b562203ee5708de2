// The weight text rules over the characters read, without a port.
#include "weighing.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

std::string keepAll(KeepRule rule, const std::string& bytes, int steps) {
    std::string text;
    for (int i = 0; i < steps; ++i) {
        bool end = false;
        const std::string received = i < int(bytes.size()) ? bytes.substr(std::size_t(i), 1) : std::string();
        const std::string kept = KeepStep(rule, text, received, end);
        if (end) break;
        text += kept;
    }
    return text;
}

TEST(WeighingRules, KeepRulesOfTheModels) {
    struct Case {
        KeepRule rule;
        std::string bytes;
        int steps;
        std::string text;
    } cases[] = {
        {KeepRule::SignedDecimal, std::string("\x05\x30\xFF", 3), 3, "548-1"},
        {KeepRule::SignedDecimal, std::string("\x01", 1), 3, "100"},  // steps without a byte count as 0
        {KeepRule::DigitsAndPoint, "ST,0012.345kg", 13, "0012.345"},
        {KeepRule::Every, " 00001.2345 kg", 16, " 00001.2345 kg"},
        {KeepRule::Magelan, "\x82\xB1\x2E\x35\x8D", 16, "1.5"},
        {KeepRule::Magelan, std::string("\x8D\x00\x0A\xB9\xB0\xAE\x8D\xB1", 8), 16, "9\xB0\xAE"},  // a leading 0x8D is skipped
    };
    for (const auto& c : cases) EXPECT_EQ(keepAll(c.rule, c.bytes, c.steps), c.text) << c.bytes;
}

TEST(WeighingRules, TextCuts) {
    EXPECT_EQ(DigiCut("0012.345"), "012.345");
    EXPECT_EQ(DigiCut("1.250"), "1.250");
    EXPECT_EQ(DigiCut("12345"), "12345");
    EXPECT_EQ(CasErCut(" 00001.2345 kg"), "00001.234");
    EXPECT_EQ(CasErCut("1.5"), "1.5");
    EXPECT_EQ(CasWeightText("0000000000000012345"), "1.2345");
    EXPECT_EQ(CasWeightText("0000000000000000000"), "0");
    EXPECT_EQ(CasWeightText("0000000000000-12812345"), std::nullopt);
}

TEST(WeighingRules, DigiAttempts) {
    struct Case {
        std::deque<std::string> readings;
        std::string text;
        int used;
    } cases[] = {
        {{"0.000", "1.250"}, "1.250", 2},
        {{"1.250", "0.000"}, "1.250", 2},
        {{"1.250", "2.000"}, "1.250", 2},
        {{"0.000", "0.000", "kg", "3.5"}, "3.5", 4},
        {{"20.000", "0.000", "0.100", "0.200"}, "0.100", 4},
    };
    for (auto& c : cases) {
        int used = 0;
        const std::string text = DigiAttempts([&] {
            ++used;
            if (c.readings.empty()) return std::string("0.000");
            std::string r = c.readings.front();
            c.readings.pop_front();
            return r;
        });
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(used, c.used);
    }
    int used = 0;
    EXPECT_EQ(DigiAttempts([&] { return std::to_string(++used) + "00.0"; }), "900.0");  // the last attempt's first text
    EXPECT_EQ(used, 2 * kDigiAttempts);
}

TEST(WeighingRules, RangeAndNumbers) {
    EXPECT_EQ(CheckWeight("15"), WeightCheck::Taken);
    EXPECT_EQ(CheckWeight("0.001"), WeightCheck::Taken);
    EXPECT_EQ(CheckWeight("15.001"), WeightCheck::OutOfRange);
    EXPECT_EQ(CheckWeight("0.0009"), WeightCheck::OutOfRange);
    EXPECT_EQ(CheckWeight(" 1.5 "), WeightCheck::Taken);
    EXPECT_EQ(CheckWeight("1,5"), WeightCheck::NotANumber);
    EXPECT_EQ(CheckWeight(""), WeightCheck::NotANumber);
    EXPECT_EQ(CheckWeight("inf"), WeightCheck::NotANumber);
    EXPECT_EQ(WeighedEntry("0.5", "42"), "0.5*42");
    EXPECT_EQ(WeighedEntry("1.234", ""), "1.234*");
}

}  // namespace
