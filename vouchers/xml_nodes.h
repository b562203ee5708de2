// The few libxml2 helpers the SOAP message and the service description both read with.
#pragma once

#include <libxml/tree.h>

#include <cstring>
#include <string>

namespace razevedu {

inline const xmlChar* X(const char* s) { return reinterpret_cast<const xmlChar*>(s); }

// Whether the node is an element of that local name (namespaces are compared apart).
inline bool named(xmlNode* node, const char* localName) {
    return node->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(node->name), localName) == 0;
}

// The text libxml2 handed over (empty for none), which is freed here.
inline std::string takeXmlText(xmlChar* text) {
    std::string result = text ? reinterpret_cast<char*>(text) : "";
    xmlFree(text);
    return result;
}

}  // namespace razevedu
