// The voucher steps of the payment against the voucher-service simulator (through the real
// librazevedu.so), the distributor's stand-in object and the receipt printer simulator.
#include "closing_fixture.h"
#include "distributor_stand_in.h"
#include "prepaid_voucher_steps.h"
#include "razevedu_client.h"
#include "razevedu.h"
#include "receipt_state.h"
#include "service_error.h"
#include "voucher_service_sim.h"

#include "library_loader.h"
#include "settings_store.h"

#include <algorithm>
#include <set>

namespace {

using sim::VoucherServiceSim;

class VoucherStepsTest : public ClosingTest, public VoucherHost {
protected:
    void SetUp() override {
        ClosingTest::SetUp();
        startPrinter(0);
        ASSERT_TRUE(service.start());
        setupText("ZudezoServer", service.baseUrl());
        platform::LoadedLibrary::substitute(RazeveduClient::kLibraryName, RAZEVEDU_LIBRARY);
        settings.PrepaidServVeids = 2;
        settings.ZudezoClientID = "K1";
        settings.ZudezoPasword = "slepens";
        settings.ZudezoUserID = "U7";
        settings.ZudezoLogo[2] = "zudezo";
    }
    void TearDown() override {
        service.stop();
        ClosingTest::TearDown();
    }

    // VoucherHost
    TCekasStavoklis& Ceks() override { return ceks; }
    bool IsReturn() const override { return isReturn; }
    TPrintClass* Printer() override { return print.get(); }
    VoucherSettings Settings() const override { return settings; }
    std::optional<QString> CallDistributor(const QString& method, const QStringList& arguments) override {
        return distributor.Call(method, arguments);
    }
    std::optional<QString> TopUpOnTerminal(int nodala, double charge) override {
        topUps.emplace_back(nodala, charge);
        return QString::number(topUps.size());  // the terminal's reference of an approved top-up
    }
    QString AskVoucherReference() override {
        ++askedForReference;
        return typedReference;
    }
    [[noreturn]] void AnnulAndEnd() override {
        ++annulled;
        platform::ui::endProgram();
    }

    bool ReserveVouchers() { return steps.ReserveVouchers(); }
    void AfterPrinting() { steps.AfterPrinting(); }

    void addLine(const QString& artikuls, double cena, int nodala, double atlaide = 0) {
        ceks.CekaRindas[std::size_t(ceks.RinduSkaits++)] = Line(artikuls, cena, 1, nodala, atlaide);
    }
    const TCekaRinda& line(int i) const { return ceks.CekaRindas[std::size_t(i)]; }
    // The three voucher lines of the canned products around an ordinary line.
    void threeVoucherLines(const QString& third = "4750000000003") {
        addLine("4750000000001", 5.00, 70);
        addLine("4001", 1.20, 1);
        addLine("4750000000002", 10.00, 99);
        addLine(third, 7.00, 85);
    }
    std::vector<std::string> soapOperations() const {
        std::vector<std::string> ops;
        for (const auto& r : service.soapRequests()) ops.push_back(r.operation);
        return ops;
    }

    VoucherServiceSim service;
    DistributorStandIn distributor;
    TCekasStavoklis ceks;
    VoucherSettings settings;
    bool isReturn = false;
    QString typedReference;
    int askedForReference = 0;
    int annulled = 0;
    std::vector<std::pair<int, double>> topUps;  // department and charge of each terminal top-up
    PrepaidVoucherSteps steps{*this};
};

TEST_F(VoucherStepsTest, ServiceSaleReservesEveryVoucherLineThenBuysAndPrintsEach) {
    threeVoucherLines();
    ASSERT_TRUE(ReserveVouchers());
    EXPECT_EQ(line(0).PrepaidAtbilde, "R1");
    EXPECT_EQ(line(1).PrepaidAtbilde, "");
    EXPECT_EQ(line(2).PrepaidAtbilde, "R2");
    EXPECT_EQ(line(3).PrepaidAtbilde, "R3");
    // Each request its own reference, even within one clock step.
    EXPECT_EQ((std::set<QString>{line(0).PrepaidRef, line(2).PrepaidRef, line(3).PrepaidRef}).size(), 3u);
    const auto reserve = service.soapRequests().at(0);
    EXPECT_EQ(reserve.fields.at("productId"), "ean:4750000000001");
    EXPECT_EQ(reserve.fields.at("context/clientId"), "K1");
    EXPECT_EQ(reserve.fields.at("context/password"), "slepens");
    EXPECT_EQ(reserve.fields.at("context/clientUserId"), "U7");

    AfterPrinting();
    EXPECT_EQ(service.bought(), (std::vector<std::string>{"R1", "R2", "R3"}));
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join("|").toStdString();
    const auto p = paper();
    // Per voucher: the reference, the logo (third in the settings: printer logo 3), the text with
    // every line whole, the code as a barcode, and the next receipt's header.
    const auto at = std::find(p.begin(), p.end(), "Reference Nr:");
    ASSERT_NE(at, p.end());
    EXPECT_EQ(*(at + 1), "R1");
    EXPECT_EQ(*(at + 2), "[logo 3]");
    EXPECT_EQ(*(at + 3), "Priekšapmaksas karte");
    EXPECT_EQ(*(at + 4), "Kods: 4750000000001");
    EXPECT_EQ(*(at + 5), "Sērija: S1001");
    EXPECT_EQ(*(at + 6), "[EAN13 4750000000001]");
    EXPECT_EQ(*(at + 7), "");  // the barcode label's own line feeds
    EXPECT_EQ(*(at + 8), "");
    EXPECT_EQ(*(at + 9), "Paldies!") << printer->paperText();
    EXPECT_EQ(std::count(p.begin(), p.end(), "Reference Nr:"), 3);
    EXPECT_NE(std::find(p.begin(), p.end(), "[EAN13 4750000000003]"), p.end());
    EXPECT_EQ(annulled, 0);
}

TEST_F(VoucherStepsTest, AFailedReservationCancelsTheEarlierOnesAndStops) {
    threeVoucherLines("4759999999999");
    EXPECT_FALSE(ReserveVouchers());
    EXPECT_EQ(messages().texts(), (QStringList{"Unknown product ean:4759999999999", kZudezoReserveFailed}));
    EXPECT_EQ(service.cancelled(), (std::vector<std::string>{"R1", "R2"}));
    EXPECT_TRUE(service.openReservations().empty());
    EXPECT_EQ(soapOperations(), (std::vector<std::string>{"reserveVoucher", "reserveVoucher", "reserveVoucher",
                                                          "cancelVoucherReservation", "cancelVoucherReservation"}));
}

TEST_F(VoucherStepsTest, NetworkAndServiceFailuresAreRefusalsNotCrashes) {
    struct Case {
        const char* what;
        std::function<void(VoucherServiceSim&)> arrange;
        QString told;  // in Latvian: the library's own text goes to its log
    };
    const QString answerFaulty = QString::fromUtf8(razevedu::kServiceAnswerFaulty);
    const Case cases[] = {
        {"HTTP 500", [](VoucherServiceSim& s) { VoucherServiceSim::Faults f; f.http500 = true; s.setFaults(f); }, answerFaulty},
        {"SOAP fault", [](VoucherServiceSim& s) { VoucherServiceSim::Faults f; f.soapFault = true; s.setFaults(f); },
         answerFaulty + "\nVoucher backend unavailable"},
        {"no description", [](VoucherServiceSim& s) { VoucherServiceSim::Faults f; f.noDescription = true; s.setFaults(f); },
         answerFaulty},
        // A service that never answers: given up at the time limit (one second here).
        {"silent",
         [](VoucherServiceSim& s) {
             platform::SettingsStore::current().writeInteger(kRazeveduSettingsKey, kRazeveduTimeoutValue, 1);
             VoucherServiceSim::Faults f;
             f.silent = true;
             s.setFaults(f);
         },
         QString::fromUtf8(razevedu::kServiceSilent)},
        {"refused", [](VoucherServiceSim& s) { s.stop(); }, QString::fromUtf8(razevedu::kServiceUnreachable)},
    };
    addLine("4750000000001", 5.00, 70);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange(service);
        messages().clear();
        EXPECT_FALSE(ReserveVouchers());
        EXPECT_EQ(messages().texts(), (QStringList{c.told, kZudezoReserveFailed}));
    }
}

TEST_F(VoucherStepsTest, TheTerminalTopsUpEachVoucherLineOfASaleAfterPrinting) {
    settings.PrepaidServVeids = 0;
    settings.EFT = 2;
    addLine("4001", 1.20, 69);
    addLine("4750000000001", 5.00, 70);
    addLine("4002", 1.20, 100);
    ceks.CekaRindas[std::size_t(ceks.RinduSkaits++)] = Line("4750000000002", 2.50, 2, 99, 10, 2);
    ASSERT_TRUE(ReserveVouchers());
    EXPECT_TRUE(topUps.empty());
    AfterPrinting();
    // The charge is the line's amount: 2.50 x 2 x pack 2, less 10 %.
    EXPECT_EQ(topUps, (std::vector<std::pair<int, double>>{{70, 5.00}, {99, 9.00}}));
    EXPECT_TRUE(service.soapRequests().empty());

    topUps.clear();
    isReturn = true;
    AfterPrinting();
    isReturn = false;
    for (const int eft : {0, 3}) {  // no terminal, or the outside library: no top-ups
        settings.EFT = eft;
        AfterPrinting();
    }
    EXPECT_TRUE(topUps.empty());
}

TEST_F(VoucherStepsTest, AReturnCancelsTheTransactionByTheTypedReference) {
    isReturn = true;
    addLine("4750000000001", 5.00, 70);
    typedReference = "T77";
    ASSERT_TRUE(ReserveVouchers());
    EXPECT_EQ(askedForReference, 1);
    EXPECT_EQ(line(0).PrepaidAtbilde, "CT77");
    EXPECT_EQ(service.soapRequests().at(0).operation, "cancelTransaction");
    EXPECT_EQ(service.soapRequests().at(0).fields.at("ersReference"), "T77");
    AfterPrinting();  // nothing is bought for a return
    EXPECT_EQ(service.soapRequests().size(), 1u);

    VoucherServiceSim::Faults f;
    f.errorText["cancelTransaction"] = "Darījums nav atrasts";
    service.setFaults(f);
    EXPECT_FALSE(ReserveVouchers());
    EXPECT_EQ(messages().texts(), (QStringList{"Darījums nav atrasts", kZudezoReserveFailed}));
}

TEST_F(VoucherStepsTest, AfterPrintingUnknownLogosAndFailedPurchasesOnlySaySo) {
    // An empty name is no logo, though seven logo settings are empty.
    service.setReceiptText("<img src=\"nezinams\">\r\n<img src=\"\">\r\nKods:\r\n{code}\r\n<barcode digits=\"123\">");
    addLine("4750000000001", 5.00, 70);
    addLine("4750000000002", 10.00, 71);
    ASSERT_TRUE(ReserveVouchers());
    VoucherServiceSim::Faults f;
    f.errorText["buyReservedVoucher"] = "Pirkums atteikts";
    service.setFaults(f);
    AfterPrinting();
    EXPECT_EQ(messages().texts(), (QStringList{"Pirkums atteikts", kZudezoBuyFailed, "Pirkums atteikts", kZudezoBuyFailed}));
    const auto before = paper();
    EXPECT_EQ(std::count(before.begin(), before.end(), "Reference Nr:"), 0);

    service.setFaults({});
    ceks = {};
    messages().clear();
    addLine("4750000000001", 5.00, 70);
    ASSERT_TRUE(ReserveVouchers());
    AfterPrinting();
    EXPECT_EQ(messages().texts(), (QStringList{kUnknownLogo + "nezinams", kUnknownLogo}));
    const auto p = paper();
    const auto at = std::find(p.begin(), p.end(), "Kods:");
    ASSERT_NE(at, p.end());
    EXPECT_EQ(*(at + 1), "4750000000001");
    EXPECT_EQ(std::count_if(p.begin(), p.end(), [](const std::string& l) { return l.rfind("[logo", 0) == 0; }), 0);
}

TEST_F(VoucherStepsTest, DistributorRepliesDecideReservationAndPrint) {
    settings.PrepaidServVeids = 1;
    addLine("4750000000001", 0.29, 70);
    addLine("4750000000002", 5.00, 75);
    addLine("4750000000003", 7.00, 80);
    distributor.queueReply("CodeSellRequestReserve", "OK,A1");
    distributor.queueReply("CodeSellRequestReserve", "OK");
    EXPECT_FALSE(ReserveVouchers());
    // "OK" without its comma is a refusal: the earlier line is cancelled with its own reply.
    EXPECT_EQ(messages().texts(), QStringList{kSanitexErrorLead + kSanitexCannotClose});
    ASSERT_EQ(distributor.calls().size(), 3u);
    EXPECT_EQ(distributor.calls()[0].second,
              (QStringList{line(0).PrepaidRef, "4750000000001", "70", "29", "EUR"}));
    EXPECT_EQ(distributor.calls()[2].first, "CodeSellRequestCancel");
    EXPECT_EQ(distributor.calls()[2].second, (QStringList{line(0).PrepaidRef, "OK,A1"}));

    messages().clear();
    distributor.queueReply("CodeSellRequestReserve", "OK,A1");
    distributor.queueReply("CodeSellRequestReserve", "OK,A2");
    distributor.queueReply("CodeSellRequestReserve", "ER,Nav atlikuma");
    EXPECT_FALSE(ReserveVouchers());
    EXPECT_EQ(messages().texts(), QStringList{kSanitexErrorLead + "Nav atlikuma" + kSanitexCannotClose});

    messages().clear();
    ASSERT_TRUE(ReserveVouchers());
    distributor.queueReply("CodeSellRequestPrint", "OK,\r\nKARTE\r\nKods: 998877\r\nBeigas");
    distributor.queueReply("CodeSellRequestPrint", "ER,Kods nav izsniegts");
    distributor.queueReply("CodeSellRequestCancel", "ER,Atcelts");
    AfterPrinting();
    EXPECT_EQ(messages().texts(), QStringList{kSanitexErrorLead + "Atcelts"});
    const auto cancel = std::find_if(distributor.calls().rbegin(), distributor.calls().rend(),
                                     [](const auto& call) { return call.first == "CodeSellRequestCancel"; });
    EXPECT_EQ(cancel->second, (QStringList{line(1).PrepaidRef, ",Kods nav izsniegts"}));
    const auto p = paper();
    const auto at = std::find(p.begin(), p.end(), "KARTE");
    ASSERT_NE(at, p.end());
    EXPECT_EQ(*(at + 1), "Kods: 998877");
    EXPECT_EQ(*(at + 2), "Beigas");
}

}  // namespace
