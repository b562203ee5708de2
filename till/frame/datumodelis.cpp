#include "datumodelis.h"

#include "database.h"

#include <QSqlError>

#include <stdexcept>

QPointer<TDatuModelis> DatuModelis;

namespace {

// The connection parameters of both databases; an embedded database does not check them.
const platform::DatabaseLogin kLogin{"sysdba", "plumtrees"};

QSqlDatabase connected(const QString& name) {
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen()) return db;
    }
    return platform::openDatabase(name.toStdString(), name, kLogin);
}

}  // namespace

TDatuModelis::TDatuModelis(QObject* owner) : QObject(owner) { setObjectName("DatuModelis"); }

TDatuModelis::~TDatuModelis() {
    dati_.reset();
    Klienti.clear();
}

QSqlDatabase TDatuModelis::POS_DB() { return connected(kPosDb); }

void TDatuModelis::ConnectPOS_DB() { POS_DB(); }

QSqlDatabase TDatuModelis::STOCKARA() { return connected(kStockara); }

void TDatuModelis::ConnectSTOCKARA() { STOCKARA(); }

QSqlQuery& TDatuModelis::Dati() {
    if (!dati_) dati_ = std::make_unique<QSqlQuery>(POS_DB());
    return *dati_;
}

void TDatuModelis::OpenKlienti() {
    Klienti.setQuery(kKlientiQuery, POS_DB());
    if (Klienti.lastError().isValid()) throw std::runtime_error(Klienti.lastError().text().toStdString());
}

