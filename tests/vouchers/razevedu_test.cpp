// The six exports of librazevedu.so against the voucher-service simulator on loopback: the
// requests they write, the success rule, the product texts, and every failure leaving empty
// results with its text on the message callback.
#include "http_transport.h"
#include "razevedu.h"
#include "service_binding.h"
#include "service_error.h"
#include "service_log.h"
#include "utf16.h"
#include "voucher_service_sim.h"

#include "test_environment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace {

using namespace razevedu;
using sim::VoucherServiceSim;

class RazeveduTest : public testsupport::TestEnvironment {
protected:
    void SetUp() override {
        TestEnvironment::SetUp();
        ASSERT_TRUE(service.start());
        setupText(kRazeveduHostValue, service.baseUrl());
        setRazeveduMessageCallback([](void* self, const std::u16string& text) { static_cast<RazeveduTest*>(self)->told.push_back(text); },
                                   this);
    }
    void TearDown() override {
        setRazeveduMessageCallback(nullptr, nullptr);
        service.stop();
        TestEnvironment::TearDown();
    }
    std::u16string reserve(const std::u16string& ean = u"4750000000001") { return reserveVoucher(u"C1", u"pw", u"U1", ean); }
    std::string log() const { return testsupport::readFile(kServiceLogFile); }

    VoucherServiceSim service;
    std::vector<std::u16string> told;
};

const std::string kContext =
    "<context><channel>WS</channel><clientId>C1</clientId><clientRequestTimeout>0</clientRequestTimeout>"
    "<clientUserId>U1</clientUserId><password>pw</password></context>";

std::string request(const std::string& op, const std::string& content) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><soap:Body><ns:" +
           op + " xmlns:ns=\"" + VoucherServiceSim::kNamespace + "\">" + content + "</ns:" + op + "></soap:Body></soap:Envelope>\n";
}

TEST_F(RazeveduTest, EveryExportWritesItsRequestInElementOrder) {
    struct Case {
        std::function<void()> call;
        std::string golden;
    };
    std::u16string code, serial, receipt;
    const Case cases[] = {
        {[&] { reserveVoucher(u"C1", u"pw", u"U1", u""); }, request("reserveVoucher", kContext + "<productId>ean:</productId>")},
        {[&] { buyReservedVoucher(u"C1", u"pw", u"U1", u"R1", code, serial, receipt); },
         request("buyReservedVoucher", kContext + "<ersReference>R1</ersReference><receiptFormatId>TEXT</receiptFormatId>")},
        {[&] { cancelVoucherReservation(u"C1", u"pw", u"U1", u"R7"); },
         request("cancelVoucherReservation", kContext + "<ersReference>R7</ersReference>")},
        {[&] { cancelTransaction(u"C1", u"pw", u"U1", u"T9"); },
         request("cancelTransaction", kContext + "<ersReference>T9</ersReference><verificationCode/><reasonCode/><reason/>")},
        {[&] {
             int count = 0;
             releaseProductList(getProductList(u"C1", u"pw", u"U1", count));
         },
         request("getProductList", kContext)},
        {[&] { executeReport(u"C1", u"pw", u"U1"); },
         request("executeReport", kContext + "<reportId>repo:///terminal/REP_TERM_RESELLER_INFO.xml</reportId><language>en</language>"
                                             "<parameters><parameter><entry><key>resellerId</key><value>C1</value></entry>"
                                             "</parameter></parameters>")},
    };
    for (const Case& c : cases) {
        service.clearRequests();
        c.call();
        const auto all = service.requests();
        ASSERT_EQ(all.size(), 2u) << c.golden;
        // Each call reads the description at the built-in location first.
        EXPECT_EQ(all[0].method, "GET");
        EXPECT_EQ(all[0].target, "/extclientproxy/client?wsdl");
        EXPECT_EQ(all[1].target, "/extclientproxy/client");
        EXPECT_EQ(all[1].body, c.golden);
    }
}

TEST_F(RazeveduTest, EmptyIdentificationIsStillWrittenAndTextsTravelAsUtf8) {
    reserveVoucher(u"", u"", u"", u"Ā1");
    const auto sent = service.soapRequests().at(0);
    EXPECT_NE(sent.body.find("<context><channel>WS</channel><clientId/><clientRequestTimeout>0</clientRequestTimeout>"
                             "<clientUserId/><password/></context>"),
              std::string::npos);
    EXPECT_EQ(sent.fields.at("productId"), "ean:\xC4\x80" "1");
}

TEST_F(RazeveduTest, SuccessIsSuccessInAnyCaseAndNothingElse) {
    struct Case {
        std::optional<std::string> verdict;  // nothing: no errorDescription element
        int resultCode;
        bool success;
    };
    const Case cases[] = {{"SUCCESS", 0, true},  {"success", 0, true},    {"Success", 0, true},
                          {"SUCCESS ", 0, false}, {std::nullopt, 0, false}, {"SUCCESS", 5, true}};
    for (const Case& c : cases) {
        VoucherServiceSim::Faults faults;
        faults.successText = c.verdict.value_or("");
        faults.noErrorDescription = !c.verdict;
        faults.resultCode = c.resultCode;
        service.setFaults(faults);
        told.clear();
        const std::u16string ref = reserve();
        EXPECT_EQ(!ref.empty(), c.success) << c.verdict.value_or("(none)");
        if (c.success) {
            EXPECT_TRUE(told.empty());
        } else {
            // The verdict as received, not upper-cased; an empty text when there was none.
            ASSERT_EQ(told.size(), 1u);
            const std::string verdict = c.verdict.value_or("");
            EXPECT_EQ(told[0], std::u16string(verdict.begin(), verdict.end()));
        }
    }
}

TEST_F(RazeveduTest, ProductListFlattensSuppliersInOrder) {
    service.setSuppliers({{"Alfa", {{"111", "A1", "Karte 5", "5.00"}, {"222", "A2", "Karte 10", "10.50"}}},
                          {"Tukšs", {}},
                          {"Beta", {{"111", "A1", "Karte 5", "5.00"}, {"333", "B3", "Bez cenas", std::nullopt}}}});
    int count = -1;
    std::u16string* products = getProductList(u"C1", u"pw", u"U1", count);
    ASSERT_EQ(count, 4);
    ASSERT_NE(products, nullptr);
    EXPECT_EQ(products[0], u"EAN:111 SKU:A1 Cena:5.00 Karte 5 Alfa");
    EXPECT_EQ(products[1], u"EAN:222 SKU:A2 Cena:10.50 Karte 10 Alfa");
    EXPECT_EQ(products[2], u"EAN:111 SKU:A1 Cena:5.00 Karte 5 Beta");
    EXPECT_EQ(products[3], u"EAN:333 SKU:B3 Cena: Bez cenas Beta");
    releaseProductList(products);

    service.setSuppliers({{"Tukšs", {}}});
    products = getProductList(u"C1", u"pw", u"U1", count);
    EXPECT_EQ(count, 0);
    EXPECT_NE(products, nullptr);  // an array of none, not a missing one
    releaseProductList(products);
}

TEST_F(RazeveduTest, ReserveBuyAndCancelRunAgainstTheService) {
    const std::u16string first = reserve();
    const std::u16string second = reserve();
    ASSERT_FALSE(first.empty());
    ASSERT_NE(first, second);
    std::u16string code, serial, receipt;
    const std::u16string bought = buyReservedVoucher(u"C1", u"pw", u"U1", first, code, serial, receipt);
    EXPECT_EQ(bought, first);
    EXPECT_EQ(code, u"4750000000001");
    EXPECT_EQ(serial, u"S1001");
    EXPECT_NE(receipt.find(u"Kods: 4750000000001\n"), std::u16string::npos);
    EXPECT_EQ(cancelVoucherReservation(u"C1", u"pw", u"U1", second), u"C" + second);
    EXPECT_TRUE(service.openReservations().empty());
    EXPECT_TRUE(told.empty());
}

TEST_F(RazeveduTest, EveryFailureLeavesEmptyResultsAndSaysWhy) {
    struct Case {
        const char* what;
        std::function<void(VoucherServiceSim&)> arrange;
        std::u16string told;   // the whole text the cashier sees
        std::string logged;    // a part of the library's own text in the log; none for the service's verdict
    };
    const std::u16string answerFaulty = toUtf16(kServiceAnswerFaulty);
    const Case cases[] = {
        {"service error", [](VoucherServiceSim& s) {
             VoucherServiceSim::Faults f;
             for (const char* op : {"buyReservedVoucher", "getProductList", "reserveVoucher", "cancelTransaction"})
                 f.errorText[op] = "Rezervācija beigusies";
             s.setFaults(f);
         },
         u"Rezervācija beigusies", "the service answered Rezervācija beigusies"},
        {"HTTP 500", [](VoucherServiceSim& s) {
             VoucherServiceSim::Faults f;
             f.http500 = true;
             s.setFaults(f);
         },
         answerFaulty, "The voucher service answered HTTP 500"},
        {"SOAP fault", [](VoucherServiceSim& s) {
             VoucherServiceSim::Faults f;
             f.soapFault = true;
             s.setFaults(f);
         },
         answerFaulty + u"\nVoucher backend unavailable", "buyReservedVoucher: Voucher backend unavailable"},
        {"malformed XML", [](VoucherServiceSim& s) {
             VoucherServiceSim::Faults f;
             f.malformedXml = true;
             s.setFaults(f);
         },
         answerFaulty, "The voucher service's answer is not readable XML"},
        {"no description", [](VoucherServiceSim& s) {
             VoucherServiceSim::Faults f;
             f.noDescription = true;
             s.setFaults(f);
         },
         answerFaulty, "description could not be read: HTTP 404"},
        {"refused connection", [](VoucherServiceSim& s) { s.stop(); }, toUtf16(kServiceUnreachable),
         "/extclientproxy/client?wsdl)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange(service);
        told.clear();
        std::filesystem::remove(kServiceLogFile);
        std::u16string code = u"old", serial = u"old", receipt = u"old";
        EXPECT_EQ(buyReservedVoucher(u"C1", u"pw", u"U1", u"R1", code, serial, receipt), u"");
        EXPECT_EQ(code, u"");
        EXPECT_EQ(serial, u"");
        EXPECT_EQ(receipt, u"");
        ASSERT_EQ(told.size(), 1u);
        EXPECT_EQ(told[0], c.told);
        EXPECT_NE(log().find(c.logged), std::string::npos) << log();
        int count = 7;
        EXPECT_EQ(getProductList(u"C1", u"pw", u"U1", count), nullptr);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(reserve(), u"");
        EXPECT_EQ(cancelTransaction(u"C1", u"pw", u"U1", u"T"), u"");
    }
}

// Every exchange names its endpoint in the log; the password travels in the body, never there.
TEST_F(RazeveduTest, TheLogNamesEachEndpoint) {
    ASSERT_FALSE(reserve().empty());
    const std::string logged = log();
    EXPECT_NE(logged.find("GET " + service.baseUrl() + "/extclientproxy/client?wsdl\n"), std::string::npos) << logged;
    EXPECT_NE(logged.find("POST " + service.baseUrl() + "/extclientproxy/client\n"), std::string::npos) << logged;
    EXPECT_EQ(logged.find("pw"), std::string::npos);
}

// A service that takes the request and never answers holds the till no longer than the time limit,
// and the cashier reads why in Latvian.
TEST_F(RazeveduTest, ASilentServiceIsGivenUpAtTheTimeLimit) {
    settings().writeInteger(kRazeveduSettingsKey, kRazeveduTimeoutValue, 1);
    VoucherServiceSim::Faults f;
    f.silent = true;
    service.setFaults(f);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(reserve(), u"");
    // Far below the minute a call could take before, and far above the limit of one second.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(told, std::vector<std::u16string>{toUtf16(kServiceSilent)});
    EXPECT_NE(log().find("reserveVoucher: "), std::string::npos) << log();
    EXPECT_NE(log().find("timed out"), std::string::npos) << log();
    EXPECT_EQ(service.httpRequestCount(), 1u);  // the description was asked for, the call never made
}

TEST_F(RazeveduTest, TheTransportPolicyComesFromTheSettings) {
    struct Case {
        std::optional<std::int32_t> timeout, allowHttp;
        long timeoutSeconds;
        bool plainHttpAllowed;
    };
    const Case cases[] = {{std::nullopt, std::nullopt, kDefaultTimeoutSeconds, false},
                          {3, 1, 3, true},
                          {0, 0, kDefaultTimeoutSeconds, false},
                          {121, 2, kDefaultTimeoutSeconds, false},
                          {120, std::nullopt, 120, false}};
    for (const Case& c : cases) {
        settings().deleteValue(kRazeveduSettingsKey, kRazeveduTimeoutValue);
        settings().deleteValue(kRazeveduSettingsKey, kRazeveduPlainHttpValue);
        if (c.timeout) settings().writeInteger(kRazeveduSettingsKey, kRazeveduTimeoutValue, *c.timeout);
        if (c.allowHttp) settings().writeInteger(kRazeveduSettingsKey, kRazeveduPlainHttpValue, *c.allowHttp);
        const TransportPolicy policy = transportPolicyFromSettings();
        EXPECT_EQ(policy.timeoutSeconds, c.timeoutSeconds) << c.timeout.value_or(-1);
        EXPECT_EQ(policy.plainHttpAllowed, c.plainHttpAllowed) << c.allowHttp.value_or(-1);
    }
}

TEST(RazeveduTransport, OnlyLoopbackHostsTakePlainHttpUnasked) {
    const std::pair<const char*, bool> hosts[] = {
        {"localhost", true},        {"LocalHost", true},         {"127.0.0.1", true},      {"127.255.0.9", true},
        {"[::1]", true},            {"::1", true},               {"128.0.0.1", false},     {"10.0.0.1", false},
        {"127.0.0.1.example", false}, {"localhost.example", false}, {"[::2]", false},      {"vouchers.example", false},
        {"", false}};
    for (const auto& [host, loopback] : hosts) EXPECT_EQ(isLoopbackHost(host), loopback) << host;
}

// Plain HTTP to another host is refused before anything is sent: whether the settings name it or
// the service description does. The names end in ".invalid", which no resolver answers.
TEST_F(RazeveduTest, PlainHttpToAnotherHostIsRefusedBeforeAnythingIsSent) {
    setupText(kRazeveduHostValue, "http://vouchers.invalid:8080");
    EXPECT_EQ(reserve(), u"");
    EXPECT_EQ(told, std::vector<std::u16string>{toUtf16(kPlainHttpRefused)});
    EXPECT_NE(log().find("Plain HTTP to http://vouchers.invalid:8080/extclientproxy/client?wsdl refused"), std::string::npos)
        << log();

    setupText(kRazeveduHostValue, service.baseUrl());
    VoucherServiceSim::Faults f;
    f.describedEndpoint = "http://vouchers.invalid:" + std::to_string(service.port()) + "/extclientproxy/client";
    service.setFaults(f);
    told.clear();
    service.clearRequests();
    EXPECT_EQ(reserve(), u"");
    EXPECT_EQ(told, std::vector<std::u16string>{toUtf16(kPlainHttpRefused)});
    EXPECT_TRUE(service.soapRequests().empty());
    EXPECT_NE(log().find("Plain HTTP to " + f.describedEndpoint + " refused"), std::string::npos) << log();
}

}  // namespace
