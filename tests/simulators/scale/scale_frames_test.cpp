// The scale simulator's weight frames of each model against byte sequences from the models'
// descriptions.
#include "scale_sim.h"

#include <gtest/gtest.h>

namespace {

using sim::Bytes;
using sim::ScaleModel;

Bytes ascii(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes frameOf(ScaleModel model, double kg) {
    sim::ScaleSim scale(model);
    scale.place(kg);
    return scale.weightFrame();
}

TEST(ScaleFrames, EachModelsFrame) {
    struct Case {
        const char* name;
        ScaleModel model;
        double kg;
        Bytes frame;
    } cases[] = {
        {"CAS: the last five values 1 2 3 4 5", ScaleModel::Cas, 1.2345,
         Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5}},
        {"DIGI DS-788: 0012.345", ScaleModel::DigiDs788, 12.345, ascii("ST,0012.345kg")},
        {"CAS ER: a blank, 00001.2345, a blank and kg", ScaleModel::CasEr, 1.2345, ascii(" 00001.2345 kg\r\n")},
        {"Magelan: 82 B1 2E 35 8D", ScaleModel::Magelan, 1.5, Bytes{0x82, 0xB1, 0x2E, 0x35, 0x8D, 0x0A}},
        {"Magelan: even parity digits", ScaleModel::Magelan, 12.47, Bytes{0x82, 0xB1, 0xB2, 0x2E, 0xB4, 0xB7, 0x8D, 0x0A}},
    };
    for (const auto& c : cases) EXPECT_EQ(sim::hex(frameOf(c.model, c.kg)), sim::hex(c.frame)) << c.name;
}

TEST(ScaleFrames, LineSettingsByModel) {
    EXPECT_EQ(sim::lineOf(ScaleModel::Cas).baud, 4800);
    EXPECT_EQ(sim::lineOf(ScaleModel::DigiDs788).parity, 'e');
    EXPECT_EQ(sim::lineOf(ScaleModel::CasEr).baud, 9600);
    EXPECT_EQ(sim::lineOf(ScaleModel::Magelan).parity, 'n');
    EXPECT_EQ(sim::scaleModel(3), ScaleModel::Magelan);
    EXPECT_EQ(sim::scaleModel(7), std::nullopt);
}

}  // namespace
