#include "soap_message.h"

#include "service_error.h"
#include "xml_nodes.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>

namespace razevedu {
namespace {

std::string name(std::string_view s) { return std::string(s); }

struct DocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
using Doc = std::unique_ptr<xmlDoc, DocFree>;

void writeContent(xmlNode* parent, const DataObject& object, xmlNs* xsi);

// A child element without a namespace (xmlNewChild would give it the parent's), with its text
// escaped when given.
xmlNode* addElement(xmlNode* parent, const std::string& element, const std::string* text = nullptr) {
    xmlNode* node = xmlNewDocNode(parent->doc, nullptr, X(element.c_str()), nullptr);
    if (text) xmlNodeAddContent(node, X(text->c_str()));
    return xmlAddChild(parent, node);
}

void writeNil(xmlNode* parent, const std::string& element, xmlNs* xsi) {
    xmlNode* node = addElement(parent, element);
    xmlNewNsProp(node, xsi, X("nil"), X("true"));
}

void writeObject(xmlNode* parent, const std::string& element, const DataObject* object, xmlNs* xsi) {
    if (!object) return writeNil(parent, element, xsi);
    writeContent(addElement(parent, element), *object, xsi);
}

void writeContent(xmlNode* node, const DataObject& object, xmlNs* xsi) {
    for (std::size_t i = 0; i < object.size(); ++i) {
        const ElementDef& e = object.element(i);
        if (!e.required && !object.present(i)) continue;
        const std::string element = name(e.name);
        if (e.list && !e.wrappedItem.empty()) {
            xmlNode* wrapper = addElement(node, element);
            for (const auto& item : object.items(i)) writeObject(wrapper, name(e.wrappedItem), item.get(), xsi);
        } else if (e.list) {
            for (const auto& item : object.items(i)) writeObject(node, element, item.get(), xsi);
        } else if (e.type == WireType::Object) {
            writeObject(node, element, object.object(i), xsi);
        } else {
            addElement(node, element, &object.text(i));
        }
    }
}

bool isNil(xmlNode* node) {
    xmlChar* nil = xmlGetNsProp(node, X("nil"), X(kSchemaInstanceNamespace));
    const bool result = nil && (std::strcmp(reinterpret_cast<char*>(nil), "true") == 0 || std::strcmp(reinterpret_cast<char*>(nil), "1") == 0);
    xmlFree(nil);
    return result;
}

std::string contentOf(xmlNode* node) {
    if (!node) return {};
    return takeXmlText(xmlNodeGetContent(node));
}

xmlNode* firstElement(xmlNode* parent) {
    for (xmlNode* n = parent ? parent->children : nullptr; n; n = n->next)
        if (n->type == XML_ELEMENT_NODE) return n;
    return nullptr;
}

xmlNode* childNamed(xmlNode* parent, const char* localName) {
    for (xmlNode* n = parent ? parent->children : nullptr; n; n = n->next)
        if (named(n, localName)) return n;
    return nullptr;
}

void readContent(xmlNode* node, DataObject& object);

std::unique_ptr<DataObject> readObject(xmlNode* node, std::string_view className) {
    if (isNil(node)) return nullptr;
    auto object = DataObject::make(className);
    readContent(node, *object);
    return object;
}

// Elements are matched by name; ones the class does not know are passed over.
void readContent(xmlNode* node, DataObject& object) {
    for (xmlNode* child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) continue;
        const int found = object.indexOf(reinterpret_cast<const char*>(child->name));
        if (found < 0) continue;
        const std::size_t i = std::size_t(found);
        const ElementDef& e = object.element(i);
        if (e.list && !e.wrappedItem.empty()) {
            const std::string item = name(e.wrappedItem);
            for (xmlNode* entry = child->children; entry; entry = entry->next)
                if (named(entry, item.c_str())) object.addItem(i, readObject(entry, e.className));
        } else if (e.list) {
            object.addItem(i, readObject(child, e.className));
        } else if (e.type == WireType::Object) {
            if (auto value = readObject(child, e.className)) object.setObject(i, std::move(value));
        } else if (!isNil(child)) {
            object.setText(i, contentOf(child));
        }
    }
}

}  // namespace

std::string writeRequest(const DataObject& request, std::string_view serviceNamespace) {
    Doc doc(xmlNewDoc(X("1.0")));
    xmlNode* envelope = xmlNewNode(nullptr, X("Envelope"));
    xmlDocSetRootElement(doc.get(), envelope);
    xmlNs* soap = xmlNewNs(envelope, X(kSoapEnvelopeNamespace), X("soap"));
    xmlNs* xsi = xmlNewNs(envelope, X(kSchemaInstanceNamespace), X("xsi"));
    xmlSetNs(envelope, soap);
    xmlNode* body = xmlNewChild(envelope, soap, X("Body"), nullptr);
    xmlNode* operation = xmlNewChild(body, nullptr, X(name(request.typeName()).c_str()), nullptr);
    xmlSetNs(operation, xmlNewNs(operation, X(name(serviceNamespace).c_str()), X("ns")));
    writeContent(operation, request, xsi);

    xmlChar* text = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(doc.get(), &text, &size, "UTF-8");
    std::string result(reinterpret_cast<char*>(text), std::size_t(size));
    xmlFree(text);
    return result;
}

std::unique_ptr<DataObject> readAnswer(std::string_view xml, const OperationDef& operation) {
    Doc doc(xmlReadMemory(xml.data(), int(xml.size()), nullptr, "UTF-8", XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!doc) throw ServiceError("The voucher service's answer is not readable XML");
    xmlNode* envelope = xmlDocGetRootElement(doc.get());
    xmlNode* body = envelope && named(envelope, "Envelope") ? childNamed(envelope, "Body") : nullptr;
    if (!body) throw ServiceError("The voucher service's answer is not a SOAP message");
    xmlNode* content = firstElement(body);
    if (content && named(content, "Fault")) {
        const std::string text = contentOf(childNamed(content, "faultstring"));
        throw SoapFault(text.empty() ? "The voucher service answered with a SOAP fault" : text);
    }
    xmlNode* result = content ? childNamed(content, "return") : nullptr;
    if (!result) throw ServiceError("The voucher service's answer holds no result");
    auto object = DataObject::make(operation.result);
    readContent(result, *object);
    return object;
}

}  // namespace razevedu
