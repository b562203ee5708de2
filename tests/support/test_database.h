// Fresh embedded databases for tests: each kind is made once from its script into a cache file
// shared by the test processes, then copied into the test's folder; DatabaseTest names the
// copy POS_DB in the test's settings store.
#pragma once

#include "test_environment.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// Copies an empty till (or stock-product) database to `file`, replacing what is there.
void copyFreshTillDatabase(const std::filesystem::path& file);
void copyFreshStockaraDatabase(const std::filesystem::path& file);

// Named parameters of a statement, bound in this order (":NAME" or "NAME").
using SqlParams = std::vector<std::pair<QString, QVariant>>;

// Prepares, binds and runs a statement on `db`; the test fails with the driver's text when any
// step fails. The query is left positioned before its first row.
QSqlQuery execSql(const QSqlDatabase& db, const QString& sql, const SqlParams& params = {});
// The first column of the first row (an invalid QVariant when there is no row).
QVariant selectValue(const QSqlDatabase& db, const QString& sql, const SqlParams& params = {});

// The Firebird server scripts/test runs for the tests on loopback ("127.0.0.1/port", from
// TILLORA_TEST_FIREBIRD; its SYSDBA password is in ISC_PASSWORD). Empty outside scripts/test.
std::string testFirebirdServer();

// A second program on a database (sql_peer) in a process of its own: each statement is run and
// committed there, and answers one line (see sql_peer.cpp).
class SqlPeer {
public:
    explicit SqlPeer(const std::string& connectionString,
                     const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
    ~SqlPeer();
    // "READY" once the peer holds its connection, or "ERROR " and why it could not open it.
    const std::string& greeting() const { return greeting_; }
    std::string run(const std::string& statement);

private:
    std::string readLine();
    QProcess process_;
    std::string greeting_;
};

// A test with an empty till database "POS_DATI.GDB" in its folder, defined as alias POS_DB.
// db() is the test's own connection to it, opened on first use; programs under test open
// theirs by the alias. Every connection still open is closed when the test ends.
// A fixture whose throughFirebirdServer() is true reaches the same file through the test
// server instead ("127.0.0.1/port:/path"); its tests are skipped outside scripts/test.
class DatabaseTest : public TestEnvironment {
protected:
    void SetUp() override;
    void TearDown() override;
    virtual bool throughFirebirdServer() const { return false; }

    std::filesystem::path databaseFile() const { return dir() / "POS_DATI.GDB"; }
    QSqlDatabase db();

    QSqlQuery exec(const QString& sql, const SqlParams& params = {}) { return execSql(db(), sql, params); }
    QVariant value(const QString& sql, const SqlParams& params = {}) { return selectValue(db(), sql, params); }
    // How db() reaches the database: "TCPv4" through a server, empty when embedded.
    QString connectionProtocol();

    static inline const QString kTestConnection = QStringLiteral("TEST_POS_DB");
};

}  // namespace testsupport
