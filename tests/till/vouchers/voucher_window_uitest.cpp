// Vouchers on the real sale window, offscreen, against the voucher-service simulator and the
// simulated module, printer and display: reserved before the receipt, bought and printed after it,
// stored with the receipt; a refused reservation keeps the receipt open; a return cancels.
#include "distributor_stand_in.h"
#include "fmproc.h"
#include "posmain.h"
#include "precu_caurskate.h"
#include "prepaid_voucher_steps.h"
#include "razevedu_client.h"
#include "small_dialogs.h"
#include "voucher_service_sim.h"

#include "library_loader.h"
#include "till_window.h"

#include <QListWidget>
#include <QTimer>

#include <algorithm>

namespace {

class VoucherWindow : public testsupport::TillWindowTest {
protected:
    VoucherWindow() : TillWindowTest({.printerType = 1}) {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TillWindowTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(writeRecords(
            {{"CEKAGALVA1", "SIA Veikals"}, {"NOD_D_SUM", testsupport::departmentRates(21)}, {"CEKANRCOUN", "00000000041"}}));
        ASSERT_TRUE(service.start());
        platform::LoadedLibrary::substitute(RazeveduClient::kLibraryName, RAZEVEDU_LIBRARY);
        setupText("ZudezoServer", service.baseUrl());
        setupInteger("PrepaidServVeids", 2);
        setupInteger("PrepaidNodala", 4);
        setupText("ZudezoClientID", "K1");
        setupText("ZudezoPasword", "slepens");
        setupText("ZudezoUserID", "U7");
        setupText("ZudezoLogo_1", "zudezo");
        // The demo's vouchers 4750000000001 and 4750000000002 and one the service does not know.
        configure();
        exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4759999999999', 'Nezināma karte', 'gab.', 70, 3.00)");
        ASSERT_TRUE(startTill());
    }
    void TearDown() override {
        service.stop();
        TillWindowTest::TearDown();
    }

    // Before the till starts.
    virtual void configure() {}

    std::vector<std::string> paper() {
        printer->waitIdle();
        return printer->receipt();
    }

    sim::VoucherServiceSim service;
};

// The same till selling through the distributor's object, which the start-up makes.
class DistributorWindow : public VoucherWindow {
protected:
    void configure() override {
        setupInteger("PrepaidServVeids", 1);
        DistributorStandIn::installMaker(distributor);
    }
    void TearDown() override {
        VoucherWindow::TearDown();
        ObjectMakers().SanitexCOM = nullptr;
    }

    std::shared_ptr<DistributorStandIn> distributor = std::make_shared<DistributorStandIn>();
};

TEST_F(VoucherWindow, AVoucherSaleIsReservedPrintedBoughtAndStored) {
    TPOSMain& w = *POSMain;
    enter("4750000000001");
    enter("4750001000017");
    enter("4750000000002");
    ASSERT_EQ(w.RinduSkaits, 3) << messages().texts().join(" | ").toStdString();
    enter("/0=20");
    EXPECT_EQ(w.RinduSkaits, 0) << messages().texts().join(" | ").toStdString();
    EXPECT_EQ(service.bought(), (std::vector<std::string>{"R1", "R2"}));

    const auto p = paper();
    const auto receiptNo = std::find(p.begin(), p.end(), "Čeks Nr 42");
    const auto voucher = std::find(p.begin(), p.end(), "Reference Nr:");
    ASSERT_NE(receiptNo, p.end()) << printer->paperText();
    ASSERT_NE(voucher, p.end()) << printer->paperText();
    EXPECT_LT(receiptNo, voucher);  // the vouchers follow the receipt
    EXPECT_EQ(*(voucher + 1), "R1");
    EXPECT_EQ(*(voucher + 2), "[logo 1]");
    EXPECT_NE(std::find(p.begin(), p.end(), "Kods: 4750000000002"), p.end()) << printer->paperText();
    EXPECT_NE(std::find(p.begin(), p.end(), "[EAN13 4750000000002]"), p.end());

    QSqlQuery row = exec("SELECT ARTIKULS, CENA, CEKA_NR FROM REALIZ ORDER BY ISN");
    std::vector<std::pair<QString, double>> rows;
    while (row.next()) {
        EXPECT_EQ(row.value(2).toInt(), 42);
        rows.emplace_back(row.value(0).toString(), row.value(1).toDouble());
    }
    EXPECT_EQ(rows, (std::vector<std::pair<QString, double>>{{"4750000000001", 5.00}, {"4750001000017", 2.15}, {"4750000000002", 10.00}}));
}

TEST_F(VoucherWindow, AFailedPurchaseAfterPrintingStillRegistersAndStoresTheReceipt) {
    TPOSMain& w = *POSMain;
    enter("4750000000001");
    sim::VoucherServiceSim::Faults faults;
    faults.errorText["buyReservedVoucher"] = "Pirkums atteikts";
    service.setFaults(faults);
    enter("/0=5");
    EXPECT_EQ(w.RinduSkaits, 0);
    EXPECT_TRUE(messages().shown("Pirkums atteikts"));
    EXPECT_TRUE(messages().shown(kZudezoBuyFailed));
    EXPECT_EQ(record("CEKANRCOUN"), "00000000042");
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE CEKA_NR=42").toInt(), 1);
}

TEST_F(VoucherWindow, ARefusedReservationKeepsTheReceiptOpenAndCancelsTheOthers) {
    TPOSMain& w = *POSMain;
    enter("4750000000001");
    enter("4759999999999");
    enter("/0=10");
    EXPECT_EQ(w.RinduSkaits, 2);
    EXPECT_EQ(w.edArtikuls->text(), "");
    EXPECT_TRUE(messages().shown(kZudezoReserveFailed));
    EXPECT_EQ(service.cancelled(), std::vector<std::string>{"R1"});
    EXPECT_EQ(record("CEKANRCOUN"), "00000000041");  // nothing printed

    // The service down: the same refusal, and the till goes on.
    service.stop();
    messages().clear();
    enter("/0=10");
    EXPECT_EQ(w.RinduSkaits, 2);
    EXPECT_TRUE(messages().shown(kZudezoReserveFailed));
}

TEST_F(VoucherWindow, AReturnCancelsTheVoucherByItsTypedReference) {
    TPOSMain& w = *POSMain;
    w.PirkumsAtgrieana1Click();
    enter("4750000000001");
    ASSERT_EQ(w.RinduSkaits, 1) << messages().texts().join(" | ").toStdString();
    QTimer::singleShot(0, [] {
        ASSERT_TRUE(GetZudezoNumurs && GetZudezoNumurs->isVisible());
        GetZudezoNumurs->edNumurs->setText("R55");
        GetZudezoNumurs->accept();
    });
    enter("/");
    EXPECT_EQ(w.RinduSkaits, 0) << messages().texts().join(" | ").toStdString();
    ASSERT_EQ(service.soapRequests().size(), 1u);
    EXPECT_EQ(service.soapRequests()[0].operation, "cancelTransaction");
    EXPECT_EQ(service.soapRequests()[0].fields.at("ersReference"), "R55");
}

}  // namespace

TEST_F(VoucherWindow, TheGoodsBrowserListsTheServicesProducts) {
    QStringList listed;
    QTimer::singleShot(0, [&] {
        for (int i = 0; i < PrecuCaurskate->lstZudezoPreces->count(); ++i)
            listed << PrecuCaurskate->lstZudezoPreces->item(i)->text();
        PrecuCaurskate->reject();
    });
    w().Preusarakstacaurskate1Click();
    ASSERT_FALSE(listed.isEmpty()) << messages().texts().join(" | ").toStdString();
    EXPECT_TRUE(listed.filter("EAN:4750000000001").size() == 1) << listed.join(" | ").toStdString();
    EXPECT_TRUE(listed.filter("Karte 10 EUR").size() == 1) << listed.join(" | ").toStdString();
}

TEST_F(DistributorWindow, TheStartUpsObjectReservesAndPrintsTheVoucher) {
    TPOSMain& w = *POSMain;
    ASSERT_EQ(w.PrepaidServObj, distributor);
    enter("4750000000002");
    enter("/0=10");
    EXPECT_EQ(w.RinduSkaits, 0) << messages().texts().join(" | ").toStdString();
    ASSERT_EQ(distributor->calls().size(), 2u);
    EXPECT_EQ(distributor->calls()[0].first, "CodeSellRequestReserve");
    EXPECT_EQ(distributor->calls()[0].second.mid(1), (QStringList{"4750000000002", "70", "1000", "EUR"}));
    EXPECT_EQ(distributor->calls()[1].first, "CodeSellRequestPrint");
    const auto p = paper();
    EXPECT_NE(std::find(p.begin(), p.end(), "PRIEKŠAPMAKSAS KARTE"), p.end()) << printer->paperText();
    EXPECT_TRUE(service.soapRequests().empty());
}
