// The advertising rows' tick, measured in characters of a fixed-pitch font.
#include "scrolling_row.h"

#include <gtest/gtest.h>

namespace {

int chars(const QString& text) { return int(text.size()); }

TEST(ScrollingRow, RepeatsUntilItFillsThenTurnsOneCharacter) {
    struct Case {
        QString row;
        int width;
        QString after;
    } cases[] = {
        {"ABC", 10, "BC ABC ABC ABCA"},
        {"ABCDEFGHIJKL", 10, "BCDEFGHIJKLA"},  // wider than the label: only turned
        {"", 3, "   "},                      // empty: blanks
    };
    for (const auto& c : cases) EXPECT_EQ(ScrollRow(c.row, c.width, chars), c.after) << c.row.toStdString();
}

TEST(ScrollingRow, ABlankThatTakesNoRoomStillEnds) {
    EXPECT_EQ(ScrollRow("", 4, [](const QString&) { return 0; }).size(), 7);
}

}  // namespace
