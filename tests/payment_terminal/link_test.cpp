// The ECR frame's pure routines, and the captured frames that the control and the simulated
// terminal (with its own encoder) must both produce.
#include "ecr_wire.h"
#include "link.h"

#include <gtest/gtest.h>

using namespace payvo;

namespace {

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s.push_back(char(b));
    return s;
}

}  // namespace

TEST(EcrFrame, CapturedRequestsMatchOnBothSides) {
    struct Case {
        Frame library;
        std::string simulatorText;
        std::string wire;
    };
    const Case cases[] = {
        // The host-list request: the text after STX XORs to 0x28, complement 0xD7.
        {BuildHostListRequest(), "IR|0|", bytes({0x02, 'I', 'R', 0x1C, '0', 0x1C, 0x03, 0x3D, 0x37})},
        {BuildHostTotalsRequest(1), "IR|1|1", bytes({0x02, 'I', 'R', 0x1C, '1', 0x1C, '1', 0x03, 0x3E, 0x37})},
        {BuildLoyaltyRequest("MOL"), "IR|2|MOL", {}},
        {buildFrame("8", {"0"}), "8|0", {}},
    };
    for (const auto& c : cases) {
        const sim::Bytes simFrame = sim::ecr::encode(c.simulatorText);
        EXPECT_EQ(c.library, std::string(simFrame.begin(), simFrame.end())) << c.simulatorText;
        if (!c.wire.empty()) {
            EXPECT_EQ(c.library, c.wire) << c.simulatorText;
        }
        EXPECT_EQ(CheckFrame(c.library), 0);
    }
}

TEST(EcrFrame, CheckCharactersSpanTheirRange) {
    // XOR 0x00 gives "??", XOR 0xFF gives "00"; ETX alone XORs to 0x03.
    EXPECT_EQ(MakeLrc(bytes({0x41, 0x41})), "??");
    EXPECT_EQ(MakeLrc(bytes({0xFF})), "00");
    EXPECT_EQ(MakeLrc(bytes({0x03})), bytes({0x3F, 0x3C}));
    EXPECT_EQ(sim::ecr::checkCharacters({0x41, 0x41}), (sim::Bytes{'?', '?'}));
    EXPECT_EQ(sim::ecr::checkCharacters({0xFF}), (sim::Bytes{'0', '0'}));
}

TEST(EcrFrame, CheckFrameTellsWhatIsWrong) {
    const Frame good = buildFrame("5", {"000"});
    Frame badCheck = good;
    badCheck.back() ^= 1;
    struct Case {
        Frame frame;
        int result;
    } cases[] = {
        {good, 0},
        {badCheck, 2107},
        {good.substr(1), 2108},
        {good.substr(0, 4), 2106},            // STX but no ETX
        {good + "X", 2106},                   // bytes after the check characters
        {good.substr(0, good.size() - 1), 2106},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckFrame(c.frame), c.result) ;
}

TEST(EcrFields, GetFieldCountsFsAndEtxAsSeparators) {
    const Frame f = "xx" + buildFrame("IA", {"0", "", "2"});
    std::string out;
    const std::pair<int, std::string> fields[] = {{1, "IA"}, {2, "0"}, {3, ""}, {4, "2"}};
    for (const auto& [n, text] : fields) {
        out = "?";
        ASSERT_TRUE(GetField(f, n, out)) << n;
        EXPECT_EQ(out, text) << n;
    }
    EXPECT_FALSE(GetField(f, 5, out));
    EXPECT_FALSE(GetField("", 1, out));
    EXPECT_FALSE(GetField("no stx", 1, out));
    EXPECT_FALSE(GetField(bytes({0x02, 'A', 'B'}), 1, out));
    EXPECT_EQ(FindFieldIndex(buildFrame("5", {"000", "PREPAIDX", "a"}), "PREPAID"), 3);
    EXPECT_EQ(FindFieldIndex(buildFrame("5", {"000"}), "PREPAID"), 0);
}

TEST(EcrFields, NumbersAndTexts) {
    struct Hex {
        const char* text;
        int result;
        std::int32_t value;
    } hex[] = {{"5", 1, 5}, {"B", 1, 11}, {"f", 1, 15}, {"", 1, 77}, {"123456789", 2, 77}, {"FR", 4, 77}, {"IA", 4, 77}};
    for (const auto& h : hex) {
        std::int32_t v = 77;
        EXPECT_EQ(HexToNumber(h.text, v), h.result) << h.text;
        EXPECT_EQ(v, h.value) << h.text;
    }
    EXPECT_TRUE(IsAllDigits("0123"));
    EXPECT_FALSE(IsAllDigits(""));
    EXPECT_FALSE(IsAllDigits("A1"));
    for (int t : {0, 1, 2, 3, 4, 7, 8, 9, 300, 302, 304, 305, 307, 312, 403, 404}) EXPECT_TRUE(IsValidTransactionType(t)) << t;
    for (int t : {-1, 5, 6, 10, 301, 405}) EXPECT_FALSE(IsValidTransactionType(t)) << t;
    EXPECT_TRUE(IsValidAmount(0));
    EXPECT_TRUE(IsValidAmount(99'999'999));
    EXPECT_FALSE(IsValidAmount(100'000'000));
    EXPECT_FALSE(IsValidAmount(-1));
    EXPECT_EQ(CopyText(std::string("ab\0cd", 5), 10), "ab");
    EXPECT_EQ(CopyText("abcdef", 3), "abc");
}

TEST(EcrFields, AppendLineEndsLinesAndKeepsItsBound) {
    std::string d;
    EXPECT_EQ(AppendLine("ONE", 3, d, 100), 0);
    EXPECT_EQ(AppendLine("TWO\r\n", 5, d, 100), 0);
    EXPECT_EQ(d, "ONE\r\nTWO\r\n");
    std::string small;
    AppendLine("ABCDEFGH", 8, small, 6);
    EXPECT_EQ(small, "ABCDE");  // no room left for CR LF
    EXPECT_EQ(AppendLine("X", 0, small, 6), -1);
    EXPECT_EQ(AppendLine("X", 1, small, 1), -1);
}

TEST(EcrFrame, CollectedBytesGiveTheLastCompleteFrame) {
    const Frame a = buildFrame("2", {"WAIT", "1"});
    Frame bad = buildFrame("5", {"000"});
    bad.back() ^= 1;
    EXPECT_EQ(scanCollected(a.substr(0, 5)).last, CollectedFrames::Last::None);
    EXPECT_EQ(scanCollected(a.substr(0, a.size() - 1)).last, CollectedFrames::Last::None);
    auto r = scanCollected(a + bad);
    EXPECT_EQ(r.last, CollectedFrames::Last::BadCheck);
    EXPECT_EQ(r.badCount, 1);
    r = scanCollected(bad + a);
    EXPECT_EQ(r.last, CollectedFrames::Last::Good);
    EXPECT_EQ(r.frame, a);
}
