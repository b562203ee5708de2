#include "messages.h"

#include "bridge_log.h"
#include "frames.h"

#include <cstring>
#include <iterator>

namespace payvo_bridge {
namespace {

using payvo::buildFrame;

std::string number(long value) { return std::to_string(value); }

// A caller's text, up to its NUL and at most max characters.
std::string callerText(const char* text, std::size_t max) { return payvo::CopyText(std::string_view(text, max), max); }

bool fitsInFrame(std::string_view text) {
    return text.find_first_of(std::string_view("\x02\x03\x1c", 3)) == std::string_view::npos;
}

std::string fieldOrEmpty(std::string_view answer, int n) { return field(answer, n).value_or(std::string()); }

// The text of the message after the type's FS, up to the first of the stop characters.
std::string afterType(std::string_view message, std::string_view stops) {
    const auto stx = message.find(payvo::STX);
    if (stx == std::string_view::npos) return {};
    const auto fs = message.find(payvo::FS, stx);
    if (fs == std::string_view::npos) return {};
    const auto rest = message.substr(fs + 1);
    return std::string(rest.substr(0, rest.find_first_of(stops)));
}

using Report = T_PayvoTransactionReport;
using CardField = char (Report::*)[200];
using PrepaidField = char (Report::*)[50];

// The answer's fields 4 to 17, then 19 to 56, each into its own member.
constexpr CardField kCardFields[] = {
    &Report::CardName, &Report::CardNumber, &Report::ValidDate, &Report::TicketNumber, &Report::AuthCode,
    &Report::RefNumber, &Report::TerminalID, &Report::TVR, &Report::TSI, &Report::API, &Report::ResponseCode,
    &Report::AData, &Report::AID, &Report::AppLabel};
constexpr CardField kTransactionFields[] = {
    &Report::TransactionDate, &Report::MerchantID, &Report::ProcessingCode, &Report::POSEntryMode, &Report::CHVM,
    &Report::BatchNumber, &Report::LoylatyCardData, &Report::TerminalSN, &Report::RespTransactionAmount,
    &Report::RespCurrencyCode, &Report::OperationName, &Report::EMVLangTag, &Report::CardEntryType,
    &Report::CTLSCardType, &Report::CTLSOfflineAmount, &Report::Tag9C, &Report::Tag5F34, &Report::Tag9F03,
    &Report::Tag9F10, &Report::Tag9F1A, &Report::Tag9F27, &Report::Tag9F34, &Report::Tag9F36, &Report::Tag9F37,
    &Report::TACDefault, &Report::TACDenial, &Report::TACOnline, &Report::IACDefault, &Report::IACDenial,
    &Report::IACOnline, &Report::MerchantName, &Report::STAN, &Report::TransIndicator, &Report::MerchantAddress,
    &Report::MerchantRegNr, &Report::MerchantCashNr, &Report::AltCurrName, &Report::AltCurrAmount};
// The prepaid block's nominal, duration, extended duration, expiry, value and serial.
constexpr PrepaidField kPrepaidFields[] = {&Report::PrePaidNominal, &Report::PrePaidDuration,
                                           &Report::PrePaidExtDuration, &Report::PrePaidExpirity,
                                           &Report::PrePaidValue, &Report::PrePaidSerial};
static_assert(std::size(kCardFields) == 14 && std::size(kTransactionFields) == 38 && std::size(kPrepaidFields) == 6);

// Answer fields from `first` on, one to each member.
template <class Field, std::size_t N>
void copyFields(std::string_view answer, int first, const Field (&members)[N], Report& report) {
    for (std::size_t i = 0; i < N; ++i) copyField(report.*members[i], fieldOrEmpty(answer, first + int(i)));
}

}  // namespace

std::optional<payvo::Frame> authorisationRequest(const T_PayvoTransactionRequest& r) {
    const std::string id = callerText(r.TransactionID, sizeof r.TransactionID);
    const std::string host = callerText(r.HostID, sizeof r.HostID);
    if (!fitsInFrame(id) || !fitsInFrame(host)) return std::nullopt;
    const int type = r.TransactionType;
    const bool batchType = (type == 7 || type == 9) && r.BatchType != 99;
    return buildFrame("1", {number(type), number(type == 9 ? 0 : r.Amount), number(r.PrintingDevice), number(r.Language),
                            number(r.ReceiptType), id, number(r.Currency), type == 4 ? number(r.PrePaidCode) : "",
                            type == 9 ? host : "", number(r.ReceiptDataType), batchType ? number(r.BatchType) : "",
                            kProtocolVersion});
}

payvo::Frame cancelRequest() { return buildFrame("6", {}); }
payvo::Frame approvalRequest(bool accept) { return buildFrame("8", {accept ? "0" : "1"}); }
payvo::Frame stateRequest() { return buildFrame("A", {kLibraryVersion, kProtocolVersion}); }
payvo::Frame cardRemovalRequest() { return buildFrame("C", {}); }

std::optional<payvo::Frame> loyaltyRequest(std::string_view loyaltyType) {
    if (!fitsInFrame(loyaltyType)) return std::nullopt;
    return payvo::BuildLoyaltyRequest(loyaltyType);
}

payvo::Frame functionRequest(const T_PayvoFunctionRequest& r) {
    return buildFrame("TR", {number(r.FunctionType), number(r.HostID), number(r.ClearType)});
}

std::optional<payvo::Frame> receiptDataRequest(const T_PayvoTransactionRequest& r) {
    const std::string id = callerText(r.TransactionID, sizeof r.TransactionID);
    if (!fitsInFrame(id)) return std::nullopt;
    return buildFrame("10", {id, number(r.Language), number(r.ReceiptDataType), "", ""});
}

void copyField(char* destination, std::size_t size, std::string_view text) {
    std::memset(destination, 0, size);
    std::memcpy(destination, text.data(), std::min(text.size(), size - 1));
}

void fillReportFields(std::string_view answer, T_PayvoTransactionReport& report) {
    copyField(report.StatusDisplayMsg, fieldOrEmpty(answer, 3));
    copyFields(answer, 4, kCardFields, report);
    copyField(report.TransactionID, fieldOrEmpty(answer, 18));
    copyFields(answer, 19, kTransactionFields, report);
}

bool readAuthorisationAnswer(std::string_view answer, T_PayvoTransactionReport& report) {
    logLine("Set authorisation response data");
    if (typeNumber(answer) != 5) {
        copyField(report.StatusDisplayMsg, "DECLINED");
        report.TransactionReturn = 5;
        return false;
    }
    if (answer.find(payvo::STX) == std::string_view::npos) {
        report.TransactionReturn = 1;
        return false;
    }
    const std::string code = fieldOrEmpty(answer, 2);
    if (code == "000") {
        report.TransactionReturn = 0;
        logLine("Transaction authorized");
    } else {
        report.TransactionReturn = code == "888" ? 1 : 5;
        logLine("Transaction unauthorized");
    }
    logLine("Start setting response data");
    fillReportFields(answer, report);
    if (const int tag = fieldWithTag(answer, "PREPAID"); tag > 0) {
        logLine("Found PrePaid tag, start set prepaid data...");
        copyField(report.PrePaidName, fieldOrEmpty(answer, tag + 1));
        copyFields(answer, tag + 2, kPrepaidFields, report);
        copyField(report.PrePaidDescription, fieldOrEmpty(answer, tag + 8));
    }
    logLine("End of set auth. response data");
    return true;
}

bool readBatchAnswer(std::string_view answer, T_PayvoTransactionReport& report) {
    logLine("Set batch response data");
    const auto status = field(answer, 2);
    if (!status) {
        report.TransactionReturn = 4;
        return false;
    }
    if (*status == "000") {
        report.TransactionReturn = 0;
        copyField(report.StatusDisplayMsg, "000");
    } else {
        report.TransactionReturn = 1;
    }
    return true;
}

bool readStateAnswer(std::string_view answer, T_PayvoState& state) {
    logLine("Set auth. response data");
    if (typeNumber(answer) != 11) return false;
    if (answer.find(payvo::STX) == std::string_view::npos) {
        state.TerminalState = 99;
        return false;
    }
    const char* const dashes = "+--------------------------------------------------";
    const std::string terminal = fieldOrEmpty(answer, 2);
    logLine("%s", dashes);
    logLine("| Terminal state:        %s", terminal.c_str());
    state.TerminalState = terminal.size() == 1 && terminal[0] >= '0' && terminal[0] <= '7' ? terminal[0] - '0' : 99;
    const std::string connection = fieldOrEmpty(answer, 3);
    logLine("| Connection state:      %s", connection.c_str());
    state.ConnectionState = payvo::decimalValue(connection) != 0 ? 1 : 0;
    if (const std::string id = fieldOrEmpty(answer, 4); !id.empty()) {
        copyField(state.TerminalID, id);
        logLine("| Payvo ID:                %s", id.c_str());
    }
    if (const std::string app = fieldOrEmpty(answer, 5); !app.empty()) {
        copyField(state.AppVersion, app);
        logLine("| Payvo app. version:      %s", app.c_str());
    }
    const std::string protocol = fieldOrEmpty(answer, 6);
    copyField(state.ProtocolVersion, protocol);
    logLine("| ECR protocol version:  %s", protocol.c_str());
    logLine("%s", dashes);
    logLine("End of set getstate response data");
    return true;
}

std::string displayText(std::string_view message) {
    if (typeNumber(message) != 2) return {};
    return afterType(message, std::string_view("\x1c\x03", 2)).substr(0, kPayvoInfoTextSize - 1);
}

std::string printText(std::string_view message) { return afterType(message, std::string_view("\x03", 1)); }

}  // namespace payvo_bridge
