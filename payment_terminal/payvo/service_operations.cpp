// T_Payvo's service operations around a payment: cancel, state, encash, card removal, host list
// and totals, loyalty card data and terminal functions.
#include "payvo.h"

#include "clock.h"

#include <mutex>

namespace payvo {
namespace {

constexpr std::size_t kMaxHosts = 20;

struct Host {
    std::string number;  // at most 4 characters
    std::string name;    // at most 19 characters
};

// The host table of the last host list, one for the process.
struct HostTable {
    std::mutex mutex;
    std::vector<Host> hosts;
    std::size_t current = 0;
};

HostTable& hostTable() {
    static HostTable t;
    return t;
}

std::string field(const Frame& message, int n) {
    std::string out;
    GetField(message, n, out);
    return out;
}

bool hasField(const Frame& message, int n) {
    std::string out;
    return GetField(message, n, out);
}

bool isZeroStatus(const std::string& s) { return s == "0" || s == "00"; }

}  // namespace

bool T_Payvo::Cancel() {
    if (com_.GetBusyState() == 1) {
        com_.SetCancel(1);
        com_.SetBusyState(4);
        const auto deadline = platform::clock().steadyNow() + std::chrono::milliseconds(10'000);
        while (com_.GetBusyState() == 4 && platform::clock().steadyNow() < deadline) platform::clock().sleepMs(10);
    }
    return com_.GetBusyState() == 0;
}

bool T_Payvo::GetState() {
    ClearResponseFields();
    clearDisplayText();
    TerminalID.clear();
    AppVersion.clear();
    applyConnectionSettings();
    if (com_.GetBusyState() != 0) {
        TerminalState = 1;
        ConnectionState = std::int16_t(com_.GetConnectionState());
        return false;
    }
    com_.SetBusyState(3);
    const bool released = release();
    Frame request;
    BuildRequest("A", request);
    const bool result = RunStateExchange(request, released);
    com_.SetBusyState(0);
    takeBack();
    return result;
}

bool T_Payvo::RunStateExchange(const Frame& request, bool portReleased) {
    auto linkDown = [this](std::int16_t state) {
        TerminalState = state;
        ConnectionState = 1;
        com_.SetConnectionState(1);
    };
    if (!portReleased || com_.Open() != 0) {
        TerminalState = 99;
        ConnectionState = 1;
        return false;
    }
    com_.Clear();
    bool result = false;
    if (const int s = com_.Send(request, 4); s != 0) {
        linkDown(s == kLinkReadError ? 3 : s == kLinkTimeout ? 88 : 99);
    } else {
        Frame message;
        const int r = com_.Receive(message, 60);
        if (r == kLinkTimeout) {
            linkDown(88);
            result = true;
        } else if (r == kLinkEot || r == 0) {
            result = true;
            if (r == 0) {
                if (GetPacketType(message) == 11) {
                    result = SetStateResponse(message);
                } else {
                    TerminalState = 99;
                    ConnectionState = std::int16_t(com_.GetConnectionState());
                }
            }
            if (result) com_.SetConnectionState(ConnectionState);
        }
    }
    com_.Close();
    return result;
}

bool T_Payvo::SetStateResponse(const Frame& message) {
    if (message.find(STX) == std::string::npos || message.find(ETX) == std::string::npos) {
        TerminalState = 99;
        return false;
    }
    std::string type;
    if (!GetField(message, 1, type)) return false;
    if (type != "B") {
        TerminalState = 99;
        return false;
    }
    for (int n = 2; n <= 10; ++n) {
        std::string value;
        if (!GetField(message, n, value)) break;
        switch (n) {
        case 2: {
            const bool known = IsAllDigits(value) && value.size() <= 2 && decimalValue(value) <= 7;
            TerminalState = known ? std::int16_t(decimalValue(value)) : 99;
            break;
        }
        case 3: ConnectionState = value == "0" ? 0 : 1; break;
        case 4: TerminalID = CopyText(value, 25); break;
        case 5: AppVersion = CopyText(value, 40); break;
        case 7: TerminalSN = CopyText(value, 50); break;
        case 8: MerchantID = CopyText(value, 50); break;
        default: break;  // protocol version, merchant registration and cash numbers: not kept
        }
    }
    return true;
}

bool T_Payvo::EncashTransaction() {
    clearDisplayText();
    applyConnectionSettings();
    if (com_.GetBusyState() != 0) return false;
    const bool result = release() && RunPrintLinesExchange(buildFrame("8", {"0"}));
    printCollection = false;
    takeBack();
    return result;
}

bool T_Payvo::WaitForCardRemoving() {
    clearDisplayText();
    applyConnectionSettings();
    Frame request, answer;
    BuildRequest("C", request);
    const bool ok = release() && RunCardRemovalExchange(request, answer);
    StatusCode = ok ? std::int16_t(answer.empty() ? 0 : decimalValue(field(answer, 2))) : -1;
    com_.SetBusyState(0);
    takeBack();
    return ok;
}

bool T_Payvo::RunCardRemovalExchange(const Frame& request, Frame& answer) {
    answer.clear();
    if (com_.Open() != 0) return false;
    com_.Clear();
    bool result = false;
    if (com_.Send(request, 5) == 0) {
        for (;;) {
            Frame message;
            const int r = com_.Receive(message, 60);
            if (r == kLinkEot) {
                result = true;
                break;
            }
            if (r != 0) break;
            if (GetPacketType(message) == 13) {
                answer = message;
                result = true;
                break;
            }
        }
    }
    com_.Close();
    return result;
}

bool T_Payvo::runInformationOperation(const std::function<bool()>& exchange) {
    clearDisplayText();
    if (com_.GetBusyState() != 0) return false;
    com_.SetBusyState(3);
    applyConnectionSettings();
    const bool result = release() && exchange();
    com_.Close();
    com_.SetBusyState(0);
    takeBack();
    return result;
}

bool T_Payvo::GetHostList() {
    return runInformationOperation([this] {
        Frame answer;
        bool result = RunRequestExchange(BuildHostListRequest(), answer);
        if (result) {
            const std::string count = field(answer, 4);
            result = field(answer, 1) == "IA" && field(answer, 2) == "0" && isZeroStatus(field(answer, 3)) && IsAllDigits(count);
            if (result) {
                auto& table = hostTable();
                std::lock_guard lock(table.mutex);
                table.hosts.clear();
                table.current = 0;
                const std::int32_t announced = decimalValue(count);
                int n = 5;
                // Each host: number, name, then (when several are announced) fields up to one holding GS.
                for (std::int32_t i = 0; i < announced && hasField(answer, n); ++i) {
                    Host h{CopyText(field(answer, n), 4), CopyText(field(answer, n + 1), 19)};
                    n += 2;
                    if (announced > 1) {
                        while (hasField(answer, n) && field(answer, n) != std::string(1, GS)) ++n;
                        ++n;
                    }
                    // Only the first 20 hosts are kept.
                    if (table.hosts.size() < kMaxHosts) table.hosts.push_back(std::move(h));
                }
                if (table.hosts.empty()) {
                    HostID.clear();
                    HostName.clear();
                } else {
                    HostID = CopyText(table.hosts[0].number, 20);
                    HostName = CopyText(table.hosts[0].name, 100);
                }
            }
        }
        return result;
    });
}

bool T_Payvo::GetNextHostList() {
    auto& table = hostTable();
    std::lock_guard lock(table.mutex);
    if (table.current + 1 >= table.hosts.size()) return false;
    ++table.current;
    HostID = CopyText(table.hosts[table.current].number, 20);
    HostName = CopyText(table.hosts[table.current].name, 100);
    return true;
}

bool T_Payvo::GetHostTotals() {
    return runInformationOperation([this] {
        bool result = IsAllDigits(HostID);
        if (result) {
            const std::int32_t host = decimalValue(HostID);
            Frame answer;
            result = RunRequestExchange(BuildHostTotalsRequest(host), answer);
            const std::string number = field(answer, 4);
            result = result && field(answer, 1) == "IA" && field(answer, 2) == "1" && isZeroStatus(field(answer, 3)) &&
                     IsAllDigits(number) && decimalValue(number) == host;
            if (result) {
                RespCurrencyCode = CopyText(field(answer, 5), 50);
                DebitCount = CopyText(field(answer, 6), 20);
                DebitTotal = CopyText(field(answer, 7), 20);
                CreditCount = CopyText(field(answer, 8), 20);
                CreditTotal = CopyText(field(answer, 9), 20);
            }
        }
        return result;
    });
}

bool T_Payvo::GetLoyaltyCardData(const std::string& loyaltyType) {
    return runInformationOperation([this, &loyaltyType] {
        Frame answer;
        bool result = RunRequestExchange(BuildLoyaltyRequest(CopyText(loyaltyType, 99)), answer);
        if (result) {
            std::string type, info, status;
            if (!GetField(answer, 1, type) || !GetField(answer, 2, info) || !GetField(answer, 3, status)) {
                StatusCode = 99;
                result = false;
            } else if (type != "IA") {
                StatusCode = 99;
                result = false;
            } else if (info != "2") {
                StatusCode = 1;
                result = false;
            } else {
                StatusCode = std::int16_t(decimalValue(status));
                if (isZeroStatus(status)) {
                    LoyaltyData1 = CopyText(field(answer, 4), 50);
                    LoyaltyData2 = CopyText(field(answer, 5), 50);
                }
            }
        }
        return result;
    });
}

bool T_Payvo::TerminalFunction() {
    ClearResponseFields();
    clearDisplayText();
    std::int16_t type = TransactionType;
    switch (FunctionType) {
    case 1: type = 312; break;
    case 2: type = 302; break;
    case 3: type = 305; break;
    case 4: type = 304; break;
    case 5: return false;  // stop-list download: not supported
    case 6: case 7: case 8: type = 307; break;
    case 9: type = 300; break;
    case 10: return false;  // test transaction: not supported
    case 15:
        if (ClearType == 1 || ClearType == 2) type = 403;
        else if (ClearType == 3) type = 404;
        else return false;
        if (!HostID.empty() && !IsAllDigits(HostID)) return false;
        break;
    default: break;
    }
    TransactionType = type;
    Amount = 0;
    bUseECRInput = 0;
    const bool result = TransactionRequest();
    if (result) EncashTransaction();
    return result;
}

}  // namespace payvo
