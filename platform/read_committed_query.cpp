#include "read_committed_query.h"

#include "database.h"
#include "firebird_status.h"

#include <ibase.h>

#include <QDateTime>
#include <QSqlDriver>
#include <QSqlField>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace platform {
namespace {

// Read only, read committed, reading the last committed version of a row without waiting for a
// writer. Firebird starts such a transaction as committed: it holds back no garbage collection.
constexpr std::array<char, 5> kReadCommittedReadOnly{isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed,
                                                     isc_tpb_rec_version, isc_tpb_nowait};

struct SqlDescriptor {
    explicit SqlDescriptor(int columns) : bytes(XSQLDA_LENGTH(std::max(columns, 1))) {
        da()->version = SQLDA_VERSION1;
        da()->sqln = short(std::max(columns, 1));
    }
    XSQLDA* da() { return reinterpret_cast<XSQLDA*>(bytes.data()); }
    std::vector<std::byte> bytes;
};

QMetaType::Type columnType(const XSQLVAR& var) {
    switch (var.sqltype & ~1) {
    case SQL_VARYING:
    case SQL_TEXT: return (var.sqlsubtype & 0xff) == 1 ? QMetaType::QByteArray : QMetaType::QString;
    case SQL_SHORT:
    case SQL_LONG: return var.sqlscale < 0 ? QMetaType::Double : QMetaType::Int;
    case SQL_INT64: return var.sqlscale < 0 ? QMetaType::Double : QMetaType::LongLong;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return QMetaType::Double;
    case SQL_TYPE_DATE: return QMetaType::QDate;
    case SQL_TYPE_TIME: return QMetaType::QTime;
    case SQL_TIMESTAMP: return QMetaType::QDateTime;
    case SQL_BOOLEAN: return QMetaType::Bool;
    default:
        throw DatabaseError("Column " + std::string(var.aliasname, std::size_t(var.aliasname_length)) +
                            " has a type this query does not read");
    }
}

// The column's value as Qt's Firebird driver gives it: scaled numbers as double, text as UTF-8.
QVariant decodeColumn(const XSQLVAR& var) {
    const int type = var.sqltype & ~1;
    const QMetaType::Type meta = columnType(var);
    if ((var.sqltype & 1) && *var.sqlind == -1) return QVariant(QMetaType(meta));

    const char* data = var.sqldata;
    const auto integer = [&]() -> qint64 {
        switch (type) {
        case SQL_SHORT: return *reinterpret_cast<const short*>(data);
        case SQL_LONG: return *reinterpret_cast<const ISC_LONG*>(data);
        default: return *reinterpret_cast<const ISC_INT64*>(data);
        }
    };
    switch (type) {
    case SQL_VARYING:
    case SQL_TEXT: {
        const bool varying = type == SQL_VARYING;
        const auto length = varying ? std::size_t(*reinterpret_cast<const unsigned short*>(data)) : std::size_t(var.sqllen);
        const char* text = varying ? data + sizeof(unsigned short) : data;
        if (meta == QMetaType::QByteArray) return QByteArray(text, qsizetype(length));
        const QString value = QString::fromUtf8(text, qsizetype(length));
        // Fixed-length UTF-8 text is padded to four bytes a character: keep the declared length.
        constexpr short kUtf8 = 4;
        if (varying || (var.sqlsubtype & 0xff) != kUtf8) return value;
        QList<uint> characters = value.toUcs4();
        characters.resize(std::min<qsizetype>(characters.size(), var.sqllen / 4));
        return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), characters.size());
    }
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        if (var.sqlscale < 0) return double(integer()) / std::pow(10.0, -var.sqlscale);
        return type == SQL_INT64 ? QVariant(qlonglong(integer())) : QVariant(int(integer()));
    case SQL_FLOAT: return double(*reinterpret_cast<const float*>(data));
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return *reinterpret_cast<const double*>(data);
    case SQL_BOOLEAN: return *reinterpret_cast<const FB_BOOLEAN*>(data) != 0;
    case SQL_TYPE_DATE: {
        std::tm t{};
        isc_decode_sql_date(reinterpret_cast<const ISC_DATE*>(data), &t);
        return QDate(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    }
    case SQL_TYPE_TIME: {
        const ISC_TIME time = *reinterpret_cast<const ISC_TIME*>(data);
        return QTime::fromMSecsSinceStartOfDay(int(time / 10));
    }
    default: {
        const auto* stamp = reinterpret_cast<const ISC_TIMESTAMP*>(data);
        std::tm t{};
        isc_decode_sql_date(&stamp->timestamp_date, &t);
        return QDateTime(QDate(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday),
                         QTime::fromMSecsSinceStartOfDay(int(stamp->timestamp_time / 10)));
    }
    }
}

}  // namespace

struct ReadCommittedQuery::Statement {
    explicit Statement(isc_db_handle attachment) : db(attachment) {}
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    // Frees what the statement holds; a handle the engine no longer knows is let go silently.
    ~Statement() {
        ISC_STATUS_ARRAY ignored{};
        if (stmt) isc_dsql_free_statement(ignored, &stmt, DSQL_drop);
        end();
    }

    isc_db_handle db = 0;
    isc_stmt_handle stmt = 0;
    SqlDescriptor out{1};
    std::vector<std::vector<char>> buffers;
    std::vector<short> nulls;
    int paramCount = 0;
    QSqlRecord columns;

    [[noreturn]] void fail(const std::string& what, const ISC_STATUS* status) const {
        throw DatabaseError(what + ": " + statusText(status));
    }

    // The statement's transaction, started at the first use and kept until the statement goes:
    // read only and read committed, each cursor in it reads the rows as last committed. Firebird
    // starts such a transaction as committed, so keeping it holds back no garbage collection, and
    // a look-up pays no transaction start (a header-page write in Classic mode).
    isc_tr_handle tr = 0;

    isc_tr_handle& transaction() {
        ISC_STATUS_ARRAY status{};
        if (!tr && isc_start_transaction(status, &tr, 1, &db, short(kReadCommittedReadOnly.size()), kReadCommittedReadOnly.data()))
            fail("Cannot start a read transaction", status);
        return tr;
    }

    void end() {
        ISC_STATUS_ARRAY ignored{};
        if (tr) isc_commit_transaction(ignored, &tr);
        tr = 0;
    }

    void prepare(const QString& sql) {
        ISC_STATUS_ARRAY status{};
        if (isc_dsql_allocate_statement(status, &db, &stmt)) fail("Cannot make a statement", status);
        const QByteArray text = sql.toUtf8();
        if (isc_dsql_prepare(status, &transaction(), &stmt, 0, text.constData(), SQL_DIALECT_V6, out.da())) fail("Cannot prepare " + text.left(200).toStdString(), status);
        if (out.da()->sqld > out.da()->sqln) {
            out = SqlDescriptor(out.da()->sqld);
            if (isc_dsql_describe(status, &stmt, SQL_DIALECT_V6, out.da())) fail("Cannot describe the result", status);
        }
        XSQLDA* da = out.da();
        buffers.resize(std::size_t(da->sqld));
        nulls.resize(std::size_t(da->sqld));
        for (int i = 0; i < da->sqld; ++i) {
            XSQLVAR& var = da->sqlvar[i];
            const bool varying = (var.sqltype & ~1) == SQL_VARYING;
            buffers[std::size_t(i)].resize(std::size_t(var.sqllen) + (varying ? sizeof(unsigned short) : 0));
            var.sqldata = buffers[std::size_t(i)].data();
            var.sqlind = &nulls[std::size_t(i)];
            columns.append(QSqlField(QString::fromUtf8(var.aliasname, var.aliasname_length), QMetaType(columnType(var))));
        }
        SqlDescriptor in(1);
        if (isc_dsql_describe_bind(status, &stmt, SQL_DIALECT_V6, in.da())) fail("Cannot describe the parameters", status);
        paramCount = in.da()->sqld;
    }

    std::vector<QSqlRecord> run(const std::vector<QVariant>& params, int maxRows) {
        SqlDescriptor in(paramCount);
        std::vector<QByteArray> texts(params.size());
        std::vector<short> inNulls(params.size());
        in.da()->sqld = short(paramCount);
        for (std::size_t i = 0; i < params.size(); ++i) {
            // Firebird converts text to the parameter's own type.
            XSQLVAR& var = in.da()->sqlvar[i];
            texts[i] = params[i].toString().toUtf8();
            inNulls[i] = params[i].isNull() ? -1 : 0;
            var.sqltype = SQL_TEXT | 1;
            var.sqlsubtype = 0;
            var.sqlscale = 0;
            var.sqllen = short(texts[i].size());
            var.sqldata = texts[i].data();
            var.sqlind = &inNulls[i];
        }
        ISC_STATUS_ARRAY status{};
        std::vector<QSqlRecord> rows;
        try {
            if (isc_dsql_execute(status, &transaction(), &stmt, SQL_DIALECT_V6, paramCount ? in.da() : nullptr))
                fail("Query failed", status);
            ISC_STATUS fetched = 0;
            while ((maxRows < 0 || int(rows.size()) < maxRows) &&
                   (fetched = isc_dsql_fetch(status, &stmt, SQL_DIALECT_V6, out.da())) == 0) {
                QSqlRecord row = columns;
                for (int i = 0; i < out.da()->sqld; ++i) row.setValue(i, decodeColumn(out.da()->sqlvar[i]));
                rows.push_back(std::move(row));
            }
            if (fetched != 0 && fetched != 100) fail("Reading the rows failed", status);
            isc_dsql_free_statement(status, &stmt, DSQL_close);
        } catch (...) {
            ISC_STATUS_ARRAY ignored{};
            isc_dsql_free_statement(ignored, &stmt, DSQL_close);
            throw;
        }
        return rows;
    }
};

std::unique_ptr<ReadCommittedQuery::Statement> ReadCommittedQuery::prepareOn(const QSqlDatabase& db, const QString& sql) {
    // Qt's Firebird driver hands out its attachment's handle (an isc_db_handle).
    const QVariant handle = db.isOpen() && db.driverName() == QLatin1String("QIBASE") ? db.driver()->handle() : QVariant();
    if (handle.metaType() != QMetaType::fromType<isc_db_handle>() && std::strcmp(handle.typeName() ? handle.typeName() : "", "isc_db_handle") != 0)
        throw DatabaseError("The query needs an open Firebird connection");
    auto statement = std::make_unique<Statement>(*static_cast<const isc_db_handle*>(handle.constData()));
    statement->prepare(sql);
    return statement;
}

ReadCommittedQuery::ReadCommittedQuery(const QSqlDatabase& db, const QString& sql)
    : connectionName_(db.connectionName()), sql_(sql), statement_(prepareOn(db, sql)), columns_(statement_->columns) {}

ReadCommittedQuery::~ReadCommittedQuery() = default;

std::vector<QSqlRecord> ReadCommittedQuery::run(const std::vector<QVariant>& params, int maxRows) {
    if (int(params.size()) != statement_->paramCount)
        throw DatabaseError("The statement takes " + std::to_string(statement_->paramCount) + " parameters, not " +
                            std::to_string(params.size()));
    try {
        return statement_->run(params, maxRows);
    } catch (const DatabaseError& error) {
        // A statement kept this long can stop being usable while the connection is fine (its
        // handle or its transaction gone with a reconnect, or ended by the engine): prepared
        // again on the connection as it is now, it answers. A second failure is the database's.
        // The first is logged only: nobody waits for it, but it tells what happened.
        qWarning("A kept statement failed and is prepared again: %s", error.what());
        statement_ = prepareOn(QSqlDatabase::database(connectionName_, false), sql_);
        return statement_->run(params, maxRows);
    }
}

const QSqlRecord& ReadCommittedQuery::columns() const { return columns_; }

// ---------------------------------------------------------------- the list model

void RecordListModel::setRecords(const QSqlRecord& columns, std::vector<QSqlRecord> rows) {
    beginResetModel();
    columns_ = columns;
    rows_ = std::move(rows);
    endResetModel();
}

void RecordListModel::clear() { setRecords({}, {}); }

QSqlRecord RecordListModel::record(int row) const {
    return row >= 0 && std::size_t(row) < rows_.size() ? rows_[std::size_t(row)] : columns_;
}

int RecordListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int RecordListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_.count(); }

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return record(index.row()).value(index.column());
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    return columns_.fieldName(section);
}

}  // namespace platform
