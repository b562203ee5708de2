// SOAP 1.1 documents of the voucher service, document style with literal XML in UTF-8: the
// request written from a request object, the answer read into its result class.
#pragma once

#include "data_object.h"

#include <memory>
#include <string>
#include <string_view>

namespace razevedu {

// The envelope of one request: the operation's element in the service namespace, its parameters
// and their contents unqualified, each element written when required or assigned.
std::string writeRequest(const DataObject& request, std::string_view serviceNamespace);

// The object under "return" in the answer's body, of the operation's result class. Throws
// ServiceError for a SOAP fault (with its fault string), XML that cannot be read, and an answer
// without a body or without a "return" element.
std::unique_ptr<DataObject> readAnswer(std::string_view xml, const OperationDef& operation);

inline constexpr const char* kSoapEnvelopeNamespace = "http://schemas.xmlsoap.org/soap/envelope/";
inline constexpr const char* kSchemaInstanceNamespace = "http://www.w3.org/2001/XMLSchema-instance";

}  // namespace razevedu
