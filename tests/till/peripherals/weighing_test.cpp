// One weighing per case through the port wrapper against the scale simulator of each model.
#include "weighing.h"

#include "scale_sim.h"
#include "test_environment.h"

#include <functional>
#include <memory>

namespace {

using testsupport::TestEnvironment;

struct WeighingCase {
    const char* name;
    sim::ScaleModel model;
    int svariTips;
    std::function<void(sim::ScaleSim&)> arrange;
    WeightCheck check;
    const char* text;
    int openings;  // DIGI DS-788: openings of the port; 0 not counted
};

class WeighingTest : public TestEnvironment, public ::testing::WithParamInterface<WeighingCase> {};

TEST_P(WeighingTest, ReadsTheModelsFrameIntoAWeightText) {
    const WeighingCase& c = GetParam();
    sim::ScaleSim scale(c.model);
    ASSERT_TRUE(scale.start(portsDir(), "COM4"));
    c.arrange(scale);
    const Weighing w = WeighOnScale(4, c.svariTips);
    EXPECT_EQ(w.check, c.check) << scale.trace().text();
    EXPECT_EQ(w.text, c.text) << scale.trace().text();
    if (c.openings) {
        EXPECT_EQ(scale.openings(), c.openings);
    }
}

auto weight(double kg) {
    return [kg](sim::ScaleSim& s) { s.place(kg); };
}
auto fault(double kg, const char* name, int times = 1) {
    return [=](sim::ScaleSim& s) {
        s.place(kg);
        s.faults().arm(name, times);
    };
}

using M = sim::ScaleModel;
using C = WeightCheck;
const WeighingCase kCases[] = {
    {"CasDigitValues", M::Cas, 0, weight(1.2345), C::Taken, "1.2345", 0},
    {"CasByteOf0x80", M::Cas, 0, fault(1.2345, "high-byte"), C::NotANumber, "0000000000000-12812345", 0},
    {"CasSilentReadsZeroes", M::Cas, 0, fault(1.2345, "silent"), C::OutOfRange, "0", 0},
    {"CasFifteenTaken", M::Cas, 0, weight(15), C::Taken, "15", 0},
    {"CasFifteenAndAGramRefused", M::Cas, 0, weight(15.001), C::OutOfRange, "15.001", 0},
    {"CasOneGramTaken", M::Cas, 0, weight(0.001), C::Taken, "0.001", 0},
    {"CasLessThanAGramRefused", M::Cas, 0, weight(0.0009), C::OutOfRange, "0.0009", 0},
    {"CasErCutThreePlaces", M::CasEr, 2, weight(1.2345), C::Taken, "00001.234", 0},
    {"CasErNotANumber", M::CasEr, 2, fault(1, "not-a-number"), C::NotANumber, "-----.---", 0},
    {"CasErOverload", M::CasEr, 2, fault(1, "overload"), C::OutOfRange, "00099.999", 0},
    {"MagelanParityDigits", M::Magelan, 3, weight(1.5), C::Taken, "1.5", 0},
    {"MagelanByteOver0x80", M::Magelan, 3, fault(1.5, "high-byte"), C::NotANumber, "1.5\xFF", 0},
    {"DigiFirstTextKept", M::DigiDs788, 1, weight(1.25), C::Taken, "001.250", 3},
    {"DigiZeroThenWeight", M::DigiDs788, 1, fault(1.25, "unsteady", 2), C::Taken, "001.250", 3},
    {"DigiFortyAttempts", M::DigiDs788, 1, weight(0), C::OutOfRange, "000.000", 81},
    {"DigiTwelveKilos", M::DigiDs788, 1, weight(12.345), C::Taken, "012.345", 3},
    {"UnknownModelReadsOnceLikeDigi", M::DigiDs788, 7, weight(1.25), C::Taken, "0001.250", 1},
};

INSTANTIATE_TEST_SUITE_P(Models, WeighingTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<WeighingCase>& info) { return std::string(info.param.name); });

TEST_F(TestEnvironment, AScaleThatIsNotThereGivesTheRangeMessage) {
    const Weighing w = WeighOnScale(9, 2);
    EXPECT_EQ(w.check, WeightCheck::NotANumber);  // CAS ER: nothing read, nothing to convert
    EXPECT_EQ(WeighingRefusal(w), QString::fromUtf8(kNotANumber));
    const Weighing cas = WeighOnScale(9, 0);
    EXPECT_EQ(cas.check, WeightCheck::OutOfRange);
    EXPECT_EQ(WeighingRefusal(cas), QString::fromUtf8(kOutOfRange) + "0");
}

}  // namespace
