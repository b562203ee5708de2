// A fleet of till databases for the back office: each till's journal written by the till's own
// storing code (sales, returns, annulled receipts, free-price lines, Z rows), the till list
// KASES.DBF and the exchange tables, the second database with its table KASE, and fault switches:
// a till that cannot be reached, one whose database file another program holds exclusively, a
// table refusing one key, the second database refusing one receipt.
#pragma once

#include "dbf_table.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tills {

// One receipt line as the cashier entered it.
struct SoldLine {
    QString artikuls;
    double cena = 0;
    double daudzums = 1;
    double atlaide = 0;
    int nodala = 1;
    bool freePrice = false;  // an article not in the item list, sold at a typed price
};

// A row of an exchange table: the column values as dBase text (numbers "12.50", dates
// "20150201"), raw bytes in the table's code page.
using ExchangeRow = std::vector<std::string>;

// Writes a dBase table with these columns and rows (replacing the file).
void WriteExchangeTable(const std::filesystem::path& file, const std::vector<DbfTable::Column>& columns,
                        const std::vector<ExchangeRow>& rows);

// The columns of the exchange tables the back office reads; `without` leaves one out.
std::vector<DbfTable::Column> ItemsColumns(const std::string& without = {});
std::vector<DbfTable::Column> KlientiColumns();
std::vector<DbfTable::Column> ValutasColumns();
std::vector<DbfTable::Column> UsersColumns();
std::vector<DbfTable::Column> NodalasColumns();

// An ITEMS.DBF row in ItemsColumns() order with the given code, name, price and unit (DOS bytes);
// FIELD1001 carries the code too.
ExchangeRow ItemRow(const std::string& code, const std::string& name, double price, const std::string& unitDos = "gab.");

class TillFleet {
public:
    // `server`: "127.0.0.1/port" of a Firebird server that reaches the fleet's folder, for tills
    // made onServer; empty when there is none.
    explicit TillFleet(std::filesystem::path folder, std::string server = {});
    ~TillFleet();

    const std::filesystem::path& folder() const { return folder_; }

    // A new till database (folder/<name>/POS_DATI.GDB), as a file or reached through the server.
    // Returns its PATH for KASES.DBF.
    QString addTill(const QString& name, bool onServer = false);
    // PATH values that reach nothing: a server port where none listens, a file that is missing.
    static QString refusedServerPath() { return QStringLiteral("127.0.0.1/1:/nowhere/POS_DATI.GDB"); }
    QString missingFilePath() const;

    QString path(const QString& name) const;
    // The fleet's own connection to a till.
    QSqlDatabase db(const QString& name);
    void closeConnections();

    // Journal rows as the till stores them. ApmVeids is the kind's number as REALIZ holds it.
    void sell(const QString& name, int cekaNr, const QDate& day, const std::vector<SoldLine>& lines, bool isReturn = false,
              const QString& klKods = {}, int apmVeids = 1, const QString& citasZinas = {});
    void annul(const QString& name, int cekaNr, const QDate& day, const std::vector<SoldLine>& lines);
    void zReport(const QString& name, int number, const QDate& day);

    // From now on the till's `table` refuses rows whose `column` is `value` (a trigger raising an
    // exception), on insert and update.
    void refuseKey(const QString& name, const QString& table, const QString& column, const QString& value);
    // The back office's second database (folder/AD/AUTODIREKCIJA.GDB, with table KASE), as a file
    // or through the server. Returns its connection string for the alias "AD".
    QString addSecondDatabase(bool onServer = false);
    // The fleet's own connection to it.
    QSqlDatabase secondDb();
    // From now on KASE refuses the row of receipt `kvitsNr`.
    void refuseKvitsNr(int kvitsNr);

    // Holds the till's database file the way a program that opens it exclusively does, until
    // release() or the fleet ends.
    void hold(const QString& name);
    void release(const QString& name);

    // KASES.DBF in `folder` (the back office's working folder): GNOS, PATH, NEAKTIVA, LOGO_EKR.
    static void WriteKases(const std::filesystem::path& folder, const std::vector<std::vector<QString>>& rows);

private:
    std::filesystem::path folder_;
    std::string server_;
    std::map<QString, QString> paths_;
    std::map<QString, int> held_;
    QString secondPath_;
};

}  // namespace tills
