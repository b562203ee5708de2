// Several processes on one embedded till database: the private Firebird root that puts every
// program's embedded engine in Classic mode, and two programs writing and reading one file at once.
#include "database.h"
#include "test_database.h"

#include <QProcessEnvironment>

#include <cstdlib>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class SharedDatabase : public testsupport::DatabaseTest {
protected:
    std::string currencies() { return value("SELECT LIST(VAL_KODS, ',') FROM (SELECT VAL_KODS FROM N_VALUTAS ORDER BY ISN)").toString().toStdString(); }
    static std::string insertCurrency(int isn, const char* code) {
        return "INSERT INTO N_VALUTAS (ISN, VAL_KODS, GNOS, KURSS) VALUES (" + std::to_string(isn) + ", '" + code + "', '" +
               code + "', 1)";
    }
    static constexpr const char* kList = "SELECT LIST(VAL_KODS, ',') FROM (SELECT VAL_KODS FROM N_VALUTAS ORDER BY ISN)";
};

TEST_F(SharedDatabase, TwoProcessesWriteAndReadOneFileAtOnce) {
    exec(QString::fromStdString(insertCurrency(1, "USD")));
    testsupport::SqlPeer peer(databaseFile().string());
    ASSERT_EQ(peer.greeting(), "READY");

    // Both hold the file open; each sees what the other committed.
    EXPECT_EQ(peer.run(kList), "USD");
    EXPECT_EQ(peer.run(insertCurrency(2, "EUR")), "OK");
    EXPECT_EQ(currencies(), "USD,EUR");
    exec(QString::fromStdString(insertCurrency(3, "GBP")));
    EXPECT_EQ(peer.run(kList), "USD,EUR,GBP");
    EXPECT_EQ(peer.run("UPDATE N_VALUTAS SET VAL_KODS = 'SEK' WHERE ISN = 1"), "OK");
    EXPECT_EQ(currencies(), "SEK,EUR,GBP");
}

TEST_F(SharedDatabase, TillDatabaseToolBesideAnOpenConnection) {
    db();
    testsupport::SqlPeer peer(databaseFile().string());
    ASSERT_EQ(peer.greeting(), "READY");
    // The tool's own engine: a new database beside the open one, then the open one again.
    const fs::path other = dir() / "OTHER.GDB";
    platform::createDatabase(platform::parseDatabaseLocation(other.string()), "CREATE TABLE T (I INTEGER);");
    EXPECT_EQ(peer.run(insertCurrency(7, "NOK")), "OK");
    EXPECT_EQ(currencies(), "NOK");
}

TEST_F(SharedDatabase, AFirebirdRootOfTheUsersOwnIsKept) {
    // The user's root runs the engine in its default mode, which keeps the file to one process:
    // the peer, told to use it, is refused the file the test holds open.
    db();
    const char* current = std::getenv("FIREBIRD");
    ASSERT_TRUE(current) << "an attachment names the Firebird root";
    const fs::path root = dir() / "own-root";
    platform::prepareClassicRoot(root, fs::canonical(fs::path(current) / "plugins").parent_path());
    std::ofstream(root / "firebird.conf", std::ios::trunc) << "ServerMode = Super\n";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("FIREBIRD", QString::fromStdString(root.string()));
    testsupport::SqlPeer peer(databaseFile().string(), environment);
    EXPECT_NE(peer.greeting().find("ERROR"), std::string::npos) << peer.greeting();
}

// ---------------------------------------------------------------- the private root

class ClassicRoot : public testsupport::TestEnvironment {
protected:
    void SetUp() override {
        TestEnvironment::SetUp();
        fs::create_directories(installed / "plugins");
        fs::create_directories(installed / "intl");
        std::ofstream(installed / "firebird.msg") << "messages";
        std::ofstream(installed / "firebird.conf") << "ServerMode = Super\n";
    }
    fs::path installed = dir() / "installed";
    fs::path root = dir() / "root";
};

TEST_F(ClassicRoot, LinksTheInstalledRootBesideItsOwnConf) {
    platform::prepareClassicRoot(root, installed);
    platform::prepareClassicRoot(root, installed);  // a second program finds it made
    for (const char* name : {"plugins", "intl", "firebird.msg"}) {
        ASSERT_TRUE(fs::is_symlink(root / name)) << name;
        EXPECT_EQ(fs::read_symlink(root / name), installed / name) << name;
    }
    EXPECT_FALSE(fs::is_symlink(root / "firebird.conf"));
    EXPECT_NE(testsupport::readFile(root / "firebird.conf").find("ServerMode = Classic\n"), std::string::npos);
    EXPECT_EQ(testsupport::readFile(installed / "firebird.conf"), "ServerMode = Super\n");
    EXPECT_EQ(fs::status(root).permissions() & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);

    // A conf changed behind its back is put right again.
    std::ofstream(root / "firebird.conf", std::ios::trunc) << "ServerMode = Super\n";
    platform::prepareClassicRoot(root, installed);
    EXPECT_NE(testsupport::readFile(root / "firebird.conf").find("ServerMode = Classic\n"), std::string::npos);
}

TEST_F(ClassicRoot, RefusesAFolderOthersCouldHaveFilled) {
    const fs::path elsewhere = dir() / "elsewhere";
    fs::create_directories(elsewhere);
    const struct {
        const char* what;
        void (*make)(const fs::path& root, const fs::path& elsewhere);
    } cases[] = {
        {"writable by all", [](const fs::path& r, const fs::path&) {
             fs::create_directories(r);
             fs::permissions(r, fs::perms::all);
         }},
        {"writable by the group", [](const fs::path& r, const fs::path&) {
             fs::create_directories(r);
             fs::permissions(r, fs::perms::owner_all | fs::perms::group_write);
         }},
        {"a link to a folder", [](const fs::path& r, const fs::path& e) { fs::create_directory_symlink(e, r); }},
        {"a file", [](const fs::path& r, const fs::path&) { std::ofstream(r) << "x"; }},
    };
    for (const auto& c : cases) {
        fs::remove_all(root);
        c.make(root, elsewhere);
        try {
            platform::prepareClassicRoot(root, installed);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const platform::DatabaseError& e) {
            EXPECT_NE(std::string(e.what()).find("is not a folder of this user closed to others; it is not used"),
                      std::string::npos)
                << c.what << ": " << e.what();
        }
        EXPECT_FALSE(fs::exists(root / "firebird.conf")) << c.what;
        EXPECT_TRUE(fs::is_empty(elsewhere)) << c.what;
    }
}

}  // namespace
