#include "transfer_steps.h"

#include "database.h"

QSqlDatabase ConnectTill(const QString& path) {
    if (QSqlDatabase::contains(kPosDati)) QSqlDatabase::database(kPosDati, false).close();
    return platform::openDatabaseAt(platform::parseDatabaseLocation(path.toStdString()), kPosDati, platform::tillDatabaseLogin());
}

QString TrimmedText(const QString& text) {
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] <= u' ') ++first;
    while (last > first && text[last - 1] <= u' ') --last;
    return text.mid(first, last - first);
}
