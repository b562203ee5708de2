// The card kind from track 2 data: the first digit of the service code behind the expiry date.
#include "cardeon.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CardType, TheServiceCodeDecides) {
    struct Case {
        std::string track;
        int expected;
    };
    const std::string pan = ";4761739001010010";
    const Case cases[] = {
        {pan + "=25122011143804400000?", CARDEON_CHIP_CARD},
        {pan + "=25126011143804400000?", CARDEON_CHIP_CARD},
        {pan + "=25121011143804400000?", CARDEON_STRIPE_CARD},
        {pan + "=25125011143804400000?", CARDEON_OTHER_CARD},
        {pan + "=2512A011143804400000?", CARDEON_OTHER_CARD},
        {pan + "25122011143804400000?", CARDEON_NO_SEPARATOR},
        // A separator with no service code behind the expiry date.
        {pan + "=2512", CARDEON_NO_SEPARATOR},
        // Only the first 50 bytes count: a chip code inside them...
        {pan + "=25122" + std::string(40, '0'), CARDEON_CHIP_CARD},
        // ...and a separator whose service code lies beyond them.
        {std::string(46, '4') + "=2512" + "2" + std::string(20, '0'), CARDEON_NO_SEPARATOR},
    };
    for (const Case& c : cases)
        EXPECT_EQ(iCheckForCardType(c.track.data(), std::int32_t(c.track.size())), c.expected) << c.track;
}

TEST(CardType, OnlyTheGivenLengthIsRead) {
    const std::string track = ";4761739001010010=25122011143804400000?";
    // The length ends the data before the service code: nothing behind it is looked at.
    EXPECT_EQ(iCheckForCardType(track.data(), 21), CARDEON_NO_SEPARATOR);
    EXPECT_EQ(iCheckForCardType(track.data(), 0), CARDEON_NO_SEPARATOR);
    EXPECT_EQ(iCheckForCardType(track.data(), -5), CARDEON_NO_SEPARATOR);
    EXPECT_EQ(iCheckForCardType(nullptr, 40), CARDEON_NO_SEPARATOR);
}

}  // namespace
