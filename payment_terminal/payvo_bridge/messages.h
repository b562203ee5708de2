// The bridge's requests in the "4.4.12" layouts and the readers of the terminal's answers into
// the exported records. Pure functions over texts and records; they log as the exchanges expect.
#pragma once

#include "link.h"
#include "payvo_bridge.h"

#include <optional>
#include <string>
#include <string_view>

namespace payvo_bridge {

inline constexpr const char* kLibraryVersion = "2.2.5.1";
inline constexpr const char* kProtocolVersion = "4.4.12";

// Requests as whole frames. A request that would carry a caller's text holding a frame control
// byte (STX, ETX, FS) is not built: nothing.
std::optional<payvo::Frame> authorisationRequest(const T_PayvoTransactionRequest& request);
payvo::Frame cancelRequest();
payvo::Frame approvalRequest(bool accept);
payvo::Frame stateRequest();
payvo::Frame cardRemovalRequest();
std::optional<payvo::Frame> loyaltyRequest(std::string_view loyaltyType);
payvo::Frame functionRequest(const T_PayvoFunctionRequest& request);
std::optional<payvo::Frame> receiptDataRequest(const T_PayvoTransactionRequest& request);

// Copies text into a record field of size bytes: cleared first, cut to size - 1, NUL-terminated.
void copyField(char* destination, std::size_t size, std::string_view text);
template <std::size_t N>
void copyField(char (&destination)[N], std::string_view text) {
    copyField(destination, N, text);
}

// Answer fields 3 to 56 into the report (StatusDisplayMsg, the card fields, TransactionID).
void fillReportFields(std::string_view answer, T_PayvoTransactionReport& report);
// The authorisation answer (type 5) into the report with its result code and prepaid block.
bool readAuthorisationAnswer(std::string_view answer, T_PayvoTransactionReport& report);
// The batch answer (type F): its status decides TransactionReturn.
bool readBatchAnswer(std::string_view answer, T_PayvoTransactionReport& report);
// The state answer (type B) into the record.
bool readStateAnswer(std::string_view answer, T_PayvoState& state);
// The text a display message (type 2) carries, at most 1023 characters; empty for other types.
std::string displayText(std::string_view message);
// The text of a print message (type 9): after the type's FS up to ETX.
std::string printText(std::string_view message);

}  // namespace payvo_bridge
