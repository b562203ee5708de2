#include "http_transport.h"

#include "razevedu.h"
#include "service_error.h"
#include "service_log.h"

#include <curl/curl.h>

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <optional>

namespace razevedu {
namespace {

size_t collect(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

struct CurlFree {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct ListFree {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
struct UrlFree {
    void operator()(CURLU* u) const { curl_url_cleanup(u); }
};

struct SchemeAndHost {
    std::string scheme, host;
};

// The URL's scheme and host as libcurl will read them; nothing for a URL it cannot read.
std::optional<SchemeAndHost> schemeAndHost(const std::string& url) {
    std::unique_ptr<CURLU, UrlFree> parsed(curl_url());
    if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return std::nullopt;
    SchemeAndHost result;
    for (auto [part, target] : {std::pair{CURLUPART_SCHEME, &result.scheme}, std::pair{CURLUPART_HOST, &result.host}}) {
        char* text = nullptr;
        if (curl_url_get(parsed.get(), part, &text, 0) != CURLUE_OK) return std::nullopt;
        *target = text;
        curl_free(text);
    }
    return result;
}

void refusePlainHttp(const std::string& url, const TransportPolicy& policy) {
    const std::optional<SchemeAndHost> parts = schemeAndHost(url);
    if (!parts) throw ServiceError("Not a URL: " + url, kServiceUnreachable);
    if (parts->scheme != "http" || policy.plainHttpAllowed || isLoopbackHost(parts->host)) return;
    throw ServiceError("Plain HTTP to " + url + " refused: the password would travel unencrypted (the Setup value " +
                           kRazeveduPlainHttpValue + " 1 allows it)",
                       kPlainHttpRefused);
}

HttpReply perform(const char* method, const std::string& url, const std::string* postBody, const TransportPolicy& policy) {
    refusePlainHttp(url, policy);
    logLine(std::string(method) + " " + url);
    std::unique_ptr<CURL, CurlFree> curl(curl_easy_init());
    if (!curl) throw ServiceError("Cannot start an HTTP exchange", kServiceUnreachable);
    HttpReply reply;
    char error[CURL_ERROR_SIZE] = {};
    std::unique_ptr<curl_slist, ListFree> headers;
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT, std::min(kConnectTimeoutSeconds, policy.timeoutSeconds));
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, policy.timeoutSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &reply.body);
    if (postBody) {
        curl_slist* list = curl_slist_append(nullptr, "Content-Type: text/xml; charset=UTF-8");
        list = curl_slist_append(list, "SOAPAction: \"\"");
        // No "Expect: 100-continue" round trip before the body.
        list = curl_slist_append(list, "Expect:");
        headers.reset(list);
        curl_easy_setopt(curl.get(), CURLOPT_HTTPHEADER, list);
        curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, postBody->data());
        curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDSIZE, long(postBody->size()));
    }
    const CURLcode code = curl_easy_perform(curl.get());
    if (code != CURLE_OK)
        throw ServiceError(std::string(error[0] ? error : curl_easy_strerror(code)) + " (" + url + ")",
                           code == CURLE_OPERATION_TIMEDOUT ? kServiceSilent : kServiceUnreachable);
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &reply.status);
    return reply;
}

}  // namespace

bool isLoopbackHost(std::string_view host) {
    std::string address(host);
    std::transform(address.begin(), address.end(), address.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (address == "localhost") return true;
    if (address.size() > 2 && address.front() == '[' && address.back() == ']') address = address.substr(1, address.size() - 2);
    in6_addr v6{};
    if (inet_pton(AF_INET6, address.c_str(), &v6) == 1) return std::memcmp(&v6, &in6addr_loopback, sizeof v6) == 0;
    in_addr v4{};
    return inet_pton(AF_INET, address.c_str(), &v4) == 1 && (ntohl(v4.s_addr) >> 24) == 127;
}

HttpReply httpGet(const std::string& url, const TransportPolicy& policy) { return perform("GET", url, nullptr, policy); }
HttpReply httpPostSoap(const std::string& url, const std::string& body, const TransportPolicy& policy) {
    return perform("POST", url, &body, policy);
}

}  // namespace razevedu
