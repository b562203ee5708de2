// The reader's frames as captured on the line, built by the library and by the simulator each on
// its own, and the library's judgement of what it has collected.
#include "cardeon.h"
#include "commands.h"
#include "exchange_log.h"
#include "link.h"
#include "reader_frames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using cardeon::Bytes;

Bytes bytes(std::initializer_list<int> values) {
    Bytes out;
    for (int v : values) out.push_back(std::uint8_t(v));
    return out;
}

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

const Bytes kInsertedQuery = bytes({0x02, 'I', '0', '5', '1', 0x03, 0x7E});
const Bytes kRemovalQuery = bytes({0x02, 'I', '0', '2', 0x03, 0x48});
const Bytes kPromptFrame = bytesOf(std::string("\x02Z2\x1a   IEVIETOJIET        KARTI\x03\x4b", 33));

TEST(ReaderFrames, LibraryAndSimulatorBuildTheCapturedBytes) {
    EXPECT_EQ(cardeon::cardInsertedQuery(), kInsertedQuery);
    EXPECT_EQ(cardeon::cardRemovalQuery(), kRemovalQuery);
    EXPECT_EQ(cardeon::displayTextFrame(cardeon::kCardPrompt), kPromptFrame);
    EXPECT_EQ(sim::encodeReaderFrame("I051"), kInsertedQuery);
    EXPECT_EQ(sim::encodeReaderFrame("I02"), kRemovalQuery);
    EXPECT_EQ(sim::encodeReaderFrame(std::string("Z2\x1a") + std::string(cardeon::kCardPrompt)), kPromptFrame);
}

TEST(ReaderFrames, CollectedBytesAreJudgedByWhatHasArrived) {
    struct Case {
        const char* what;
        Bytes collected;
        int code;
    };
    const Case cases[] = {
        {"a whole answer", bytes({0x02, 'I', '0', '5', '0', 0x03, 0x7F}), cardeon::kFrameGood},
        {"noise before STX and bytes after the check", bytes({'x', 0x15, 0x02, 'I', '0', '2', '1', 0x03, 0x79, 'y'}), cardeon::kFrameGood},
        {"a check byte of 0", bytes({0x02, 'I', '0', '5', 'O', 0x03, 0x00}), cardeon::kFrameGood},
        {"the check byte not yet here", bytes({0x02, 'I', '0', '5', '0', 0x03}), cardeon::kFrameIncomplete},
        {"no ETX yet", bytes({0x02, 'I', '0', '5'}), cardeon::kFrameIncomplete},
        {"a wrong check byte", bytes({0x02, 'I', '0', '5', '0', 0x03, 0x7E}), cardeon::kFrameBadCheck},
        {"a zero that is not the check", bytes({0x02, 'I', '0', '5', '0', 0x03, 0x00}), cardeon::kFrameBadCheck},
        {"no STX", bytes({'I', '0', '5', '0', 0x03, 0x7F}), cardeon::kFrameNoStx},
        {"nothing", Bytes{}, cardeon::kFrameNoStx},
    };
    for (const Case& c : cases) EXPECT_EQ(cardeon::CheckReaderFrame(c.collected).code, c.code) << c.what;
}

TEST(ReaderFrames, TheStatusIsReadOnlyFromAFrameLongEnoughToCarryIt) {
    EXPECT_EQ(cardeon::cardStatus(bytes({0x02, 'I', '0', '5', '0', 0x03, 0x7F})), '0');
    EXPECT_EQ(cardeon::cardStatus(bytes({0x02, 'I', '0', '2', '1', 0x03, 0x79})), '1');
    // STX "I02" ETX: the fifth byte would be the ETX itself.
    EXPECT_FALSE(cardeon::cardStatus(kRemovalQuery));
    EXPECT_FALSE(cardeon::cardStatus(bytes({0x02, 0x03, 0x03})));
    EXPECT_FALSE(cardeon::cardStatus(bytes({0x02, 'I', '0', '5', '0', 0x03, 0x11})));
}

TEST(ReaderFrames, LoggedBytesShowControlBytesInHex) {
    EXPECT_EQ(cardeon::loggedBytes(kInsertedQuery), "[0x02]I051[0x03]~");
    EXPECT_EQ(cardeon::loggedBytes(bytes({0x1A, 0x1F, 0x20, 0xE2})), "[0x1a][0x1f] \xE2");
}

}  // namespace
