#include "voucher_service_sim.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <microhttpd.h>
#include <netinet/in.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace sim {
namespace {

constexpr const char* kEndpointPath = "/extclientproxy/client";

std::string escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string element(const char* name, const std::string& text) { return std::string("<") + name + ">" + escape(text) + "</" + name + ">"; }

std::string envelope(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
           "<S:Envelope xmlns:S=\"http://schemas.xmlsoap.org/soap/envelope/\"><S:Body>" +
           body + "</S:Body></S:Envelope>";
}

// Collects the leaf texts below the operation element by their element paths.
void collectFields(xmlNode* node, const std::string& path, std::map<std::string, std::string>& fields) {
    bool hasElements = false;
    for (xmlNode* child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) continue;
        hasElements = true;
        const std::string name = reinterpret_cast<const char*>(child->name);
        collectFields(child, path.empty() ? name : path + "/" + name, fields);
    }
    if (!hasElements && !path.empty()) {
        xmlChar* content = xmlNodeGetContent(node);
        fields[path] = content ? reinterpret_cast<char*>(content) : "";
        xmlFree(content);
    }
}

// The operation and its fields of a SOAP request; false when the body is no SOAP request.
bool parseSoapRequest(const std::string& body, VoucherServiceSim::Request& request) {
    xmlDoc* doc = xmlReadMemory(body.data(), int(body.size()), nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) return false;
    bool found = false;
    xmlNode* root = xmlDocGetRootElement(doc);
    for (xmlNode* b = root ? root->children : nullptr; b && !found; b = b->next) {
        if (b->type != XML_ELEMENT_NODE || std::strcmp(reinterpret_cast<const char*>(b->name), "Body") != 0) continue;
        for (xmlNode* op = b->children; op; op = op->next) {
            if (op->type != XML_ELEMENT_NODE) continue;
            request.operation = reinterpret_cast<const char*>(op->name);
            collectFields(op, "", request.fields);
            found = true;
            break;
        }
    }
    xmlFreeDoc(doc);
    return found;
}

struct Upload {
    std::string body;
    std::string target;
};

MHD_Result collectArgument(void* target, MHD_ValueKind, const char* key, const char* value) {
    auto& text = *static_cast<std::string*>(target);
    text += text.empty() ? "?" : "&";
    text += key;
    if (value) text += std::string("=") + value;
    return MHD_YES;
}

}  // namespace

class RequestHandler {
public:
    static MHD_Result handle(void* self, MHD_Connection* connection, const char* url, const char* method, const char*,
                             const char* uploadData, std::size_t* uploadSize, void** state) {
        auto& sim = *static_cast<VoucherServiceSim*>(self);
        if (!*state) {
            auto* upload = new Upload;
            upload->target = url;
            std::string query;
            MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, collectArgument, &query);
            upload->target += query;
            *state = upload;
            return MHD_YES;
        }
        auto* upload = static_cast<Upload*>(*state);
        if (*uploadSize) {
            upload->body.append(uploadData, *uploadSize);
            *uploadSize = 0;
            return MHD_YES;
        }
        const VoucherServiceSim::Reply reply = sim.answer(method, upload->target, upload->body);
        MHD_Response* response = MHD_create_response_from_buffer(reply.body.size(), const_cast<char*>(reply.body.data()),
                                                                 MHD_RESPMEM_MUST_COPY);
        MHD_add_response_header(response, "Content-Type", reply.contentType.c_str());
        const MHD_Result result = MHD_queue_response(connection, reply.status, response);
        MHD_destroy_response(response);
        return result;
    }

    static void completed(void*, MHD_Connection*, void** state, MHD_RequestTerminationCode) {
        delete static_cast<Upload*>(*state);
        *state = nullptr;
    }
};

VoucherServiceSim::VoucherServiceSim()
    : suppliers_{{"Mobilais A", {{"4750000000001", "A-5", "Karte 5 EUR", "5.00"}, {"4750000000002", "A-10", "Karte 10 EUR", "10.00"}}},
                 {"Mobilais B", {{"4750000000003", "B-7", "Karte 7 EUR", "7.00"}}}},
      receiptText_("<img src=\"zudezo\">\nPriekšapmaksas karte\nKods: {code}\nSērija: {serial}\n<barcode digits=\"{code}\">\nPaldies!") {}

VoucherServiceSim::~VoucherServiceSim() { stop(); }

bool VoucherServiceSim::start(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    daemon_ = MHD_start_daemon(MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_THREAD_PER_CONNECTION | MHD_USE_ERROR_LOG, 0, nullptr,
                               nullptr, &RequestHandler::handle, this, MHD_OPTION_SOCK_ADDR, &address,
                               MHD_OPTION_NOTIFY_COMPLETED, &RequestHandler::completed, nullptr, MHD_OPTION_END);
    if (!daemon_) return false;
    {
        std::lock_guard lock(mutex_);
        stopping_ = false;
    }
    const MHD_DaemonInfo* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
    port_ = info ? info->port : port;
    return true;
}

void VoucherServiceSim::stop() {
    {
        // A silent request lets go, so its connection's thread can end.
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    faultsChanged_.notify_all();
    if (daemon_) MHD_stop_daemon(daemon_);
    daemon_ = nullptr;
}

std::string VoucherServiceSim::baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

void VoucherServiceSim::setFaults(const Faults& faults) {
    {
        std::lock_guard lock(mutex_);
        faults_ = faults;
    }
    faultsChanged_.notify_all();
}

void VoucherServiceSim::setSuppliers(std::vector<Supplier> suppliers) {
    std::lock_guard lock(mutex_);
    suppliers_ = std::move(suppliers);
}

void VoucherServiceSim::setReceiptText(std::string text) {
    std::lock_guard lock(mutex_);
    receiptText_ = std::move(text);
}

std::vector<VoucherServiceSim::Request> VoucherServiceSim::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<VoucherServiceSim::Request> VoucherServiceSim::soapRequests() const {
    std::vector<Request> soap;
    for (Request& r : requests())
        if (!r.operation.empty()) soap.push_back(std::move(r));
    return soap;
}

std::size_t VoucherServiceSim::httpRequestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

void VoucherServiceSim::clearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

std::vector<std::string> VoucherServiceSim::openReservations() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> open;
    for (const std::string& ref : reservationOrder_)
        if (reservations_.count(ref)) open.push_back(ref);
    return open;
}

std::vector<std::string> VoucherServiceSim::bought() const {
    std::lock_guard lock(mutex_);
    return bought_;
}

std::vector<std::string> VoucherServiceSim::cancelled() const {
    std::lock_guard lock(mutex_);
    return cancelled_;
}

bool VoucherServiceSim::knownProduct(const std::string& productId) const {
    for (const Supplier& s : suppliers_)
        for (const Product& p : s.products)
            if (productId == "ean:" + p.ean) return true;
    return false;
}

std::string VoucherServiceSim::description() const {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                       "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\" xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\""
                       " xmlns:tns=\"") +
           kNamespace + "\" targetNamespace=\"" + kNamespace + "\" name=\"ERSClientInterfaceImplService\">" +
           "<portType name=\"ERSClientInterface\"/>"
           "<binding name=\"ERSClientInterfaceImplPortBinding\" type=\"tns:ERSClientInterface\">"
           "<soap:binding transport=\"http://schemas.xmlsoap.org/soap/http\" style=\"document\"/></binding>"
           "<service name=\"ERSClientInterfaceImplService\">"
           "<port name=\"ERSClientInterfaceImplPort\" binding=\"tns:ERSClientInterfaceImplPortBinding\">"
           "<soap:address location=\"" +
           (faults_.describedEndpoint.empty() ? baseUrl() + kEndpointPath : faults_.describedEndpoint) +
           "\"/></port></service></definitions>";
}

VoucherServiceSim::Reply VoucherServiceSim::answer(const std::string& method, const std::string& target, const std::string& body) {
    Request request{method, target, body, {}, {}};
    if (method == "POST") parseSoapRequest(body, request);
    int delay;
    {
        std::unique_lock lock(mutex_);
        requests_.push_back(request);
        delay = faults_.delayMs;
        faultsChanged_.wait(lock, [this] { return !faults_.silent || stopping_; });
    }
    if (delay > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delay));

    std::lock_guard lock(mutex_);
    const std::string path = target.substr(0, target.find('?'));
    if (path != kEndpointPath) return {404, "text/plain", "not found"};
    if (method == "GET") {
        if (target != std::string(kEndpointPath) + "?wsdl" || faults_.noDescription) return {404, "text/plain", "not found"};
        return {200, "text/xml; charset=utf-8", description()};
    }
    if (method != "POST" || request.operation.empty()) return {400, "text/plain", "not a SOAP request"};
    return answerSoap(request);
}

VoucherServiceSim::Reply VoucherServiceSim::answerSoap(Request& request) {
    if (faults_.http500) return {500, "text/html", "<html><body>Internal Server Error</body></html>"};
    if (faults_.soapFault)
        return {500, "text/xml; charset=utf-8",
                envelope("<S:Fault><faultcode>S:Server</faultcode><faultstring>Voucher backend unavailable</faultstring></S:Fault>")};
    if (faults_.malformedXml) return {200, "text/xml; charset=utf-8", "<S:Envelope><S:Body><ns2:broken"};

    const std::string& op = request.operation;
    const auto error = faults_.errorText.find(op);
    const bool success = error == faults_.errorText.end();
    std::string reference;
    std::string payload;
    if (success && op == "reserveVoucher" && !knownProduct(request.fields["productId"])) {
        return {200, "text/xml; charset=utf-8",
                envelope(std::string("<ns2:reserveVoucherResponse xmlns:ns2=\"") + kNamespace + "\"><return>" +
                         element("errorDescription", "Unknown product " + request.fields["productId"]) +
                         "<resultCode>2</resultCode></return></ns2:reserveVoucherResponse>")};
    } else if (success && op == "reserveVoucher") {
        reference = "R" + std::to_string(nextReference_++);
        reservations_[reference] = request.fields["productId"];
        reservationOrder_.push_back(reference);
    } else if (success && op == "buyReservedVoucher") {
        reference = request.fields["ersReference"];
        if (!reservations_.erase(reference))
            return {200, "text/xml; charset=utf-8",
                    envelope(std::string("<ns2:buyReservedVoucherResponse xmlns:ns2=\"") + kNamespace + "\"><return>" +
                             element("errorDescription", "Unknown reservation " + reference) + "<resultCode>3</resultCode></return></ns2:buyReservedVoucherResponse>")};
        bought_.push_back(reference);
        char code[32];
        std::snprintf(code, sizeof code, "47500%08zu", bought_.size());
        const std::string serial = "S" + std::to_string(1000 + bought_.size());
        std::string receipt = receiptText_;
        for (const auto& [mark, value] : {std::pair<std::string, std::string>{"{code}", code}, {"{serial}", serial}})
            for (std::size_t at; (at = receipt.find(mark)) != std::string::npos;) receipt.replace(at, mark.size(), value);
        payload = element("productEAN", "") + element("receipt", receipt) + "<voucher>" + element("code", code) +
                  "<expiryDate>2027-12-31T00:00:00Z</expiryDate>" + element("serial", serial) + "</voucher>";
    } else if (success && (op == "cancelVoucherReservation" || op == "cancelTransaction")) {
        reference = request.fields["ersReference"];
        reservations_.erase(reference);
        cancelled_.push_back(reference);
        reference = "C" + reference;
    } else if (success && op == "getProductList") {
        reference = "P" + std::to_string(nextReference_++);
        for (const Supplier& s : suppliers_) {
            payload += "<suppliers>" + element("name", s.name);
            for (const Product& p : s.products) {
                payload += "<products>";
                if (p.price) payload += "<customerPrice>" + element("currency", "EUR") + element("value", *p.price) + "</customerPrice>";
                payload += element("ean", p.ean) + element("name", p.name) + element("sku", p.sku) + "</products>";
            }
            payload += "</suppliers>";
        }
    } else if (success) {
        reference = "X" + std::to_string(nextReference_++);
    }
    std::string head;
    if (!faults_.noErrorDescription) head += element("errorDescription", success ? faults_.successText : error->second);
    if (!reference.empty()) head += element("ersReference", reference);
    head += "<resultCode>" + std::to_string(faults_.resultCode) + "</resultCode>";
    return {200, "text/xml; charset=utf-8",
            envelope("<ns2:" + op + "Response xmlns:ns2=\"" + kNamespace + "\"><return>" + head + payload + "</return></ns2:" + op +
                     "Response>")};
}

}  // namespace sim
