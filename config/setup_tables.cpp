#include "setup_tables.h"

#include "database.h"
#include "read_committed_query.h"
#include "record_texts.h"

#include <QSqlRecord>
#include <QVariant>

#include <cmath>
#include <cstdlib>

namespace {

const QString kConnection = QStringLiteral("TILLORA");

platform::DatabaseLogin login()
{
    const auto environment = [](const char* name, const char* fallback) {
        const char* value = std::getenv(name);
        return std::string(value && *value ? value : fallback);
    };
    return {environment("ISC_USER", "sysdba"), environment("ISC_PASSWORD", "plumtrees")};
}

// The set-up program's alias; an installation that defines none means the till's own database.
platform::DatabaseLocation tilloraDatabase()
{
    const auto own = platform::aliasConnectionString("TILLORA");
    const auto tills = platform::aliasConnectionString(platform::kPosDbAlias);
    return platform::parseDatabaseLocation(own ? *own : tills.value_or(platform::kPosDbDefaultFile));
}

// Closes the connection however the reading ends.
struct Connection {
    Connection() : db(platform::openDatabaseAt(tilloraDatabase(), kConnection, login())) {}
    ~Connection()
    {
        db = QSqlDatabase();
        platform::closeDatabase(kConnection);
    }
    QSqlDatabase db;
};

}  // namespace

std::function<std::optional<int>(int)> SetupTables::taxRate() const
{
    return [this](int department) -> std::optional<int> {
        const auto it = taxRates.find(department);
        return it == taxRates.end() ? std::nullopt : std::optional<int>(it->second);
    };
}

SetupTables ReadSetupTables()
{
    SetupTables tables;
    Connection connection;
    {
        platform::ReadCommittedQuery nodalas(connection.db,
                                             QStringLiteral("SELECT NODALA_NR, NODOKLIS FROM N_NODALAS WHERE NODALA_NR=?"));
        for (int d = 1; d <= setuprecords::kSavedDepartments; ++d) {
            const auto rows = nodalas.run({d}, 1);
            // NODOKLIS is a float column; a rate of 21.0 is the whole number 21, an empty one 0.
            if (!rows.empty())
                tables.taxRates[d] = int(std::lround(rows.front().value(QStringLiteral("NODOKLIS")).toDouble()));
        }
        platform::ReadCommittedQuery valutas(connection.db, QStringLiteral("SELECT VAL_KODS FROM N_VALUTAS"));
        for (const QSqlRecord& row : valutas.run())
            tables.currencyCodes << row.value(QStringLiteral("VAL_KODS")).toString();
    }
    return tables;
}
