#include "service_types.h"

#include <array>

namespace razevedu {
namespace {

using W = WireType;

constexpr ElementDef text(std::string_view name) { return {name, W::String, {}, false, false, {}}; }
constexpr ElementDef number(std::string_view name, W type, bool required) { return {name, type, {}, required, false, {}}; }
constexpr ElementDef object(std::string_view name, std::string_view cls) { return {name, W::Object, cls, false, false, {}}; }
constexpr ElementDef listOf(std::string_view name, std::string_view cls) { return {name, W::Object, cls, false, true, {}}; }
// An operation's text or number parameter: written always.
constexpr ElementDef param(std::string_view name, W type = W::String) { return {name, type, {}, true, false, {}}; }

constexpr std::array response{text("errorDescription"), text("ersReference"), number("resultCode", W::Int, true)};
constexpr std::array clientContext{text("channel"), text("clientId"), number("clientRequestTimeout", W::Long, true),
                                   text("clientUserId"), text("password")};
constexpr std::array clientTransactionData{text("clientComment"), text("clientReference"), text("clientTag")};
constexpr std::array amount{text("currency"), number("value", W::Decimal, false)};
constexpr std::array supplierData{text("name"), listOf("products", "productData")};
constexpr std::array productData{object("customerPrice", "amount"), text("ean"), text("name"), text("sku")};
constexpr std::array voucherData{text("code"), number("expiryDate", W::DateTime, false), text("serial")};
constexpr std::array voucherSaleData{text("productId"), text("recipientTypeId"), text("saleReference"), text("serial"),
                                     number("timeOfSale", W::DateTime, false)};
constexpr std::array clientAccountData{text("accountId"), object("balance", "amount"), object("creditLimit", "amount"),
                                       text("description")};
constexpr std::array topupAccountInformation{text("accountId"), object("balanceAfter", "amount"),
                                             object("balanceBefore", "amount"), number("expiryAfter", W::DateTime, false),
                                             number("expiryBefore", W::DateTime, false)};
constexpr std::array transactionAccountInformation{text("accountId"), object("balanceAfter", "amount"),
                                                   object("balanceBefore", "amount")};
constexpr std::array adminUser{text("email"), text("name"), text("phone"), text("userId"), text("userRole")};
constexpr std::array parameter{text("key"), text("value")};
constexpr std::array parameterMap{ElementDef{"parameter", W::Object, "parameter", false, true, "entry"}};
constexpr std::array reportData{number("content", W::Base64, false), text("contentString"), text("mimeType"), text("title")};
constexpr std::array getClientAccountsResponseData{listOf("accounts", "clientAccountData"), text("clientMSISDN"),
                                                   text("clientName"), text("receipt")};
constexpr std::array creditTransferResponseData{object("amount", "amount"), text("receipt"),
                                                object("senderAccount", "transactionAccountInformation")};
constexpr std::array getSubscriberResponseData{text("accountClass"), listOf("accountList", "clientAccountData"),
                                               text("language"), text("status"), text("subscriberMSISDN")};
constexpr std::array buyVoucherResponseData{text("productEAN"), text("productName"), text("productSKU"), text("receipt"),
                                            object("voucher", "voucherData")};
constexpr std::array buyVouchersResponseData{text("productEAN"), text("productName"), text("productSKU"),
                                             listOf("vouchers", "voucherData")};
constexpr std::array reportResponseData{object("reportData", "reportData")};
constexpr std::array getClientStatusResponseData{listOf("accounts", "clientAccountData"), text("clientName"),
                                                 text("receipt")};
constexpr std::array topupResponseData{object("doubleToppedUp", "amount"), object("receiverAccount", "topupAccountInformation"),
                                       text("receiverReceipt"), object("senderAccount", "topupAccountInformation"),
                                       text("senderReceipt")};
constexpr std::array getProductListResponseData{listOf("suppliers", "supplierData")};
constexpr std::array getReceiptResponseData{text("receipt")};
constexpr std::array productCountData{number("totalCount", W::Int, true)};

const std::array<ClassDef, 26> kClasses{{
    {"response", {}, response},
    {"clientContext", {}, clientContext},
    {"clientTransactionData", {}, clientTransactionData},
    {"amount", {}, amount},
    {"supplierData", {}, supplierData},
    {"productData", {}, productData},
    {"voucherData", {}, voucherData},
    {"voucherSaleData", {}, voucherSaleData},
    {"clientAccountData", {}, clientAccountData},
    {"topupAccountInformation", {}, topupAccountInformation},
    {"transactionAccountInformation", {}, transactionAccountInformation},
    {"adminUser", {}, adminUser},
    {"parameter", {}, parameter},
    {"parameterMap", {}, parameterMap},
    {"reportData", {}, reportData},
    {"getClientAccountsResponseData", "response", getClientAccountsResponseData},
    {"creditTransferResponseData", "response", creditTransferResponseData},
    {"getSubscriberResponseData", "response", getSubscriberResponseData},
    {"buyVoucherResponseData", "response", buyVoucherResponseData},
    {"buyVouchersResponseData", "response", buyVouchersResponseData},
    {"reportResponseData", "response", reportResponseData},
    {"getClientStatusResponseData", "response", getClientStatusResponseData},
    {"topupResponseData", "response", topupResponseData},
    {"getProductListResponseData", "response", getProductListResponseData},
    {"getReceiptResponseData", "response", getReceiptResponseData},
    {"productCountData", "response", productCountData},
}};

// Parameters: `context` and `transactionData` are objects given or not; everything else is
// written always.
constexpr ElementDef context = object("context", "clientContext");
constexpr ElementDef transactionData = object("transactionData", "clientTransactionData");
constexpr ElementDef amountParam = object("amount", "amount");

constexpr std::array pGetClientAccounts{context, param("clientMSISDN")};
constexpr std::array pBuyVoucher{context, transactionData, param("productId"), param("receiptFormatId")};
constexpr std::array pTransferCredit{context, transactionData, param("receiverResellerId"), amountParam, param("receiptFormatId")};
constexpr std::array pGetSubscriber{context, param("subscriberMSISDN")};
constexpr std::array pBuyReservedVoucher{context, param("ersReference"), param("receiptFormatId")};
constexpr std::array pReportVouchersSoldOn{context, transactionData, listOf("arg2", "voucherSaleData")};
constexpr std::array pContextOnly{context};
constexpr std::array pGetClientStatus{context, param("receiptFormatId")};
constexpr std::array pReserveVoucher{context, transactionData, param("productId")};
constexpr std::array pCommitTopup{context, transactionData, param("ersReference"), param("receiptFormatId")};
constexpr std::array pRequestAdminUserTransaction{context, param("adminUserOperation", W::Enumeration),
                                                  object("adminUser", "adminUser"), param("adminPassword")};
constexpr std::array pChangeClientPassword{context, param("newPassword")};
constexpr std::array pTopup{context, transactionData, param("productId"), param("accountId"), amountParam, param("receiptFormatId")};
constexpr std::array pGetReceipt{context, param("ersReference"), param("receiptType")};
constexpr std::array pCancelVoucherReservation{context, param("ersReference")};
constexpr std::array pGetProductListBySequence{context, param("startSeq", W::Int), param("endSeq", W::Int)};
constexpr std::array pBuyVouchers{context, transactionData, param("productId"), param("count", W::Int),
                                  param("reportAsSoldOnDirectly", W::Boolean)};
constexpr std::array pPrepareTopup{context, transactionData, param("productId"), param("accountId"), amountParam,
                                   param("isAccountIdMSISDN", W::Boolean), param("isDirectTopup", W::Boolean)};
constexpr std::array pExecuteReport{context, transactionData, param("reportId"), param("language"),
                                    object("parameters", "parameterMap")};
constexpr std::array pCancelTransaction{context, transactionData, param("ersReference"), param("verificationCode"),
                                        param("reasonCode"), param("reason")};
constexpr std::array pCancelTopup{context, transactionData, param("ersReference")};

// In the order the interface declares them.
const std::array<OperationDef, 22> kOperations{{
    {"getClientAccounts", pGetClientAccounts, "getClientAccountsResponseData"},
    {"buyVoucher", pBuyVoucher, "buyVoucherResponseData"},
    {"transferCredit", pTransferCredit, "creditTransferResponseData"},
    {"getSubscriber", pGetSubscriber, "getSubscriberResponseData"},
    {"buyReservedVoucher", pBuyReservedVoucher, "buyVoucherResponseData"},
    {"reportVouchersSoldOn", pReportVouchersSoldOn, "response"},
    {"getProductListCount", pContextOnly, "productCountData"},
    {"getClientStatus", pGetClientStatus, "getClientStatusResponseData"},
    {"reserveVoucher", pReserveVoucher, "response"},
    {"commitTopup", pCommitTopup, "topupResponseData"},
    {"requestAdminUserTransaction", pRequestAdminUserTransaction, "response"},
    {"changeClientPassword", pChangeClientPassword, "response"},
    {"topup", pTopup, "topupResponseData"},
    {"getReceipt", pGetReceipt, "getReceiptResponseData"},
    {"cancelVoucherReservation", pCancelVoucherReservation, "response"},
    {"getProductList", pContextOnly, "getProductListResponseData"},
    {"getProductListBySequence", pGetProductListBySequence, "getProductListResponseData"},
    {"buyVouchers", pBuyVouchers, "buyVouchersResponseData"},
    {"prepareTopup", pPrepareTopup, "response"},
    {"executeReport", pExecuteReport, "reportResponseData"},
    {"cancelTransaction", pCancelTransaction, "response"},
    {"cancelTopup", pCancelTopup, "response"},
}};

}  // namespace

const ClassDef* findClass(std::string_view name) {
    for (const ClassDef& c : kClasses)
        if (c.name == name) return &c;
    return nullptr;
}

const OperationDef* findOperation(std::string_view name) {
    for (const OperationDef& o : kOperations)
        if (o.name == name) return &o;
    return nullptr;
}

std::span<const ClassDef> allClasses() { return kClasses; }
std::span<const OperationDef> allOperations() { return kOperations; }

ClassElements elementsOf(const ClassDef& definition) {
    const ClassDef* base = definition.base.empty() ? nullptr : findClass(definition.base);
    return {base ? base->own : std::span<const ElementDef>{}, definition.own};
}

}  // namespace razevedu
