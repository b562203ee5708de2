// The request writer and the answer reader, driven by the interface's tables.
#include "data_object.h"
#include "service_binding.h"
#include "service_error.h"
#include "soap_message.h"
#include "utf16.h"

#include <gtest/gtest.h>

namespace razevedu {
namespace {

const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><soap:Body>";
const std::string kTail = "</soap:Body></soap:Envelope>\n";

std::string bodyOf(const std::string& xml) {
    EXPECT_EQ(xml.substr(0, kHead.size()), kHead);
    EXPECT_GE(xml.size(), kHead.size() + kTail.size());
    EXPECT_EQ(xml.substr(xml.size() - kTail.size()), kTail);
    return xml.substr(kHead.size(), xml.size() - kHead.size() - kTail.size());
}

TEST(SoapWriter, OptionalElementsOnlyWhenAssignedRequiredAlways) {
    DataObject request(*findOperation("getProductListBySequence"));
    auto context = DataObject::make("clientContext");
    context->setText("password", "");  // assigned empty: written empty
    request.setObject("context", std::move(context));
    EXPECT_EQ(bodyOf(writeRequest(request, "urn:v")),
              "<ns:getProductListBySequence xmlns:ns=\"urn:v\"><context><clientRequestTimeout>0</clientRequestTimeout>"
              "<password/></context><startSeq>0</startSeq><endSeq>0</endSeq></ns:getProductListBySequence>");
}

TEST(SoapWriter, WrappedParameterMapAndListsAndNilItems) {
    DataObject request(*findOperation("reportVouchersSoldOn"));
    auto sale = DataObject::make("voucherSaleData");
    sale->setText("serial", "S<1>&");
    request.addItem("arg2", std::move(sale));
    request.addItem("arg2", nullptr);
    EXPECT_EQ(bodyOf(writeRequest(request, "urn:v")),
              "<ns:reportVouchersSoldOn xmlns:ns=\"urn:v\"><arg2><serial>S&lt;1&gt;&amp;</serial></arg2>"
              "<arg2 xsi:nil=\"true\"/></ns:reportVouchersSoldOn>");

    DataObject report(*findOperation("executeReport"));
    auto map = DataObject::make("parameterMap");
    auto entry = DataObject::make("parameter");
    entry->setText("key", "k");
    entry->setText("value", "v");
    map->addItem("parameter", std::move(entry));
    report.setObject("parameters", std::move(map));
    EXPECT_EQ(bodyOf(writeRequest(report, "urn:v")),
              "<ns:executeReport xmlns:ns=\"urn:v\"><reportId/><language/>"
              "<parameters><parameter><entry><key>k</key><value>v</value></entry></parameter></parameters>"
              "</ns:executeReport>");
}

TEST(SoapWriter, EveryClassAndOperationOfTheTablesIsWritable) {
    // Each class's objects nest only classes of the table, so every object element can be filled.
    for (const ClassDef& definition : allClasses()) {
        DataObject object(definition);
        for (std::size_t i = 0; i < object.size(); ++i) {
            const ElementDef& e = object.element(i);
            if (e.type == WireType::Object) {
                ASSERT_NE(findClass(e.className), nullptr) << definition.name << "." << e.name;
            }
        }
    }
    int optional = 0;
    for (const ClassDef& definition : allClasses())
        for (const ElementDef& e : definition.own) optional += e.required ? 0 : 1;
    EXPECT_EQ(optional, 81);
    EXPECT_EQ(allOperations().size(), 22u);
    for (const OperationDef& op : allOperations()) {
        ASSERT_NE(findClass(op.result), nullptr) << op.name;
        EXPECT_EQ(op.parameters.front().name, "context") << op.name;
    }
}

TEST(SoapReader, ReadsNestedListsAndLeavesMissingElementsUnset) {
    const std::string answer =
        "<?xml version=\"1.0\"?><S:Envelope xmlns:S=\"http://schemas.xmlsoap.org/soap/envelope/\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><S:Body><ns2:getProductListResponse xmlns:ns2=\"urn:v\"><return>"
        "<ersReference>P1</ersReference><resultCode>5</resultCode><unknown>x</unknown>"
        "<suppliers><name>A</name><products><ean>1</ean><customerPrice><value>2.50</value></customerPrice></products>"
        "<products xsi:nil=\"true\"/></suppliers><suppliers><name>B</name></suppliers>"
        "</return></ns2:getProductListResponse></S:Body></S:Envelope>";
    const auto result = readAnswer(answer, *findOperation("getProductList"));
    EXPECT_FALSE(result->present("errorDescription"));
    EXPECT_EQ(result->text("resultCode"), "5");
    const auto& suppliers = result->items("suppliers");
    ASSERT_EQ(suppliers.size(), 2u);
    ASSERT_EQ(suppliers[0]->items("products").size(), 2u);
    EXPECT_EQ(suppliers[0]->items("products")[1], nullptr);
    const DataObject* product = suppliers[0]->items("products")[0].get();
    EXPECT_EQ(product->object("customerPrice")->text("value"), "2.50");
    EXPECT_FALSE(product->present("name"));
    EXPECT_FALSE(suppliers[1]->present("products"));
}

TEST(SoapReader, FaultsAndUnreadableAnswersAreErrors) {
    const OperationDef& op = *findOperation("reserveVoucher");
    const std::string fault =
        "<S:Envelope xmlns:S=\"http://schemas.xmlsoap.org/soap/envelope/\"><S:Body><S:Fault><faultcode>S:Client</faultcode>"
        "<faultstring>Bad request</faultstring></S:Fault></S:Body></S:Envelope>";
    EXPECT_THROW(
        try { readAnswer(fault, op); } catch (const SoapFault& e) {
            EXPECT_STREQ(e.what(), "Bad request");
            throw;
        },
        SoapFault);
    for (const std::string bad : {"<S:Envelope", "<a/>", "<S:Envelope xmlns:S=\"x\"><S:Body><r/></S:Body></S:Envelope>"})
        EXPECT_THROW(readAnswer(bad, op), ServiceError) << bad;
}

TEST(ServiceDescription, TakesNamespaceAndTheNamedPortsAddress) {
    const std::string wsdl =
        "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\" xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\" "
        "targetNamespace=\"urn:ns\"><service name=\"Other\"><port name=\"ERSClientInterfaceImplPort\">"
        "<soap:address location=\"http://wrong\"/></port></service>"
        "<service name=\"ERSClientInterfaceImplService\"><port name=\"Other\"><soap:address location=\"http://wrong2\"/></port>"
        "<port name=\"ERSClientInterfaceImplPort\"><soap:address location=\"https://h/x\"/></port></service></definitions>";
    const auto location = readServiceDescription(wsdl);
    ASSERT_TRUE(location);
    EXPECT_EQ(location->serviceNamespace, "urn:ns");
    EXPECT_EQ(location->endpoint, "https://h/x");
    EXPECT_FALSE(readServiceDescription("<definitions targetNamespace=\"urn:ns\"/>"));
    EXPECT_THROW(readServiceDescription("not xml"), ServiceError);
}

TEST(Utf16, RoundTripsLatvianAndAstralAndReplacesMalformed) {
    const std::u16string text = u"Āboliņš €5 \U0001F600";
    EXPECT_EQ(toUtf16(toUtf8(text)), text);
    EXPECT_EQ(toUtf8(u"ž"), "\xC5\xBE");
    EXPECT_EQ(toUtf16("a\xC0\xAF" "b"), u"a\uFFFD\uFFFDb");
    EXPECT_EQ(toUtf16("\xE2\x82"), u"\uFFFD\uFFFD");
}

}  // namespace
}  // namespace razevedu
