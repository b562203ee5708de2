// SutaKlientus, SutaValutas, SutaLietotajus, SutaNodalas: one routine over a table of what
// differs. Each replaces one till table with the rows of one exchange table in one transaction.
#include "exchange_values.h"
#include "till_sql.h"

#include <QHash>
#include <QSet>

#include <vector>

namespace {

// Which rows are not sent.
enum class SkipRule {
    EmptyKey,             // the key parameter is empty
    EmptyOrSeenKey,       // ... or a row of that key was already inserted in this step
    KeyNotPositive,       // the key parameter is 0 or less
};

struct MasterDataStep {
    const char* startLine;
    const char* step;       // the other lines' prefix
    const char* file;
    const char* noun;       // in the commit-failure line
    const char* table;
    std::vector<const char*> insertColumns;  // after ISN
    std::vector<ExchangeField> fields;
    const char* key;        // the parameter the skip rule tests, also the row's identity
    SkipRule skip;
    bool gauge;
    // Columns only the master-data editor sets: kept from the former row of the same key.
    std::vector<const char*> kept;
};

const MasterDataStep& stepOf(MasterData table) {
    static const MasterDataStep kSteps[] = {
        {"Suta Klientus : Sāku procesu ", "Suta Klientus : ", "KLIENTI.DBF", "klientus", "N_KLIENTI",
         {"KODS", "GNOS", "ADRESE", "PVN_KODS", "ATLAIDE", "ATLIK_SUM", "ATLIK_DAT", "PINKODS"},
         {{"KODS", "KODS", ExchangeValue::Trimmed},
          {"GNOS", "NOSAUKUMS", ExchangeValue::Text},
          {"ADRESE", "ADRESE", ExchangeValue::Text},
          {"PVN_KODS", "PVN_KODS", ExchangeValue::First20},
          {"ATLAIDE", "ATLAIDE", ExchangeValue::Number},
          {"ATLIK_SUM", "ATLIK_SUM", ExchangeValue::Number},
          {"ATLIK_DAT", "ATLIK_DAT", ExchangeValue::Date},
          {"PINKODS", "PINKODS", ExchangeValue::Text}},
         "KODS", SkipRule::EmptyOrSeenKey, true,
         {"BEZATLAIDES", "ATLSUMMAX", "SLIMOKASE_ATL"}},
        {"Suta Valūtas : Sāku procesu ", "Suta Valūtas : ", "VALUTAS.DBF", "valūtas", "N_VALUTAS",
         {"VAL_KODS", "GNOS", "KURSS"},
         {{"VAL_KODS", "VAL_KODS", ExchangeValue::Trimmed},
          {"GNOS", "NOSAUKUMS", ExchangeValue::Dos},
          {"KURSS", "KURSS", ExchangeValue::Number}},
         "VAL_KODS", SkipRule::EmptyKey, false, {}},
        {"Suta Lietotājus : Sāku procesu ", "Suta Lietotājus : ", "USERS.DBF", "lietotājus", "O_USERS",
         {"GNOS", "PASWORD", "FULLNAME"},
         {{"GNOS", "INOS", ExchangeValue::TrimmedDos},
          {"PASWORD", "PASWORD", ExchangeValue::Text},
          {"FULLNAME", "GNOS", ExchangeValue::Dos}},
         "GNOS", SkipRule::EmptyKey, false,
         {"VARATGREIZT", "VAR_Z_ATSKAITI", "VARMAINITATLAIDI", "MAXATLAIDE", "VARDZEST", "KL_ELEKTRON"}},
        {"Suta Nodalas : Sāku procesu ", "Suta Nodaļas : ", "NODALAS.DBF", "Nodaļas", "N_NODALAS",
         {"NODALA_NR", "GNOS", "NODOKLIS"},
         {{"NODALA_NR", "NODALA_NR", ExchangeValue::Integer},
          {"GNOS", "NOSAUKUMS", ExchangeValue::TrimmedDos},
          {"NODOKLIS", "NODOKLIS", ExchangeValue::Number}},
         "NODALA_NR", SkipRule::KeyNotPositive, false, {}},
    };
    return kSteps[int(table)];
}

QString insertSql(const MasterDataStep& s) {
    QStringList columns{QStringLiteral("ISN")}, values{QStringLiteral("1")};
    for (const char* column : s.insertColumns) {
        columns << QLatin1String(column);
        values << ":" + QLatin1String(column);
    }
    return QString("INSERT INTO %1 (%2) values (%3)").arg(QLatin1String(s.table), columns.join(", "), values.join(", "));
}

// The kept columns of every former row, by key (the first row of a key wins).
QHash<QString, QVariantList> keptValues(const QSqlDatabase& db, const MasterDataStep& s) {
    QHash<QString, QVariantList> kept;
    if (s.kept.empty()) return kept;
    QStringList columns{QLatin1String(s.key)};
    for (const char* column : s.kept) columns << QLatin1String(column);
    QSqlQuery select = PreparedQuery(db, QString("SELECT %1 FROM %2").arg(columns.join(", "), QLatin1String(s.table)));
    Execute(select);
    while (select.next()) {
        const QString key = select.value(0).toString();
        if (kept.contains(key)) continue;
        QVariantList values;
        for (int i = 1; i < columns.size(); ++i) values << select.value(i);
        kept.insert(key, values);
    }
    return kept;
}

void restoreKept(const QSqlDatabase& db, const MasterDataStep& s, const QHash<QString, QVariantList>& kept,
                 const QSet<QString>& inserted) {
    if (s.kept.empty()) return;
    QStringList sets;
    for (const char* column : s.kept) sets << QString("%1=:%1").arg(QLatin1String(column));
    QSqlQuery update = PreparedQuery(
        db, QString("UPDATE %1 SET %2 WHERE %3=:KEY").arg(QLatin1String(s.table), sets.join(", "), QLatin1String(s.key)));
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        if (!inserted.contains(it.key())) continue;
        for (std::size_t i = 0; i < s.kept.size(); ++i) update.bindValue(":" + QLatin1String(s.kept[i]), it.value()[qsizetype(i)]);
        update.bindValue(QStringLiteral(":KEY"), it.key());
        Execute(update);
    }
}

}  // namespace

void SutaMasterData(const TransferContext& context, MasterData table, const QString& path, const QString& name) {
    const MasterDataStep& s = stepOf(table);
    const QString step = QString::fromUtf8(s.step);
    context.log.LogProcess(QString::fromUtf8(s.startLine) + name);
    std::optional<DbfTable> rows;
    try {
        rows.emplace(DbfTable::open(FindFileAnyCase(context.values.dbfFolder, s.file)));
    } catch (const std::exception& e) {
        context.log.LogFailure(step + "Nevarēju atvērt " + s.file + " " + QString::fromStdString(e.what()));
        return;
    }
    if (s.gauge) context.gauge.start(rows->recordCount());
    QSqlDatabase db;
    try {
        db = ConnectTill(path);
        BeginTransaction(db);
        const auto kept = keptValues(db, s);
        QSqlQuery remove = PreparedQuery(db, QString("DELETE FROM %1").arg(QLatin1String(s.table)));
        Execute(remove);
        QSqlQuery insert = PreparedQuery(db, insertSql(s));
        QSqlQuery seen = PreparedQuery(db, QString("SELECT ISN FROM %1 WHERE %1.%2=:KEY").arg(QLatin1String(s.table), QLatin1String(s.key)));
        std::vector<int> columns;
        for (const ExchangeField& f : s.fields) columns.push_back(rows->column(f.column));
        QSet<QString> inserted;
        for (int record = 0; record < rows->recordCount(); ++record) {
            if (s.gauge) context.gauge.step();
            if (rows->deleted(record)) continue;
            QVariant key;
            for (std::size_t i = 0; i < s.fields.size(); ++i) {
                const QVariant value = ReadExchangeValue(*rows, record, columns[i], s.fields[i].kind);
                insert.bindValue(":" + QLatin1String(s.fields[i].parameter), value);
                if (qstrcmp(s.fields[i].parameter, s.key) == 0) key = value;
            }
            if (s.skip == SkipRule::KeyNotPositive ? key.toInt() <= 0 : key.toString().isEmpty()) continue;
            if (s.skip == SkipRule::EmptyOrSeenKey) {
                seen.bindValue(QStringLiteral(":KEY"), key);
                if (FirstIsn(seen) != 0) continue;
            }
            Execute(insert);
            inserted.insert(key.toString());
        }
        restoreKept(db, s, kept, inserted);
        if (const auto error = Commit(db))
            context.log.LogFailure(step + "Pievienot " + QString::fromUtf8(s.noun) + " neizdevās " + *error);
        else
            context.log.LogProcess(step + "OK");
    } catch (const std::exception& e) {
        if (db.isOpen()) db.rollback();
        context.log.LogFailure(step + "Nevarēju pieslēgties kasei ??? " + QString::fromStdString(e.what()));
    }
    if (s.gauge) context.gauge.hide();
}
