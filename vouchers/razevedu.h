// The voucher web-service client librazevedu.so: six calls to the voucher service, each one
// request and one answer, with UTF-16 texts. The till finds these functions by name at run time.
#pragma once

#include <string>

extern "C" {

// The first three arguments of every call: client id, password, client user id.
// A call that fails returns the empty text (the product list: no array and count 0); what went
// wrong goes to the message callback. No call throws.

// One text per product: "EAN:<ean> SKU:<sku> Cena:<price> <name> <supplier>". The array belongs
// to the caller, who gives it back through releaseProductList.
std::u16string* getProductList(std::u16string clientId, std::u16string password, std::u16string clientUserId, int& count);
void releaseProductList(std::u16string* products);

// The service's reference of the reservation of product "ean:" + ean.
std::u16string reserveVoucher(std::u16string clientId, std::u16string password, std::u16string clientUserId,
                              std::u16string ean);
// Buys a reserved voucher; its code, serial and the purchase receipt ("TEXT" format) come back in
// the outputs, which are emptied when the purchase fails.
std::u16string buyReservedVoucher(std::u16string clientId, std::u16string password, std::u16string clientUserId,
                                  std::u16string ersReference, std::u16string& code, std::u16string& serial,
                                  std::u16string& receipt);
std::u16string cancelVoucherReservation(std::u16string clientId, std::u16string password, std::u16string clientUserId,
                                        std::u16string ersReference);
std::u16string cancelTransaction(std::u16string clientId, std::u16string password, std::u16string clientUserId,
                                 std::u16string ersReference);
// Asks for the reseller report; only the reference of the request comes back.
std::u16string executeReport(std::u16string clientId, std::u16string password, std::u16string clientUserId);

// Where the library's messages go (the service's error texts, transport and SOAP errors). The
// library shows nothing itself; without a callback the messages are dropped.
using RazeveduMessageCallback = void (*)(void* context, const std::u16string& text);
void setRazeveduMessageCallback(RazeveduMessageCallback callback, void* context);
}

// The settings-store value naming the voucher service's host: "host", "host:port", or with an
// "http://" or "https://" prefix (https when none is given). The service description is read from
// <host>/extclientproxy/client?wsdl.
inline constexpr const char* kRazeveduSettingsKey = "Software\\TOVEL\\Tillora\\Setup";
inline constexpr const char* kRazeveduHostValue = "ZudezoServer";
// Integer values beside it: the seconds one exchange with the service may take (1 to 120; 10 when
// missing or out of range), and 1 to let plain HTTP reach a host other than this machine (the
// password travels in the request; without it only https and the loopback addresses are used).
inline constexpr const char* kRazeveduTimeoutValue = "ZudezoTimeout";
inline constexpr const char* kRazeveduPlainHttpValue = "ZudezoAllowHttp";
