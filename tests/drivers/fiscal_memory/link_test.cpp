// Framing of the module protocol: the worked byte examples, stuffing, and every way a reply can
// fail, checked on the driver's side and on the simulator's independent side.
#include "commands.h"
#include "link.h"
#include "memorix.h"
#include "module_frames.h"

#include <gtest/gtest.h>

namespace {

using memorix::Bytes;

Bytes frameOf(const Bytes& payload) {
    memorix::MemorixFrame frame;
    EXPECT_EQ(memorix::encodeRequest(payload, frame), 0);
    return frame.bytes();
}

struct CheckStep {
    std::uint16_t from;
    std::uint8_t byte;
    std::uint16_t to;
};

TEST(MemorixCheckWord, FollowsTheWorkedExamples) {
    const CheckStep steps[] = {{0x0000, 0x01, 0x1000}, {0x0000, 0x03, 0x1000}, {0x0000, 0x00, 0x0000},
                               {0x1234, 0xFF, 0x0411}, {0xBEEF, 0x02, 0x4154}};
    for (const auto& s : steps) {
        EXPECT_EQ(memorix::MemorixCheckWord(s.from, s.byte), s.to) << std::hex << s.from << " " << int(s.byte);
        // The module's own step must agree, byte for byte.
        if (s.from == 0) {
            EXPECT_EQ(sim::moduleCheckWord(Bytes{s.byte}), s.to);
        }
    }
}

TEST(MemorixFrame, StatusAndInformationRequestsAreTheCapturedBytes) {
    EXPECT_EQ(frameOf({0x01}), (Bytes{0x02, 0x03, 0x01, 0x00, 0x04}));
    EXPECT_EQ(frameOf({0x00}), (Bytes{0x02, 0x03, 0x00, 0x00, 0x14}));
}

TEST(MemorixFrame, StuffsStxAndEscButChecksTheirValues) {
    // Set address 0x001B02: payload 02 02 1B 00.
    const Bytes captured{0x02, 0x06, 0x1B, 0x01, 0x1B, 0x01, 0x1B, 0x00, 0x00, 0x00, 0x14};
    EXPECT_EQ(frameOf({0x02, 0x02, 0x1B, 0x00}), captured);
    memorix::MemorixFrame frame;
    ASSERT_EQ(memorix::encodeRequest(Bytes{0x02, 0x02, 0x1B, 0x00}, frame), 0);
    EXPECT_EQ(frame.tail, (Bytes{0x14}));  // the check word's high byte goes out after the purge

    sim::RequestParser parser;
    for (std::uint8_t b : captured) parser.push(b);
    auto parsed = parser.take();
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(parsed->checkOk);
    EXPECT_EQ(parsed->payload, (Bytes{0x02, 0x02, 0x1B, 0x00}));
}

TEST(MemorixFrame, RefusesPayloadsOutsideOneTo250Bytes) {
    memorix::MemorixFrame frame;
    EXPECT_EQ(memorix::encodeRequest(Bytes{}, frame), MEMORIX_INTERNAL);
    EXPECT_EQ(memorix::encodeRequest(Bytes(251, 0x05), frame), MEMORIX_INTERNAL);
    EXPECT_EQ(memorix::encodeRequest(Bytes(250, 0x05), frame), 0);
}

TEST(MemorixModuleFrames, SkipsGarbageAndFlagsABadCheckWord) {
    sim::RequestParser parser;
    for (std::uint8_t b : Bytes{0x55, 0x1B, 0x02, 0x03, 0x01, 0x00, 0x05}) parser.push(b);
    auto parsed = parser.take();
    ASSERT_TRUE(parsed);
    EXPECT_FALSE(parsed->checkOk);
    EXPECT_EQ(parsed->payload, (Bytes{0x01}));
}

struct ReplyCase {
    const char* what;
    Bytes wire;
    std::size_t expected;
    int code;
    Bytes data;
    std::size_t consumed;  // bytes the decoder takes before it is done or fails
};

TEST(MemorixReplyDecoder, DecodesOrFailsWithTheRightCode) {
    const ReplyCase cases[] = {
        {"done, no data", {0x02, 0x03, 0x00, 0x00, 0x14}, 0, 0, {}, 5},
        {"one data byte", {0x02, 0x04, 0x01, 0x2A, 0x00, 0x14}, 1, 0, {0x2A}, 6},
        {"stuffed data", {0x02, 0x05, 0x01, 0x1B, 0x01, 0x1B, 0x00, 0x40, 0x14}, 2, 0, {0x02, 0x1B}, 9},
        {"module status passes through unread", {0x02, 0x03, 0x17, 0x00, 0x04}, 0, 23, {}, 3},
        {"not starting with STX", {0x03, 0x03, 0x00, 0x00, 0x14}, 0, MEMORIX_TIMEOUT, {}, 1},
        {"length below 3", {0x02, 0x1B, 0x01, 0x00}, 0, MEMORIX_INVALID_RECORD_LENGTH, {}, 3},
        {"length 1", {0x02, 0x01, 0x00}, 0, MEMORIX_INVALID_RECORD_LENGTH, {}, 2},
        {"one data byte more than expected", {0x02, 0x05, 0x01, 0x2A, 0x2B, 0x00, 0x00}, 1, MEMORIX_INVALID_RECORD_LENGTH, {}, 3},
        {"one data byte less than expected", {0x02, 0x04, 0x01, 0x2A, 0x00, 0x14}, 2, MEMORIX_INVALID_RECORD_LENGTH, {}, 3},
        {"no data where data expected", {0x02, 0x03, 0x00, 0x00, 0x14}, 1, MEMORIX_BAD_DATA, {}, 3},
        {"escape of another byte", {0x02, 0x03, 0x1B, 0x05}, 0, MEMORIX_BAD_DATA, {}, 4},
        {"raw STX inside", {0x02, 0x04, 0x01, 0x02}, 1, MEMORIX_INTERNAL, {}, 4},
        {"check word differs", {0x02, 0x04, 0x01, 0x2A, 0x01, 0x14}, 1, MEMORIX_INTERFACE_CRC, {}, 6},
    };
    for (const auto& c : cases) {
        memorix::ReplyDecoder decoder(c.expected);
        std::size_t used = 0;
        for (std::uint8_t b : c.wire) {
            ++used;
            if (decoder.push(b) != memorix::ReplyDecoder::State::NeedMore) break;
        }
        EXPECT_NE(decoder.state(), memorix::ReplyDecoder::State::NeedMore) << c.what;
        EXPECT_EQ(decoder.code(), c.code) << c.what;
        EXPECT_EQ(used, c.consumed) << c.what;
        if (c.code == 0) {
            EXPECT_EQ(decoder.data(), c.data) << c.what;
        }
    }
}

TEST(MemorixModuleFrames, RepliesMatchTheCapturedBytes) {
    EXPECT_EQ(sim::moduleReply(0), (Bytes{0x02, 0x03, 0x00, 0x00, 0x14}));
    EXPECT_EQ(sim::moduleReply(1, {0x2A}), (Bytes{0x02, 0x04, 0x01, 0x2A, 0x00, 0x14}));
    EXPECT_EQ(sim::moduleReply(1, {0x02, 0x1B}), (Bytes{0x02, 0x05, 0x01, 0x1B, 0x01, 0x1B, 0x00, 0x40, 0x14}));
    EXPECT_EQ(sim::moduleReply(23), (Bytes{0x02, 0x03, 0x17, 0x00, 0x04}));
}

TEST(MemorixCommands, RefuseArgumentsBeforeSending) {
    EXPECT_EQ(memorix::setAddressRequest(0x1000000).code, MEMORIX_INVALID_PARAMETER);
    EXPECT_EQ(memorix::setAddressRequest(0xFFFFFF).code, 0);
    EXPECT_EQ(memorix::readRequest(248).code, MEMORIX_INTERNAL);
    EXPECT_EQ(memorix::totalsWriteRequest(Bytes(248, 0)).code, MEMORIX_INTERNAL);
    EXPECT_EQ(memorix::searchRequest(1, 0x100, 10, Bytes(244, 'A')).code, MEMORIX_INTERNAL);
    EXPECT_EQ(memorix::searchRequest(1, 0x100, 10, Bytes(243, 'A')).request.payload.size(), 250u);
}

TEST(MemorixCommands, TotalsMoveTakesItsDirectionFromTheAddresses) {
    auto up = memorix::totalsMoveRequest(100, 116, 50, memorix::kAutoDirection);
    ASSERT_EQ(up.code, 0);
    EXPECT_EQ(up.request.payload, (Bytes{24, 149, 0, 0, 165, 0, 0, 50, 0, 0, 1}));
    auto down = memorix::totalsMoveRequest(116, 100, 50, memorix::kAutoDirection);
    EXPECT_EQ(down.request.payload, (Bytes{24, 116, 0, 0, 100, 0, 0, 50, 0, 0, 0}));
    EXPECT_EQ(memorix::totalsMoveRequest(0x1000000, 0, 1, memorix::kAutoDirection).code, MEMORIX_INVALID_PARAMETER);
}

TEST(MemorixCommands, DecodeLittleEndianReplies) {
    auto status = memorix::decodeStatus({0x01, 0x02, 0x03, 0x10, 0x00, 0x00, 0x20, 0x00, 0x00, 0x34, 0x12});
    EXPECT_EQ(status.currentAddress, 0x030201u);
    EXPECT_EQ(status.committedEnd, 0x10u);
    EXPECT_EQ(status.writeAddress, 0x20u);
    EXPECT_EQ(status.records, 0x1234);
    auto info = memorix::decodeInformation({0x01, 0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0x01});
    EXPECT_EQ(info.serialNumber, 0x12345678u);
    EXPECT_EQ(info.size, 0x010000u);
}

}  // namespace
