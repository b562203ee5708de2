// Frames out and frames in over the line to the reader simulator: acknowledgements, refusals,
// silences, bad and broken frames.
#include "reader_fixture.h"

#include "commands.h"
#include "link.h"
#include "session.h"

#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

const std::string kQuery = "02 49 30 35 31 03 7E";

class ExchangeTest : public ReaderTest {
protected:
    void SetUp() override {
        ReaderTest::SetUp();
        ASSERT_EQ(session_.open(kPort), CARDEON_OK);
    }
    void TearDown() override {
        session_.close();
        ReaderTest::TearDown();
    }
    cardeon::Session session_;
};

TEST_F(ExchangeTest, SendingWaitsForTheAcknowledgement) {
    struct Case {
        const char* what;
        const char* fault;
        int times;
        bool query;  // the card query, else ENQ
        int code;
        Strings written;
    };
    const Case cases[] = {
        {"acknowledged", "", 0, false, CARDEON_OK, {"05"}},
        {"three silences", "silent", 3, false, CARDEON_TIMEOUT, {"05", "05", "05"}},
        {"three refusals", "nak", 3, true, CARDEON_BAD_PACKET, {kQuery, kQuery, kQuery, "04"}},
        {"two refusals", "nak", 2, true, CARDEON_OK, {kQuery, kQuery, kQuery}},
        {"ACK with the answer behind it", "ack-extra", 1, true, CARDEON_ACK_WITH_DATA, {kQuery}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reader().trace().clear();
        reader().faults().clear();
        if (c.times) reader().faults().arm(c.fault, c.times);
        // Only silences need the clock to move; an answer is always awaited in full.
        letWaitsRunOut(std::string(c.fault) == "silent" ? 1000ms : 0ms);
        const cardeon::Bytes frame = c.query ? cardeon::cardInsertedQuery() : cardeon::Bytes{cardeon::kEnq};
        EXPECT_EQ(session_.SendFrame(frame, 5), c.code);
        reader().waitIdle();
        EXPECT_EQ(hostWrites(), c.written);
        // Drop an answer left on the line for the next case.
        cardeon::Bytes rest;
        if (c.query && c.code == CARDEON_OK) session_.ReceiveFrame(rest, 5);
        reader().waitIdle();
    }
}

TEST_F(ExchangeTest, ThreeSilencesAreFiveSecondsApart) {
    reader().faults().arm("silent", 3);
    letWaitsRunOut(1000ms);
    const auto start = clock().steadyNow();
    EXPECT_EQ(session_.SendFrame(cardeon::Bytes{cardeon::kEnq}, 5), CARDEON_TIMEOUT);
    EXPECT_EQ(clock().steadyNow() - start, 15s);
    EXPECT_EQ(logTexts(), (Strings{"Send packet: [0x05]", "Wait for aonswer timeout", "Send packet: [0x05]",
                                   "Wait for aonswer timeout", "Send packet: [0x05]", "Wait for aonswer timeout"}));
}

TEST_F(ExchangeTest, ReceivingCollectsAndChecksTheAnswer) {
    struct Case {
        const char* what;
        const char* fault;
        int times;
        bool cardIn;
        int code;
        std::string frame;   // the frame handed over
        Strings written;     // after the query
    };
    // The faults act on the answer, which follows the ACK unasked: they are armed before the query.
    const Case cases[] = {
        {"whole", "", 0, false, CARDEON_OK, "02 49 30 35 30 03 7F", {"06"}},
        // The ACK and the answer each go out a byte at a time.
        {"in pieces", "dribble", 2, true, CARDEON_OK, "02 49 30 35 31 03 7E", {"06"}},
        {"bad check once", "bad-check", 1, true, CARDEON_OK, "02 49 30 35 31 03 7E", {"15", "06"}},
        {"three bad frames", "bad-check", 3, true, CARDEON_BAD_PACKET, "", {"15", "15", "04"}},
        {"check byte 0", "zero-check", 1, false, CARDEON_OK, "02 49 30 35 4F 03 00", {"06"}},
        {"more garbage than the collection holds", "garbage", 5, true, CARDEON_BAD_PACKET, "", {"15", "15", "04"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reader().faults().clear();
        reader().trace().clear();
        reader().setCardIn(c.cardIn);
        if (c.times) reader().faults().arm(c.fault, c.times);
        ASSERT_EQ(session_.SendFrame(cardeon::cardInsertedQuery(), 5), CARDEON_OK);
        cardeon::Bytes frame;
        EXPECT_EQ(session_.ReceiveFrame(frame, 5), c.code);
        reader().waitIdle();
        EXPECT_EQ(sim::hex(frame), c.frame);
        Strings written{kQuery};
        written.insert(written.end(), c.written.begin(), c.written.end());
        EXPECT_EQ(hostWrites(), written);
    }
}

TEST_F(ExchangeTest, SilenceWhileReceivingEndsAfterOneWait) {
    letWaitsRunOut(1000ms);
    const auto start = clock().steadyNow();
    cardeon::Bytes frame;
    EXPECT_EQ(session_.ReceiveFrame(frame, 60), CARDEON_TIMEOUT);
    EXPECT_EQ(clock().steadyNow() - start, 60s);
}

}  // namespace
