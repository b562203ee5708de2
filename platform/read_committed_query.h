// Reads that always see committed data and hold no snapshot: a statement prepared once on a Qt
// Firebird connection and run in a read-only read-committed transaction of its own.
#pragma once

#include <QAbstractTableModel>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace platform {

// Qt's Firebird driver runs a query in a snapshot transaction that lasts as long as the query
// object: a query kept for the life of the program sees the database as it was when it first ran
// and holds back Firebird's garbage collection for as long. Each run of this statement reads the
// rows as last committed, and its transaction (read only, read committed, which Firebird starts as
// committed) holds back nothing. The statement follows its connection by name: opened again, the
// connection gets the statement prepared again at its next run.
class ReadCommittedQuery {
public:
    // `sql` takes its parameters as "?". Throws DatabaseError with the database's text.
    ReadCommittedQuery(const QSqlDatabase& db, const QString& sql);
    ~ReadCommittedQuery();
    ReadCommittedQuery(const ReadCommittedQuery&) = delete;
    ReadCommittedQuery& operator=(const ReadCommittedQuery&) = delete;

    // The rows, at most `maxRows` (all when negative), with the parameters in order (a null
    // QVariant is SQL NULL; others go as their text). A statement that fails is prepared once
    // more on the connection as it then is and run again. Throws DatabaseError.
    std::vector<QSqlRecord> run(const std::vector<QVariant>& params = {}, int maxRows = -1);
    // The result's columns, without values.
    const QSqlRecord& columns() const;

private:
    struct Statement;
    // The statement prepared on the connection's attachment as it is now.
    static std::unique_ptr<Statement> prepareOn(const QSqlDatabase& db, const QString& sql);

    QString connectionName_;
    QString sql_;
    std::unique_ptr<Statement> statement_;
    QSqlRecord columns_;
};

// Rows read once, shown in a list or table; the columns stay known when there are no rows.
class RecordListModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRecords(const QSqlRecord& columns, std::vector<QSqlRecord> rows);
    void clear();
    QSqlRecord record() const { return columns_; }
    QSqlRecord record(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QSqlRecord columns_;
    std::vector<QSqlRecord> rows_;
};

}  // namespace platform
