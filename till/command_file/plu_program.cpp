// PRG: defines an item in the till database's item table, or updates the item of that code.
#include "command_file_messages.h"
#include "command_interpreter.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <stdexcept>

namespace command_file {

namespace {

constexpr int kMervienibaWidth = 13;

void run(QSqlQuery& query) {
    if (!query.exec()) throw std::runtime_error(query.lastError().text().toStdString());
}

void prepare(QSqlQuery& query, const QString& sql) {
    if (!query.prepare(sql)) throw std::runtime_error(query.lastError().text().toStdString());
}

}  // namespace

QString CommandInterpreter::CmdProgramPlu(const CommandLine& line) {
    const QString& args = line.arguments;
    const QString plu = KeyValue(args, u"PLU").value_or(QString());
    const QString unit = KeyValue(args, u"MERV").value_or(QString()).left(kMervienibaWidth);
    const QString name = KeyValue(args, u"GNOS").value_or(QString());
    const int department = ParseInteger(KeyValue(args, u"NODALA").value_or(QString())).value_or(1);
    const double price = ParseDecimal(KeyValue(args, u"CENA").value_or(QString())).value_or(0);
    if (plu.isEmpty()) return messages::kNavArtikula;
    if (name.isEmpty()) return messages::kNavNosaukuma;

    QSqlQuery query(till_.PosDb());
    prepare(query, QStringLiteral("SELECT ISN FROM N_PRECE WHERE ARTIKULS=:ARTIKULS"));
    query.bindValue(QStringLiteral(":ARTIKULS"), plu);
    run(query);
    const int isn = query.next() ? query.value(0).toInt() : 0;
    query.finish();

    if (isn == 0) {
        prepare(query, QStringLiteral("INSERT INTO N_PRECE (GNOS, MERVIENIBA, NODALA, CENA, ARTIKULS) "
                                      "VALUES (:GNOS, :MERVIENIBA, :NODALA, :CENA, :ARTIKULS)"));
        query.bindValue(QStringLiteral(":ARTIKULS"), plu);
    } else {
        prepare(query, QStringLiteral("UPDATE N_PRECE SET GNOS=:GNOS, MERVIENIBA=:MERVIENIBA, NODALA=:NODALA, "
                                      "CENA=:CENA WHERE ISN=:ISN"));
        query.bindValue(QStringLiteral(":ISN"), isn);
    }
    query.bindValue(QStringLiteral(":GNOS"), name);
    query.bindValue(QStringLiteral(":MERVIENIBA"), unit);
    query.bindValue(QStringLiteral(":NODALA"), department);
    query.bindValue(QStringLiteral(":CENA"), price);
    run(query);
    return messages::kOk;
}

}  // namespace command_file
