// Storing a registered receipt: the REALIZ rows of a sale and a return, all or none, the receipt
// number from the counter, the text copy.
#include "closing_fixture.h"
#include "receipt_store.h"

#include <QSqlRecord>

namespace {

class ReceiptStore : public ClosingTest {
protected:
    ClosingReceipt Receipt(bool isReturn = false) {
        TCekaRinda box = Line("BOX", 0.50, 1, 3, 0, 12);  // a box of 12 scanned once
        box.Bonuss = 2;
        box.ApmVeids = 2;
        TCekaRinda free = Line("GIFT", 4.00, 1, 5, 100);
        TCekaRinda typed = Line("999", 1.99, 3, 1, 10);
        typed.Nosaukums = "---";
        lines = {box, free, typed};
        ClosingReceipt receipt;
        receipt.lines = lines;
        receipt.isReturn = isReturn;
        receipt.CekaSumma = 6.00 + 0 + 5.37;
        receipt.Sanemts = 20.00;
        return receipt;
    }
    ReceiptRows Rows(const QString& paymentText = "/0=20.00") {
        ReceiptRows rows;
        rows.CekaNr = 42;
        rows.Datums = QDate(2024, 3, 5);
        rows.Laiks = RealizLaiks(9, 5, 3);
        rows.KlKods = "0";
        rows.ApmVeids = 4;  // kind 4, whatever its place in the list
        rows.Kasieris = "ANNA";
        rows.PaymentText = paymentText;
        rows.CitasZinas = "Līgums 7";
        return rows;
    }
    std::vector<QSqlRecord> Stored() {
        std::vector<QSqlRecord> out;
        QSqlQuery query = exec("SELECT * FROM REALIZ ORDER BY ISN");
        while (query.next()) out.push_back(query.record());
        return out;
    }

    std::vector<TCekaRinda> lines;
};

TEST_F(ReceiptStore, SaleRowsCarryEveryColumn) {
    StoreReceiptRows(db(), Receipt(), Rows());
    const auto rows = Stored();
    ASSERT_EQ(rows.size(), 3u);
    const QSqlRecord& box = rows[0];
    EXPECT_EQ(box.value("CEKA_NR").toInt(), 42);
    EXPECT_EQ(box.value("DATUMS").toDate(), QDate(2024, 3, 5));
    EXPECT_EQ(box.value("LAIKS").toString(), "09:05:03");
    EXPECT_EQ(box.value("KL_KODS").toString(), "");
    EXPECT_FALSE(box.value("KL_KODS").isNull());
    EXPECT_EQ(box.value("ARTIKULS").toString(), "BOX");
    EXPECT_DOUBLE_EQ(box.value("CENA").toDouble(), 0.50);
    EXPECT_DOUBLE_EQ(box.value("DAUDZUMS").toDouble(), 12);
    EXPECT_EQ(box.value("NODOKLIS").toInt(), 3);
    EXPECT_DOUBLE_EQ(box.value("SANEMTS").toDouble(), 20.00);
    EXPECT_NEAR(box.value("IZDOTS").toDouble(), 8.63, 1e-9);
    EXPECT_DOUBLE_EQ(box.value("BONUSS").toDouble(), 2);
    EXPECT_EQ(box.value("APM_VEIDS").toInt(), 5);
    EXPECT_EQ(box.value("NODALA").toInt(), 2);
    EXPECT_EQ(box.value("KASIERIS").toString(), "ANNA");
    EXPECT_EQ(box.value("PIEZIMES").toString(), "");
    EXPECT_EQ(box.value("KARTES_NR").toString(), "");
    EXPECT_DOUBLE_EQ(box.value("KARTES_SUMMA").toDouble(), 0);
    EXPECT_EQ(box.value("ANULETS").toString(), "F");
    EXPECT_EQ(box.value("APM_RINDA").toString(), "");  // one payment row
    EXPECT_EQ(box.value("CITASZINAS").toString(), "Līgums 7");

    EXPECT_DOUBLE_EQ(rows[1].value("CENA").toDouble(), 0);  // 100 % discount
    EXPECT_EQ(rows[2].value("PIEZIMES").toString(), "BR.CENA");
    // CENA*DAUDZUMS*(1-ATLAIDE/100) gives back the rounded line amount.
    const double amount = rows[2].value("CENA").toDouble() * rows[2].value("DAUDZUMS").toDouble() *
                          (1 - rows[2].value("ATLAIDE").toDouble() / 100);
    EXPECT_NEAR(amount, 5.37, 1e-9);
}

TEST_F(ReceiptStore, ReturnRowsAreNegativeAndSeveralPaymentRowsAreKept) {
    StoreReceiptRows(db(), Receipt(true), Rows("/0=5.00/1=6.37"));
    for (const QSqlRecord& row : Stored()) {
        EXPECT_LT(row.value("DAUDZUMS").toDouble(), 0);
        EXPECT_GE(row.value("CENA").toDouble(), 0);
        EXPECT_EQ(row.value("APM_RINDA").toString(), "/0=5.00/1=6.37");
    }
    EXPECT_DOUBLE_EQ(Stored()[0].value("DAUDZUMS").toDouble(), -12);
}

TEST_F(ReceiptStore, ATypedPayerIsStoredOnlyWithoutACustomerCode) {
    const struct {
        const char* klKods;
        QString name;
        const char* regNr;
        QString storedName;
        const char* storedRegNr;
    } cases[] = {
        {"", "SIA Pircējs", "LV40003000009", "SIA Pircējs", "LV40003000009"},
        {"0", "SIA Pircējs", "", "SIA Pircējs", ""},
        // The registered customer is found again by its code.
        {"K001", "SIA \"Ēdināšanas serviss\"", "LV40003000001", "", ""},
        // Longer than the columns: cut, not a failed insert.
        {"", QString(70, u'Ā'), "LV400030000091234567890", QString(60, u'Ā'), "LV400030000091234567"},
    };
    for (const auto& c : cases) {
        exec("DELETE FROM REALIZ");
        ReceiptRows rows = Rows();
        rows.KlKods = c.klKods;
        rows.KlNosaukums = c.name;
        rows.KlRegNr = c.regNr;
        StoreReceiptRows(db(), Receipt(), rows);
        for (const QSqlRecord& row : Stored()) {
            EXPECT_EQ(row.value("KL_NOSAUKUMS").toString(), c.storedName) << c.klKods;
            EXPECT_EQ(row.value("KL_REG_NR").toString(), c.storedRegNr) << c.klKods;
        }
    }
}

TEST_F(ReceiptStore, AFailingRowStoresNoneOfTheReceipt) {
    exec("ALTER TABLE REALIZ ADD CONSTRAINT REALIZ_NOT_GIFT CHECK (ARTIKULS <> 'GIFT')");
    EXPECT_THROW(StoreReceiptRows(db(), Receipt(), Rows()), ReceiptStoreError);
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ").toInt(), 0);
    // The connection is usable again afterwards.
    exec("ALTER TABLE REALIZ DROP CONSTRAINT REALIZ_NOT_GIFT");
    StoreReceiptRows(db(), Receipt(), Rows());
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ").toInt(), 3);
}

TEST_F(ReceiptStore, NumberFromTheCounter) {
    EXPECT_EQ(StoredReceiptNumber(*fm), 41);
    ASSERT_TRUE(fm->FMWrite("CEKANRCOUN", "0000000004x"));
    EXPECT_EQ(StoredReceiptNumber(*fm), std::nullopt);  // never receipt 1
    module->faults().arm("silent", 1000);
    EXPECT_EQ(StoredReceiptNumber(*fm), std::nullopt);
}

TEST_F(ReceiptStore, TextCopyAndKeptLines) {
    const auto file = ReceiptCopyFile((dir() / "kopijas" / "").string().c_str(), 42, " 3 ");
    EXPECT_EQ(file.filename(), "42.3");
    std::filesystem::create_directories(file.parent_path());
    ASSERT_TRUE(WriteReceiptCopy(file, Receipt(), "EUR"));
    EXPECT_EQ(testsupport::readFile(file), "BOX      0.500 x     12.000 \n"
                                           "GIFT      0.000 x      1.000 \n"
                                           "999      1.989 x      3.000 \n"  // 5.37 over 3 at 10 %
                                           "\n Kopa EUR=      11.37 \n");
    EXPECT_FALSE(WriteReceiptCopy(dir() / "nav" / "42.3", Receipt(), "EUR"));

    TCekaRinda line = Line("A", 1, 1, 1);
    line.Pazinojums = "notice";
    line.PrepaidRef = "ref";
    line.Tara = true;
    const auto kept = IeprCekaRindas(std::vector<TCekaRinda>{line});
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].Artikuls, "A");
    EXPECT_TRUE(kept[0].Pazinojums.isEmpty());
    EXPECT_TRUE(kept[0].PrepaidRef.isEmpty());
    EXPECT_FALSE(kept[0].Tara);
}

// The same storing through a Firebird server on loopback, as a till on the network stores.
class ReceiptStoreOnServer : public ReceiptStore {
protected:
    bool throughFirebirdServer() const override { return true; }
};

TEST_F(ReceiptStoreOnServer, SaleRowsReachTheDatabaseThroughTheServer) {
    ASSERT_EQ(connectionProtocol(), "TCPv4");
    StoreReceiptRows(db(), Receipt(), Rows());
    const auto rows = Stored();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].value("ARTIKULS").toString(), "BOX");
    EXPECT_EQ(rows[2].value("PIEZIMES").toString(), "BR.CENA");
    for (const QSqlRecord& row : rows) {
        EXPECT_EQ(row.value("CEKA_NR").toInt(), 42);
        EXPECT_EQ(row.value("KASIERIS").toString(), "ANNA");
        EXPECT_EQ(row.value("CITASZINAS").toString(), "Līgums 7");
    }
}

}  // namespace
