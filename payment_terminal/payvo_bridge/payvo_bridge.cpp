// The exported class: the members' checks, the operation marker and the records, over the
// exchanges.
#include "payvo_bridge.h"

#include "bridge_log.h"
#include "clock.h"
#include "exchanges.h"
#include "frames.h"
#include "messages.h"

#include <atomic>
#include <cstring>
#include <vector>

using namespace payvo_bridge;

namespace {

constexpr std::size_t kHostTableRows = 20;
constexpr int kCancelTakeoverMs = 1000;

// The library's process-wide state besides the connection: one set for every T_Payvo object.
struct BridgeState {
    std::atomic<bool> printCollection{false};
    InfoText info;
    std::vector<T_HostListData> hosts;  // at most kHostTableRows
    std::size_t hostCursor = 0;
};

BridgeState& bridge() {
    static BridgeState s;
    return s;
}

CCom& com() { return CCom::instance(); }
bool busy() { return com().operation() != kIdle; }
Exchange exchange() { return Exchange(com(), bridge().info, bridge().printCollection); }

void copyReceipt(char (&receipt)[kPayvoReceiptSize], const std::string& text) { copyField(receipt, text); }

// Runs a member's body; an exception is logged and ends the member with false.
template <class Body>
bool guarded(const char* failureText, Body body) {
    try {
        return body();
    } catch (...) {
        logLine("%s", failureText);
        return false;
    }
}

// The checks of an "IA" answer common to the three information requests: fields 1 to 3.
bool checkInformationAnswer(const std::string& answer, const char* informationType) {
    const auto type = field(answer, 1);
    const auto info = field(answer, 2);
    const auto status = field(answer, 3);
    if (!type || !info || !status) return false;
    if (*type != "IA") {
        logLine("Got invalid response packet type");
        return false;
    }
    if (*info != informationType) {
        logLine("Got invalid response information type");
        return false;
    }
    if (*status != "0" && *status != "00") {
        logLine("Status code no 0.");
        return false;
    }
    return true;
}

// Fills the host table from a "IA" 0 answer whose field 4 is the count: per host an identifier
// and a name; between hosts, the fields after the name up to the first lone GS or ETX field are
// passed over. At most kHostTableRows hosts are kept.
void readHostTable(const std::string& answer, int count) {
    auto& hosts = bridge().hosts;
    hosts.clear();
    int at = 5;
    for (int h = 0; h < count && hosts.size() < kHostTableRows; ++h) {
        T_HostListData row{};
        const auto id = field(answer, at);
        const auto name = field(answer, at + 1);
        if (!id) break;
        copyField(row.HostID, *id);
        copyField(row.HostName, name.value_or(std::string()));
        hosts.push_back(row);
        at += 2;
        if (count > 1) {
            while (auto next = field(answer, at)) {
                ++at;
                if (*next == std::string(1, payvo::GS)) break;
            }
        }
    }
}

}  // namespace

T_Payvo::T_Payvo() {
    logLine("Current dll version - %s", kLibraryVersion);
    logLine("Supportet ECR protocol version - %s", kProtocolVersion);
    bridge().printCollection = false;
    std::memset(Receipt, 0, sizeof Receipt);
    com().setLastConnectionState(0);
    com().setOperation(kIdle);
}

T_Payvo::T_Payvo(const T_Payvo& other) { std::memcpy(Receipt, other.Receipt, sizeof Receipt); }

T_Payvo& T_Payvo::operator=(const T_Payvo& other) {
    std::memcpy(Receipt, other.Receipt, sizeof Receipt);
    return *this;
}

T_Payvo::~T_Payvo() = default;

bool T_Payvo::TransactionRequest(T_PayvoTransactionRequest* request, T_PayvoTransactionReport* report) {
    logLine("============>Process request...");
    bridge().info.clear();
    if (busy()) return false;
    if (request->PrintingDevice == 1) bridge().printCollection = true;

    logLine("Check transaction type");
    const int type = request->TransactionType;
    if (!payvo::IsValidTransactionType(type) || type > 9) {
        report->TransactionReturn = 3;
        logLine("Unauthorized transaction type:%d", type);
        return false;
    }
    com().setOperation(type == 9 ? kBatch : kAuthorisation);
    const auto finish = [](bool result) {
        if (com().operation() != kCancelRunning) com().setOperation(kIdle);
        logLine("============<End of request process>============");
        return result;
    };

    logLine("Check amount");
    if (std::uint32_t(request->Amount) > 99'999'999u) {
        report->TransactionReturn = 2;
        logLine("Unauthorized transaction amount:%d", request->Amount);
        return finish(false);
    }
    const auto frame = authorisationRequest(*request);
    if (!frame) {
        report->TransactionReturn = 4;
        return finish(false);
    }

    logLine("Start authorize.");
    std::string answer;
    bool exchanged = false;
    const bool ran = guarded("Get EXCEPTION on authorization!", [&] {
        auto line = exchange();
        if (type == 8) {
            std::string receipt;
            line.receiptData(*frame, receipt);
            copyReceipt(Receipt, receipt);
            exchanged = true;
        } else if (type == 9) {
            std::string receipt;
            exchanged = line.batch(*frame, answer, receipt);
            copyReceipt(Receipt, receipt);
        } else {
            exchanged = line.request(*frame, answer);
        }
        return true;
    });
    if (!ran) return finish(false);
    if (!exchanged) {
        report->TransactionReturn = 5;
        copyField(report->StatusDisplayMsg, "Authorisation error.");
        logLine("AUTHORIZATION ERROR");
        return finish(false);
    }
    logLine("AUTHORIZATION SUCCESSFUL");

    return finish(guarded("Exception on setting authorization response data!", [&] {
        if (type <= 4) {
            if (readAuthorisationAnswer(answer, *report)) return true;
            std::string receipt;
            platform::clock().sleepMs(2000);
            logLine("Process decline encash transaction!");
            exchange().printLines(approvalRequest(false), receipt);
            copyReceipt(Receipt, receipt);
            report->TransactionReturn = 4;
            logLine("ERROR: Transaction processing error");
            return false;
        }
        if (type == 8 || answer.empty()) return true;
        const auto first = field(answer, 1);
        if (!first) {
            report->TransactionReturn = 4;
            return false;
        }
        if (type == 7 && *first == "5") {
            fillReportFields(answer, *report);
            return true;
        }
        if (type == 9 && *first == "F") {
            if (readBatchAnswer(answer, *report)) return true;
            report->TransactionReturn = 4;
            return false;
        }
        return true;
    }));
}

bool T_Payvo::GetTrxReceiptData(T_PayvoTransactionRequest* request, T_PayvoTransactionReport* report) {
    if (busy()) return false;
    com().setOperation(kOtherRequest);
    bridge().info.clear();
    const bool result = guarded("Get exception on building 'Get transaction receipt data' request packet.", [&] {
        const auto frame = receiptDataRequest(*request);
        if (!frame) {
            logLine("Get exception on building 'Get transaction receipt data' request packet.");
            return false;
        }
        std::string answer;
        if (!exchange().request(*frame, answer)) return false;
        const auto type = field(answer, 1);
        if (!type) return false;
        if (*type == "5") fillReportFields(answer, *report);
        return true;
    });
    com().setOperation(kIdle);
    return result;
}

bool T_Payvo::GetState(T_PayvoState* state) {
    if (busy()) {
        state->TerminalState = 1;
        state->ConnectionState = com().lastConnectionState();
        logLine("Set PAYVO state variables.");
        logLine("PAYVO state: %d", state->TerminalState);
        logLine("PAYVO connection state: %d", state->ConnectionState);
        return false;
    }
    com().setOperation(kOtherRequest);
    const bool result = guarded("Exception on building approval packet!", [&] { return exchange().state(stateRequest(), *state); });
    com().setOperation(kIdle);
    return result;
}

bool T_Payvo::Cancel() {
    logLine("Process cancel operation!");
    bridge().info.clear();
    const int running = com().operation();
    if (running == kAuthorisation) {
        com().setCancel();
        // The authorisation's wait takes the flag within a poll; the cancel's own exchange starts
        // after that, so the two never read the line at once.
        for (int ms = 0; ms < kCancelTakeoverMs && com().cancelPending(); ++ms) platform::clock().sleepMs(1);
    } else if (running != kIdle) {
        logLine("Cancel not allowed!");
        return false;
    }
    com().setOperation(kCancelRunning);
    const bool result = guarded("Exception on sending approval packet!", [&] { return exchange().cancel(cancelRequest()); });
    com().setOperation(kIdle);
    return result;
}

bool T_Payvo::EncashTransaction() {
    logLine("Process encash transaction!");
    if (busy()) {
        logLine("Operation not allowed!");
        return false;
    }
    com().setOperation(kEncash);
    const bool result = guarded("Exception on sending approval packet!", [&] {
        std::string receipt;
        const bool ok = exchange().printLines(approvalRequest(true), receipt);
        if (!receipt.empty()) copyReceipt(Receipt, receipt);
        return ok;
    });
    com().setOperation(kIdle);
    return result;
}

bool T_Payvo::GetHostList(T_HostListData* first) {
    if (busy()) return false;
    com().setOperation(kOtherRequest);
    bridge().info.clear();
    const bool result = guarded("Get exception on building HostList request packet.", [&] {
        std::string answer;
        const bool exchanged = exchange().request(payvo::BuildHostListRequest(), answer);
        com().close();
        if (!exchanged || !checkInformationAnswer(answer, "0")) return false;
        const auto count = field(answer, 4);
        if (!count || !payvo::IsAllDigits(*count)) {
            logLine("Host count not valid value.");
            return false;
        }
        const int hosts = payvo::decimalValue(*count);
        *first = T_HostListData{};
        bridge().hosts.clear();
        bridge().hostCursor = 0;
        if (hosts < 1) return true;
        readHostTable(answer, hosts);
        if (!bridge().hosts.empty()) *first = bridge().hosts.front();
        bridge().hostCursor = 1;
        return true;
    });
    com().setOperation(kIdle);
    return result;
}

bool T_Payvo::GetNextHostList(T_HostListData* next) {
    bridge().info.clear();
    auto& s = bridge();
    if (s.hostCursor >= s.hosts.size()) return false;
    *next = s.hosts[s.hostCursor++];
    return true;
}

bool T_Payvo::GetHostTotal(int host, T_HostTotalData* totals) {
    if (busy()) return false;
    com().setOperation(kOtherRequest);
    bridge().info.clear();
    const bool result = guarded("Get exception on building HostTotals request packet.", [&] {
        std::string answer;
        const bool exchanged = exchange().request(payvo::BuildHostTotalsRequest(host), answer);
        com().close();
        if (!exchanged || !checkInformationAnswer(answer, "1")) return false;
        const auto id = field(answer, 4);
        if (!id) return false;
        if (!payvo::IsAllDigits(*id)) {
            logLine("Host ID not valid value.");
            return false;
        }
        if (payvo::decimalValue(*id) != host) {
            logLine("Host ID not same as requested.");
            return false;
        }
        const auto text = [&](int n) { return field(answer, n).value_or(std::string()); };
        copyField(totals->HostID, text(5));
        copyField(totals->DebitCount, text(6));
        copyField(totals->DebitTotal, text(7));
        copyField(totals->CreditCount, text(8));
        copyField(totals->CreditTotal, text(9));
        return true;
    });
    com().setOperation(kIdle);
    return result;
}

bool T_Payvo::GetLoyaltyCardData(const char* loyaltyType, T_LoyaltyCardData* data) {
    if (busy()) return false;
    com().setOperation(kOtherRequest);
    bridge().info.clear();
    logLine("Get loyalty card data processing...");
    const bool result = guarded("Get exception on building 'Get loyalty card data' request packet.", [&] {
        const auto frame = loyaltyRequest(loyaltyType ? loyaltyType : "");
        if (!frame) {
            logLine("Get exception on building 'Get loyalty card data' request packet.");
            return false;
        }
        std::string answer;
        const bool exchanged = exchange().request(*frame, answer);
        com().close();
        if (!exchanged || !checkInformationAnswer(answer, "2")) return false;
        const auto first = field(answer, 4);
        if (!first) return false;
        copyField(data->LoyaltyData1, *first);
        copyField(data->LoyaltyData2, field(answer, 5).value_or(std::string()));
        return true;
    });
    com().setOperation(kIdle);
    return result;
}

bool T_Payvo::TerminalFunction(T_PayvoFunctionRequest* request, char* text) {
    if (busy()) return false;
    com().setOperation(kOtherRequest);
    logLine("Terminal function processing...");
    bridge().info.clear();
    const bool result = guarded("Get exception on building 'Function' request packet.", [&] {
        std::string answer;
        const bool exchanged = exchange().request(functionRequest(*request), answer);
        com().close();
        if (!exchanged) return false;
        const auto type = field(answer, 1);
        const auto function = field(answer, 2);
        const auto value = field(answer, 3);
        if (!type || !function) return false;
        if (*type != "TA") {
            logLine("Got invalid response packet type");
            return false;
        }
        if (!payvo::IsAllDigits(*function)) {
            logLine("Function type not valid value.");
            return false;
        }
        if (payvo::decimalValue(*function) != request->FunctionType) {
            logLine("Got invalid function type form terminal.");
            return false;
        }
        if (!value) return false;
        copyField(text, kPayvoFunctionTextSize, *value);
        return true;
    });
    com().setOperation(kIdle);
    return result;
}

bool T_Payvo::WaitForCardRemoving() {
    bridge().info.clear();
    if (busy()) return false;
    com().setOperation(kOtherRequest);
    const bool result = guarded("Exception on building approval packet!", [&] { return exchange().cardRemoval(cardRemovalRequest()); });
    com().setOperation(kIdle);
    return result;
}

void T_Payvo::vcb_GetInfoText(int* id, char* text) {
    *id = 0;
    copyField(text, kPayvoInfoTextSize, bridge().info.get());
}
