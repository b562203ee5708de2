// Choosing a customer by code: the texts a code field is looked up by, the scan-only timing rule,
// the look-up in the customer list, and the credit-limit sum on a real database.
#include "customer_choice.h"

#include "read_committed_query.h"
#include "test_database.h"

#include <gtest/gtest.h>

#include <QSqlRecord>

namespace {

TEST(CustomerCodeTexts, CutAtEqualsAndLeadingZeros) {
    const struct {
        const char* field;
        const char* shortened;
        const char* full;
    } cases[] = {
        {"12345=6789", "12345", "12345"},
        {";=12", ";=12", ";=12"},             // a code beginning with ";=" is not cut
        {"=5", "", ""},
        {"0001234", "1234", "0001234"},
        {"0000000123", "00123", "0000000123"},  // at most five zeros go
        {"000=7", "", "000"},
        {"K002", "K002", "K002"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const CustomerCodes codes = CustomerCodeTexts(c.field);
        EXPECT_EQ(codes.shortened, c.shortened) << c.field;
        EXPECT_EQ(codes.full, c.full) << c.field;
    }
}

TEST(CustomerCodeTiming, ScannedWithinTheLimitPasses) {
    const double ten = DayFraction(10, 0, 0, 0);
    const struct {
        double stamp;
        double now;
        bool byHand;
    } cases[] = {
        {ten, DayFraction(10, 0, 0, 430), false},
        {ten, DayFraction(10, 0, 0, 440), true},
        {ten, ten, false},
        {DayFraction(23, 59, 59, 900), DayFraction(0, 0, 0, 300), false},  // midnight passed: negative
        {0, ten, true},  // never stamped: an empty field left long after
    };
    for (const auto& c : cases) EXPECT_EQ(TypedByHand(c.stamp, c.now), c.byHand) << c.stamp << " " << c.now;
    EXPECT_DOUBLE_EQ(DayFraction(12, 0, 0, 0), 0.5);
}

class CustomerData : public testsupport::DatabaseTest {
protected:
    void addCustomer(const QString& kods, const QString& gnos, double atlaide, const QVariant& pin = {}) {
        exec("INSERT INTO N_KLIENTI (KODS, GNOS, ADRESE, PVN_KODS, ATLAIDE, PINKODS) VALUES (:K, :G, '  Iela 1 ', ' LV1 ', :A, :P)",
             {{"K", kods}, {"G", gnos}, {"A", atlaide}, {"P", pin}});
    }
    void addRow(const QString& kods, const QDate& datums, double summa, int nodala, const char* anulets = "F") {
        exec("INSERT INTO REALIZ (CEKA_NR, DATUMS, KL_KODS, ARTIKULS, CENA, DAUDZUMS, ATLAIDE, NODOKLIS, ANULETS) "
             "VALUES (1, :D, :K, 'A', :C, 2, 0, :N, :AN)",
             {{"D", datums}, {"K", kods}, {"C", summa / 2}, {"N", nodala}, {"AN", anulets}});
    }
    // The customer list as the data module reads it.
    void readCustomers(platform::RecordListModel& model) {
        platform::ReadCommittedQuery query(db(), "SELECT * FROM N_KLIENTI ORDER BY GNOS");
        model.setRecords(query.columns(), query.run());
    }
};

TEST_F(CustomerData, FoundByCodeIgnoringLetterCaseInNameOrder) {
    addCustomer("abc", "Zeta", 0);
    addCustomer("ABC", "Alfa", 2.5, "Pq1");
    addCustomer("00123", "Nulles", 0);
    platform::RecordListModel model;
    readCustomers(model);
    const std::optional<int> row = FindCustomerRow(model, "Abc");
    ASSERT_TRUE(row);
    const ShownCustomer shown = ShowCustomer(model.record(*row));
    EXPECT_EQ(shown.nosaukums, "Alfa");  // the first in GNOS order
    EXPECT_EQ(shown.adrese, "Iela 1");
    EXPECT_EQ(shown.regNr, "LV1");
    EXPECT_EQ(shown.atlaide, "2.5");
    EXPECT_EQ(CustomerPin(model.record(*row)), "Pq1");
    EXPECT_FALSE(FindCustomerRow(model, "AB"));  // whole values only
    EXPECT_FALSE(FindCustomerRow(model, "123"));
    EXPECT_TRUE(FindCustomerRow(model, "00123"));
}

TEST_F(CustomerData, CreditSumSinceTheDateWithoutAnnulledRowsAndDeposits) {
    const QDate since(2024, 5, 1);
    addRow("K1", since, 70, 1);
    addRow("K1", since.addDays(3), 50, 3);
    addRow("K1", since.addDays(-1), 500, 1);      // before ATLIK_DAT
    addRow("K1", since.addDays(1), 400, 1, "T");  // annulled
    addRow("K2", since, 300, 1);                  // another customer
    addRow("K1", since, 30, 20);                  // a money deposit
    EXPECT_NEAR(CreditUsed(db(), "K1", QDateTime(since, QTime(0, 0))), 90, 1e-9);

    platform::RecordListModel model;
    readCustomers(model);
    QSqlRecord customer = model.record();
    customer.setValue("KODS", "K1");
    customer.setValue("ATLIK_DAT", QDateTime(since, QTime(0, 0)));
    customer.setValue("ATLIK_SUM", 100.0);
    EXPECT_FALSE(CreditLimitExceeded(db(), customer));  // 120 - 30 = 90
    exec("UPDATE REALIZ SET CENA = 5 WHERE NODOKLIS = 20");  // deposit of 10: 110
    EXPECT_TRUE(CreditLimitExceeded(db(), customer));

    // Without a limit no query runs: not even on a database that is not there.
    customer.setValue("ATLIK_SUM", 0.0);
    EXPECT_FALSE(CreditLimitExceeded(QSqlDatabase(), customer));
}

}  // namespace
