// The touch keypads' caption rule, and deleting a line of the open receipt by its list row.
#include "keypad.h"
#include "receipt_list.h"

#include <gtest/gtest.h>

namespace {

TEST(Keypad, CaptionRule) {
    const struct {
        const char* before;
        const char* caption;
        const char* after;  // nullptr: Enter, left to the keypad's owner
    } cases[] = {
        {"12", "3", "123"},       {"12", "00", "1200"},        {"12", ".", "12."},          {"12", "&7", "127"},
        {"12", "C", ""},          {"12", "&C", ""},            {"12", "<-", "1"},           {"", "<-", ""},
        {"12", "<- Dzēst", "1"},  {"12", "Daudzums *", "12*"}, {"", "Cena =", "="},         {"2", "Cena =", "2="},
        {"12", "Enter", nullptr}, {"12", "&Enter", nullptr},   {"x", "Citi", ""},
    };
    for (const auto& c : cases) {
        const std::optional<QString> text = KeypadText(QString::fromUtf8(c.before), QString::fromUtf8(c.caption));
        if (c.after) EXPECT_EQ(text, QString::fromUtf8(c.after)) << c.before << " + " << c.caption;
        else EXPECT_FALSE(text) << c.before << " + " << c.caption;
    }
}

TEST(Keypad, RowKeyIsTheRowsEnd) {
    EXPECT_EQ(RindasIndekss("Maize" + RindasAtslega(3)), 3);
    EXPECT_EQ(RindasIndekss("A|1| nosaukums" + RindasAtslega(4)), 4);  // a name holding "|"
    EXPECT_EQ(RindasIndekss(""), -1);
    EXPECT_EQ(RindasIndekss("A|1| nosaukums"), -1);
    EXPECT_EQ(RindasIndekss("||"), -1);
}

TEST(Keypad, DeletingALineMovesTheLaterOnesWhole) {
    TCekasStavoklis r;
    for (int i = 0; i < 5; ++i) {
        TCekaRinda& line = r.CekaRindas[std::size_t(i)];
        line.Artikuls = QString::number(i);
        line.Cena = i;
        line.Pazinojums = "P" + QString::number(i);
        line.PrepaidRef = "R" + QString::number(i);
        line.PrepaidAtbilde = "V" + QString::number(i);
        line.Tara = i == 3;
    }
    r.RinduSkaits = 5;
    ASSERT_TRUE(DzestRindu(r, 1));
    ASSERT_EQ(r.RinduSkaits, 4);
    const char* expected[] = {"0", "2", "3", "4"};
    for (int i = 0; i < 4; ++i) {
        const TCekaRinda& line = r.CekaRindas[std::size_t(i)];
        EXPECT_EQ(line.Artikuls, expected[i]);
        EXPECT_EQ(line.Pazinojums, QString("P") + expected[i]);
        EXPECT_EQ(line.PrepaidRef, QString("R") + expected[i]);
        EXPECT_EQ(line.PrepaidAtbilde, QString("V") + expected[i]);
    }
    EXPECT_TRUE(r.CekaRindas[2].Tara);
    EXPECT_TRUE(r.CekaRindas[4].Artikuls.isEmpty());  // no copy of the last line left behind
    EXPECT_FALSE(DzestRindu(r, 4));
    EXPECT_FALSE(DzestRindu(r, -1));
    EXPECT_EQ(r.RinduSkaits, 4);
}

}  // namespace
