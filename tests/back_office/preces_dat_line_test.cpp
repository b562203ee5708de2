#include "preces_dat.h"

#include <gtest/gtest.h>

namespace {

TEST(PrecesDatLineTest, DalitajaPozicijaCountsCommasFromTheLeft) {
    const QString text = QStringLiteral("a,b,c");
    const int expected[] = {0, 2, 4, 0};
    for (int n = 0; n < 4; ++n) EXPECT_EQ(DalitajaPozicija(u',', text, n), expected[n]) << n;
    EXPECT_EQ(DalitajaPozicija(u',', text, -1), 0);
    EXPECT_EQ(DalitajaPozicija(u',', QString(), 1), 0);
    EXPECT_EQ(DalitajaPozicija(u',', QStringLiteral(",,"), 2), 2);
}

TEST(PrecesDatLineTest, FieldsOfALine) {
    struct Case {
        const char* line;
        const char* artikuls;
        const char* price;
        const char* name;
    };
    const Case cases[] = {
        {"1234,250,\"Maize\",x", "1234", "250", "Maize"},
        // Without a fourth field the name runs to the line's end.
        {"1234,250,\"Maize\"", "1234", "250", "Maize"},
        {"1234,250,\"Maize\"  ", "1234", "250", "Maize"},
        {"1234,199.5,\" Rudzu maize \",,", "1234", "199.5", "Rudzu maize"},
        // The code is trimmed for the look-up as for the stored value.
        {" 1234 ,250,\"Maize\",", "1234", "250", "Maize"},
        // A comma inside the name ends it early: the quote is lost with the last character.
        {"1234,250,\"Maize, rudzu\",", "1234", "250", "Maiz"},
        {"1234,250", "1234", "", ""},
        {"1234", "", "", ""},
        {"1234,250,", "1234", "250", ""},
    };
    for (const Case& c : cases) {
        const auto fields = ParsePrecesDatLine(QString::fromUtf8(c.line));
        ASSERT_TRUE(fields) << c.line;
        EXPECT_EQ(fields->artikuls, QString::fromUtf8(c.artikuls)) << c.line;
        EXPECT_EQ(fields->priceText, QString::fromUtf8(c.price)) << c.line;
        EXPECT_EQ(fields->name, QString::fromUtf8(c.name)) << c.line;
    }
    for (const char* blank : {"", "   ", "\t"}) EXPECT_FALSE(ParsePrecesDatLine(QString::fromUtf8(blank))) << '"' << blank << '"';
}

TEST(PrecesDatLineTest, PricesAreHundredths) {
    EXPECT_DOUBLE_EQ(*PrecesDatPrice(QStringLiteral("250")), 2.5);
    EXPECT_DOUBLE_EQ(*PrecesDatPrice(QStringLiteral("199.5")), 1.995);
    EXPECT_DOUBLE_EQ(*PrecesDatPrice(QStringLiteral(" 100 ")), 1.0);
    for (const char* bad : {"", "abc", "199,5", "12x"}) EXPECT_FALSE(PrecesDatPrice(QString::fromUtf8(bad))) << bad;
}

}  // namespace
