// HTTP(S) exchanges of the voucher client over libcurl, each with time-outs.
#pragma once

#include <string>

namespace razevedu {

struct HttpReply {
    long status = 0;
    std::string body;
};

// Throws ServiceError when no reply arrives (refused, unreachable, timed out, TLS failure).
HttpReply httpGet(const std::string& url);
// A SOAP request: UTF-8 XML with an empty SOAP action.
HttpReply httpPostSoap(const std::string& url, const std::string& body);

}  // namespace razevedu
