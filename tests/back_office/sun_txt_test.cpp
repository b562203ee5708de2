#include "fleet_test.h"

#include "sun_txt.h"

#include <fstream>
#include <iterator>

namespace {

using testsupport::FleetTest;

class SunTxtTest : public FleetTest {
protected:
    const QDate day{2015, 2, 10};
    std::string file() {
        std::ifstream in(dbf() / kSunTxtFile, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(SunTxtTest, TillsSumsFollowOneAnother) {
    for (const QString& till : {QStringLiteral("K1"), QStringLiteral("K2")}) fleet().addTill(till);
    fleet().sell(QStringLiteral("K1"), 1, day, {{"123", 6.25, 2}, {"9", 1, 1}});
    fleet().sell(QStringLiteral("K1"), 2, day, {{"124", 3.40, 1}}, true);
    // A sale and its return cancel; an annulled receipt and a sale outside the period count not.
    fleet().sell(QStringLiteral("K1"), 3, day, {{"555", 2, 1}});
    fleet().sell(QStringLiteral("K1"), 4, day, {{"555", 2, 1}}, true);
    fleet().annul(QStringLiteral("K1"), 5, day, {{"9", 1, 5}});
    fleet().sell(QStringLiteral("K1"), 6, day.addMonths(2), {{"9", 1, 5}});
    fleet().sell(QStringLiteral("K2"), 1, day, {{"\xC5\xAA", 0.125, 1}});  // Ū
    std::ofstream(dbf() / kSunTxtFile) << "left from the last run\r\n";
    SanemRealizSun(context(), fleet().path("K1"), true);
    SanemRealizSun(context(), fleet().path("K2"), false);
    EXPECT_EQ(file(), "0000000000123,000000001250,0002.000\r\n"
                      "0000000000124,-000000000340,-0001.000\r\n"
                      "0000000000009,000000000100,0001.000\r\n"
                      "000000000000\xDB,000000000013,0001.000\r\n");
    EXPECT_EQ(lines(), (QStringList{"Saņem SUN.TXT : Sāku procesu", "Saņem SUN.TXT : OK", "Saņem SUN.TXT : Sāku procesu", "Saņem SUN.TXT : OK"}));
}

TEST_F(SunTxtTest, AFailedFirstTillLeavesTheFileToTheNext) {
    fleet().addTill(QStringLiteral("K2"));
    fleet().sell(QStringLiteral("K2"), 1, day, {{"1", 1, 1}});
    std::ofstream(dbf() / kSunTxtFile) << "left from the last run\r\n";
    SanemRealizSun(context(), tills::TillFleet::refusedServerPath(), true);
    EXPECT_FALSE(std::filesystem::exists(dbf() / kSunTxtFile));
    SanemRealizSun(context(), fleet().path("K2"), false);
    EXPECT_EQ(file(), "0000000000001,000000000100,0001.000\r\n");
    ASSERT_EQ(lines().size(), 4);
    EXPECT_TRUE(lines()[1].startsWith("Saņem SUN.TXT : Nevarēju pieslēgties kasei ??? Cannot open database")) << lines()[1].toStdString();
    EXPECT_EQ(lines()[3], "Saņem SUN.TXT : OK");
}

TEST_F(SunTxtTest, AZNumberTheTillLacksIsItsFailure) {
    fleet().addTill(QStringLiteral("K1"));
    for (int z = 1; z <= 2; ++z) {
        fleet().sell(QStringLiteral("K1"), z, day, {{"1", 1, double(z)}});
        fleet().zReport(QStringLiteral("K1"), z, day);
    }
    SanemRealizSun(context(QStringLiteral("2")), fleet().path("K1"), true);
    EXPECT_EQ(file(), "0000000000001,000000000200,0002.000\r\n");
    SanemRealizSun(context(QStringLiteral("3")), fleet().path("K1"), false);
    EXPECT_EQ(file(), "0000000000001,000000000200,0002.000\r\n");
    EXPECT_EQ(lines(), (QStringList{"Saņem SUN.TXT : Sāku procesu", "Saņem SUN.TXT : OK", "Saņem SUN.TXT : Sāku procesu",
                                    "Saņem SUN.TXT : kasē nav Z atskaites Nr. 3"}));
}

}  // namespace
