// The scale's 37-byte answer as captured, built by the simulator and read by the library.
#include "scale_answer.h"
#include "scale_sim.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kCaptured = "\x02" "C=   3.00   S  1.250kg  U=   2.40  \x03";

TEST(ScaleAnswer, SimulatorAndLibraryAgreeOnTheCapturedAnswer) {
    ASSERT_EQ(kCaptured.size(), 37u);
    sim::ScaleSim scale;
    scale.place(1.25, 2.40);
    EXPECT_EQ(scale.answer(), sim::Bytes(kCaptured.begin(), kCaptured.end()));

    const sim::Bytes bytes(kCaptured.begin(), kCaptured.end());
    const scalvia::ScaleReading r = scalvia::readAnswer(std::span<const std::uint8_t, 37>(bytes.data(), 37));
    EXPECT_EQ(r.cost, "   3.00");
    EXPECT_EQ(r.weight, "  1.250");
    EXPECT_EQ(r.price, "   2.40");
    EXPECT_TRUE(r.stable);
}

TEST(ScaleAnswer, FieldTextsReadAsNumbersWithAPoint) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"  1.250", 1.25}, {"   0.00", 0.0}, {"  -0.50", -0.5}, {"12345.6", 12345.6},
        {"  +2.40", 2.4},  {"   ----", 0.0}, {"       ", 0.0}, {"  1,250", 1.0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(scalvia::fieldValue(c.text), c.value) << c.text;
}

}  // namespace
