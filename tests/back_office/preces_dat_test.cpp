#include "fleet_test.h"

#include "preces_dat.h"

#include <fstream>

namespace {

using testsupport::FleetTest;

class PrecesDatTest : public FleetTest {
protected:
    void SetUp() override {
        FleetTest::SetUp();
        path = fleet().addTill(QStringLiteral("K1"));
        // An item the till has, with columns the file does not carry.
        testsupport::execSql(fleet().db("K1"), QStringLiteral("INSERT INTO N_PRECE (ISN, ARTIKULS, GNOS, CENA, NODALA, MERVIENIBA, "
                                                              "CENA2, SHORTKEY) VALUES (1, '1234', 'Old', 1, 7, 'kg', 3.5, 'F5')"));
    }
    // The file's bytes as they are.
    void writeFile(const std::string& bytes) { std::ofstream(dbf() / kPrecesDatFile, std::ios::binary) << bytes; }
    QStringList items() {
        return rows("K1", QStringLiteral("SELECT ARTIKULS, GNOS, CENA, NODALA, MERVIENIBA, CENA2, SHORTKEY FROM N_PRECE ORDER BY ARTIKULS"));
    }

    QString path;
};

TEST_F(PrecesDatTest, LinesUpdateOrInsertItems) {
    const std::string code30(30, '7'), code31(31, '8');
    // Windows-1257 bytes: "\xF0" is š; the last line has no fourth field, a blank line precedes
    // it and the file ends in an empty line.
    writeFile("1234,250,\"Maize\",x\r\n"
              " 5678,199.5,\"Pi\xF0ka\",\r\n" +
              code30 + ",100,\"Thirty\",\r\n" + code31 + ",100,\"Skipped\",\r\n" +
              "\r\n"
              "9012,1000,\"Without a fourth field\"\r\n"
              "\r\n");
    for (int pass = 0; pass < 2; ++pass) SutaPrecesDat(context(), path, QStringLiteral("K1"));
    // The existing item keeps its second price and quick key; the leading blank adds no duplicate.
    EXPECT_EQ(items(), (QStringList{QStringLiteral("1234|Maize|2.5|1|GAB.|3.5|F5"), QString::fromUtf8("5678|Piška|1.995|1|GAB.|0|"),
                                    QString::fromStdString(code30) + "|Thirty|1|1|GAB.|0|",
                                    QStringLiteral("9012|Without a fourth field|10|1|GAB.|0|")}));
    EXPECT_EQ(lines(), (QStringList{"Sūta PRECES.DAT : Sāku procesu K1", "Suta preces : OK", "Sūta PRECES.DAT : Sāku procesu K1",
                                    "Suta preces : OK"}));
}

TEST_F(PrecesDatTest, ABadPriceCommitsNothingOfTheFile) {
    writeFile("1234,250,\"Maize\",\r\n5678,abc,\"Piens\",\r\n9012,100,\"Sviests\",\r\n");
    SutaPrecesDat(context(), path, QStringLiteral("K1"));
    EXPECT_EQ(items(), QStringList{QStringLiteral("1234|Old|1|7|kg|3.5|F5")});
    EXPECT_EQ(lines().last(), "Suta preces : Nevarēju pieslēgties kasei ??? PRECES.DAT line 2: the price \"abc\" is not a number");
}

TEST_F(PrecesDatTest, ARefusedLineIsLoggedAndTheOthersCommit) {
    fleet().refuseKey(QStringLiteral("K1"), QStringLiteral("N_PRECE"), QStringLiteral("GNOS"), QStringLiteral("Refused"));
    writeFile("1234,300,\"Refused\",\r\n5678,100,\"Refused\",\r\n9012,100,\"Sviests\",\r\n");
    SutaPrecesDat(context(), path, QStringLiteral("K1"));
    EXPECT_EQ(items(), (QStringList{QStringLiteral("1234|Old|1|7|kg|3.5|F5"), QStringLiteral("9012|Sviests|1|1|GAB.|0|")}));
    ASSERT_EQ(lines().size(), 4);
    EXPECT_TRUE(lines()[1].startsWith("Suta preces : UPDATE ??? ")) << lines()[1].toStdString();
    EXPECT_TRUE(lines()[2].startsWith("Suta preces : INSERT ??? 5678 ")) << lines()[2].toStdString();
    EXPECT_TRUE(lines()[2].contains("The till refuses GNOS Refused"));
    EXPECT_EQ(lines()[3], "Suta preces : OK");
}

TEST_F(PrecesDatTest, AMissingFileOrTillEndsTheStepWithItsLine) {
    SutaPrecesDat(context(), path, QStringLiteral("K1"));
    ASSERT_EQ(lines().size(), 2);
    EXPECT_TRUE(lines()[1].startsWith("Suta preces : Nevarēju atvērt PRECES.DAT ")) << lines()[1].toStdString();

    clearLines();
    writeFile("1234,250,\"Maize\",\r\n");
    SutaPrecesDat(context(), tills::TillFleet::refusedServerPath(), QStringLiteral("K9"));
    ASSERT_EQ(lines().size(), 2);
    EXPECT_TRUE(lines()[1].startsWith("Suta preces : Nevarēju pieslēgties kasei ??? Cannot open database")) << lines()[1].toStdString();
}

}  // namespace
