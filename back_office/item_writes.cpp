#include "item_writes.h"

#include "till_sql.h"

namespace {

QString updateSql(const QStringList& columns) {
    QStringList sets;
    for (const QString& c : columns) sets << QString("%1=:%1").arg(c);
    return "UPDATE N_PRECE SET " + sets.join(QStringLiteral(", ")) + " WHERE ARTIKULS=:ARTIKULS";
}

QString insertSql(const QStringList& columns) {
    QStringList names{QStringLiteral("ISN"), QStringLiteral("ARTIKULS")}, values{QStringLiteral("1"), QStringLiteral(":ARTIKULS")};
    for (const QString& c : columns) {
        names << c;
        values << ":" + c;
    }
    return "INSERT INTO N_PRECE (" + names.join(QStringLiteral(", ")) + ") VALUES (" + values.join(QStringLiteral(", ")) + ")";
}

}  // namespace

ItemWrites::ItemWrites(const QSqlDatabase& db, const QStringList& columns, const TransferContext& context)
    : context_(context),
      columns_(columns),
      lookUp_(PreparedQuery(db, QStringLiteral("SELECT ISN FROM N_PRECE WHERE ARTIKULS=:ARTIKULS"))),
      update_(PreparedQuery(db, updateSql(columns))),
      insert_(PreparedQuery(db, insertSql(columns))) {}

void ItemWrites::write(const QString& artikuls, const QVariantList& values, const std::function<QString()>& itemText) {
    lookUp_.bindValue(QStringLiteral(":ARTIKULS"), artikuls);
    const bool known = FirstIsn(lookUp_) > 0;
    QSqlQuery& statement = known ? update_ : insert_;
    statement.bindValue(QStringLiteral(":ARTIKULS"), artikuls);
    for (qsizetype i = 0; i < columns_.size(); ++i) statement.bindValue(":" + columns_[i], values.value(i));
    if (statement.exec()) return;
    const QString error = statement.lastError().text();
    context_.log.LogFailure(kItemsStep + (known ? "UPDATE ??? " + error : "INSERT ??? " + itemText() + " " + error));
}

void WriteItemsToTill(const TransferContext& context, const QString& path, const std::function<void(QSqlDatabase&)>& body) {
    QSqlDatabase db;
    try {
        db = ConnectTill(path);
        BeginTransaction(db);
        body(db);
        if (const auto error = Commit(db))
            context.log.LogFailure(kItemsStep + "Pievienot preces neizdevās " + *error);
        else
            context.log.LogProcess(kItemsStep + "OK");
    } catch (const std::exception& e) {
        if (db.isOpen()) db.rollback();
        context.log.LogFailure(kItemsStep + "Nevarēju pieslēgties kasei ??? " + QString::fromStdString(e.what()));
    }
    context.gauge.hide();
}
