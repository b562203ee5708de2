#include "service_binding.h"

#include "http_transport.h"
#include "razevedu.h"
#include "service_error.h"
#include "soap_message.h"
#include "xml_nodes.h"

#include "settings_store.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>

namespace razevedu {
namespace {

std::string attribute(xmlNode* node, const char* name) { return takeXmlText(xmlGetProp(node, X(name))); }

xmlNode* childWithName(xmlNode* parent, const char* element, std::string_view nameAttribute) {
    for (xmlNode* n = parent->children; n; n = n->next)
        if (named(n, element) && attribute(n, "name") == nameAttribute) return n;
    return nullptr;
}

// The start of a reply body, for an error text.
std::string excerpt(const std::string& body) { return body.size() > 200 ? body.substr(0, 200) + "..." : body; }

}  // namespace

std::optional<ServiceLocation> readServiceDescription(std::string_view xml) {
    xmlDoc* doc = xmlReadMemory(xml.data(), int(xml.size()), nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) throw ServiceError("The voucher service's description is not readable XML");
    std::optional<ServiceLocation> result;
    xmlNode* definitions = xmlDocGetRootElement(doc);
    xmlNode* service = definitions && named(definitions, "definitions") ? childWithName(definitions, "service", kServiceName) : nullptr;
    xmlNode* port = service ? childWithName(service, "port", kPortName) : nullptr;
    if (port) {
        for (xmlNode* n = port->children; n; n = n->next) {
            if (!named(n, "address")) continue;
            result = ServiceLocation{attribute(definitions, "targetNamespace"), attribute(n, "location")};
            break;
        }
    }
    xmlFreeDoc(doc);
    if (result && (result->endpoint.empty() || result->serviceNamespace.empty())) result.reset();
    return result;
}

std::string builtInDescriptionLocation() {
    std::string host = platform::SettingsStore::current().readText(kRazeveduSettingsKey, kRazeveduHostValue).value_or("localhost");
    if (host.rfind("http://", 0) != 0 && host.rfind("https://", 0) != 0) host = "https://" + host;
    while (!host.empty() && host.back() == '/') host.pop_back();
    return host + std::string(kEndpointPath) + "?wsdl";
}

TransportPolicy transportPolicyFromSettings() {
    const platform::SettingsStore& store = platform::SettingsStore::current();
    TransportPolicy policy;
    const std::int32_t seconds = store.readInteger(kRazeveduSettingsKey, kRazeveduTimeoutValue).value_or(0);
    if (seconds >= 1 && seconds <= 120) policy.timeoutSeconds = seconds;
    policy.plainHttpAllowed = store.readInteger(kRazeveduSettingsKey, kRazeveduPlainHttpValue).value_or(0) == 1;
    return policy;
}

std::optional<ServiceBinding> ServiceBinding::bind(const std::string& descriptionUrl) {
    const std::string url = descriptionUrl.empty() ? builtInDescriptionLocation() : descriptionUrl;
    const TransportPolicy policy = transportPolicyFromSettings();
    const HttpReply reply = httpGet(url, policy);
    if (reply.status != 200)
        throw ServiceError("The voucher service's description could not be read: HTTP " + std::to_string(reply.status) + " (" + url + ")");
    std::optional<ServiceLocation> location = readServiceDescription(reply.body);
    if (!location) return std::nullopt;
    return ServiceBinding(std::move(*location), policy);
}

std::unique_ptr<DataObject> ServiceBinding::call(const DataObject& request) const {
    const OperationDef* operation = findOperation(request.typeName());
    if (!operation) throw ServiceError("Unknown operation " + std::string(request.typeName()));
    const HttpReply reply = httpPostSoap(location_.endpoint, writeRequest(request, location_.serviceNamespace), policy_);
    if (reply.status == 200) return readAnswer(reply.body, *operation);
    // A SOAP fault comes with HTTP 500: its fault string is the better text.
    if (reply.status == 500) {
        try {
            readAnswer(reply.body, *operation);
        } catch (const SoapFault&) {
            throw;
        } catch (const ServiceError&) {
        }
    }
    throw ServiceError("The voucher service answered HTTP " + std::to_string(reply.status) + ": " + excerpt(reply.body));
}

}  // namespace razevedu
