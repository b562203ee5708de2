#include "database.h"
#include "firebird_status.h"

#include <ibase.h>

#include <QSqlError>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string statusText(const ISC_STATUS* status) {
    std::string text;
    const ISC_STATUS* cursor = status;
    std::array<char, 1024> line{};
    while (fb_interpret(line.data(), line.size(), &cursor) > 0) {
        if (!text.empty()) text += "\n";
        text += line.data();
    }
    return text.empty() ? "unknown Firebird error" : text;
}

namespace {

std::string trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return std::string(s);
}

std::string upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string effectivePassword(const DatabaseLogin& login) {
    if (!login.password.empty()) return login.password;
    const char* env = std::getenv("ISC_PASSWORD");
    return env ? env : "";
}

// ---------------------------------------------------------------- fbclient C interface

class Attachment {
public:
    Attachment() = default;
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;
    ~Attachment() { detach(); }

    // CREATE DATABASE through the DSQL path, which takes page size and default character set in
    // the statement itself; the attachment it leaves has no connection character set, so it is
    // closed and the database attached again with UTF8.
    void create(const DatabaseLocation& location, const DatabaseLogin& login) {
        useSharedEmbeddedEngine();
        std::string sql = "CREATE DATABASE '" + quoted(location.connectionString()) + "' USER '" + quoted(login.user) + "'";
        const std::string password = effectivePassword(login);
        if (!password.empty()) sql += " PASSWORD '" + quoted(password) + "'";
        sql += " PAGE_SIZE 8192 DEFAULT CHARACTER SET UTF8";
        ISC_STATUS_ARRAY status{};
        isc_tr_handle noTransaction = 0;
        if (isc_dsql_execute_immediate(status, &db_, &noTransaction, 0, sql.c_str(), SQL_DIALECT_V6, nullptr))
            throw DatabaseError("Cannot create database " + location.connectionString() + ": " + statusText(status));
        created_ = true;
        detach();
        attach(location, login);
    }

    void attach(const DatabaseLocation& location, const DatabaseLogin& login) {
        useSharedEmbeddedEngine();
        std::string dpb(1, char(isc_dpb_version1));
        const auto add = [&dpb](char tag, const std::string& value) {
            dpb += tag;
            dpb += char(std::min<std::size_t>(value.size(), 255));
            dpb += value.substr(0, 255);
        };
        add(isc_dpb_user_name, login.user);
        const std::string password = effectivePassword(login);
        if (!password.empty()) add(isc_dpb_password, password);
        add(isc_dpb_lc_ctype, "UTF8");
        const std::string name = location.connectionString();
        ISC_STATUS_ARRAY status{};
        if (isc_attach_database(status, 0, name.c_str(), &db_, short(dpb.size()), dpb.data()))
            throw DatabaseError("Cannot open database " + name + ": " + statusText(status));
    }

    // Each statement in a transaction of its own, as isql's autocommit of DDL: a table must be
    // committed before a trigger or the data that use it.
    void execute(const std::string& statement) {
        ISC_STATUS_ARRAY status{};
        isc_tr_handle transaction = 0;
        if (isc_start_transaction(status, &transaction, 1, &db_, 0, nullptr))
            throw DatabaseError("Cannot start a transaction: " + statusText(status));
        if (isc_dsql_execute_immediate(status, &db_, &transaction, 0, statement.c_str(), SQL_DIALECT_V6, nullptr)) {
            const std::string error = statusText(status);
            ISC_STATUS_ARRAY ignored{};
            isc_rollback_transaction(ignored, &transaction);
            throw DatabaseError("Statement failed: " + error + "\n" + statement.substr(0, 400));
        }
        if (isc_commit_transaction(status, &transaction)) {
            const std::string error = statusText(status);
            ISC_STATUS_ARRAY ignored{};
            isc_rollback_transaction(ignored, &transaction);
            throw DatabaseError("Commit failed: " + error + "\n" + statement.substr(0, 400));
        }
    }

    // Removes the database this attachment created, attached or not; the attachment ends with it.
    void dropCreated(const DatabaseLocation& location) {
        if (!created_) return;
        if (db_) {
            ISC_STATUS_ARRAY status{};
            if (isc_drop_database(status, &db_)) detach();
            db_ = 0;
        }
        std::error_code ignored;
        if (location.embedded()) std::filesystem::remove(location.path, ignored);
    }

    void detach() {
        if (!db_) return;
        ISC_STATUS_ARRAY status{};
        isc_detach_database(status, &db_);
        db_ = 0;
    }

private:
    static std::string quoted(const std::string& text) {
        std::string out;
        for (char c : text) {
            out += c;
            if (c == '\'') out += '\'';
        }
        return out;
    }

    isc_db_handle db_ = 0;
    bool created_ = false;
};

void runStatements(Attachment& attachment, std::string_view script) {
    for (const std::string& statement : splitSqlScript(script)) attachment.execute(statement);
}

// ---------------------------------------------------------------- the private Firebird root

// The Firebird root the packages installed (plugins, intl, firebird.msg), found by the build.
#ifndef TILLORA_FIREBIRD_ROOT
#error "TILLORA_FIREBIRD_ROOT must name the installed Firebird root"
#endif

constexpr const char* kClassicConf =
    "# Written by Tillora. Embedded engines in Classic mode share database files between\n"
    "# processes through the lock manager.\n"
    "ServerMode = Classic\n";

[[noreturn]] void throwSystemError(const std::string& what, const std::filesystem::path& path) {
    throw DatabaseError(what + " " + path.string() + ": " + std::strerror(errno));
}

// A plain folder of this user that nobody else may write to.
void checkOwnFolder(const std::filesystem::path& folder) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) throwSystemError("Cannot read the Firebird root", folder);
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        throw DatabaseError("The Firebird root " + folder.string() +
                            " is not a folder of this user closed to others; it is not used");
}

// Puts `target` at `link` (replacing whatever is there) through a rename, so a process reading
// the root never sees it missing.
void placeLink(const std::filesystem::path& link, const std::filesystem::path& target) {
    std::error_code error;
    if (std::filesystem::is_symlink(link, error) && std::filesystem::read_symlink(link, error) == target) return;
    const auto temporary = link.parent_path() / ("." + link.filename().string() + "." + std::to_string(::getpid()));
    std::filesystem::remove(temporary, error);
    if (::symlink(target.c_str(), temporary.c_str()) != 0) throwSystemError("Cannot make the link", temporary);
    if (::rename(temporary.c_str(), link.c_str()) != 0) throwSystemError("Cannot place the link", link);
}

void placeFile(const std::filesystem::path& file, const std::string& content) {
    {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream present;
        present << in.rdbuf();
        if (in && present.str() == content) return;
    }
    const auto temporary = file.parent_path() / ("." + file.filename().string() + "." + std::to_string(::getpid()));
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << content;
        if (!out.flush()) throwSystemError("Cannot write", temporary);
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) throwSystemError("Cannot place", file);
}

std::filesystem::path privateRootFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && std::filesystem::is_directory(runtime))
        return std::filesystem::path(runtime) / "tillora-firebird";
    return std::filesystem::temp_directory_path() / ("tillora-firebird-" + std::to_string(::geteuid()));
}

// The client library and the embedded engine run threads of their own (the engine's lock and
// event handling, the plugin manager's timer). Left to the library's own finalizer they are still
// ending while the process's exit goes on (sanitizer builds run their leak check then, with those
// threads half gone); ending the client from an exit handler, before any library is finalized,
// detaches what is still attached, stops those threads and waits for them.
void shutDownDatabaseClient() {
    constexpr unsigned kShutdownTimeoutMs = 30000;  // a safety net for a stuck engine only
    fb_shutdown(kShutdownTimeoutMs, fb_shutrsn_app_stopped);
}

}  // namespace

// ---------------------------------------------------------------- the shared embedded engine

void prepareClassicRoot(const std::filesystem::path& folder, const std::filesystem::path& installedRoot) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) throwSystemError("Cannot make the Firebird root", folder);
    checkOwnFolder(folder);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(installedRoot, error)) {
        const auto name = entry.path().filename();
        if (name != "firebird.conf") placeLink(folder / name, entry.path());
    }
    if (error) throw DatabaseError("Cannot read the Firebird root " + installedRoot.string() + ": " + error.message());
    placeFile(folder / "firebird.conf", kClassicConf);
}

void useSharedEmbeddedEngine() {
    static std::once_flag once;
    std::call_once(once, [] {
        std::atexit(shutDownDatabaseClient);
        if (const char* own = std::getenv("FIREBIRD"); own && *own) return;
        const auto folder = privateRootFolder();
        prepareClassicRoot(folder, TILLORA_FIREBIRD_ROOT);
        ::setenv("FIREBIRD", folder.c_str(), 1);
    });
}

// ---------------------------------------------------------------- aliases and locations

std::string DatabaseLocation::connectionString() const {
    if (host.empty()) return path;
    std::string out = host;
    if (port >= 0) out += "/" + std::to_string(port);
    return out + ":" + path;
}

DatabaseLocation parseDatabaseLocation(std::string_view connectionString) {
    const std::string text = trimmed(connectionString);
    if (text.empty()) throw DatabaseError("Empty database path");
    DatabaseLocation location;
    const auto colon = text.find(':');
    // "host:/path" and "host/port:/path"; a path that starts with a folder or a drive letter
    // ("C:\...", one letter before the colon) is a local file.
    const bool local = colon == std::string::npos || colon <= 1 || text.front() == '/' || text.front() == '.' ||
                       text.front() == '~' || text.front() == '\\';
    if (local) {
        location.path = std::filesystem::absolute(std::filesystem::path(text)).lexically_normal().string();
        return location;
    }
    std::string server = text.substr(0, colon);
    location.path = text.substr(colon + 1);
    if (location.path.empty()) throw DatabaseError("No database path after the server name in \"" + text + "\"");
    if (const auto slash = server.find('/'); slash != std::string::npos) {
        const std::string port = server.substr(slash + 1);
        if (port.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }))
            throw DatabaseError("Bad port in \"" + text + "\"");
        location.port = std::stoi(port);
        server.resize(slash);
    }
    location.host = server;
    return location;
}

std::optional<std::string> aliasConnectionString(const std::string& alias, const SettingsStore& store) {
    if (auto value = store.readText(kAliasesKey, alias); value && !trimmed(*value).empty()) return trimmed(*value);
    if (upper(alias) == kPosDbAlias) return std::string(kPosDbDefaultFile);
    return std::nullopt;
}

DatabaseLocation resolveAlias(const std::string& alias, const SettingsStore& store) {
    const auto text = aliasConnectionString(alias, store);
    if (!text) throw DatabaseError("Database alias \"" + alias + "\" is not defined");
    return parseDatabaseLocation(*text);
}

void defineAlias(const std::string& alias, const std::string& connectionString, SettingsStore& store) {
    store.writeText(kAliasesKey, alias, connectionString);
}

// ---------------------------------------------------------------- Qt connections

DatabaseLogin tillDatabaseLogin() {
    const auto environment = [](const char* name, const char* fallback) {
        const char* value = std::getenv(name);
        return std::string(value && *value ? value : fallback);
    };
    return {environment("ISC_USER", "sysdba"), environment("ISC_PASSWORD", "plumtrees")};
}

QSqlDatabase openDatabase(const std::string& alias, const QString& connectionName, const DatabaseLogin& login) {
    const QString name = connectionName.isEmpty() ? QString::fromStdString(alias) : connectionName;
    return openDatabaseAt(resolveAlias(alias), name, login);
}

QSqlDatabase openDatabaseAt(const DatabaseLocation& location, const QString& connectionName, const DatabaseLogin& login) {
    // Before the driver loads the client library.
    useSharedEmbeddedEngine();
    QSqlDatabase db = QSqlDatabase::contains(connectionName) ? QSqlDatabase::database(connectionName, false)
                                                             : QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), connectionName);
    if (!db.isValid()) throw DatabaseError("The Firebird SQL driver (QIBASE) is not available");
    db.close();
    // No host name: the driver hands the bare path to fbclient, which opens it embedded. The
    // driver always attaches with the connection character set UTF8.
    db.setHostName(QString::fromStdString(location.host));
    db.setPort(location.port);
    db.setDatabaseName(QString::fromStdString(location.path));
    db.setUserName(QString::fromStdString(login.user));
    db.setPassword(QString::fromStdString(effectivePassword(login)));
    if (!db.open())
        throw DatabaseError("Cannot open database " + location.connectionString() + ": " + db.lastError().text().toStdString());
    return db;
}

void closeDatabase(const QString& connectionName) {
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

// ---------------------------------------------------------------- creating and scripts

void createDatabase(const DatabaseLocation& location, std::string_view script, const DatabaseLogin& login) {
    if (location.embedded() && std::filesystem::exists(location.path))
        throw DatabaseError("The file " + location.path + " exists already; it is not replaced");
    Attachment attachment;
    try {
        attachment.create(location, login);
        runStatements(attachment, script);
    } catch (...) {
        attachment.dropCreated(location);
        throw;
    }
}

void runScript(const DatabaseLocation& location, std::string_view script, const DatabaseLogin& login) {
    Attachment attachment;
    attachment.attach(location, login);
    runStatements(attachment, script);
}

std::vector<std::string> splitSqlScript(std::string_view script) {
    std::vector<std::string> statements;
    std::string terminator = ";";
    std::string current;

    const auto finish = [&]() {
        std::string statement = trimmed(current);
        current.clear();
        if (statement.empty()) return;
        const std::string head = upper(statement.substr(0, 16));
        if (head.rfind("SET TERM", 0) == 0) {
            const std::string rest = trimmed(statement.substr(8));
            const auto end = rest.find_first_of(" \t\r\n");
            terminator = rest.substr(0, end);
            if (terminator.empty()) throw DatabaseError("SET TERM without a terminator");
            return;
        }
        const bool isqlCommand = head == "COMMIT" || head.rfind("COMMIT ", 0) == 0 || head.rfind("SET NAMES", 0) == 0 ||
                                 head.rfind("SET SQL DIALECT", 0) == 0 || head.rfind("SET AUTODDL", 0) == 0 ||
                                 head.rfind("INPUT ", 0) == 0;
        if (!isqlCommand) statements.push_back(statement);
    };

    std::size_t i = 0;
    while (i < script.size()) {
        const char c = script[i];
        const char next = i + 1 < script.size() ? script[i + 1] : '\0';
        if (c == '-' && next == '-') {
            while (i < script.size() && script[i] != '\n') ++i;
            continue;
        }
        if (c == '/' && next == '*') {
            const auto end = script.find("*/", i + 2);
            i = end == std::string_view::npos ? script.size() : end + 2;
            current += ' ';
            continue;
        }
        if (c == '\'' || c == '"') {
            // Quoted text or identifier; a doubled quote stands for itself.
            current += c;
            ++i;
            while (i < script.size()) {
                current += script[i];
                if (script[i] == c) {
                    if (i + 1 < script.size() && script[i + 1] == c) {
                        current += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            continue;
        }
        if (script.compare(i, terminator.size(), terminator) == 0) {
            finish();
            i += terminator.size();
            continue;
        }
        current += c;
        ++i;
    }
    finish();
    return statements;
}

}  // namespace platform
