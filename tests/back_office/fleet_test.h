// The back office's test fixture: a fleet of till databases, the exchange folder "dbf" beside
// them and a process log whose lines the test reads.
#pragma once

#include "till_fleet.h"
#include "transfer_steps.h"

#include "test_database.h"
#include "test_environment.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <memory>

namespace testsupport {

class FleetTest : public TestEnvironment {
protected:
    void SetUp() override {
        TestEnvironment::SetUp();
        fleet_ = std::make_unique<tills::TillFleet>(dir() / "tills", testFirebirdServer());
        std::filesystem::create_directories(dbf());
        log_ = std::make_unique<ProcessLog>([this](const QString& line) { lines_ << line.section(u' ', 2); });
    }
    void TearDown() override {
        fleet_.reset();
        for (const QString& name : QSqlDatabase::connectionNames()) QSqlDatabase::database(name, false).close();
        TestEnvironment::TearDown();
    }

    tills::TillFleet& fleet() { return *fleet_; }
    std::filesystem::path dbf() const { return dir() / "dbf"; }
    // The logged texts without date and time.
    const QStringList& lines() const { return lines_; }
    void clearLines() { lines_.clear(); }

    TransferContext context(const QString& zNr = {}) {
        return {{dbf(), naudaLimits, QStringLiteral("Rinda 1"), QStringLiteral("Rinda 2"), QDate(2015, 2, 1), QDate(2015, 2, 28), zNr},
                *log_,
                {}};
    }

    // Rows of a query on a till as "a|b|c" texts (NULL as nothing).
    QStringList rows(const QString& till, const QString& sql) {
        QSqlQuery query = execSql(fleet().db(till), sql);
        QStringList out;
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i) values << (query.isNull(i) ? QString() : query.value(i).toString());
            out << values.join(u'|');
        }
        return out;
    }

    QString naudaLimits = QStringLiteral("600.00");

private:
    std::unique_ptr<tills::TillFleet> fleet_;
    std::unique_ptr<ProcessLog> log_;
    QStringList lines_;
};

}  // namespace testsupport
