// A statement that reads committed data in a transaction of its own per run: what another
// connection commits after it was prepared, the columns as Qt's driver gives them, refusals.
#include "captured_log.h"
#include "database.h"
#include "read_committed_query.h"
#include "test_database.h"

#include <QDateTime>

namespace {

class ReadCommittedQueryTest : public testsupport::DatabaseTest {
protected:
    // A second connection of this process, committing each statement.
    QSqlDatabase other() {
        if (!QSqlDatabase::contains("OTHER")) return platform::openDatabase(platform::kPosDbAlias, "OTHER");
        return QSqlDatabase::database("OTHER");
    }
    void TearDown() override {
        if (QSqlDatabase::contains("OTHER")) platform::closeDatabase("OTHER");
        DatabaseTest::TearDown();
    }
    QString name(platform::ReadCommittedQuery& query, const char* code) {
        const auto rows = query.run({QString::fromLatin1(code)});
        return rows.empty() ? QStringLiteral("<none>") : rows.front().value("GNOS").toString();
    }
};

TEST_F(ReadCommittedQueryTest, EachRunSeesWhatOthersCommittedMeanwhile) {
    platform::ReadCommittedQuery query(db(), "SELECT GNOS FROM N_VALUTAS WHERE VAL_KODS = ?");
    EXPECT_EQ(name(query, "USD"), "<none>");
    testsupport::execSql(other(), "INSERT INTO N_VALUTAS (ISN, VAL_KODS, GNOS, KURSS) VALUES (1, 'USD', 'Dolārs', 1)");
    EXPECT_EQ(name(query, "USD"), "Dolārs");
    testsupport::execSql(other(), "UPDATE N_VALUTAS SET GNOS = 'ASV dolārs' WHERE ISN = 1");
    EXPECT_EQ(name(query, "USD"), "ASV dolārs");

    // The only transaction the connection holds is the statement's: read only, read committed
    // (isolation 2, record versions), which holds back no garbage collection.
    const int attachment = value("SELECT CURRENT_CONNECTION FROM RDB$DATABASE").toInt();
    QSqlQuery open = testsupport::execSql(
        other(), "SELECT MON$ISOLATION_MODE, MON$READ_ONLY FROM MON$TRANSACTIONS WHERE MON$ATTACHMENT_ID = :A", {{"A", attachment}});
    ASSERT_TRUE(open.next());
    EXPECT_EQ(open.value(0).toInt(), 2);
    EXPECT_EQ(open.value(1).toInt(), 1);
    EXPECT_FALSE(open.next());
}

TEST_F(ReadCommittedQueryTest, AStatementThatOutlivedItsAttachmentIsPreparedAgain) {
    exec("INSERT INTO N_VALUTAS (ISN, VAL_KODS, GNOS, KURSS) VALUES (1, 'USD', 'Dolārs', 1)");
    platform::ReadCommittedQuery query(db(), "SELECT GNOS FROM N_VALUTAS WHERE VAL_KODS = ?");
    EXPECT_EQ(name(query, "USD"), "Dolārs");
    // The connection opened again under its name, as the till's data module opens one it finds
    // closed: the statement and its transaction went with the old attachment.
    platform::openDatabase(platform::kPosDbAlias, kTestConnection);
    {
        testsupport::CapturedLog log;
        EXPECT_EQ(name(query, "USD"), "Dolārs");
        EXPECT_TRUE(log.has("A kept statement failed and is prepared again: Query failed")) << log.lines().join(" | ").toStdString();
    }
    exec("UPDATE N_VALUTAS SET GNOS = 'ASV dolārs' WHERE ISN = 1");
    EXPECT_EQ(name(query, "USD"), "ASV dolārs");
}

TEST_F(ReadCommittedQueryTest, ColumnsComeAsTheDriverGivesThem) {
    platform::ReadCommittedQuery query(
        db(),
        "SELECT 7 AS I, CAST(2.5 AS DOUBLE PRECISION) AS D, CAST(12.34 AS NUMERIC(15,2)) AS N, CAST(5000000000 AS BIGINT) AS B,"
        " 'Ābols' AS T, CAST('Āb' AS CHAR(4)) AS C, CAST(NULL AS VARCHAR(5)) AS Z, DATE '2026-03-02' AS DT, TIMESTAMP '2026-03-02 10:15:30.5' AS TS,"
        " TIME '23:59:01' AS TM, TRUE AS BO FROM RDB$DATABASE");
    const auto rows = query.run();
    ASSERT_EQ(rows.size(), 1u);
    const QSqlRecord& r = rows.front();
    EXPECT_EQ(r.value("I"), QVariant(7));
    EXPECT_EQ(r.value("D").toDouble(), 2.5);
    EXPECT_EQ(r.value("N").metaType().id(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(r.value("N").toDouble(), 12.34);
    EXPECT_EQ(r.value("B").toLongLong(), 5000000000LL);
    EXPECT_EQ(r.value("T").toString(), "Ābols");
    EXPECT_EQ(r.value("C").toString(), "Āb  ");
    EXPECT_TRUE(r.value("Z").isNull());
    EXPECT_EQ(r.value("Z").metaType().id(), QMetaType::QString);
    EXPECT_EQ(r.value("DT").toDate(), QDate(2026, 3, 2));
    EXPECT_EQ(r.value("TS").toDateTime(), QDateTime(QDate(2026, 3, 2), QTime(10, 15, 30, 500)));
    EXPECT_EQ(r.value("TM").toTime(), QTime(23, 59, 1));
    EXPECT_EQ(r.value("BO").toBool(), true);
    EXPECT_EQ(query.columns().count(), 11);
    EXPECT_EQ(query.columns().fieldName(4), "T");
}

TEST_F(ReadCommittedQueryTest, RowLimitAndRefusals) {
    for (int isn : {1, 2, 3})
        exec("INSERT INTO N_VALUTAS (ISN, VAL_KODS, GNOS, KURSS) VALUES (:I, 'X', 'X', 1)", {{"I", isn}});
    platform::ReadCommittedQuery query(db(), "SELECT ISN FROM N_VALUTAS WHERE VAL_KODS = ? ORDER BY ISN");
    EXPECT_EQ(query.run({"X"}, 2).size(), 2u);
    EXPECT_EQ(query.run({"X"}).size(), 3u);

    EXPECT_THROW(query.run({}), platform::DatabaseError);
    EXPECT_THROW(query.run({"X", "Y"}), platform::DatabaseError);
    try {
        platform::ReadCommittedQuery bad(db(), "SELECT NOPE FROM N_VALUTAS");
        ADD_FAILURE() << "prepared";
    } catch (const platform::DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("NOPE"), std::string::npos) << e.what();
    }
    QSqlDatabase closed;
    EXPECT_THROW(platform::ReadCommittedQuery(closed, "SELECT 1 FROM RDB$DATABASE"), platform::DatabaseError);
}

}  // namespace
