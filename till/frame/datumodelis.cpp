#include "datumodelis.h"

#include "database.h"

#include <cstdlib>

QPointer<TDatuModelis> DatuModelis;

namespace {

// The user and password of both databases: ISC_USER and ISC_PASSWORD from the environment when
// set (a database on a server checks them; an embedded one does not), else the pair the tills
// have always been installed with.
platform::DatabaseLogin login() {
    const auto environment = [](const char* name, const char* fallback) {
        const char* value = std::getenv(name);
        return std::string(value && *value ? value : fallback);
    };
    return {environment("ISC_USER", "sysdba"), environment("ISC_PASSWORD", "plumtrees")};
}

QSqlDatabase connected(const QString& name) {
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen()) return db;
    }
    return platform::openDatabase(name.toStdString(), name, login());
}

}  // namespace

TDatuModelis::TDatuModelis(QObject* owner) : QObject(owner) { setObjectName("DatuModelis"); }

TDatuModelis::~TDatuModelis() = default;

QSqlDatabase TDatuModelis::POS_DB() { return connected(kPosDb); }

void TDatuModelis::ConnectPOS_DB() { POS_DB(); }

QSqlDatabase TDatuModelis::STOCKARA() { return connected(kStockara); }

void TDatuModelis::ConnectSTOCKARA() { STOCKARA(); }

void TDatuModelis::OpenDati() { platform::ReadCommittedQuery(POS_DB(), QStringLiteral("SELECT ISN FROM REALIZ")).run({}, 1); }

void TDatuModelis::OpenKlienti() {
    platform::ReadCommittedQuery query(POS_DB(), QString::fromLatin1(kKlientiQuery));
    Klienti.setRecords(query.columns(), query.run());
}

