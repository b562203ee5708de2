// Taking back a stored receipt: the rows read by number, the pre-euro divisor, the question and
// the item-field texts, and the payment kind found by its number.
#include "receipt_return.h"

#include "test_database.h"

#include <gtest/gtest.h>

namespace {

TEST(ReceiptReturnTexts, EuroDivisorQuestionAndEntries) {
    EXPECT_DOUBLE_EQ(ReturnDivisor(QDate(2013, 12, 31)), 0.702804);
    EXPECT_DOUBLE_EQ(ReturnDivisor(QDate(2014, 1, 1)), 1.0);
    EXPECT_EQ(ReturnQuestion(7.03, 0.702804), "Čeka summa   10.00 \n Vai veikt čeka atgriešanu ?");
    EXPECT_EQ(ReturnQuestion(12.5, 1), "Čeka summa   12.50 \n Vai veikt čeka atgriešanu ?");
    ReturnRow row;
    row.daudzums = 2;
    row.artikuls = "4750001000017";
    row.cena = 1.51;
    EXPECT_EQ(ReturnEntryText(row, 0.702804), "  2.000*4750001000017= 2.1485");
    row.cena = 2.15;
    EXPECT_EQ(ReturnEntryText(row, 1), "  2.000*4750001000017= 2.1500");
    EXPECT_EQ(ReturnNumber("41"), 41);
    EXPECT_EQ(ReturnNumber("4x"), 0);
    EXPECT_EQ(ReturnNumber(""), 0);
}

TEST(ReceiptReturnTexts, PaymentKindByItsNumber) {
    PaymentKindList kinds;
    kinds.add(0, "0-Skaidra nauda");
    kinds.add(1, "1-Bankas karte");
    kinds.add(2, "2-Dāvanu karte");
    kinds.add(4, "4-Pārskaitījums");  // kind 3 not in use
    kinds.add(12, kSecondCurrencyText);
    const struct {
        int apmVeids;
        int kind;
    } cases[] = {{1, 0}, {2, 1}, {3, 2}, {5, 4}, {4, 0}, {13, 0}, {0, 0}, {99, 0}};
    for (const auto& c : cases) EXPECT_EQ(ReturnPaymentKind(kinds, c.apmVeids), c.kind) << c.apmVeids;
}

class StoredReceiptRead : public testsupport::DatabaseTest {
protected:
    void addRow(int cekaNr, const QDate& datums, const char* artikuls, double cena, double daudzums, double atlaide,
                const char* anulets = "F") {
        exec("INSERT INTO REALIZ (CEKA_NR, DATUMS, KL_KODS, KL_NOSAUKUMS, KL_REG_NR, ARTIKULS, CENA, DAUDZUMS, ATLAIDE, "
             "APM_RINDA, CITASZINAS, APM_VEIDS, ANULETS) VALUES (:N, :D, 'K1', 'Vārds', 'LV1', :A, :C, :Q, :AT, '/0=1/1=2', "
             "'Zīmes', 3, :AN)",
             {{"N", cekaNr}, {"D", datums}, {"A", artikuls}, {"C", cena}, {"Q", daudzums}, {"AT", atlaide}, {"AN", anulets}});
    }
};

TEST_F(StoredReceiptRead, RowsOfTheNumberWithoutAnnulledOnes) {
    addRow(7, QDate(2013, 6, 1), "A", 1.005, 2, 0);   // 2.01
    addRow(7, QDate(2013, 6, 2), "B", 3.333, 1, 10);  // 2.9997: 3.00
    addRow(7, QDate(2013, 6, 1), "C", 100, 1, 0, "T");
    addRow(8, QDate(2013, 6, 1), "D", 100, 1, 0);
    const StoredReceipt r = ReadStoredReceipt(db(), 7);
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.datums, QDate(2013, 6, 1));
    EXPECT_NEAR(r.total, 5.01, 1e-9);
    EXPECT_EQ(r.rows[1].artikuls, "B");
    EXPECT_DOUBLE_EQ(r.rows[1].atlaide, 10);
    EXPECT_EQ(r.rows[0].klKods, "K1");
    EXPECT_EQ(r.rows[0].klNosaukums, "Vārds");
    EXPECT_EQ(r.rows[0].klRegNr, "LV1");
    EXPECT_EQ(r.rows[0].apmRinda, "/0=1/1=2");
    EXPECT_EQ(r.rows[0].citasZinas, "Zīmes");
    EXPECT_EQ(r.rows[0].apmVeids, 3);
    EXPECT_TRUE(ReadStoredReceipt(db(), 9).rows.empty());
    EXPECT_EQ(ReadStoredReceipt(db(), 9).total, 0);
}

}  // namespace
