// Scale against the scale simulator: connecting, polling, the values of the last valid answer,
// and the polls again after wrong lengths and silence. Read time-outs are the line's own, so the
// tests keep them short.
#include "scale.h"
#include "scale_sim.h"
#include "test_environment.h"

#include <algorithm>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

class ScaleTest : public testsupport::TestEnvironment {
protected:
    // Long enough that the byte after ENQ is in before DC2 goes out, even on a busy machine.
    static constexpr int kTimeout = 20;

    void SetUp() override {
        TestEnvironment::SetUp();
        startScale("COM3");
    }
    void TearDown() override {
        object_.Disconnect();
        scale_.reset();
        TestEnvironment::TearDown();
    }

    void startScale(const std::string& port) {
        scale_ = std::make_unique<sim::ScaleSim>();
        ASSERT_TRUE(scale_->start(portsDir(), port));
        scale_->place(1.25, 2.40);
    }

    int polls() {
        scale_->waitIdle();
        const auto lines = scale_->trace().lines();
        return int(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l == "<- 12  DC2"; }));
    }

    // Weight, stability, cost and price as the properties give them.
    std::string values() {
        double weight = -1, cost = -1, price = -1;
        std::int32_t stable = -1;
        EXPECT_EQ(object_.Weight(&weight), scalvia::kDone);
        EXPECT_EQ(object_.Stable(&stable), scalvia::kDone);
        EXPECT_EQ(object_.Cost(&cost), scalvia::kDone);
        EXPECT_EQ(object_.Price(&price), scalvia::kDone);
        char text[80];
        std::snprintf(text, sizeof text, "%.3f %d %.2f %.2f", weight, stable, cost, price);
        return text;
    }

    sim::ScaleSim& scale() { return *scale_; }
    scalvia::Scale object_;

private:
    std::unique_ptr<sim::ScaleSim> scale_;
};

TEST_F(ScaleTest, AnUpdateReadsWeightStabilityCostAndPrice) {
    ASSERT_EQ(object_.Connect(3, kTimeout), scalvia::kDone);
    EXPECT_EQ(values(), "0.000 0 0.00 0.00");
    EXPECT_EQ(object_.Update(), scalvia::kDone);
    EXPECT_EQ(values(), "1.250 1 3.00 2.40");
    EXPECT_EQ(polls(), 1);

    scale().place(0.125, 9.99, false);
    EXPECT_EQ(object_.Update(), scalvia::kDone);
    EXPECT_EQ(values(), "0.125 0 1.25 9.99");
}

TEST_F(ScaleTest, AnAnswerOfTheWrongLengthIsPolledAgain) {
    for (const char* fault : {"short", "long"}) {
        SCOPED_TRACE(fault);
        ASSERT_EQ(object_.Connect(3, kTimeout), scalvia::kDone);
        scale().trace().clear();
        scale().faults().arm(fault);
        EXPECT_EQ(object_.Update(), scalvia::kDone);
        EXPECT_EQ(values(), "1.250 1 3.00 2.40");
        EXPECT_EQ(polls(), 2);
    }
}

TEST_F(ScaleTest, ASilentScaleGivesUpAfterFourPolls) {
    ASSERT_EQ(object_.Connect(3, 2), scalvia::kDone);
    scale().faults().arm("silent", 8);  // the byte after ENQ and the answer, four times
    EXPECT_EQ(object_.Update(), scalvia::kNoAnswer);
    EXPECT_EQ(polls(), 4);
    EXPECT_EQ(values(), "0.000 0 0.00 0.00");
}

TEST_F(ScaleTest, AHundredWrongLengthsKeepTheLastValidAnswerStabilityIncluded) {
    ASSERT_EQ(object_.Connect(3, 2), scalvia::kDone);
    ASSERT_EQ(object_.Update(), scalvia::kDone);
    scale().trace().clear();
    // The scale moves: not stable any more, and every answer one byte too long.
    scale().place(0.5, 1.0, false);
    scale().faults().arm("long", 1000);
    EXPECT_EQ(object_.Update(), scalvia::kNoAnswer);
    EXPECT_EQ(polls(), 100);
    EXPECT_EQ(values(), "1.250 1 3.00 2.40");
}

TEST_F(ScaleTest, PortNumbersOutsideTwoToEightOpenComOne) {
    startScale("COM1");
    for (int nCom : {0, 9, -3}) {
        SCOPED_TRACE(nCom);
        ASSERT_EQ(object_.Connect(nCom, kTimeout), scalvia::kDone);
        EXPECT_EQ(object_.Update(), scalvia::kDone);
        EXPECT_EQ(values(), "1.250 1 3.00 2.40");
    }
}

TEST_F(ScaleTest, ATimeoutOfZeroMeansFiveMilliseconds) {
    ASSERT_EQ(object_.Connect(3, 0), scalvia::kDone);
    EXPECT_EQ(object_.readTimeoutMs(), 5);
    ASSERT_EQ(object_.Connect(3, 40), scalvia::kDone);
    EXPECT_EQ(object_.readTimeoutMs(), 40);
}

TEST_F(ScaleTest, APortThatCannotBeOpenedFailsConnectAndUpdate) {
    fs::create_symlink(dir() / "no-such-device", portsDir() / "COM5");
    EXPECT_EQ(object_.Connect(5, kTimeout), scalvia::kNoPort);
    EXPECT_EQ(object_.Update(), scalvia::kNoAnswer);
    // A port held by another program cannot be opened either.
    scalvia::Scale other;
    ASSERT_EQ(other.Connect(3, kTimeout), scalvia::kDone);
    EXPECT_EQ(object_.Connect(3, kTimeout), scalvia::kNoPort);
    other.Disconnect();
    EXPECT_EQ(object_.Connect(3, kTimeout), scalvia::kDone);
}

TEST_F(ScaleTest, CallsWithoutAConnectionAreRefused) {
    double value = -1;
    std::int32_t stable = -1;
    EXPECT_EQ(object_.Update(), scalvia::kNoPort);
    EXPECT_EQ(object_.Weight(&value), scalvia::kNoPort);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(object_.Stable(&stable), scalvia::kNoPort);
    EXPECT_EQ(stable, 0);
    EXPECT_EQ(object_.Cost(nullptr), scalvia::kNoPort);
    EXPECT_EQ(object_.Disconnect(), scalvia::kDone);

    ASSERT_EQ(object_.Connect(3, kTimeout), scalvia::kDone);
    // Connecting again gives up the first port before it opens the new one.
    ASSERT_EQ(object_.Connect(3, kTimeout), scalvia::kDone);
    EXPECT_EQ(object_.Update(), scalvia::kDone);
    EXPECT_EQ(object_.Disconnect(), scalvia::kDone);
    EXPECT_EQ(object_.Update(), scalvia::kNoPort);
    EXPECT_EQ(object_.Price(&value), scalvia::kNoPort);
}

}  // namespace
