// The exports of librazevedu.so. Each one binds the service afresh through its description,
// sends one request and turns the answer into UTF-16 texts. Every failure - the service's verdict,
// the network, HTTP, the description, a SOAP fault - leaves the preset empty results and goes to
// the message callback as text; nothing is thrown past these functions.
#include "razevedu.h"

#include "data_object.h"
#include "service_binding.h"
#include "service_error.h"
#include "service_log.h"
#include "utf16.h"

#include <curl/curl.h>
#include <libxml/parser.h>

#include <functional>
#include <mutex>

namespace razevedu {
namespace {

struct MessageTarget {
    RazeveduMessageCallback callback = nullptr;
    void* context = nullptr;
};
std::mutex messageMutex;
MessageTarget messageTarget;

void tell(const std::string& text) {
    MessageTarget target;
    {
        std::lock_guard lock(messageMutex);
        target = messageTarget;
    }
    if (target.callback) target.callback(target.context, toUtf16(text));
}

// A failure of the library's own (the network, HTTP, XML, the description, a SOAP fault): its
// text goes to the log, the cashier is told in a few Latvian words.
void fail(std::string_view operation, const std::string& detail, const std::string& cashierText) {
    logLine(std::string(operation) + ": " + detail);
    tell(cashierText);
}

// The process-wide set-up of the XML and HTTP libraries, once, when the library is loaded.
__attribute__((constructor)) void RegisterRazeveduTypes() {
    xmlInitParser();
    curl_global_init(CURL_GLOBAL_DEFAULT);
}

struct Identification {
    std::string clientId, password, clientUserId;
};

Identification identify(const std::u16string& clientId, const std::u16string& password, const std::u16string& clientUserId) {
    return {toUtf8(clientId), toUtf8(password), toUtf8(clientUserId)};
}

// The request context: every text assigned, even empty, so all five elements are written.
std::unique_ptr<DataObject> requestContext(const Identification& id) {
    auto context = DataObject::make("clientContext");
    context->setText("channel", "WS");
    context->setText("clientId", id.clientId);
    context->setText("clientUserId", id.clientUserId);
    context->setText("password", id.password);
    context->setText("clientRequestTimeout", "0");
    return context;
}

// The service's verdict: "SUCCESS" in any case, nothing more or less.
bool succeeded(const DataObject& answer) {
    std::string verdict = answer.text("errorDescription");
    for (char& c : verdict)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return verdict == "SUCCESS";
}

// Runs one operation; the answer when the service says success, else nothing (and the reason told).
std::unique_ptr<DataObject> run(const Identification& id, std::string_view operation,
                                const std::function<void(DataObject&)>& fill = {}) {
    try {
        const std::optional<ServiceBinding> binding = ServiceBinding::bind();
        if (!binding) {
            logLine(std::string(operation) + ": the service description names no " + std::string(kServiceName) + " port " +
                    std::string(kPortName));
            tell("Nav");
            return nullptr;
        }
        DataObject request(*findOperation(operation));
        request.setObject("context", requestContext(id));
        if (fill) fill(request);
        std::unique_ptr<DataObject> answer = binding->call(request);
        if (!succeeded(*answer)) {
            logLine(std::string(operation) + ": the service answered " + answer->text("errorDescription"));
            tell(answer->text("errorDescription"));
            return nullptr;
        }
        return answer;
    } catch (const ServiceError& e) {
        fail(operation, e.what(), e.cashierText());
    } catch (const std::exception& e) {
        fail(operation, e.what(), kServiceAnswerFaulty);
    } catch (...) {
        fail(operation, "unknown error of the voucher service client", kServiceAnswerFaulty);
    }
    return nullptr;
}

std::u16string reference(const std::unique_ptr<DataObject>& answer) {
    return answer ? toUtf16(answer->text("ersReference")) : std::u16string();
}

std::string text(const DataObject* object, std::string_view element) { return object ? object->text(element) : std::string(); }

std::string productText(const DataObject* product, const DataObject& supplier) {
    const DataObject* price = product ? product->object("customerPrice") : nullptr;
    return "EAN:" + text(product, "ean") + " SKU:" + text(product, "sku") + " Cena:" + text(price, "value") + " " +
           text(product, "name") + " " + supplier.text("name");
}

}  // namespace
}  // namespace razevedu

using namespace razevedu;

extern "C" {

void setRazeveduMessageCallback(RazeveduMessageCallback callback, void* context) {
    std::lock_guard lock(messageMutex);
    messageTarget = {callback, context};
}

std::u16string* getProductList(std::u16string clientId, std::u16string password, std::u16string clientUserId, int& count) {
    count = 0;
    try {
        const auto answer = run(identify(clientId, password, clientUserId), "getProductList");
        if (!answer) return nullptr;
        const auto& suppliers = answer->items("suppliers");
        std::size_t total = 0;
        for (const auto& supplier : suppliers)
            if (supplier) total += supplier->items("products").size();
        auto* products = new std::u16string[total];
        std::size_t next = 0;
        for (const auto& supplier : suppliers) {
            if (!supplier) continue;
            for (const auto& product : supplier->items("products")) products[next++] = toUtf16(productText(product.get(), *supplier));
        }
        count = int(total);
        return products;
    } catch (const std::exception& e) {
        fail("getProductList", e.what(), kServiceAnswerFaulty);
        return nullptr;
    }
}

void releaseProductList(std::u16string* products) { delete[] products; }

std::u16string reserveVoucher(std::u16string clientId, std::u16string password, std::u16string clientUserId, std::u16string ean) {
    const std::string productId = "ean:" + toUtf8(ean);
    return reference(run(identify(clientId, password, clientUserId), "reserveVoucher",
                         [&](DataObject& r) { r.setText("productId", productId); }));
}

std::u16string buyReservedVoucher(std::u16string clientId, std::u16string password, std::u16string clientUserId,
                                  std::u16string ersReference, std::u16string& code, std::u16string& serial,
                                  std::u16string& receipt) {
    code.clear();
    serial.clear();
    receipt.clear();
    const std::string ref = toUtf8(ersReference);
    const auto answer = run(identify(clientId, password, clientUserId), "buyReservedVoucher", [&](DataObject& r) {
        r.setText("ersReference", ref);
        r.setText("receiptFormatId", "TEXT");
    });
    if (!answer) return {};
    const DataObject* voucher = answer->object("voucher");
    code = toUtf16(text(voucher, "code"));
    serial = toUtf16(text(voucher, "serial"));
    receipt = toUtf16(answer->text("receipt"));
    return reference(answer);
}

std::u16string cancelVoucherReservation(std::u16string clientId, std::u16string password, std::u16string clientUserId,
                                        std::u16string ersReference) {
    const std::string ref = toUtf8(ersReference);
    return reference(run(identify(clientId, password, clientUserId), "cancelVoucherReservation",
                         [&](DataObject& r) { r.setText("ersReference", ref); }));
}

std::u16string cancelTransaction(std::u16string clientId, std::u16string password, std::u16string clientUserId,
                                 std::u16string ersReference) {
    const std::string ref = toUtf8(ersReference);
    return reference(run(identify(clientId, password, clientUserId), "cancelTransaction", [&](DataObject& r) {
        r.setText("ersReference", ref);
        r.setText("verificationCode", "");
        r.setText("reasonCode", "");
        r.setText("reason", "");
    }));
}

std::u16string executeReport(std::u16string clientId, std::u16string password, std::u16string clientUserId) {
    const Identification id = identify(clientId, password, clientUserId);
    return reference(run(id, "executeReport", [&](DataObject& r) {
        r.setText("reportId", "repo:///terminal/REP_TERM_RESELLER_INFO.xml");
        r.setText("language", "en");
        auto entry = DataObject::make("parameter");
        entry->setText("key", "resellerId");
        entry->setText("value", id.clientId);
        auto parameters = DataObject::make("parameterMap");
        parameters->addItem("parameter", std::move(entry));
        r.setObject("parameters", std::move(parameters));
    }));
}
}
