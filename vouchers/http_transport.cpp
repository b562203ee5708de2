#include "http_transport.h"

#include "service_error.h"

#include <curl/curl.h>

#include <memory>

namespace razevedu {
namespace {

// Long enough for a slow service, short enough that a dead one does not hold the till for long.
constexpr long kConnectTimeoutSeconds = 10;
constexpr long kTotalTimeoutSeconds = 60;

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

HttpReply perform(const std::string& url, const std::string* postBody) {
    std::unique_ptr<CURL, CurlFree> curl(curl_easy_init());
    if (!curl) throw ServiceError("Cannot start an HTTP exchange");
    HttpReply reply;
    char error[CURL_ERROR_SIZE] = {};
    std::unique_ptr<curl_slist, ListFree> headers;
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, kTotalTimeoutSeconds);
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
    if (code != CURLE_OK) throw ServiceError(std::string(error[0] ? error : curl_easy_strerror(code)) + " (" + url + ")");
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &reply.status);
    return reply;
}

}  // namespace

HttpReply httpGet(const std::string& url) { return perform(url, nullptr); }
HttpReply httpPostSoap(const std::string& url, const std::string& body) { return perform(url, &body); }

}  // namespace razevedu
