// HTTP(S) exchanges of the voucher client over libcurl, each with time-outs.
#pragma once

#include <string>
#include <string_view>

namespace razevedu {

struct HttpReply {
    long status = 0;
    std::string body;
};

// The till blocks while the service is asked, with a customer waiting: an exchange that has not
// ended in this time is given up (a voucher sale asks the service twice).
inline constexpr long kDefaultTimeoutSeconds = 10;
// Connecting is quicker than answering: a host that takes longer is not reachable.
inline constexpr long kConnectTimeoutSeconds = 5;

// What an exchange may do.
struct TransportPolicy {
    long timeoutSeconds = kDefaultTimeoutSeconds;
    // Plain HTTP carries the password readable by anyone on the way; it goes only to this
    // machine (the loopback addresses) unless allowed here.
    bool plainHttpAllowed = false;
};

// localhost, 127.0.0.0/8 and ::1 (in brackets as a URL writes it).
bool isLoopbackHost(std::string_view host);

// Each logs its endpoint; throws ServiceError when no reply arrives (refused, unreachable, timed
// out, TLS failure) or when the policy forbids plain HTTP to the URL's host.
HttpReply httpGet(const std::string& url, const TransportPolicy& policy);
// A SOAP request: UTF-8 XML with an empty SOAP action.
HttpReply httpPostSoap(const std::string& url, const std::string& body, const TransportPolicy& policy);

}  // namespace razevedu
