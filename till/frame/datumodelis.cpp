#include "datumodelis.h"

#include "database.h"

QPointer<TDatuModelis> DatuModelis;

namespace {

QSqlDatabase connected(const QString& name) {
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen()) return db;
    }
    return platform::openDatabase(name.toStdString(), name, platform::tillDatabaseLogin());
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

