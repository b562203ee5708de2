#include "quick_keys.h"

#include "test_database.h"

namespace {

class QuickKeyRows : public testsupport::DatabaseTest {};

TEST_F(QuickKeyRows, OnlyRowsNamingAKeyAreReadAndTheLastOneWins) {
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, KEY_BUTTON, KEY_RADITCENU) VALUES ('1', 'Maize', 1.5, 'C3', 'T')");
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, KEY_BUTTON, KEY_RADITCENU) VALUES ('2', 'Piens', 0.99, 'C3', 'F')");
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, KEY_BUTTON, KEY_RADITCENU) VALUES ('3', 'Siers', 4, 'F6', 'T')");
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, KEY_BUTTON) VALUES ('4', 'Sviests', 2, 'a1')");
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, KEY_BUTTON) VALUES ('5', 'Kefīrs', 1, 'B1 ')");
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA) VALUES ('6', 'Bez taustiņa', 1)");
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, KEY_BUTTON) VALUES ('7', 'Tukšs', 1, '')");
    const auto rows = ReadQuickKeyRows(db());
    EXPECT_EQ(rows.size(), 5u);
    const QuickKeys keys = BuildQuickKeys(rows);
    EXPECT_EQ(keys.articles[std::size_t(QuickKeyIndex("C3"))], "2");
    EXPECT_EQ(keys.captions[std::size_t(QuickKeyIndex("C3"))], "Piens");
    EXPECT_EQ(keys.captions[35], "Siers 4.00");
    EXPECT_EQ(keys.captions[0], "-");
    EXPECT_EQ(keys.captions[6], "-");
}

}  // namespace
