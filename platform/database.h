// Databases named by alias (POS_DB, STOCKARA, PRECES, TILLORA, AD): resolving an alias through
// the settings store, opening a Qt connection to it (embedded Firebird for a file, a Firebird
// server for "host:/path"), and creating a database file from a DDL script.
#pragma once

#include "settings_store.h"

#include <QSqlDatabase>
#include <QString>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Key of the alias table: one text value per alias, holding its connection string.
inline constexpr const char* kAliasesKey = "Software\\TOVEL\\Aliases";
inline constexpr const char* kPosDbAlias = "POS_DB";
// What POS_DB means when the alias table does not name it: this file in the working folder.
inline constexpr const char* kPosDbDefaultFile = "POS_DATI.GDB";
// The back office's second database, which receives the tills' receipts (table KASE).
inline constexpr const char* kAutoDirekcijaAlias = "AD";

class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where a database lives. A connection string is a database file ("POS_DATI.GDB",
// "/srv/pos/POS_DATI.GDB"), opened in this process through embedded Firebird, or
// "host:/path" / "host/port:/path" for a Firebird server.
struct DatabaseLocation {
    std::string host;  // empty: embedded database file
    int port = -1;     // -1: the server's default port
    std::string path;  // absolute for a local file; as given for a server

    bool embedded() const { return host.empty(); }
    std::string connectionString() const;
};

// Relative file paths are made absolute against the working folder. Throws DatabaseError on an
// empty string or a bad port.
DatabaseLocation parseDatabaseLocation(std::string_view connectionString);

// The alias's connection string from the alias table; POS_DB falls back to the default file.
// Empty for any other alias the table does not name.
std::optional<std::string> aliasConnectionString(const std::string& alias,
                                                 const SettingsStore& store = SettingsStore::current());
// Throws DatabaseError when the alias is not defined.
DatabaseLocation resolveAlias(const std::string& alias, const SettingsStore& store = SettingsStore::current());
void defineAlias(const std::string& alias, const std::string& connectionString,
                 SettingsStore& store = SettingsStore::current());

// User and password; an empty password takes ISC_PASSWORD from the environment (an embedded
// database does not check it).
struct DatabaseLogin {
    std::string user = "SYSDBA";
    std::string password;
};

// The log-in every program uses on a till database: ISC_USER and ISC_PASSWORD from the
// environment when set (a database on a server checks them; an embedded one does not), else the
// pair the tills have always been installed with.
DatabaseLogin tillDatabaseLogin();

// Embedded engines share database files. Firebird's embedded engine in its default mode locks a
// database file for one process; in Classic mode processes share the file through Firebird's lock
// manager, so the till, the set-up program and tillora-db open one till database at once. The
// mode comes from the firebird.conf of a Firebird root: every program uses a private root of its
// user (ServerMode = Classic beside links to the installed root's plugins, messages and character
// sets) unless FIREBIRD names a root of the user's own. Called by everything here that attaches,
// before the first attachment; sets FIREBIRD for this process and ends the client library (its
// threads and attachments) at program exit. Throws DatabaseError when the private root cannot be
// made.
void useSharedEmbeddedEngine();
// Makes `folder` a Firebird root whose firebird.conf sets ServerMode = Classic and whose other
// entries link to those of `installedRoot`. Safe against other processes doing the same at once.
// Refuses (DatabaseError) a folder that exists but is not a plain folder of this user writable by
// nobody else: its firebird.conf and plugins would be loaded into the program.
void prepareClassicRoot(const std::filesystem::path& folder, const std::filesystem::path& installedRoot);

// Opens a QIBASE connection (connection character set UTF8, dialect 3) under connectionName,
// the alias itself when empty. An existing connection of that name is closed and re-pointed.
// Throws DatabaseError with the driver's text when the alias is unknown or the open fails.
QSqlDatabase openDatabase(const std::string& alias, const QString& connectionName = {},
                          const DatabaseLogin& login = {});
QSqlDatabase openDatabaseAt(const DatabaseLocation& location, const QString& connectionName,
                            const DatabaseLogin& login = {});
// Closes and removes a named connection; the caller must hold no copies of it.
void closeDatabase(const QString& connectionName);

// Creates a new database (page size 8192, default character set UTF8, dialect 3) and runs the
// script on it, committing after each statement. Refuses an embedded file that exists. On any
// failure the new database is dropped again and DatabaseError names the failing statement.
void createDatabase(const DatabaseLocation& location, std::string_view script, const DatabaseLogin& login = {});
// Runs a script on an existing database, committing after each statement.
void runScript(const DatabaseLocation& location, std::string_view script, const DatabaseLogin& login = {});

// The statements of a script in isql's notation: ';' ends a statement, "SET TERM x y" changes
// the terminator (for trigger bodies), comments and quoted text are respected. isql's own
// commands (COMMIT, SET NAMES, SET SQL DIALECT, SET AUTODDL, INPUT) are dropped.
std::vector<std::string> splitSqlScript(std::string_view script);

}  // namespace platform
