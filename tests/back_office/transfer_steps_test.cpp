#include "fleet_test.h"

#include "logo_jpeg.h"

#include <QImage>
#include <QSqlRecord>

#include <fstream>

namespace {

using testsupport::FleetTest;
using tills::ExchangeRow;
using tills::ItemRow;

class SendStepsTest : public FleetTest {};

TEST_F(SendStepsTest, TheSettingsRowIsInsertedIntoAnEmptyTableElseUpdated) {
    const QString path = fleet().addTill(QStringLiteral("K1"));
    testsupport::execSql(fleet().db("K1"), QStringLiteral("DELETE FROM N_ISI"));
    naudaLimits = QStringLiteral("abc");
    SutaKonfiguraciju(context(), {QStringLiteral("K1"), path, {}, {}});
    // The till's key trigger numbers the new row.
    EXPECT_EQ(rows("K1", QStringLiteral("SELECT ISINAUDALADELIMITS, DEMORINDA_1, DEMORINDA_2 FROM N_ISI")),
              QStringList{QStringLiteral("0|Rinda 1|Rinda 2")});
    naudaLimits = QStringLiteral(" 250.5 ");
    SutaKonfiguraciju(context(), {QStringLiteral("K1"), path, {}, {}});
    EXPECT_EQ(rows("K1", QStringLiteral("SELECT ISINAUDALADELIMITS FROM N_ISI")), QStringList{QStringLiteral("250.5")});
    EXPECT_EQ(lines(), (QStringList{"Sūta Konfigurāciju : Sāku procesu K1", "Suta Konfigurāciju : OK",
                                    "Sūta Konfigurāciju : Sāku procesu K1", "Suta Konfigurāciju : OK"}));
}

TEST_F(SendStepsTest, TheLogoIsStoredAsAJpegStream) {
    const QString path = fleet().addTill(QStringLiteral("K1"));
    QImage picture(24, 16, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString((dir() / "logo.jpg").string()), "JPEG"));
    ASSERT_TRUE(picture.save(QString::fromStdString((dir() / "logo.bmp").string()), "BMP"));
    std::ofstream(dir() / "logo.ico", std::ios::binary) << std::string("\0\0\1\0\1\0", 6);
    std::ofstream(dir() / "broken.jpg", std::ios::binary) << "not a picture";
    const QByteArray jpeg = QByteArray::fromStdString(testsupport::readFile(dir() / "logo.jpg"));

    struct Case {
        const char* file;
        enum { Null, SameBytes, JpegOf24x16 } stored;
    };
    const Case cases[] = {{"logo.jpg", Case::SameBytes}, {"logo.bmp", Case::JpegOf24x16}, {"logo.ico", Case::Null},
                          {"broken.jpg", Case::Null},    {"missing.jpg", Case::Null},    {"", Case::Null}};
    for (const Case& c : cases) {
        const QString file = *c.file ? QString::fromStdString((dir() / c.file).string()) : QString();
        SutaKonfiguraciju(context(), {QStringLiteral("K1"), path, {}, file});
        const QVariant logo = testsupport::selectValue(fleet().db("K1"), QStringLiteral("SELECT LOGO_EKRANS FROM N_ISI"));
        if (c.stored == Case::Null) {
            EXPECT_TRUE(logo.isNull()) << c.file;
        }
        if (c.stored == Case::SameBytes) {
            EXPECT_EQ(logo.toByteArray(), jpeg) << c.file;
        }
        if (c.stored == Case::JpegOf24x16) {
            QImage decoded;
            ASSERT_TRUE(decoded.loadFromData(logo.toByteArray(), "JPEG")) << c.file;
            EXPECT_EQ(decoded.size(), QSize(24, 16));
        }
        EXPECT_EQ(lines().last(), "Suta Konfigurāciju : OK") << c.file;
    }
}

TEST_F(SendStepsTest, ItemsAreUpdatedByTheirTrimmedCodeOrInserted) {
    const QString path = fleet().addTill(QStringLiteral("K1"));
    testsupport::execSql(fleet().db("K1"), QStringLiteral("INSERT INTO N_PRECE (ISN, ARTIKULS, GNOS, CENA, SHORTKEY, KEY_BUTTON, "
                                                          "KEY_RADITCENU) VALUES (1, '1001', 'Old', 1, 'F5', 'A1', 'T')"));
    const std::string code30(30, '7'), code31(31, '8');
    const std::string name45 = "Rudzu maize ar s\xE7kl\xE2m un \xF0\xEE koku 45 z. garums";  // Windows-1257, 45 letters
    tills::WriteExchangeTable(dbf() / "ITEMS.DBF", tills::ItemsColumns(),
                              {ItemRow("1001", name45, 1.25, "kl\xB5"), ItemRow(code30, "Tr\xEEsdesmit", 2, "\xD8"), ItemRow(code31, "Skip", 3),
                               ItemRow(" 2002", "Leading blank", 4, "\xD0\x80\x41")});
    for (int pass = 0; pass < 2; ++pass) SutaPreces(context(), path, QStringLiteral("K1"));
    EXPECT_EQ(rows("K1", QStringLiteral("SELECT ARTIKULS, GNOS, CENA, MERVIENIBA, SHORTKEY, KEY_BUTTON, KEY_RADITCENU, IZP_SAK_D FROM "
                                        "N_PRECE ORDER BY ARTIKULS")),
              (QStringList{QString::fromUtf8("1001|Rudzu maize ar sēklām un šī ko|1.25|klĀ|F5|A1|T|1899-12-30"),
                           QString::fromUtf8("2002|Leading blank|4|Š€A||||1899-12-30"),
                           QString::fromStdString(code30) + QString::fromUtf8("|Trīsdesmit|2|ī||||1899-12-30")}));
    EXPECT_EQ(lines(), (QStringList{"Sūta preces : Sāku procesu K1", "Suta preces : OK", "Sūta preces : Sāku procesu K1", "Suta preces : OK"}));
}

TEST_F(SendStepsTest, ARefusedItemIsLoggedAndTheOthersCommit) {
    const QString path = fleet().addTill(QStringLiteral("K1"));
    fleet().refuseKey(QStringLiteral("K1"), QStringLiteral("N_PRECE"), QStringLiteral("ARTIKULS"), QStringLiteral("1002"));
    ExchangeRow refused = ItemRow("1002", "Refused", 2);
    refused.back() = "row 2 of the export";
    tills::WriteExchangeTable(dbf() / "ITEMS.DBF", tills::ItemsColumns(), {ItemRow("1001", "One", 1), refused, ItemRow("1003", "Three", 3)});
    SutaPreces(context(), path, QStringLiteral("K1"));
    EXPECT_EQ(rows("K1", QStringLiteral("SELECT ARTIKULS FROM N_PRECE ORDER BY 1")), (QStringList{"1001", "1003"}));
    ASSERT_EQ(lines().size(), 3);
    EXPECT_TRUE(lines()[1].startsWith("Suta preces : INSERT ??? row 2 of the export ")) << lines()[1].toStdString();
    EXPECT_TRUE(lines()[1].contains("The till refuses ARTIKULS 1002"));
    EXPECT_EQ(lines()[2], "Suta preces : OK");
}

TEST_F(SendStepsTest, ItemsWithoutAColumnOrWithoutTheTillCommitNothing) {
    const QString path = fleet().addTill(QStringLiteral("K1"));
    tills::WriteExchangeTable(dbf() / "ITEMS.DBF", tills::ItemsColumns("WARNING"), {ItemRow("1001", "One", 1)});
    SutaPreces(context(), path, QStringLiteral("K1"));
    EXPECT_TRUE(rows("K1", QStringLiteral("SELECT ARTIKULS FROM N_PRECE")).isEmpty());
    EXPECT_EQ(lines().last(), "Suta preces : Nevarēju pieslēgties kasei ??? Field 'WARNING' not found");

    clearLines();
    std::filesystem::remove(dbf() / "ITEMS.DBF");
    SutaPreces(context(), path, QStringLiteral("K1"));
    ASSERT_EQ(lines().size(), 2);
    EXPECT_TRUE(lines()[1].startsWith("Suta preces : Nevarēju atvērt ITEMS.DBF ")) << lines()[1].toStdString();

    clearLines();
    tills::WriteExchangeTable(dbf() / "ITEMS.DBF", tills::ItemsColumns(), {ItemRow("1001", "One", 1)});
    for (const QString& unreachable : {tills::TillFleet::refusedServerPath(), fleet().missingFilePath()})
        SutaPreces(context(), unreachable, QStringLiteral("K9"));
    ASSERT_EQ(lines().size(), 4);
    EXPECT_TRUE(lines()[1].startsWith("Suta preces : Nevarēju pieslēgties kasei ??? Cannot open database")) << lines()[1].toStdString();
    EXPECT_TRUE(lines()[3].startsWith("Suta preces : Nevarēju pieslēgties kasei ??? Cannot open database")) << lines()[3].toStdString();
}

// FIELD1001 only names an item in the line of a refused insert: a file without it sends its items,
// and only a refused insert then ends the step.
TEST_F(SendStepsTest, ItemsWithoutField1001AreSent) {
    const QString path = fleet().addTill(QStringLiteral("K1"));
    tills::WriteExchangeTable(dbf() / "ITEMS.DBF", tills::ItemsColumns("FIELD1001"), {ItemRow("1001", "One", 1), ItemRow("1002", "Two", 2)});
    SutaPreces(context(), path, QStringLiteral("K1"));
    EXPECT_EQ(rows("K1", QStringLiteral("SELECT ARTIKULS, GNOS, CENA FROM N_PRECE ORDER BY 1")), (QStringList{"1001|One|1", "1002|Two|2"}));
    EXPECT_EQ(lines(), (QStringList{"Sūta preces : Sāku procesu K1", "Suta preces : OK"}));

    clearLines();
    fleet().refuseKey(QStringLiteral("K1"), QStringLiteral("N_PRECE"), QStringLiteral("ARTIKULS"), QStringLiteral("1003"));
    tills::WriteExchangeTable(dbf() / "ITEMS.DBF", tills::ItemsColumns("FIELD1001"), {ItemRow("1001", "Uno", 1), ItemRow("1003", "Three", 3)});
    SutaPreces(context(), path, QStringLiteral("K1"));
    EXPECT_EQ(rows("K1", QStringLiteral("SELECT ARTIKULS, GNOS FROM N_PRECE ORDER BY 1")), (QStringList{"1001|One", "1002|Two"}));
    EXPECT_EQ(lines().last(), "Suta preces : Nevarēju pieslēgties kasei ??? Field 'FIELD1001' not found");
}

TEST_F(SendStepsTest, HeldTillsFailEveryStep) {
    const QString path = fleet().addTill(QStringLiteral("K1"));
    tills::WriteExchangeTable(dbf() / "ITEMS.DBF", tills::ItemsColumns(), {ItemRow("1001", "One", 1)});
    fleet().hold(QStringLiteral("K1"));
    SutaKonfiguraciju(context(), {QStringLiteral("K1"), path, {}, {}});
    SutaPreces(context(), path, QStringLiteral("K1"));
    ASSERT_EQ(lines().size(), 4);
    EXPECT_TRUE(lines()[1].startsWith("Suta Konfigurāciju : Nevarēju pieslēgties kasei ??? ")) << lines()[1].toStdString();
    EXPECT_TRUE(lines()[3].startsWith("Suta preces : Nevarēju pieslēgties kasei ??? ")) << lines()[3].toStdString();
    fleet().release(QStringLiteral("K1"));
    EXPECT_TRUE(rows("K1", QStringLiteral("SELECT ARTIKULS FROM N_PRECE")).isEmpty());
}

// The four master-data steps, one table of cases.
TEST_F(SendStepsTest, MasterDataReplacesTheTillTables) {
    const QString path = fleet().addTill(QStringLiteral("K1"));
    QSqlDatabase till = fleet().db("K1");
    // What the editor set: rights of a cashier, pharmacy data of a customer.
    testsupport::execSql(till, QStringLiteral("INSERT INTO O_USERS (ISN, GNOS, PASWORD, VARATGREIZT, VAR_Z_ATSKAITI, MAXATLAIDE) "
                                              "VALUES (1, 'ĀDAMS', 'x', 'T', 'T', 15)"));
    testsupport::execSql(till, QStringLiteral("INSERT INTO O_USERS (ISN, GNOS, PASWORD, VARATGREIZT) VALUES (1, 'GONE', 'x', 'T')"));
    testsupport::execSql(till, QStringLiteral("INSERT INTO N_KLIENTI (ISN, KODS, GNOS, BEZATLAIDES, ATLSUMMAX, SLIMOKASE_ATL) "
                                              "VALUES (1, '100', 'Old', 10, 500, 50)"));
    tills::WriteExchangeTable(dbf() / "KLIENTI.DBF", tills::KlientiColumns(),
                              {{" 100 ", "Pirmais \xE2", "R\xEEga", std::string(25, '9'), "5", "100", "20150210", "1234"},
                               {"100", "Second of 100", "", "", "0", "0", "", ""},
                               {"a1", "lower", "", "", "0", "0", "", ""},
                               {"A1", "upper", "", "", "0", "0", "", ""},
                               {"", "no code", "", "", "0", "0", "", ""}});
    tills::WriteExchangeTable(dbf() / "VALUTAS.DBF", tills::ValutasColumns(),
                              {{"USD", "ASV dol\xC6rs", "1.08"}, {"", "none", "1"}, {"USD", "again", "1.09"}});
    tills::WriteExchangeTable(dbf() / "USERS.DBF", tills::UsersColumns(),
                              {{" \xB5""DAMS", "1", "\xB5""dams B\xF1rzi\xB7\xFD"}, {"ANNA", "2", "Anna"}, {"", "3", "none"}});
    tills::WriteExchangeTable(dbf() / "NODALAS.DBF", tills::NodalasColumns(),
                              {{"1", " P\xC6rtika ", "21"}, {"0", "zero", "0"}, {"-2", "negative", "0"}, {"2", "Citas", "12"}});
    struct Case {
        MasterData table;
        const char* select;
        QStringList expected;
        QStringList log;
    };
    const Case cases[] = {
        {MasterData::Klienti,
         "SELECT KODS, GNOS, ADRESE, PVN_KODS, ATLAIDE, ATLIK_SUM, ATLIK_DAT, PINKODS, BEZATLAIDES, ATLSUMMAX, SLIMOKASE_ATL "
         "FROM N_KLIENTI ORDER BY KODS",
         {QString::fromUtf8("100|Pirmais ā|Rīga|") + QString(20, u'9') + "|5|100|2015-02-10|1234|10|500|50",
          "A1|upper|||0|0|1899-12-30||0|0|0", "a1|lower|||0|0|1899-12-30||0|0|0"},
         {"Suta Klientus : Sāku procesu K1", "Suta Klientus : OK"}},
        {MasterData::Valutas, "SELECT VAL_KODS, GNOS, KURSS FROM N_VALUTAS ORDER BY KURSS",
         {QString::fromUtf8("USD|ASV dolārs|1.08"), "USD|again|1.09"},
         {"Suta Valūtas : Sāku procesu K1", "Suta Valūtas : OK"}},
        {MasterData::Lietotaji, "SELECT GNOS, PASWORD, FULLNAME, VARATGREIZT, VAR_Z_ATSKAITI, MAXATLAIDE FROM O_USERS ORDER BY PASWORD",
         {QString::fromUtf8("ĀDAMS|1|Ādams Bērziņš|T|T|15"), "ANNA|2|Anna|||"},
         {"Suta Lietotājus : Sāku procesu K1", "Suta Lietotājus : OK"}},
        {MasterData::Nodalas, "SELECT NODALA_NR, GNOS, NODOKLIS FROM N_NODALAS ORDER BY NODALA_NR",
         {QString::fromUtf8("1|Pārtika|21"), "2|Citas|12"},
         {"Suta Nodalas : Sāku procesu K1", "Suta Nodaļas : OK"}},
    };
    for (const Case& c : cases) {
        clearLines();
        SutaMasterData(context(), c.table, path, QStringLiteral("K1"));
        EXPECT_EQ(rows("K1", QString::fromLatin1(c.select)), c.expected) << c.select;
        EXPECT_EQ(lines(), c.log);
    }
}

TEST_F(SendStepsTest, ARefusedMasterDataRowKeepsTheFormerTable) {
    const QString path = fleet().addTill(QStringLiteral("K1"));
    testsupport::execSql(fleet().db("K1"), QStringLiteral("INSERT INTO N_VALUTAS (ISN, VAL_KODS, GNOS, KURSS) VALUES (1, 'GBP', 'Old', 0.8)"));
    fleet().refuseKey(QStringLiteral("K1"), QStringLiteral("N_VALUTAS"), QStringLiteral("VAL_KODS"), QStringLiteral("XXX"));
    tills::WriteExchangeTable(dbf() / "VALUTAS.DBF", tills::ValutasColumns(), {{"EUR", "Eiro", "1"}, {"XXX", "refused", "1"}});
    SutaMasterData(context(), MasterData::Valutas, path, QStringLiteral("K1"));
    EXPECT_EQ(rows("K1", QStringLiteral("SELECT VAL_KODS FROM N_VALUTAS")), QStringList{"GBP"});
    ASSERT_EQ(lines().size(), 2);
    EXPECT_TRUE(lines()[1].startsWith("Suta Valūtas : Nevarēju pieslēgties kasei ??? ")) << lines()[1].toStdString();

    clearLines();
    std::filesystem::remove(dbf() / "VALUTAS.DBF");
    SutaMasterData(context(), MasterData::Valutas, path, QStringLiteral("K1"));
    EXPECT_TRUE(lines()[1].startsWith("Suta Valūtas : Nevarēju atvērt VALUTAS.DBF ")) << lines()[1].toStdString();
    EXPECT_EQ(rows("K1", QStringLiteral("SELECT VAL_KODS FROM N_VALUTAS")), QStringList{"GBP"});
}

}  // namespace
