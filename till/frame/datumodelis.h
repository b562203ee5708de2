// TDatuModelis: the till's data module: the connections POS_DB (the till database) and STOCKARA
// (the stock product's database) and the queries several parts of the till share.
#pragma once

#include "read_committed_query.h"

#include <QPointer>

#include <QObject>
#include <QSqlDatabase>
#include <QString>

class TDatuModelis : public QObject {
    Q_OBJECT
public:
    explicit TDatuModelis(QObject* owner);
    ~TDatuModelis() override;

    // Connection names of the two databases (and the aliases they are opened by).
    static inline const QString kPosDb = QStringLiteral("POS_DB");
    static inline const QString kStockara = QStringLiteral("STOCKARA");

    // The till database; connected by the start-up (or by the first query that needs it, as the
    // settings load does). Throws platform::DatabaseError when it cannot be opened.
    QSqlDatabase POS_DB();
    void ConnectPOS_DB();
    // The stock product's database. Throws platform::DatabaseError when it cannot be opened.
    QSqlDatabase STOCKARA();
    void ConnectSTOCKARA();

    // Checks that the sales table REALIZ reads. Like every read of this module it runs in a
    // read-committed read-only transaction that ends at once: a transaction kept open for the
    // till's whole run would hold back Firebird's garbage collection for months.
    // Throws platform::DatabaseError with the database's text.
    void OpenDati();
    // Every customer of N_KLIENTI ordered by GNOS, as read by OpenKlienti; the sale window's
    // customer list shows it.
    platform::RecordListModel Klienti;
    static inline const char* const kKlientiQuery = "SELECT * FROM N_KLIENTI ORDER BY GNOS";
    // Reads Klienti; throws platform::DatabaseError with the database's text on failure.
    void OpenKlienti();

    // The Setup value "Kontrollenta2" as the splash read it; chooses the splash banner.
    QString Kontrollenta2;
};

extern QPointer<TDatuModelis> DatuModelis;
