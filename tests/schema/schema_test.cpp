// The till database as the programs rely on it: keys always drawn from the generators, the
// defaults the readers' sums depend on, date-only dates, UTF8 text widths counted in letters,
// and the connection layer (aliases, locations, scripts, two connections in one process).
#include "test_database.h"

#include "database.h"
#include "till_database.h"

#include <QDate>
#include <QSqlError>

#include <fstream>
#include <set>

namespace {

using testsupport::SqlParams;

class TillDatabase : public testsupport::DatabaseTest {};

// ---------------------------------------------------------------- keys and defaults

struct KeyedTable {
    const char* table;
    const char* columns;  // besides ISN
    const char* values;
};

// The back office passes 1 for ISN; every table must replace it with a fresh key.
const KeyedTable kKeyedTables[] = {
    {"REALIZ", "CEKA_NR", "5"},
    {"N_PRECE", "ARTIKULS", "'X1'"},
    {"N_KLIENTI", "KODS", "'K1'"},
    {"N_VALUTAS", "VAL_KODS", "'EUR'"},
    {"O_USERS", "GNOS", "'ADMIN'"},
    {"N_NODALAS", "NODALA_NR", "1"},
    {"N_ISI", "DEMORINDA_1", "'x'"},
    {"O_PASUT", "PASUT_NR", "1"},
};

TEST_F(TillDatabase, KeyIsDrawnFromTheGeneratorEvenWhenAnInsertPassesOne) {
    for (const KeyedTable& t : kKeyedTables) {
        SCOPED_TRACE(t.table);
        const QString table = t.table;
        const int before = value("SELECT COUNT(*) FROM " + table).toInt();
        for (int i = 0; i < 2; ++i)
            exec(QString("INSERT INTO %1 (ISN, %2) VALUES (1, %3)").arg(table, t.columns, t.values));
        // And one insert that leaves the key out, as the till's own inserts do.
        exec(QString("INSERT INTO %1 (%2) VALUES (%3)").arg(table, t.columns, t.values));
        QSqlQuery keys = exec("SELECT ISN FROM " + table);
        std::set<int> distinct;
        int rows = 0;
        while (keys.next()) {
            distinct.insert(keys.value(0).toInt());
            ++rows;
        }
        EXPECT_EQ(rows, before + 3);
        EXPECT_EQ(int(distinct.size()), rows);
        EXPECT_EQ(distinct.count(0), 0u);
    }
}

TEST_F(TillDatabase, OrderKeyCanBeReadBackFromTheGenerator) {
    const QString insert = "INSERT INTO O_PASUT (DATUMS, BARMENIS, PASUT_NR, GALDS, VIETA, ARTIKULS, CENA, ATLAIDE, DAUDZUMS, APMAKSATS) "
                           "VALUES (:DATUMS, :BARMENIS, :PASUT_NR, :GALDS, :VIETA, :ARTIKULS, :CENA, :ATLAIDE, :DAUDZUMS, 'F')";
    const SqlParams line{{"DATUMS", QDate(2026, 3, 2)}, {"BARMENIS", "Anna"}, {"PASUT_NR", 1}, {"GALDS", "1"}, {"VIETA", ""},
                         {"ARTIKULS", "201"}, {"CENA", 3.9}, {"ATLAIDE", 0.0}, {"DAUDZUMS", 1.0}};
    for (int i = 0; i < 3; ++i) {
        exec(insert, line);
        const int issued = value("SELECT GEN_ID(O_PASUTGEN,0) ISN FROM N_ISI").toInt();
        EXPECT_EQ(issued, value("SELECT MAX(ISN) FROM O_PASUT").toInt());
    }
    EXPECT_EQ(value("SELECT COUNT(*) FROM N_ISI").toInt(), 1) << "the settings row is the one-row source of that select";
}

TEST_F(TillDatabase, FreshDatabaseHoldsOnlyTheSettingsRow) {
    EXPECT_EQ(value("SELECT COUNT(*) FROM N_ISI").toInt(), 1);
    EXPECT_EQ(value("SELECT ISN FROM N_ISI").toInt(), 1);
    EXPECT_DOUBLE_EQ(value("SELECT ISINAUDALADELIMITS FROM N_ISI").toDouble(), 0.0);
    for (const char* table : {"REALIZ", "N_PRECE", "N_KLIENTI", "N_VALUTAS", "O_USERS", "N_NODALAS", "O_PASUT"})
        EXPECT_EQ(value(QString("SELECT COUNT(*) FROM ") + table).toInt(), 0) << table;
}

TEST_F(TillDatabase, ZRowTakesTheDefaultsThatLetTheBackOfficeFindIt) {
    exec("insert into REALIZ\n  (DATUMS, LAIKS, PIEZIMES, FREEKOMENT)\nvalues\n  (:DATUMS, :LAIKS, :PIEZIMES, :FREEKOMENT)",
         {{"DATUMS", QDate(2026, 3, 2)}, {"LAIKS", "22:00:00"}, {"PIEZIMES", "Z=12"}, {"FREEKOMENT", "BEZ_PVN=1.00|"}});
    QSqlQuery row = exec("SELECT ANULETS, ATLAIDE, CEKA_NR, CENA, DAUDZUMS FROM REALIZ");
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.value(0).toString(), "F");
    EXPECT_DOUBLE_EQ(row.value(1).toDouble(), 0.0);
    EXPECT_TRUE(row.value(2).isNull());
    EXPECT_TRUE(row.value(3).isNull());
    EXPECT_TRUE(row.value(4).isNull());
    // The receipts step's Z search takes only rows whose ANULETS is set and not 'T'.
    EXPECT_EQ(value("SELECT PIEZIMES FROM REALIZ WHERE PIEZIMES STARTING WITH 'Z=' AND CEKA_NR IS NULL "
                    "AND ANULETS!='T' AND ANULETS IS NOT NULL ORDER BY PIEZIMES DESCENDING")
                  .toString(),
              "Z=12");
}

TEST_F(TillDatabase, LineWithoutDiscountStillCountsInTheSums) {
    // A writer that leaves ATLAIDE out must not drop the line from CENA*DAUDZUMS*(1-ATLAIDE/100).
    exec("INSERT INTO REALIZ (CEKA_NR, DATUMS, LAIKS, ARTIKULS, CENA, DAUDZUMS) VALUES (1, :D, '10:00:00', 'A', 2.5, 4)",
         {{"D", QDate(2026, 3, 2)}});
    EXPECT_DOUBLE_EQ(value("SELECT SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) SUMMA FROM REALIZ WHERE DATUMS=:DATUMS AND "
                           "ANULETS!='T' AND ANULETS IS NOT NULL",
                           {{"DATUMS", QDate(2026, 3, 2)}})
                         .toDouble(),
                     10.0);
}

TEST_F(TillDatabase, CashierRightsStayEmptyAfterTheBackOfficeInsert) {
    exec("INSERT INTO O_USERS (ISN, GNOS, PASWORD, FULLNAME) values (1, :GNOS, :PASWORD, :FULLNAME)",
         {{"GNOS", "ANNA"}, {"PASWORD", "x"}, {"FULLNAME", "Anna"}});
    QSqlQuery row = exec("SELECT VARATGREIZT, VAR_Z_ATSKAITI, VARMAINITATLAIDI, MAXATLAIDE, VARDZEST, KL_ELEKTRON FROM O_USERS");
    ASSERT_TRUE(row.next());
    for (int column = 0; column < 6; ++column) EXPECT_TRUE(row.value(column).isNull()) << column;
}

TEST_F(TillDatabase, StatementNamingAMissingColumnIsRefusedAtPrepare) {
    // What the statement table relies on to catch a column the schema lacks.
    QSqlQuery query(db());
    EXPECT_FALSE(query.prepare("SELECT KL_TALRUNIS FROM REALIZ"));
}

// ---------------------------------------------------------------- dates and text

TEST_F(TillDatabase, DatesKeepTheDayOnly) {
    // Written with a time of day (as a date-time parameter), found by the day alone.
    exec("INSERT INTO REALIZ (CEKA_NR, DATUMS) VALUES (1, :DATUMS)", {{"DATUMS", QDateTime(QDate(2026, 3, 2), QTime(15, 30, 12))}});
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE DATUMS=:DATUMS", {{"DATUMS", QDate(2026, 3, 2)}}).toInt(), 1);
    EXPECT_EQ(value("SELECT DATUMS FROM REALIZ").toDate(), QDate(2026, 3, 2));
}

TEST_F(TillDatabase, LatvianTextRoundTripsAndWidthsCountLetters) {
    const QString letters = QString::fromUtf8("āčēģīķļņšūž ĀČĒĢĪĶĻŅŠŪŽ");
    // GNOS of N_PRECE holds 60 letters, each two bytes in UTF8.
    const QString sixty = QString(60, QChar(u'ž'));
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, WARNING) VALUES (:A, :G, :W)", {{"A", "1"}, {"G", sixty}, {"W", letters}});
    exec("INSERT INTO N_PRECE (ARTIKULS, GNOS) VALUES ('2', '" + letters + "')");
    EXPECT_EQ(value("SELECT GNOS FROM N_PRECE WHERE ARTIKULS='1'").toString(), sixty);
    EXPECT_EQ(value("SELECT WARNING FROM N_PRECE WHERE ARTIKULS='1'").toString(), letters);
    EXPECT_EQ(value("SELECT GNOS FROM N_PRECE WHERE ARTIKULS='2'").toString(), letters);
    EXPECT_EQ(value("SELECT CHAR_LENGTH(GNOS) FROM N_PRECE WHERE ARTIKULS='2'").toInt(), letters.size());
    // Searches upper-case the names: Latvian letters too.
    EXPECT_EQ(value("SELECT ARTIKULS FROM N_PRECE WHERE UPPER(GNOS) STARTING WITH :S", {{"S", QString::fromUtf8("ĀČĒĢ")}}).toString(), "2");

    QSqlQuery tooLong(db());
    ASSERT_TRUE(tooLong.prepare("INSERT INTO N_PRECE (ARTIKULS, GNOS) VALUES ('3', :G)"));
    tooLong.bindValue(":G", QString(61, QChar(u'ž')));
    EXPECT_FALSE(tooLong.exec()) << "a name longer than the column is refused";
}

TEST_F(TillDatabase, BlobsRoundTrip) {
    QByteArray logo;
    for (int b = 0; b < 256; ++b) logo.append(char(b));
    exec("UPDATE N_ISI SET LOGO_EKRANS=:LOGO_EKRANS", {{"LOGO_EKRANS", logo}});
    EXPECT_EQ(value("SELECT LOGO_EKRANS FROM N_ISI").toByteArray(), logo);

    const QString totals = QString::fromUtf8("BEZ_PVN=10.00|PIEZĪMES=ķēķis|");
    exec("INSERT INTO REALIZ (DATUMS, LAIKS, PIEZIMES, FREEKOMENT) VALUES (CURRENT_DATE, '22:00:00', 'Z=1', :F)", {{"F", totals}});
    const QVariant stored = value("SELECT FREEKOMENT FROM REALIZ");
    const QString text = stored.typeId() == QMetaType::QByteArray ? QString::fromUtf8(stored.toByteArray()) : stored.toString();
    EXPECT_EQ(text, totals);
}

// ---------------------------------------------------------------- connections

TEST_F(TillDatabase, TwoConnectionsInOneProcessSeeEachOthersCommits) {
    QSqlDatabase till = platform::openDatabase(platform::kPosDbAlias);
    ASSERT_TRUE(till.isOpen());
    EXPECT_EQ(till.connectionName(), "POS_DB");
    testsupport::execSql(till, "INSERT INTO N_VALUTAS (VAL_KODS, GNOS, KURSS) VALUES ('USD', 'ASV dolārs', 0.92)");
    EXPECT_DOUBLE_EQ(value("SELECT KURSS FROM N_VALUTAS WHERE VAL_KODS='USD'").toDouble(), 0.92);
    exec("UPDATE N_VALUTAS SET KURSS=0.9");
    EXPECT_DOUBLE_EQ(testsupport::selectValue(till, "SELECT KURSS FROM N_VALUTAS").toDouble(), 0.9);
    // Re-opening under the same name re-points the connection instead of failing.
    EXPECT_TRUE(platform::openDatabase(platform::kPosDbAlias).isOpen());
}

TEST_F(TillDatabase, AliasResolvesThroughTheSettingsStore) {
    EXPECT_EQ(platform::resolveAlias("POS_DB").path, databaseFile().string());
    EXPECT_EQ(settings().readText(platform::kAliasesKey, "pos_db"), databaseFile().string());
    settings().deleteValue(platform::kAliasesKey, "POS_DB");
    EXPECT_EQ(platform::resolveAlias("POS_DB").path, (dir() / "POS_DATI.GDB").string()) << "the default: the working folder";
    EXPECT_THROW(platform::resolveAlias("AD"), platform::DatabaseError);
    platform::defineAlias("AD", "dbserver:/srv/ad.fdb");
    const auto ad = platform::resolveAlias("AD");
    EXPECT_EQ(ad.host, "dbserver");
    EXPECT_EQ(ad.path, "/srv/ad.fdb");
}

TEST_F(TillDatabase, OpeningAMissingDatabaseReportsTheFile) {
    platform::defineAlias("PRECES", (dir() / "missing.gdb").string());
    try {
        platform::openDatabase("PRECES", "STOCKARA");
        FAIL() << "opened a missing file";
    } catch (const platform::DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.gdb"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(dir() / "missing.gdb"));
}

// ---------------------------------------------------------------- creating databases

TEST_F(TillDatabase, CreateRefusesAnExistingFileAndLeavesItAlone) {
    const auto file = dir() / "old.gdb";
    std::ofstream(file) << "not a database";
    platform::DatabaseLocation location;
    location.path = file.string();
    EXPECT_THROW(platform::createDatabase(location, schema::tillSchemaScript()), platform::DatabaseError);
    EXPECT_EQ(testsupport::readFile(file), "not a database");
}

TEST_F(TillDatabase, FailingScriptLeavesNoPartialDatabase) {
    platform::DatabaseLocation location;
    location.path = (dir() / "broken.gdb").string();
    try {
        platform::createDatabase(location, "CREATE TABLE A (X INTEGER);\nCREATE TABLE A (Y INTEGER);\n");
        FAIL() << "a duplicate table was accepted";
    } catch (const platform::DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("CREATE TABLE A (Y INTEGER)"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(location.path));
}

TEST_F(TillDatabase, DemoDataHasWhatTheDemoTillNeeds) {
    platform::runScript(platform::parseDatabaseLocation(databaseFile().string()), schema::demoDataScript());
    // ADMIN holds every right.
    QSqlQuery admin = exec("SELECT VARATGREIZT, VAR_Z_ATSKAITI, VARMAINITATLAIDI, VARDZEST, KL_ELEKTRON, MAXATLAIDE FROM O_USERS WHERE GNOS=:GNOS",
                           {{"GNOS", "ADMIN"}});
    ASSERT_TRUE(admin.next());
    for (int column = 0; column < 5; ++column) EXPECT_EQ(admin.value(column).toString(), "T") << column;
    EXPECT_DOUBLE_EQ(admin.value(5).toDouble(), 100.0);
    // Departments with the four kinds of rate.
    for (double rate : {21.0, 12.0, 5.0, -1.0})
        EXPECT_GE(value("SELECT COUNT(*) FROM N_NODALAS WHERE NODOKLIS=:R", {{"R", rate}}).toInt(), 1) << rate;
    EXPECT_DOUBLE_EQ(value("SELECT KURSS FROM N_VALUTAS WHERE VAL_KODS='EUR'").toDouble(), 1.0);
    EXPECT_GT(value("SELECT KURSS FROM N_VALUTAS WHERE VAL_KODS='USD'").toDouble(), 0.0);
    EXPECT_GE(value("SELECT COUNT(*) FROM N_PRECE").toInt(), 24);
    // Every item belongs to a department that exists.
    EXPECT_EQ(value("SELECT COUNT(*) FROM N_PRECE P WHERE NOT EXISTS (SELECT 1 FROM N_NODALAS N WHERE N.NODALA_NR=P.NODALA)").toInt(), 0);
    // A pallet code finds its item with the pack factor.
    QSqlQuery pallet = exec("SELECT ARTIKULS, SKPALETE FROM N_PRECE WHERE ARTIKULS=:ARTIKULS OR EAN_KASTE=:ARTIKULS OR "
                            "EAN_KASTELIELA=:ARTIKULS OR EAN_PALETE=:ARTIKULS",
                            {{"ARTIKULS", "34750002000017"}});
    ASSERT_TRUE(pallet.next());
    EXPECT_EQ(pallet.value(0).toString(), "4750002000016");
    EXPECT_DOUBLE_EQ(pallet.value(1).toDouble(), 720.0);
    // A promotion running today and a quantity price.
    EXPECT_EQ(value("SELECT COUNT(*) FROM N_PRECE WHERE ATLAIDE>0 AND IZP_SAK_D<=CURRENT_DATE AND IZP_BEIG_D>=CURRENT_DATE").toInt(), 1);
    EXPECT_GE(value("SELECT COUNT(*) FROM N_PRECE WHERE DAUDZUMS2>0 AND CENA2<CENA").toInt(), 1);
    // Customers with a credit limit and with a PIN.
    EXPECT_GE(value("SELECT COUNT(*) FROM N_KLIENTI WHERE ATLIK_SUM>0 AND ATLIK_DAT IS NOT NULL").toInt(), 1);
    EXPECT_GE(value("SELECT COUNT(*) FROM N_KLIENTI WHERE PINKODS<>''").toInt(), 1);
    EXPECT_EQ(value("SELECT GNOS FROM N_KLIENTI WHERE KODS='K002'").toString(), QString::fromUtf8("Jānis Bērziņš"));
    EXPECT_EQ(value("SELECT COUNT(*) FROM N_ISI").toInt(), 1);
}

// ---------------------------------------------------------------- locations and scripts

struct LocationCase {
    const char* text;
    const char* host;
    int port;
    const char* path;  // nullptr: the text made absolute against the working folder
};

TEST(DatabaseLocation, ParsesFilesAndServers) {
    const LocationCase cases[] = {
        {"POS_DATI.GDB", "", -1, nullptr},
        {"data/POS_DATI.GDB", "", -1, nullptr},
        {"/srv/pos/POS_DATI.GDB", "", -1, "/srv/pos/POS_DATI.GDB"},
        {"  /srv/pos/POS_DATI.GDB  ", "", -1, "/srv/pos/POS_DATI.GDB"},
        {"kase2:/srv/pos/POS_DATI.GDB", "kase2", -1, "/srv/pos/POS_DATI.GDB"},
        {"10.0.0.7/3051:/srv/pos/POS_DATI.GDB", "10.0.0.7", 3051, "/srv/pos/POS_DATI.GDB"},
        {"kase2:C:\\TILLORA\\POS_DATI.GDB", "kase2", -1, "C:\\TILLORA\\POS_DATI.GDB"},
    };
    for (const LocationCase& c : cases) {
        SCOPED_TRACE(c.text);
        const auto location = platform::parseDatabaseLocation(c.text);
        EXPECT_EQ(location.host, c.host);
        EXPECT_EQ(location.port, c.port);
        const std::string expected =
            c.path ? std::string(c.path) : (std::filesystem::current_path() / c.text).lexically_normal().string();
        EXPECT_EQ(location.path, expected);
        EXPECT_EQ(location.embedded(), std::string(c.host).empty());
    }
    EXPECT_EQ(platform::parseDatabaseLocation("kase2/3051:/a.gdb").connectionString(), "kase2/3051:/a.gdb");
    for (const char* bad : {"", "   ", "kase2:", "kase2/x:/a.gdb", "kase2/:/a.gdb"})
        EXPECT_THROW(platform::parseDatabaseLocation(bad), platform::DatabaseError) << bad;
}

struct SplitCase {
    const char* name;
    const char* script;
    std::vector<std::string> statements;
};

TEST(SqlScript, SplitsAsIsqlDoes) {
    const SplitCase cases[] = {
        {"plain", "CREATE TABLE A (X INTEGER);\nINSERT INTO A VALUES (1);", {"CREATE TABLE A (X INTEGER)", "INSERT INTO A VALUES (1)"}},
        {"last without terminator", "SELECT 1 FROM RDB$DATABASE", {"SELECT 1 FROM RDB$DATABASE"}},
        {"terminator in text", "INSERT INTO A VALUES ('a;b'' -- c');", {"INSERT INTO A VALUES ('a;b'' -- c')"}},
        {"comments", "/* a; b */ SELECT 1 -- x; y\nFROM T;", {"SELECT 1 \nFROM T"}},
        {"isql commands", "SET SQL DIALECT 3;\nSET NAMES UTF8;\nCOMMIT;\ncommit work;\nSELECT 1 FROM T;", {"SELECT 1 FROM T"}},
        {"set term",
         "SET TERM ^ ;\nCREATE TRIGGER T FOR A BEFORE INSERT AS\nBEGIN\n  NEW.X = 1;\nEND^\nSET TERM ; ^\nSELECT 2 FROM T;",
         {"CREATE TRIGGER T FOR A BEFORE INSERT AS\nBEGIN\n  NEW.X = 1;\nEND", "SELECT 2 FROM T"}},
        {"quoted identifier", "SELECT \"a;b\" FROM T;", {"SELECT \"a;b\" FROM T"}},
    };
    for (const SplitCase& c : cases) EXPECT_EQ(platform::splitSqlScript(c.script), c.statements) << c.name;
}

TEST(SqlScript, TillSchemaSplitsIntoItsStatements) {
    const auto statements = platform::splitSqlScript(schema::tillSchemaScript());
    int tables = 0, triggers = 0;
    for (const auto& s : statements) {
        tables += s.rfind("CREATE TABLE", 0) == 0;
        triggers += s.rfind("CREATE TRIGGER", 0) == 0;
    }
    EXPECT_EQ(tables, 8);
    EXPECT_EQ(triggers, 8);
}

}  // namespace
