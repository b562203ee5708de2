#include "fleet_test.h"

#include "database.h"
#include "send_receive_pass.h"

namespace {

using testsupport::FleetTest;
using tills::SoldLine;

constexpr const char* kAutoDirekcijaKey = "Software\\TOVEL\\Tillora\\AutoDirekcija";

class SecondDatabaseTest : public FleetTest {
protected:
    const QDate day{2015, 2, 10};
    const QString till = QStringLiteral("RIGA1");

    void SetUp() override {
        FleetTest::SetUp();
        fleet().addTill(till);
    }
    // The second database under the alias "AD", with the log-in the till databases take.
    void addSecondDatabase(bool onServer = false) {
        platform::defineAlias(platform::kAutoDirekcijaAlias, fleet().addSecondDatabase(onServer).toStdString());
        const platform::DatabaseLogin login = platform::tillDatabaseLogin();
        settings().writeText(kAutoDirekcijaKey, "UserName", login.user);
        settings().writeText(kAutoDirekcijaKey, "Pasword", login.password);
    }
    void send(const QString& zNr = {}) { SanemAtdKase(context(zNr), till, fleet().path(till)); }
    // KASE as "KvitsNr|Klienta_id|Pasut_ID|Summa|SummaApm|PVN|Cena|DatumsApm|Parskait|nodala|filiale_ID|Grupa", amounts
    // to the hundredth.
    QStringList kase() {
        QSqlQuery query = testsupport::execSql(fleet().secondDb(), QStringLiteral("SELECT KVITSNR, KLIENTA_ID, PASUT_ID, SUMMA, SUMMAAPM, "
                                                                                  "PVN, CENA, DATUMSAPM, PARSKAIT, NODALA, FILIALE_ID, GRUPA "
                                                                                  "FROM KASE ORDER BY KVITSNR, DATUMSAPM"));
        QStringList out;
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < 3; ++i) values << query.value(i).toString();
            for (int i = 3; i < 7; ++i) values << QString::number(query.value(i).toDouble(), 'f', 2);
            values << query.value(7).toDateTime().toString(Qt::ISODate) << query.value(8).toString() << query.value(9).toString()
                   << query.value(10).toString() << query.value(11).toString();
            out << values.join(u'|');
        }
        return out;
    }
};

TEST_F(SecondDatabaseTest, EachReceiptIsOneRowWithItsGroupLetter) {
    addSecondDatabase();
    struct Case {
        int apmVeids;
        int nodala;  // the tax group
        const char* citasZinas;
        const char* klKods;
        const char* row;  // from Klienta_id on
    };
    const Case cases[] = {
        {1, 1, "", "100", "100|0|11.80|11.80|1.80|10.00|2015-02-10T00:00:00|0| |RI|G"},
        {1, 2, "", "ABC", "0|0|11.80|11.80|0.00|11.80|2015-02-10T00:00:00|0| |RI|H"},
        {2, 1, "", "", "0|0|11.80|11.80|1.80|10.00|2015-02-10T00:00:00|1| |RI|I"},
        {2, 2, "", "", "0|0|11.80|11.80|0.00|11.80|2015-02-10T00:00:00|1| |RI|J"},
        {1, 4, "", "", "0|0|11.80|11.80|0.56|11.24|2015-02-10T00:00:00|0| |RI|K"},
        {2, 4, "", "", "0|0|11.80|11.80|0.56|11.24|2015-02-10T00:00:00|1| |RI|L"},
        {1, 1, "Pasūtījums Nr.512", "", "0|512|11.80|11.80|1.80|10.00|2015-02-10T00:00:00|0|L|RI|A"},
        {1, 2, "Pasūtījums Nr.312", "", "0|312|11.80|11.80|0.00|11.80|2015-02-10T00:00:00|0|S|RI|B"},
        {2, 1, "Pasūtījums Nr.  77", "", "0|77|11.80|11.80|1.80|10.00|2015-02-10T00:00:00|1|S|RI|C"},
        {2, 2, "Pasūtījums Nr.5", "", "0|5|11.80|11.80|0.00|11.80|2015-02-10T00:00:00|1|L|RI|D"},
        {1, 4, "Pasūtījums Nr.6", "", "0|6|11.80|11.80|0.56|11.24|2015-02-10T00:00:00|0|S|RI|E"},
        {2, 4, "Pasūtījums Nr.6", "", "0|6|11.80|11.80|0.56|11.24|2015-02-10T00:00:00|1|S|RI|F"},
        {1, 3, "", "", "0|0|11.80|11.80|0.97|10.83|2015-02-10T00:00:00|0| |RI|?"},
        {3, 1, "", "", "0|0|11.80|11.80|1.80|10.00|2015-02-10T00:00:00|1| |RI|?"},
        // Without the dot the text marks no order.
        {1, 1, "Pasūtījums Nr 512", "", "0|0|11.80|11.80|1.80|10.00|2015-02-10T00:00:00|0| |RI|G"},
    };
    QStringList expected;
    int kvitsNr = 0;
    for (const Case& c : cases) {
        ++kvitsNr;
        fleet().sell(till, kvitsNr, day, {SoldLine{QStringLiteral("1001"), 11.80, 1, 0, c.nodala}}, false, QString::fromUtf8(c.klKods),
                     c.apmVeids, QString::fromUtf8(c.citasZinas));
        expected << QString::number(kvitsNr) + "|" + QString::fromUtf8(c.row);
    }
    send();
    EXPECT_EQ(kase(), expected);
    EXPECT_EQ(lines(), (QStringList{"Saņem ATD KASE : Sāku procesu", "Saņem ATD KASE : OK"}));
}

TEST_F(SecondDatabaseTest, AnOrderNumberThatIsNoNumberSendsNothingOfTheTill) {
    addSecondDatabase();
    fleet().sell(till, 1, day, {{"1001", 1, 1}});
    fleet().sell(till, 2, day, {{"1001", 1, 1}}, false, {}, 1, QStringLiteral("Pasūtījums Nr.312 galds 4"));
    send();
    EXPECT_TRUE(kase().isEmpty());
    EXPECT_EQ(lines().last(), "Saņem ATD KASE : Nevarēju pieslēgties kasei ??? receipt 2: the order number \"312 galds 4\" is not a number");
}

TEST_F(SecondDatabaseTest, AReceiptsTaxGroupsAreSummedAndZRowsAreReceiptZero) {
    addSecondDatabase();
    fleet().sell(till, 1, day, {{"1001", 11.80, 1, 0, 1}, {"1002", 2.50, 2, 0, 2}, {"1003", 10.50, 1, 0, 3}});
    fleet().annul(till, 2, day, {{"1001", 5, 1}});
    fleet().zReport(till, 1, day);
    fleet().sell(till, 3, day.addMonths(2), {{"1001", 5, 1}});
    fleet().zReport(till, 2, day.addMonths(2));
    send();
    const QStringList rows = kase();
    ASSERT_EQ(rows.size(), 2) << rows.join(u'\n').toStdString();
    // The Z row of the period's date: no amount, no payment kind.
    EXPECT_EQ(rows[0], "0|0|0|0.00|0.00|0.00|0.00|2015-02-10T00:00:00|1| |RI|?");
    // 11.80 + 5.00 + 10.50; tax 1.80 + 0 + 0.87.
    EXPECT_TRUE(rows[1].startsWith("1|0|0|27.30|27.30|2.67|24.63|2015-02-10T00:00:00|0| |RI|")) << rows[1].toStdString();
}

// A pass run again over the same period or Z report, or over a later one, sends each receipt
// once; another till's receipt of the same number and date is its own.
TEST_F(SecondDatabaseTest, ARerunDoublesNoReceipt) {
    addSecondDatabase();
    fleet().sell(till, 1, day, {{"1001", 1, 1}});
    fleet().sell(till, 2, day, {{"1001", 2, 1}});
    fleet().zReport(till, 1, day);
    fleet().sell(till, 3, day.addDays(1), {{"1001", 3, 1}});
    fleet().zReport(till, 2, day.addDays(1));
    send(QStringLiteral("1"));
    const QStringList first = kase();
    EXPECT_EQ(first.size(), 3) << first.join(u'\n').toStdString();
    send(QStringLiteral("1"));
    EXPECT_EQ(kase(), first);
    send();
    send();
    send(QStringLiteral("2"));
    const QStringList all = kase();
    ASSERT_EQ(all.size(), 5) << all.join(u'\n').toStdString();
    EXPECT_TRUE(all[0].startsWith("0|0|0|0.00|0.00|0.00|0.00|2015-02-10T00:00:00|")) << all[0].toStdString();
    EXPECT_TRUE(all[1].startsWith("0|0|0|0.00|0.00|0.00|0.00|2015-02-11T00:00:00|")) << all[1].toStdString();
    for (int n = 1; n <= 3; ++n) EXPECT_TRUE(all[n + 1].startsWith(QString("%1|0|0|%1.00|").arg(n))) << all[n + 1].toStdString();
    EXPECT_EQ(lines().count(QStringLiteral("Saņem ATD KASE : OK")), 5);

    const QString other = QStringLiteral("LIEPAJA");
    fleet().addTill(other);
    fleet().sell(other, 1, day, {{"1001", 7, 1}});
    SanemAtdKase(context(), other, fleet().path(other));
    SanemAtdKase(context(), other, fleet().path(other));
    QSqlQuery rows = testsupport::execSql(fleet().secondDb(), QStringLiteral("SELECT FILIALE_ID, KVITSNR, SUMMA FROM KASE WHERE KVITSNR = 1 ORDER BY FILIALE_ID"));
    QStringList ones;
    while (rows.next()) ones << rows.value(0).toString() + "|" + rows.value(1).toString() + "|" + rows.value(2).toString();
    EXPECT_EQ(ones, (QStringList{"LI|1|7", "RI|1|1"}));
}

TEST_F(SecondDatabaseTest, ARefusedReceiptIsNamedLeavesNothingOfTheTillAndARerunDoublesNothing) {
    addSecondDatabase();
    fleet().sell(till, 1, day, {{"1001", 1, 1}});
    send();
    ASSERT_EQ(kase().size(), 1);
    for (int n = 2; n <= 4; ++n) fleet().sell(till, n, day, {{"1001", double(n), 1}});
    fleet().refuseKvitsNr(3);
    clearLines();
    send();
    EXPECT_EQ(kase().size(), 1);
    ASSERT_EQ(lines().size(), 2);
    EXPECT_TRUE(lines()[1].startsWith("Saņem ATD KASE : Nevarēju pieslēgties kasei ??? receipt 3 of 10.02.2015 not taken, the till's "
                                      "receipts wait for the next pass: "))
        << lines()[1].toStdString();
    EXPECT_TRUE(lines()[1].contains("The second database refuses KVITSNR 3")) << lines()[1].toStdString();

    testsupport::execSql(fleet().secondDb(), QStringLiteral("DROP TRIGGER KASE_REFUSE"));
    fleet().closeConnections();
    send();
    const QStringList rows = kase();
    ASSERT_EQ(rows.size(), 4) << rows.join(u'\n').toStdString();
    for (int n = 1; n <= 4; ++n) EXPECT_TRUE(rows[n - 1].startsWith(QString("%1|0|0|%1.00|").arg(n))) << rows[n - 1].toStdString();
}

// KASE knows a till by the first two letters of its name: a second till of the same two is not
// sent there (its receipts would be taken for the first one's and skipped), and the pass names it;
// two rows of one database are one till.
TEST_F(SecondDatabaseTest, ATillKaseCannotTellFromAnEarlierOneIsNotSentThere) {
    addSecondDatabase();
    const QString twin = QStringLiteral("RIGA2");
    fleet().addTill(twin);
    fleet().sell(till, 1, day, {{"1001", 1, 1}});
    fleet().sell(twin, 1, day, {{"1001", 2, 1}});
    LedvikChecks checks;
    checks.AtdKase = true;
    const std::vector<TillRow> kases = {{till, fleet().path(till), "F", {}}, {twin, fleet().path(twin), "F", {}}, {"RIGA", fleet().path(till), "F", {}}};
    EXPECT_EQ(RunSendReceivePass(context(), checks, kases), QStringList{twin});
    const QStringList rows = kase();
    ASSERT_EQ(rows.size(), 1) << rows.join(u'\n').toStdString();
    EXPECT_TRUE(rows[0].startsWith("1|0|0|1.00|")) << rows[0].toStdString();
    EXPECT_TRUE(lines().contains("Saņem ATD KASE : not sent: KASE cannot tell till RIGA2 from till RIGA1 (filiale_ID \"RI\")"))
        << lines().join(u'\n').toStdString();
    EXPECT_EQ(lines().count("Saņem ATD KASE : OK"), 2);
}

TEST_F(SecondDatabaseTest, AZNumberChoosesTheReceiptsAndOneTheTillLacksIsItsFailure) {
    addSecondDatabase();
    for (int z = 1; z <= 2; ++z) {
        fleet().sell(till, z, day, {{"1001", double(z), 1}});
        fleet().zReport(till, z, day);
    }
    send(QStringLiteral("2"));
    ASSERT_EQ(kase().size(), 2);
    EXPECT_TRUE(kase()[0].startsWith("0|")) << kase()[0].toStdString();
    EXPECT_TRUE(kase()[1].startsWith("2|0|0|2.00|")) << kase()[1].toStdString();
    clearLines();
    send(QStringLiteral("3"));
    EXPECT_EQ(kase().size(), 2);
    EXPECT_EQ(lines(), (QStringList{"Saņem ATD KASE : Sāku procesu", "Saņem ATD KASE : kasē nav Z atskaites Nr. 3"}));
}

TEST_F(SecondDatabaseTest, AnUnreachableTillOrSecondDatabaseIsLogged) {
    fleet().sell(till, 1, day, {{"1001", 1, 1}});
    // No alias "AD" yet.
    send();
    ASSERT_EQ(lines().size(), 2);
    EXPECT_EQ(lines()[1], "Saņem ATD KASE : Nevarēju pieslēgties kasei ??? Database alias \"AD\" is not defined");

    addSecondDatabase();
    clearLines();
    SanemAtdKase(context(), till, tills::TillFleet::refusedServerPath());
    ASSERT_EQ(lines().size(), 2);
    EXPECT_TRUE(lines()[1].startsWith("Saņem ATD KASE : Nevarēju pieslēgties kasei ??? Cannot open database")) << lines()[1].toStdString();
    EXPECT_TRUE(kase().isEmpty());
}

TEST_F(SecondDatabaseTest, TheSecondDatabaseOnAServerTakesTheLogInOfItsKey) {
    if (testsupport::testFirebirdServer().empty()) GTEST_SKIP() << "no Firebird server (run through scripts/test)";
    addSecondDatabase(true);
    fleet().sell(till, 1, day, {{"1001", 1, 1}});
    settings().writeText(kAutoDirekcijaKey, "Pasword", "wrong");
    send();
    ASSERT_EQ(lines().size(), 2);
    EXPECT_TRUE(lines()[1].startsWith("Saņem ATD KASE : Nevarēju pieslēgties kasei ??? ")) << lines()[1].toStdString();
    EXPECT_TRUE(kase().isEmpty());

    settings().writeText(kAutoDirekcijaKey, "Pasword", platform::tillDatabaseLogin().password);
    send();
    EXPECT_EQ(kase().size(), 1);
}

}  // namespace
