#include "ledvikdati.h"

#include "database.h"

#include <QSqlDatabase>

TLedvikDati::TLedvikDati(QObject* owner) : QObject(owner), kases_(std::filesystem::current_path()) {
    setObjectName(QStringLiteral("LedvikDati"));
    // LedvikDatiCreate: the till connection starts closed; every step points it at its till.
    if (QSqlDatabase::contains(kPosDati)) QSqlDatabase::database(kPosDati, false).close();
}

TLedvikDati::~TLedvikDati() {
    for (const QString& connection : {kPosDati, kAutoDirekcijaDB})
        if (QSqlDatabase::contains(connection)) platform::closeDatabase(connection);
}

std::optional<QString> TLedvikDati::OpenKases() {
    try {
        kases_.load();
        kasesError_.clear();
        return std::nullopt;
    } catch (const std::exception& e) {
        kasesError_ = QString::fromStdString(e.what());
        return kasesError_;
    }
}

