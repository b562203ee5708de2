// The four exports against the reader simulator: what each sends, what it returns, what the
// reader shows afterwards, and what goes into the log.
#include "reader_fixture.h"

#include "serial_port.h"

#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

const std::string kPrompt = "   IEVIETOJIET        KARTI";
const std::string kPromptFrame = "02 5A 32 1A 20 20 20 49 45 56 49 45 54 4F 4A 49 45 54 20 20 20 20 20 20 20 20 4B 41 52 54 49 03 4B";
const std::string kInsertedQuery = "02 49 30 35 31 03 7E";
const std::string kRemovalQuery = "02 49 30 32 03 48";

using ExportTest = ReaderTest;

TEST_F(ExportTest, InitialisingChecksPresenceAndShowsThePrompt) {
    EXPECT_EQ(iInitSerialPort(kPort), CARDEON_OK);
    reader().waitIdle();
    EXPECT_EQ(hostWrites(), (Strings{"05", kPromptFrame}));
    EXPECT_EQ(reader().displayText(), kPrompt);
    EXPECT_EQ(logTexts(), (Strings{"--------------- Begin of iInitSerialPort -------------", "Send packet: [0x05]",
                                   "Receive packet: [0x06]",
                                   "Send packet: [0x02]Z2[0x1a]" + kPrompt + "[0x03]K", "Receive packet: [0x06]",
                                   "--------------- End of iInitSerialPort -------------"}));
}

TEST_F(ExportTest, ASilentReaderIsAskedThreeTimesFiveSecondsApart) {
    reader().faults().arm("silent", 3);
    letWaitsRunOut(1000ms);
    EXPECT_EQ(iInitSerialPort(kPort), CARDEON_TIMEOUT);
    reader().waitIdle();
    EXPECT_EQ(hostWrites(), (Strings{"05", "05", "05"}));
    Strings sends;
    for (const std::string& line : logLines())
        if (line.find("-Send packet") != std::string::npos) sends.push_back(line.substr(0, line.find('-')));
    EXPECT_EQ(sends, (Strings{"02.03.2026 10:15:00:0", "02.03.2026 10:15:05:0", "02.03.2026 10:15:10:0"}));
    EXPECT_EQ(reader().displayText(), "");
}

TEST_F(ExportTest, CardQueriesAnswerFromTheCardState) {
    struct Case {
        const char* what;
        std::int32_t (*call)(std::int32_t);
        bool cardIn;
        int code;
        Strings written;
        bool prompt;
    };
    const Case cases[] = {
        {"card in", iCheckForCardIns, true, CARDEON_OK, {kInsertedQuery, "06"}, false},
        {"card still in", iRemoveCard, true, CARDEON_NO_CARD, {kRemovalQuery, "06"}, false},
        {"no card: the prompt again", iCheckForCardIns, false, CARDEON_NO_CARD, {kInsertedQuery, "06", kPromptFrame}, true},
        {"card taken out: presence, then the prompt", iRemoveCard, false, CARDEON_OK, {kRemovalQuery, "06", "05", kPromptFrame}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reader().trace().clear();
        reader().setCardIn(c.cardIn);
        EXPECT_EQ(c.call(kPort), c.code);
        reader().waitIdle();
        EXPECT_EQ(hostWrites(), c.written);
        EXPECT_EQ(reader().displayText(), c.prompt ? kPrompt : "");
        reader().waitIdle();
    }
}

TEST_F(ExportTest, AQueryRefusedThreeTimesIsFollowedByEotAndANakThatAsksForTheAnswer) {
    reader().faults().arm("nak", 3);
    reader().setCardIn(true);
    EXPECT_EQ(iCheckForCardIns(kPort), CARDEON_OK);
    reader().waitIdle();
    EXPECT_EQ(hostWrites(), (Strings{kInsertedQuery, kInsertedQuery, kInsertedQuery, "04", "15", "06"}));
}

TEST_F(ExportTest, AnAnswerTooShortForAStatusIsABadPacket) {
    // "I02" answered with the three characters of the command alone: no status behind them.
    reader().faults().arm("short-answer");
    EXPECT_EQ(iRemoveCard(kPort), CARDEON_BAD_PACKET);
}

TEST_F(ExportTest, WhenTheNakCannotBeWrittenTheQueryFailsWithTheWrite) {
    // The reader never takes the query and is then switched off: the NAK after the third silence
    // meets a dead line, and no answer may be taken for a card in the reader.
    reader().faults().arm("silent", 3);
    letWaitsRunOut(10s);
    switchOffAfter(3);
    EXPECT_EQ(iCheckForCardIns(kPort), CARDEON_WRITE);
    EXPECT_EQ(hostWrites(), (Strings{kInsertedQuery, kInsertedQuery, kInsertedQuery}));
    EXPECT_EQ(logTexts().back(), "Send packet: [0x15]");
}

TEST_F(ExportTest, APortThatCannotBeOpenedLogsOnlyTheBeginning) {
    EXPECT_EQ(iCheckForCardIns(999), CARDEON_PORT_OPEN);
    EXPECT_EQ(logTexts(), (Strings{"--------------- Begin of iCheckForCardIns -------------"}));

    platform::SerialPort taken;
    ASSERT_TRUE(taken.open("COM" + std::to_string(kPort)));
    for (auto call : {iInitSerialPort, iCheckForCardIns, iRemoveCard}) EXPECT_EQ(call(kPort), CARDEON_PORT_OPEN);
    taken.close();
    EXPECT_TRUE(hostWrites().empty());
    // The port is free again after every call.
    EXPECT_EQ(iInitSerialPort(kPort), CARDEON_OK);
    EXPECT_EQ(iInitSerialPort(kPort), CARDEON_OK);
}

TEST_F(ExportTest, OnlyTheLowSixteenBitsOfThePortNumberCount) {
    EXPECT_EQ(iInitSerialPort(0x10000 + kPort), CARDEON_OK);
}

}  // namespace
