// TDatuModelis: the till's data module: the connections POS_DB (the till database) and STOCKARA
// (the stock product's database) and the queries several parts of the till share.
#pragma once

#include <QPointer>

#include <QDate>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QString>

#include <memory>

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

    // The general query on POS_DB: callers set its statement, bind by name and run it.
    QSqlQuery& Dati();
    // Every customer of N_KLIENTI ordered by GNOS; the sale window's customer list shows it.
    QSqlQueryModel Klienti;
    static inline const char* const kKlientiQuery = "SELECT * FROM N_KLIENTI ORDER BY GNOS";
    // Opens Klienti; throws std::runtime_error with the database's text on failure.
    void OpenKlienti();

    // The Setup value "Kontrollenta2" as the splash read it; chooses the splash banner.
    QString Kontrollenta2;

private:
    std::unique_ptr<QSqlQuery> dati_;
};

extern QPointer<TDatuModelis> DatuModelis;
