#include "control.h"

#include <dlfcn.h>

namespace payvo {

using platform::com::DispatchMember;
using platform::com::HResult;
using platform::com::MemberKind;
using platform::com::Variant;

namespace {

// One property: the T_Payvo field it shows. A text is cut to its bound when written.
struct Property {
    std::int32_t dispid;
    const char* name;
    std::string T_Payvo::*text = nullptr;
    std::size_t bound = 0;
    std::int16_t T_Payvo::*shortValue = nullptr;
    std::int32_t T_Payvo::*longValue = nullptr;
    std::uint8_t T_Payvo::*flag = nullptr;
};

const Property kProperties[] = {
    {.dispid = 1, .name = "AData", .text = &T_Payvo::AData, .bound = 200},
    {.dispid = 2, .name = "AID", .text = &T_Payvo::AID, .bound = 200},
    {.dispid = 3, .name = "API", .text = &T_Payvo::API, .bound = 200},
    {.dispid = 4, .name = "Amount", .longValue = &T_Payvo::Amount},
    {.dispid = 5, .name = "AppLabel", .text = &T_Payvo::AppLabel, .bound = 200},
    {.dispid = 6, .name = "AppVersion", .text = &T_Payvo::AppVersion, .bound = 40},
    {.dispid = 7, .name = "AuthCode", .text = &T_Payvo::AuthCode, .bound = 200},
    {.dispid = 8, .name = "CardName", .text = &T_Payvo::CardName, .bound = 200},
    {.dispid = 9, .name = "CardNumber", .text = &T_Payvo::CardNumber, .bound = 200},
    {.dispid = 10, .name = "ConnectionState", .shortValue = &T_Payvo::ConnectionState},
    {.dispid = 11, .name = "Language", .shortValue = &T_Payvo::Language},
    {.dispid = 12, .name = "PrintingDevice", .shortValue = &T_Payvo::PrintingDevice},
    {.dispid = 13, .name = "RefNumber", .text = &T_Payvo::RefNumber, .bound = 200},
    {.dispid = 14, .name = "ResponseCode", .text = &T_Payvo::ResponseCode, .bound = 200},
    {.dispid = 15, .name = "StatusDisplayMsg", .text = &T_Payvo::StatusDisplayMsg, .bound = 100},
    {.dispid = 16, .name = "TSI", .text = &T_Payvo::TSI, .bound = 200},
    {.dispid = 17, .name = "TVR", .text = &T_Payvo::TVR, .bound = 200},
    {.dispid = 18, .name = "TerminalID", .text = &T_Payvo::TerminalID, .bound = 25},
    {.dispid = 19, .name = "TerminalState", .shortValue = &T_Payvo::TerminalState},
    {.dispid = 20, .name = "TicketNumber", .text = &T_Payvo::TicketNumber, .bound = 200},
    {.dispid = 21, .name = "TransactionReturn", .shortValue = &T_Payvo::TransactionReturn},
    {.dispid = 22, .name = "TransactionType", .shortValue = &T_Payvo::TransactionType},
    {.dispid = 23, .name = "ValidDate", .text = &T_Payvo::ValidDate, .bound = 200},
    {.dispid = 24, .name = "Receipt", .text = &T_Payvo::Receipt, .bound = 10000},
    {.dispid = 25, .name = "Currency", .shortValue = &T_Payvo::Currency},
    {.dispid = 26, .name = "PrePaidCode", .shortValue = &T_Payvo::PrePaidCode},
    {.dispid = 27, .name = "PrePaidName", .text = &T_Payvo::PrePaidName, .bound = 100},
    {.dispid = 28, .name = "PrePaidNominal", .text = &T_Payvo::PrePaidNominal, .bound = 50},
    {.dispid = 29, .name = "PrePaidDuration", .text = &T_Payvo::PrePaidDuration, .bound = 50},
    {.dispid = 30, .name = "PrePaidExtDuration", .text = &T_Payvo::PrePaidExtDuration, .bound = 50},
    {.dispid = 31, .name = "PrePaidExpirity", .text = &T_Payvo::PrePaidExpirity, .bound = 50},
    {.dispid = 32, .name = "PrePaidValue", .text = &T_Payvo::PrePaidValue, .bound = 50},
    {.dispid = 33, .name = "PrePaidSerial", .text = &T_Payvo::PrePaidSerial, .bound = 50},
    {.dispid = 34, .name = "PrePaidDescription", .text = &T_Payvo::PrePaidDescription, .bound = 5000},
    {.dispid = 35, .name = "TransactionID", .text = &T_Payvo::TransactionID, .bound = 200},
    {.dispid = 36, .name = "SerialPortNumber", .text = &T_Payvo::SerialPortNumber, .bound = 10},
    {.dispid = 37, .name = "SerialPortSpeed", .text = &T_Payvo::SerialPortSpeed, .bound = 10},
    {.dispid = 38, .name = "ReceiptType", .shortValue = &T_Payvo::ReceiptType},
    {.dispid = 39, .name = "ReceiptDataType", .shortValue = &T_Payvo::ReceiptDataType},
    {.dispid = 40, .name = "BatchType", .shortValue = &T_Payvo::BatchType},
    {.dispid = 41, .name = "HostID", .text = &T_Payvo::HostID, .bound = 20},
    {.dispid = 42, .name = "TransactionDate", .text = &T_Payvo::TransactionDate, .bound = 50},
    {.dispid = 43, .name = "MerchantID", .text = &T_Payvo::MerchantID, .bound = 50},
    {.dispid = 44, .name = "ProcessingCode", .text = &T_Payvo::ProcessingCode, .bound = 50},
    {.dispid = 45, .name = "POSEntryMode", .text = &T_Payvo::POSEntryMode, .bound = 50},
    {.dispid = 46, .name = "CHVM", .text = &T_Payvo::CHVM, .bound = 50},
    {.dispid = 47, .name = "BatchNumber", .text = &T_Payvo::BatchNumber, .bound = 50},
    {.dispid = 48, .name = "LoylatyCardData", .text = &T_Payvo::LoylatyCardData, .bound = 100},
    {.dispid = 49, .name = "TerminalSN", .text = &T_Payvo::TerminalSN, .bound = 50},
    {.dispid = 50, .name = "RespTransactionAmount", .text = &T_Payvo::RespTransactionAmount, .bound = 50},
    {.dispid = 51, .name = "RespCurrencyCode", .text = &T_Payvo::RespCurrencyCode, .bound = 50},
    {.dispid = 52, .name = "OperationName", .text = &T_Payvo::OperationName, .bound = 100},
    {.dispid = 53, .name = "EMVLangTag", .text = &T_Payvo::EMVLangTag, .bound = 200},
    {.dispid = 54, .name = "CardEntryType", .text = &T_Payvo::CardEntryType, .bound = 200},
    {.dispid = 55, .name = "CTLSCardType", .text = &T_Payvo::CTLSCardType, .bound = 200},
    {.dispid = 56, .name = "CTLSOfflineAmount", .text = &T_Payvo::CTLSOfflineAmount, .bound = 200},
    {.dispid = 57, .name = "Tag9C", .text = &T_Payvo::Tag9C, .bound = 200},
    {.dispid = 58, .name = "Tag5F34", .text = &T_Payvo::Tag5F34, .bound = 200},
    {.dispid = 59, .name = "Tag9F03", .text = &T_Payvo::Tag9F03, .bound = 200},
    {.dispid = 60, .name = "Tag9F10", .text = &T_Payvo::Tag9F10, .bound = 200},
    {.dispid = 61, .name = "Tag9F1A", .text = &T_Payvo::Tag9F1A, .bound = 200},
    {.dispid = 62, .name = "Tag9F27", .text = &T_Payvo::Tag9F27, .bound = 200},
    {.dispid = 63, .name = "Tag9F34", .text = &T_Payvo::Tag9F34, .bound = 200},
    {.dispid = 64, .name = "Tag9F36", .text = &T_Payvo::Tag9F36, .bound = 200},
    {.dispid = 65, .name = "Tag9F37", .text = &T_Payvo::Tag9F37, .bound = 200},
    {.dispid = 66, .name = "TACDefault", .text = &T_Payvo::TACDefault, .bound = 200},
    {.dispid = 67, .name = "TACDenial", .text = &T_Payvo::TACDenial, .bound = 200},
    {.dispid = 68, .name = "TACOnline", .text = &T_Payvo::TACOnline, .bound = 200},
    {.dispid = 69, .name = "IACDefault", .text = &T_Payvo::IACDefault, .bound = 200},
    {.dispid = 70, .name = "IACDenial", .text = &T_Payvo::IACDenial, .bound = 200},
    {.dispid = 71, .name = "IACOnline", .text = &T_Payvo::IACOnline, .bound = 200},
    {.dispid = 72, .name = "MerchantName", .text = &T_Payvo::MerchantName, .bound = 200},
    {.dispid = 73, .name = "STAN", .text = &T_Payvo::STAN, .bound = 200},
    {.dispid = 74, .name = "TransIndicator", .text = &T_Payvo::TransIndicator, .bound = 200},
    {.dispid = 75, .name = "MerchantAddress", .text = &T_Payvo::MerchantAddress, .bound = 200},
    {.dispid = 76, .name = "MerchantRegNr", .text = &T_Payvo::MerchantRegNr, .bound = 200},
    {.dispid = 77, .name = "MerchantCashNr", .text = &T_Payvo::MerchantCashNr, .bound = 200},
    {.dispid = 78, .name = "AltCurrName", .text = &T_Payvo::AltCurrName, .bound = 200},
    {.dispid = 79, .name = "AltCurrAmount", .text = &T_Payvo::AltCurrAmount, .bound = 200},
    {.dispid = 80, .name = "StatusCode", .shortValue = &T_Payvo::StatusCode},
    {.dispid = 81, .name = "LoyaltyData1", .text = &T_Payvo::LoyaltyData1, .bound = 50},
    {.dispid = 82, .name = "LoyaltyData2", .text = &T_Payvo::LoyaltyData2, .bound = 50},
    {.dispid = 83, .name = "FunctionType", .shortValue = &T_Payvo::FunctionType},
    {.dispid = 84, .name = "ClearType", .shortValue = &T_Payvo::ClearType},
    {.dispid = 85, .name = "IPAddress"},  // keeps nothing: reads empty, writes ignored
    {.dispid = 86, .name = "IPPort"},
    {.dispid = 87, .name = "ConnectionType", .shortValue = &T_Payvo::ConnectionType},
    {.dispid = 88, .name = "HostName", .text = &T_Payvo::HostName, .bound = 100},
    {.dispid = 89, .name = "DebitCount", .text = &T_Payvo::DebitCount, .bound = 20},
    {.dispid = 90, .name = "DebitTotal", .text = &T_Payvo::DebitTotal, .bound = 20},
    {.dispid = 91, .name = "CreditCount", .text = &T_Payvo::CreditCount, .bound = 20},
    {.dispid = 92, .name = "CreditTotal", .text = &T_Payvo::CreditTotal, .bound = 20},
    {.dispid = 104, .name = "bUseECRInput", .flag = &T_Payvo::bUseECRInput},
    {.dispid = 105, .name = "MerchTicketCardNumber", .text = &T_Payvo::MerchTicketCardNumber, .bound = 50},
    {.dispid = 106, .name = "bUseCommForwarding", .flag = &T_Payvo::bUseCommForwarding},
    {.dispid = 107, .name = "bMagstripeLoyaltySupport", .flag = &T_Payvo::bMagstripeLoyaltySupport},
    {.dispid = 108, .name = "bEEIDLoyaltySupport", .flag = &T_Payvo::bEEIDLoyaltySupport},
    {.dispid = 109, .name = "bAmountUpdateSupport", .flag = &T_Payvo::bAmountUpdateSupport},
    {.dispid = 110, .name = "PrintDataFormattingType", .shortValue = &T_Payvo::PrintDataFormattingType},
};

// The BOOL methods without arguments and the member each calls.
struct Method {
    std::int32_t dispid;
    const char* name;
    bool (T_Payvo::*call)();
};

const Method kMethods[] = {
    {93, "Cancel", &T_Payvo::Cancel},
    {94, "TransactionRequest", &T_Payvo::TransactionRequest},
    {95, "PayvoGetState", &T_Payvo::GetState},
    {96, "WaitForCardRemoving", &T_Payvo::WaitForCardRemoving},
    {97, "EncashTransaction", &T_Payvo::EncashTransaction},
    {99, "TerminalFunction", &T_Payvo::TerminalFunction},
    {101, "GetHostList", &T_Payvo::GetHostList},
    {102, "GetNextHostList", &T_Payvo::GetNextHostList},
    {103, "GetHostTotals", &T_Payvo::GetHostTotals},
};

constexpr std::int32_t kGetLoyaltyCardData = 98;
constexpr std::int32_t kGetDisplayText = 100;
constexpr std::int32_t kAboutBox = -552;

const Property* findProperty(std::int32_t dispid) {
    for (const auto& p : kProperties)
        if (p.dispid == dispid) return &p;
    return nullptr;
}

}  // namespace

CPayvoCtrl::CPayvoCtrl() : payvo_(std::make_unique<T_Payvo>(static_cast<PayvoEventTarget*>(this))) {}

CPayvoCtrl::~CPayvoCtrl() = default;

const std::vector<DispatchMember>& CPayvoCtrl::members() const {
    static const std::vector<DispatchMember> all = [] {
        std::vector<DispatchMember> m;
        for (const auto& p : kProperties) m.push_back({p.dispid, p.name, MemberKind::Property});
        for (const auto& c : kMethods) m.push_back({c.dispid, c.name, MemberKind::Method});
        m.push_back({kGetLoyaltyCardData, "GetLoyaltyCardData", MemberKind::Method});
        m.push_back({kGetDisplayText, "GetDisplayText", MemberKind::Method});
        m.push_back({kAboutBox, "AboutBox", MemberKind::Method});
        return m;
    }();
    return all;
}

const std::vector<DispatchMember>& CPayvoCtrl::eventMembers() {
    static const std::vector<DispatchMember> events{
        {kEnterLast4Digits, "EnterLast4Digits", MemberKind::Method}, {kEnterAuthCode, "EnterAuthCode", MemberKind::Method},
        {kAskYesNo, "AskYesNo", MemberKind::Method}, {kEnterDailyPwd, "EnterDailyPwd", MemberKind::Method},
        {kEnterMerchantPwd, "EnterMerchantPwd", MemberKind::Method}, {kEnterReceiptNr, "EnterReceiptNr", MemberKind::Method},
        {kEnterSaleAmount, "EnterSaleAmount", MemberKind::Method}, {kEnterDate, "EnterDate", MemberKind::Method},
        {kEnterTime, "EnterTime", MemberKind::Method}, {kNotification, "Notification", MemberKind::Method},
        {kCheckCardSecurity, "CheckCardSecurity", MemberKind::Method}, {kProcessLoyaltyData, "ProcessLoyaltyData", MemberKind::Method},
        {kEnterSTAN, "EnterSTAN", MemberKind::Method},
    };
    return events;
}

HResult CPayvoCtrl::getProperty(std::int32_t dispid, Variant& value) {
    const Property* p = findProperty(dispid);
    if (!p) return platform::com::kDispMemberNotFound;
    T_Payvo& t = *payvo_;
    if (p->text) value = t.*p->text;
    else if (p->shortValue) value = t.*p->shortValue;
    else if (p->longValue) value = t.*p->longValue;
    else if (p->flag) value = std::int16_t(t.*p->flag);
    else value = std::string();
    return 0;
}

HResult CPayvoCtrl::putProperty(std::int32_t dispid, const Variant& value) {
    const Property* p = findProperty(dispid);
    if (!p) return platform::com::kDispMemberNotFound;
    T_Payvo& t = *payvo_;
    if (p->text) {
        auto text = platform::com::toText(value);
        if (!text) return platform::com::kDispTypeMismatch;
        t.*p->text = CopyText(*text, p->bound);
    } else if (p->shortValue || p->longValue || p->flag) {
        auto number = platform::com::toInteger(value);
        if (!number) return platform::com::kDispTypeMismatch;
        if (p->shortValue) t.*p->shortValue = std::int16_t(*number);
        else if (p->longValue) t.*p->longValue = *number;
        else t.*p->flag = std::uint8_t(*number);
    }
    modified_ = true;
    return 0;
}

HResult CPayvoCtrl::invoke(std::int32_t dispid, std::vector<Variant>& args, Variant& result) {
    for (const auto& m : kMethods) {
        if (m.dispid != dispid) continue;
        result = ((*payvo_).*m.call)();
        return 0;
    }
    if (dispid == kGetLoyaltyCardData) {
        if (args.size() != 1) return platform::com::kDispBadParamCount;
        auto type = platform::com::toText(args[0]);
        if (!type) return platform::com::kDispTypeMismatch;
        result = payvo_->GetLoyaltyCardData(*type);
        return 0;
    }
    if (dispid == kGetDisplayText) {
        // TextID and DisplayText by reference; the text is left alone when there is none.
        if (args.size() != 2) return platform::com::kDispBadParamCount;
        args[0] = std::int16_t(payvo_->displayTextId);
        if (!payvo_->displayText.empty()) args[1] = payvo_->displayText;
        result = std::monostate{};
        return 0;
    }
    if (dispid == kAboutBox) {
        // The control is invisible at run time and has no About box here.
        result = std::monostate{};
        return 0;
    }
    return platform::com::kDispMemberNotFound;
}

void CPayvoCtrl::fireEvent(std::int32_t dispid, std::vector<Variant>& args) { fire(dispid, args); }

const platform::com::ClassInfo& payvoClassInfo() {
    static const platform::com::ClassInfo info{
        kPayvoClsid, kPayvoProgId, "Payvo Control", kPayvoMiscStatus, kPayvoTypeLibId, "1.0",
        [] { return std::unique_ptr<platform::com::DispatchObject>(std::make_unique<CPayvoCtrl>()); },
    };
    return info;
}

platform::com::ServerModule payvoServerModule() {
    Dl_info where{};
    std::string path;
    if (::dladdr(reinterpret_cast<void*>(&payvoServerModule), &where) && where.dli_fname) path = where.dli_fname;
    return {path, {kPayvoTypeLibId, "1.0", "payvo ActiveX Control module"}, {&payvoClassInfo()}};
}

namespace {

// The class enters the object layer's table when the library is loaded, as a control module's
// class factories are registered when it is loaded.
const bool classAdded = [] {
    platform::com::registerClass(payvoClassInfo());
    return true;
}();

}  // namespace

}  // namespace payvo

std::int32_t DllRegisterServer() { return platform::com::registerServer(payvo::payvoServerModule()); }

std::int32_t DllUnregisterServer() { return platform::com::unregisterServer(payvo::payvoServerModule()); }
