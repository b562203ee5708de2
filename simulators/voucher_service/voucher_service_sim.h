// The voucher web service's other side on loopback: an HTTP server (libmicrohttpd) that serves a
// service description pointing back at itself and answers reserveVoucher, buyReservedVoucher,
// cancelVoucherReservation, cancelTransaction, getProductList and executeReport from canned data
// (vouchers of the products of its suppliers).
// It reads requests with its own code, keeps each for golden comparison, and has fault switches.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct MHD_Daemon;

namespace sim {

class VoucherServiceSim {
public:
    // The namespace the description declares and the answers use.
    static constexpr const char* kNamespace = "http://client.vouchers.tillora.lv/";

    struct Product {
        std::string ean, sku, name;
        std::optional<std::string> price;  // the customer price's value; nothing leaves the price out
    };
    struct Supplier {
        std::string name;
        std::vector<Product> products;
    };

    // What arrived: the method, the path with its query, the body, and for a SOAP request the
    // operation and its parameters' texts by element path ("context/clientId", "productId").
    struct Request {
        std::string method, target, body, operation;
        std::map<std::string, std::string> fields;
    };

    // Switches, read at every request.
    struct Faults {
        // An operation that fails, answering with this errorDescription and doing nothing.
        std::map<std::string, std::string> errorText;
        // The errorDescription of answers that succeed, in place of "SUCCESS".
        std::string successText = "SUCCESS";
        bool noErrorDescription = false;  // answers without the element
        int resultCode = 0;
        bool http500 = false;             // every SOAP request gets a plain HTTP 500
        bool soapFault = false;           // every SOAP request gets a SOAP fault
        bool noDescription = false;       // the description is not found (404)
        bool malformedXml = false;        // answers that are not well-formed
        int delayMs = 0;                  // every HTTP request is answered this late
        bool silent = false;              // requests are held unanswered while this is on (until stop)
        // The endpoint the description names, in place of the simulator's own address.
        std::string describedEndpoint;
    };

    VoucherServiceSim();
    ~VoucherServiceSim();
    VoucherServiceSim(const VoucherServiceSim&) = delete;
    VoucherServiceSim& operator=(const VoucherServiceSim&) = delete;

    // Listens on 127.0.0.1 (port 0: any free one); false when it cannot.
    bool start(std::uint16_t port = 0);
    void stop();
    std::uint16_t port() const { return port_; }
    // "http://127.0.0.1:<port>", the host value the client's settings take.
    std::string baseUrl() const;

    void setFaults(const Faults& faults);
    void setSuppliers(std::vector<Supplier> suppliers);
    // The purchase receipt's text; "{code}" and "{serial}" are replaced by the voucher's.
    void setReceiptText(std::string text);

    std::vector<Request> requests() const;
    // The SOAP requests only (the description reads left out).
    std::vector<Request> soapRequests() const;
    std::size_t httpRequestCount() const;
    void clearRequests();

    // The references of reservations made and not yet bought or cancelled, and of those bought,
    // and every reference cancelled, in order.
    std::vector<std::string> openReservations() const;
    std::vector<std::string> bought() const;
    std::vector<std::string> cancelled() const;

private:
    struct Reply {
        unsigned status = 200;
        std::string contentType = "text/xml; charset=utf-8";
        std::string body;
    };
    friend class RequestHandler;
    Reply answer(const std::string& method, const std::string& target, const std::string& body);
    Reply answerSoap(Request& request);
    std::string description() const;
    // Reservations are made for the products of the canned suppliers only ("ean:" + their ean).
    bool knownProduct(const std::string& productId) const;

    MHD_Daemon* daemon_ = nullptr;
    std::uint16_t port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable faultsChanged_;
    bool stopping_ = false;
    Faults faults_;
    std::vector<Supplier> suppliers_;
    std::string receiptText_;
    std::vector<Request> requests_;
    std::map<std::string, std::string> reservations_;  // reference -> product id
    std::vector<std::string> reservationOrder_;
    std::vector<std::string> bought_;
    std::vector<std::string> cancelled_;
    int nextReference_ = 1;
};

}  // namespace sim
