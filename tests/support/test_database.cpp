#include "test_database.h"

#include "database.h"
#include "till_database.h"

#include <QSqlError>

#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <unistd.h>

namespace testsupport {
namespace {

// The cache file is named after a hash of the script, so a changed schema makes a new one;
// it is written under a temporary name and renamed, so parallel test processes never copy a
// half-made file.
std::filesystem::path cachedDatabase(const std::string& kind, std::string_view script,
                                     void (*create)(const std::filesystem::path&)) {
    const auto folder = std::filesystem::temp_directory_path() / "tillora-db-cache";
    std::ostringstream name;
    name << kind << "-" << std::hex << std::hash<std::string_view>{}(script) << ".fdb";
    const auto file = folder / name.str();
    if (std::filesystem::exists(file)) return file;
    std::filesystem::create_directories(folder);
    const auto temporary = folder / (name.str() + "." + std::to_string(::getpid()) + ".tmp");
    std::filesystem::remove(temporary);
    create(temporary);
    std::filesystem::rename(temporary, file);
    return file;
}

void copyFresh(const std::filesystem::path& cache, const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path());
    std::filesystem::copy_file(cache, file, std::filesystem::copy_options::overwrite_existing);
}

}  // namespace

void copyFreshTillDatabase(const std::filesystem::path& file) {
    copyFresh(cachedDatabase("till", schema::tillSchemaScript(), schema::createTillDatabase), file);
}

void copyFreshStockaraDatabase(const std::filesystem::path& file) {
    copyFresh(cachedDatabase("stockara", schema::stockaraSchemaScript(), schema::createStockaraDatabase), file);
}

QSqlQuery execSql(const QSqlDatabase& db, const QString& sql, const SqlParams& params) {
    QSqlQuery query(db);
    if (!query.prepare(sql)) {
        ADD_FAILURE() << "prepare failed: " << query.lastError().text().toStdString() << "\n" << sql.toStdString();
        return query;
    }
    for (const auto& [name, value] : params) query.bindValue(name.startsWith(':') ? name : ':' + name, value);
    if (!query.exec()) ADD_FAILURE() << "exec failed: " << query.lastError().text().toStdString() << "\n" << sql.toStdString();
    return query;
}

QVariant selectValue(const QSqlDatabase& db, const QString& sql, const SqlParams& params) {
    QSqlQuery query = execSql(db, sql, params);
    return query.next() ? query.value(0) : QVariant();
}

std::string testFirebirdServer() {
    const char* server = std::getenv("TILLORA_TEST_FIREBIRD");
    return server ? server : "";
}

SqlPeer::SqlPeer(const std::string& connectionString, const QProcessEnvironment& environment) {
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(TILLORA_SQL_PEER), {QString::fromStdString(connectionString)});
    if (!process_.waitForStarted(30000)) ADD_FAILURE() << "sql_peer did not start: " << process_.errorString().toStdString();
    greeting_ = readLine();
}

SqlPeer::~SqlPeer() {
    process_.closeWriteChannel();
    if (!process_.waitForFinished(30000)) process_.kill();
}

std::string SqlPeer::run(const std::string& statement) {
    process_.write(QByteArray::fromStdString(statement + "\n"));
    return readLine();
}

std::string SqlPeer::readLine() {
    while (!process_.canReadLine())
        if (!process_.waitForReadyRead(30000)) {
            ADD_FAILURE() << "sql_peer gave no answer";
            return {};
        }
    return process_.readLine().trimmed().toStdString();
}

void DatabaseTest::SetUp() {
    TestEnvironment::SetUp();
    copyFreshTillDatabase(databaseFile());
    platform::defineAlias(platform::kPosDbAlias, databaseFile().string(), settings());
    if (!throughFirebirdServer()) return;
    const std::string server = testFirebirdServer();
    if (server.empty())
        GTEST_SKIP() << "No Firebird server for the tests (TILLORA_TEST_FIREBIRD is not set): scripts/test starts one";
    platform::defineAlias(platform::kPosDbAlias, server + ":" + databaseFile().string(), settings());
}

QSqlDatabase DatabaseTest::db() {
    if (QSqlDatabase::contains(kTestConnection)) {
        QSqlDatabase existing = QSqlDatabase::database(kTestConnection, false);
        if (existing.isOpen()) return existing;
    }
    return platform::openDatabase(platform::kPosDbAlias, kTestConnection);
}

QString DatabaseTest::connectionProtocol() {
    return value("SELECT MON$REMOTE_PROTOCOL FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION").toString().trimmed();
}

void DatabaseTest::TearDown() {
    // Connections the code under test left open would keep the file attached past the test.
    for (const QString& name : QSqlDatabase::connectionNames()) {
        QSqlDatabase connection = QSqlDatabase::database(name, false);
        connection.close();
    }
    if (QSqlDatabase::contains(kTestConnection)) QSqlDatabase::removeDatabase(kTestConnection);
    TestEnvironment::TearDown();
}

}  // namespace testsupport
