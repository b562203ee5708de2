// A second program on a database, for tests of several processes sharing one: opens the
// connection string given as its argument and runs each line of standard input as a statement.
// A query answers the first column of its rows joined by ",", any other statement "OK", a failed
// one "ERROR " and the database's text; every answer is one line.
#include "database.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <iostream>
#include <string>

#include <signal.h>
#include <sys/prctl.h>

int main(int argc, char** argv) {
    // Ends with the test that started it, however that ends.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: sql_peer <database>\n";
        return 2;
    }
    try {
        QSqlDatabase db = platform::openDatabaseAt(platform::parseDatabaseLocation(argv[1]), QStringLiteral("PEER"));
        std::cout << "READY" << std::endl;
        std::string line;
        while (std::getline(std::cin, line)) {
            QStringList values;
            {
                QSqlQuery query(db);
                if (!query.exec(QString::fromStdString(line))) {
                    std::cout << "ERROR " << query.lastError().text().simplified().toStdString() << std::endl;
                    continue;
                }
                while (query.next()) values << query.value(0).toString();
                if (!query.isSelect()) values << QStringLiteral("OK");
            }
            std::cout << values.join(u',').toStdString() << std::endl;
        }
    } catch (const platform::DatabaseError& e) {
        std::cout << "ERROR " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
