// USB device frames: captured request bytes, the check values, the reply decoder and the status
// texts, for the till's codec and the simulator's own.
#include "tvl_link.h"
#include "usb_fiscal_device.h"

#include <gtest/gtest.h>

namespace {

// Read request for POS_NR: LF, "FR0|POS_NR||", FFE3, "|", empty p3, "|", 9120, CR.
const std::string kReadPosNr = "\nFR0|POS_NR||FFE3||9120\r";

TEST(TvlLink, CheckValuesOfTheWorkedExamples)
{
    EXPECT_EQ(tvl::checkText("abc"), "5749");
    EXPECT_EQ(tvl::checkText("FR0|POS_NR||"), "FFE3");
    EXPECT_EQ(tvl::checkText("||"), "9120");
    EXPECT_EQ(sim::usbfiscal::checkDigits("abc"), "5749");
    EXPECT_EQ(sim::usbfiscal::checkDigits("FR0|POS_NR||"), "FFE3");
    EXPECT_EQ(sim::usbfiscal::checkDigits("||"), "9120");
}

TEST(TvlLink, ReadRequestMatchesTheCapturedFrame)
{
    EXPECT_EQ(tvl::buildRequest("FR", "POS_NR", "", ""), kReadPosNr);
    const auto parsed = sim::usbfiscal::parseRequest(kReadPosNr.substr(1, kReadPosNr.size() - 2));
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(parsed->checksOk);
    EXPECT_EQ(parsed->command, "FR");
    EXPECT_EQ(parsed->p1, "POS_NR");
}

TEST(TvlLink, SimulatorRepliesDecodeWithMatchingChecks)
{
    const std::string frame = sim::usbfiscal::encodeReply("OK", "", "0000012    ");
    tvl::ReplyDecoder decoder;
    tvl::ReplyDecoder::Step step = tvl::ReplyDecoder::Step::NeedMore;
    for (char byte : frame)
        step = decoder.feed(byte);
    ASSERT_EQ(step, tvl::ReplyDecoder::Step::Complete);
    EXPECT_TRUE(decoder.reply().checksMatch());
    EXPECT_EQ(decoder.reply().data, "0000012    ");
}

TEST(TvlLink, DecoderOutcomes)
{
    const struct {
        std::string bytes;
        tvl::ReplyDecoder::Step last;
        bool checksMatch;
    } cases[] = {
        {"\nOK||" + tvl::checkText("OK||") + "|data|" + tvl::checkText("|data|") + "\r", tvl::ReplyDecoder::Step::Complete, true},
        {"\nOK||" + tvl::checkText("OK||") + "|data|0000\r", tvl::ReplyDecoder::Step::Complete, false},  // C2 wrong
        {"\nOK|x|" + tvl::checkText("OK||") + "|data|" + tvl::checkText("|data|") + "\r", tvl::ReplyDecoder::Step::Complete, false},
        {"\r", tvl::ReplyDecoder::Step::Complete, false},  // CR before LF: empty reply
        {"#", tvl::ReplyDecoder::Step::BadFirstByte, false},
    };
    for (const auto& c : cases) {
        tvl::ReplyDecoder decoder;
        tvl::ReplyDecoder::Step step = tvl::ReplyDecoder::Step::NeedMore;
        for (char byte : c.bytes) {
            step = decoder.feed(byte);
            if (step != tvl::ReplyDecoder::Step::NeedMore)
                break;
        }
        EXPECT_EQ(step, c.last) << c.bytes;
        if (step == tvl::ReplyDecoder::Step::Complete) {
            EXPECT_EQ(decoder.reply().checksMatch(), c.checksMatch) << c.bytes;
        }
    }
}

TEST(TvlLink, StatusTextsByLength)
{
    const struct {
        std::string text;
        tvl::Status status;
    } cases[] = {
        {"", tvl::Status::Ok},
        {"Busy1", tvl::Status::Ok},  // 5 bytes: success
        {"Busy12", tvl::Status::DeviceError},  // 6 bytes: error
        {"NoSuchRecord", tvl::Status::NoSuchRecord},
        {"FileAlreadyExist", tvl::Status::FileAlreadyExist},
        {"RecordCrc", tvl::Status::RecordCrc},
        {"DeviceFailure", tvl::Status::DeviceError},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tvl::classifyStatus(c.text), c.status) << c.text;
}

TEST(TvlLink, FieldsThatWouldBreakTheFrameAreRefused)
{
    EXPECT_TRUE(tvl::fitsInFrame("Veikals SIA"));
    EXPECT_FALSE(tvl::fitsInFrame("A|B"));
    EXPECT_FALSE(tvl::fitsInFrame("A\rB"));
    EXPECT_FALSE(tvl::fitsInFrame("A\nB"));
}

}  // namespace
