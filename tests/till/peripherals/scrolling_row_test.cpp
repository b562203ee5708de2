// The advertising rows' tick, measured in characters of a fixed-pitch font.
#include "scrolling_row.h"

#include <gtest/gtest.h>

namespace {

int chars(const QString& text) { return int(text.size()); }

QString firstTick(const QString& advertisement, int width, const std::function<int(const QString&)>& widthOf = chars) {
    ScrollingRow row;
    row.SetText(advertisement);
    return row.Tick(width, widthOf);
}

TEST(ScrollingRow, RepeatsUntilItFillsThenTurnsOneCharacter) {
    struct Case {
        QString advertisement;
        int width;
        QString after;
    } cases[] = {
        {"ABC", 10, "BC ABC ABC ABC A"},
        {"ABCDEFGHIJKL", 10, "BCDEFGHIJKL A"},  // wider than the label: only turned
        {"", 3, "    "},                        // empty: blanks
    };
    for (const auto& c : cases) EXPECT_EQ(firstTick(c.advertisement, c.width), c.after) << c.advertisement.toStdString();
}

TEST(ScrollingRow, ABlankThatTakesNoRoomStillEnds) {
    EXPECT_EQ(firstTick("", 4, [](const QString&) { return 0; }).size(), 4);
}

// Whatever the label's width does between ticks, every tick shows the copies a blank apart,
// turned by the ticks so far: never "lūdzamLaipni", never a blank inside a word.
TEST(ScrollingRow, CopiesStayABlankApartAsTheRowTurnsAndTheLabelWidens) {
    const QString copy = QStringLiteral("Laipni lūdzam ");
    ScrollingRow row;
    row.SetText(copy.trimmed());
    for (int tick = 1; tick <= 60; ++tick) {
        const int width = tick < 20 ? 20 : 70;  // the window grows to the second screen's size
        const QString shown = row.Tick(width, chars);
        const int turned = tick % int(copy.size());
        const QString unturned = shown.right(turned) + shown.left(shown.size() - turned);
        EXPECT_EQ(unturned, copy.repeated(int(shown.size() / copy.size()))) << "tick " << tick << ": " << shown.toStdString();
        EXPECT_EQ(shown.size() % copy.size(), 0);
        EXPECT_GE(shown.size(), width);
    }
}

}  // namespace
