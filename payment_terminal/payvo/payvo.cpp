#include "payvo.h"

#include <mutex>

namespace payvo {

using platform::com::Variant;

namespace {

// The most recently created message layer: the forwarding hub's loyalty worker fires its
// ProcessLoyaltyData there. Cleared when that object goes, so a late "LR" finds nobody instead of
// freed memory.
std::mutex currentMutex;
T_Payvo* current = nullptr;

struct AnswerField {
    int field;
    std::string T_Payvo::*target;
    std::size_t bound;
};

// The authorisation answer "5", field by field.
const AnswerField kAuthorisationFields[] = {
    {3, &T_Payvo::StatusDisplayMsg, 100}, {4, &T_Payvo::CardName, 200}, {5, &T_Payvo::CardNumber, 200},
    {6, &T_Payvo::ValidDate, 200}, {7, &T_Payvo::TicketNumber, 200}, {8, &T_Payvo::AuthCode, 200},
    {9, &T_Payvo::RefNumber, 200}, {10, &T_Payvo::TerminalID, 25}, {11, &T_Payvo::TVR, 200},
    {12, &T_Payvo::TSI, 200}, {13, &T_Payvo::API, 200}, {14, &T_Payvo::ResponseCode, 200},
    {15, &T_Payvo::AData, 200}, {16, &T_Payvo::AID, 200}, {17, &T_Payvo::AppLabel, 200},
    {18, &T_Payvo::TransactionID, 200}, {19, &T_Payvo::TransactionDate, 50}, {20, &T_Payvo::MerchantID, 50},
    {21, &T_Payvo::ProcessingCode, 50}, {22, &T_Payvo::POSEntryMode, 50}, {23, &T_Payvo::CHVM, 50},
    {24, &T_Payvo::BatchNumber, 50}, {25, &T_Payvo::LoylatyCardData, 100}, {26, &T_Payvo::TerminalSN, 50},
    {27, &T_Payvo::RespTransactionAmount, 50}, {28, &T_Payvo::RespCurrencyCode, 50}, {29, &T_Payvo::OperationName, 100},
    {30, &T_Payvo::EMVLangTag, 200}, {31, &T_Payvo::CardEntryType, 200}, {32, &T_Payvo::CTLSCardType, 200},
    {33, &T_Payvo::CTLSOfflineAmount, 200}, {34, &T_Payvo::Tag9C, 200}, {35, &T_Payvo::Tag5F34, 200},
    {36, &T_Payvo::Tag9F03, 200}, {37, &T_Payvo::Tag9F10, 200}, {38, &T_Payvo::Tag9F1A, 200},
    {39, &T_Payvo::Tag9F27, 200}, {40, &T_Payvo::Tag9F34, 200}, {41, &T_Payvo::Tag9F36, 200},
    {42, &T_Payvo::Tag9F37, 200}, {43, &T_Payvo::TACDefault, 200}, {44, &T_Payvo::TACDenial, 200},
    {45, &T_Payvo::TACOnline, 200}, {46, &T_Payvo::IACDefault, 200}, {47, &T_Payvo::IACDenial, 200},
    {48, &T_Payvo::IACOnline, 200}, {49, &T_Payvo::MerchantName, 200}, {50, &T_Payvo::STAN, 200},
    {51, &T_Payvo::TransIndicator, 200}, {52, &T_Payvo::MerchantAddress, 200}, {53, &T_Payvo::MerchantRegNr, 200},
    {54, &T_Payvo::MerchantCashNr, 200}, {55, &T_Payvo::AltCurrName, 200}, {56, &T_Payvo::AltCurrAmount, 200},
    {57, &T_Payvo::MerchTicketCardNumber, 50},
};

// The prepaid part: the fields after the one that begins with "PREPAID".
const AnswerField kPrepaidFields[] = {
    {1, &T_Payvo::PrePaidName, 100}, {2, &T_Payvo::PrePaidNominal, 50}, {3, &T_Payvo::PrePaidDuration, 50},
    {4, &T_Payvo::PrePaidExtDuration, 50}, {5, &T_Payvo::PrePaidExpirity, 50}, {6, &T_Payvo::PrePaidValue, 50},
    {7, &T_Payvo::PrePaidSerial, 50}, {8, &T_Payvo::PrePaidDescription, 5000},
};

// Input forms and the events they fire.
struct InputForm {
    std::int32_t code;
    std::int32_t event;
};
const InputForm kInputForms[] = {
    {1000, kEnterDailyPwd}, {1001, kEnterMerchantPwd}, {1002, kEnterLast4Digits}, {1003, kEnterReceiptNr},
    {1004, kAskYesNo}, {1005, kEnterAuthCode}, {1006, kEnterSaleAmount}, {1018, kEnterSTAN},
    {1020, kEnterDate}, {1021, kEnterTime}, {1026, kCheckCardSecurity},
};

// The answer length a form requires when it is entered (status 0); 0 for any length.
std::size_t requiredAnswerLength(std::int32_t form) {
    switch (form) {
    case 1002: return 4;
    case 1004: return 1;
    case 1005: return 6;
    default: return 0;
    }
}

std::string field(const Frame& message, int n) {
    std::string out;
    GetField(message, n, out);
    return out;
}

// The print text of a "9" message: every byte after the type's FS up to ETX. A printed line may
// hold FS bytes of its own (the printer's control sequences), so it is not read as one field.
std::string printText(const Frame& message) {
    const auto start = message.find(FS);
    if (start == std::string::npos) return {};
    const auto end = message.find(ETX, start + 1);
    return message.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
}

std::string messageType(const Frame& message) { return message.size() == 1 && message[0] == GS ? std::string(1, GS) : field(message, 1); }

void textOf(const Variant& v, std::string& out) {
    if (auto t = platform::com::toText(v)) out = *t;
}

bool isPaymentType(int type) { return type >= 0 && type <= 4; }

}  // namespace

std::atomic<bool> T_Payvo::printCollection{false};

T_Payvo::T_Payvo(PayvoEventTarget* owner)
    : owner_(owner), com_(CCom::instance()), hub_([](const std::string& data) {
          std::lock_guard lock(currentMutex);
          if (!current) return std::int32_t(0);
          std::string unusedAmount;
          return current->fireLoyaltyEvent(data, unusedAmount);
      }) {
    hub_.StartForwarding();
    SerialPortNumber = "COM1";
    SerialPortSpeed = "115200";
    // The worker gets no port yet: these are defaults, not the terminal's port, and another device
    // may be on COM1. It takes the terminal's port after the first operation there.
    com_.SetPortName(SerialPortNumber);
    com_.SetPortSpeed(SerialPortSpeed);
    com_.SetBusyState(0);
    com_.SetCancel(0);
    com_.SetConnectionState(0);
    ClearResponseFields();
    clearDisplayText();
    std::lock_guard lock(currentMutex);
    current = this;
}

T_Payvo::~T_Payvo() {
    {
        std::lock_guard lock(currentMutex);
        if (current == this) current = nullptr;
    }
    hub_.ForwardShutdown();
}

void T_Payvo::clearDisplayText() {
    displayTextId = 0;
    displayText.clear();
}

void T_Payvo::applyConnectionSettings() {
    com_.SetConnectionType(ConnectionType);
    if (com_.GetConnectionType() == 0) {
        com_.SetPortName(SerialPortNumber);
        com_.SetPortSpeed(SerialPortSpeed);
    }
}

bool T_Payvo::release() {
    // The serial worker may be in the middle of a frame; the port is the operation's only once
    // the worker says it has let go.
    return hub_.ForwardReleaseSerial();
}

void T_Payvo::takeBack() {
    // The worker takes back the port this control works with, so the terminal's gateway requests
    // between operations are heard on the terminal's own port.
    if (!com_.GetPortName().empty() && !com_.GetPortSpeed().empty())
        hub_.ForwardOpenSerial(com_.GetPortName(), com_.GetPortSpeed());
    else
        hub_.ForwardResumeSerial();
}

void T_Payvo::fire(std::int32_t dispid, std::vector<Variant>& args) {
    if (owner_) owner_->fireEvent(dispid, args);
}

void T_Payvo::ClearResponseFields() {
    StatusDisplayMsg.clear();
    for (const auto& f : kAuthorisationFields)
        if (f.target != &T_Payvo::TransactionID && f.target != &T_Payvo::MerchTicketCardNumber) (this->*f.target).clear();
    for (const auto& f : kPrepaidFields) (this->*f.target).clear();
}

std::int32_t T_Payvo::GetPacketType(std::string_view message) {
    if (message.empty() || message[0] != STX) return -1;
    const auto end = message.find_first_of(std::string_view("\x1C\x03", 2), 1);
    if (end == std::string_view::npos) return -1;
    std::int32_t value = -1;
    return HexToNumber(message.substr(1, end - 1), value) == 1 ? value : -1;
}

std::string T_Payvo::capabilityList() const {
    std::string list;
    if (bMagstripeLoyaltySupport) list += "MLOY;";
    if (bEEIDLoyaltySupport) list += "EEID;";
    if (bAmountUpdateSupport) list += "AMOD;";
    return list;
}

bool T_Payvo::BuildRequest(const std::string& type, Frame& frame) {
    if (type == "1") {
        if (ReceiptType < 0 || ReceiptType > 9) ReceiptType = 6;
        std::vector<std::string> f{
            std::to_string(TransactionType),
            TransactionType == 9 ? "0" : std::to_string(Amount),
            std::to_string(PrintingDevice),
            std::to_string(Language),
            std::to_string(ReceiptType),
            CopyText(TransactionID, 200),
            std::to_string(Currency),
            TransactionType == 4 ? std::to_string(PrePaidCode) : "",
            TransactionType == 9 ? HostID : "",
            std::to_string(ReceiptDataType),
            "",
            kProtocolVersion,
            PrintDataFormattingType > 0 ? std::to_string(PrintDataFormattingType - 1) : "",
            "",
            bUseCommForwarding ? "CF" : "",
            bUseECRInput ? "UI" : "",
            "", "", "", "", "",
            capabilityList(),
        };
        frame = buildFrame("1", f);
    } else if (type == "6" || type == "C") {
        frame = buildFrame(type, {});
    } else if (type == "A") {
        frame = buildFrame("A", {kLibraryVersion, kProtocolVersion, "", bUseCommForwarding ? "CF" : "", bUseECRInput ? "UI" : "", "", "", "", capabilityList()});
    } else {
        return false;
    }
    return true;
}

void T_Payvo::readAuthorisationFields(const Frame& message) {
    const std::string code = field(message, 2);
    TransactionReturn = code == "000" ? 0 : code == "888" ? 1 : 5;
    StatusCode = std::int16_t(decimalValue(code));
    for (const auto& f : kAuthorisationFields) this->*f.target = CopyText(field(message, f.field), f.bound);
    if (const int k = FindFieldIndex(message, "PREPAID"); k > 0)
        for (const auto& f : kPrepaidFields) this->*f.target = CopyText(field(message, k + f.field), f.bound);
}

bool T_Payvo::SetAuthResponse(const Frame& message) {
    if (GetPacketType(message) != 5) {
        StatusDisplayMsg = "DECLINED";
        TransactionReturn = 5;
        return false;
    }
    if (message.find(STX) == std::string::npos) {
        TransactionReturn = 1;
        return false;
    }
    readAuthorisationFields(message);
    return true;
}

void T_Payvo::handleNotification(const Frame& message) {
    displayText = CopyText(field(message, 2), 200);
    std::string id;
    displayTextId = GetField(message, 3, id) ? decimalValue(id) : 99;
    std::vector<Variant> args{displayTextId, displayText};
    fire(kNotification, args);
}

void T_Payvo::handleInputRequest(const Frame& message) {
    const std::string formText = field(message, 2);
    const std::int32_t form = decimalValue(formText);
    const std::int32_t timeout = decimalValue(field(message, 5));
    // Field 8 names the answer's size; it is not used to size anything: the answer is an empty
    // text the handler fills, and at most 255 characters of it go back.
    std::int32_t status = 1;
    std::string answer;
    for (const auto& f : kInputForms) {
        if (f.code != form) continue;
        std::vector<Variant> args{field(message, 9), timeout, std::int32_t(1), std::string()};
        if (form == 1003) args.emplace_back(field(message, 10));
        fire(f.event, args);
        status = platform::com::toInteger(args[2]).value_or(1);
        textOf(args[3], answer);
        break;
    }
    answer = CopyText(answer, 255);
    std::int32_t sent;
    if (status == -2) sent = 3;
    else if (status == -1) sent = 4;
    else if (status != 0) sent = 1;
    else {
        const std::size_t required = requiredAnswerLength(form);
        sent = required && answer.size() != required ? 4 : 0;
    }
    com_.Send(buildFrame("FA", {formText, std::to_string(sent), answer}), 5);
}

std::int32_t T_Payvo::fireLoyaltyEvent(const std::string& data, std::string& newAmount) {
    std::vector<Variant> args{data, std::int32_t(60), std::int32_t(0), std::string()};
    fire(kProcessLoyaltyData, args);
    textOf(args[3], newAmount);
    return platform::com::toInteger(args[2]).value_or(0);
}

void T_Payvo::handleLoyaltyRequest(const Frame& message) {
    std::vector<Variant> args{field(message, 2), std::int32_t(60), std::int32_t(1), std::string()};
    fire(kProcessLoyaltyData, args);
    const std::int32_t status = platform::com::toInteger(args[2]).value_or(1);
    std::string newAmount;
    textOf(args[3], newAmount);
    const std::int32_t sent = status == -2 ? 9996 : status == -1 ? 9994 : status != 0 ? 9998 : 0;
    com_.Send(buildFrame("LA", {std::to_string(sent), sent == 0 ? CopyText(newAmount, 12) : ""}), 5);
}

bool T_Payvo::RunRequestExchange(const Frame& request, Frame& answer) {
    answer.clear();
    if (com_.Open() != 0) return false;
    com_.Clear();
    if (com_.Send(request, 5) != 0) {
        StatusCode = 2105;
        return false;
    }
    for (;;) {
        Frame message;
        const int r = com_.Receive(message, 120);
        if (r == kLinkEot) return true;
        if (r == kLinkCancelled) {
            Frame cancel;
            BuildRequest("6", cancel);
            if (const int s = com_.Send(cancel, 3); s != 0) {
                StatusCode = std::int16_t(s);
                return false;
            }
            continue;
        }
        if (r != 0) {
            StatusCode = std::int16_t(r);
            return false;
        }
        if (message.empty()) return true;
        const std::string type = messageType(message);
        if (type == "2") handleNotification(message);
        else if (type == "9") continue;
        else if (type == "FR") handleInputRequest(message);
        else if (type == "WR" || type == "XR" || type == "YR" || type == "ZR") hub_.ForwardAndAnswer(message, com_);
        else if (type == "7") {
            if (field(message, 2) != "1") return false;
            com_.SetBusyState(1);
        } else if (type == "LR") handleLoyaltyRequest(message);
        else {
            answer = message;
            return true;
        }
    }
}

bool T_Payvo::RunPrintLinesExchange(const Frame& request) {
    if (com_.Open() != 0) return false;
    com_.Clear();
    if (com_.Send(request, 5) != 0) return false;
    bool result = true;
    if (printCollection) {
        std::string collected;
        for (bool more = true; more;) {
            Frame message;
            const int r = com_.Receive(message, 15);
            if (r == kLinkTimeout) break;
            if (r == kLinkEot) {
                Receipt = CopyText(collected, kTextBufferSize);
                break;
            }
            if (r != 0) {
                result = false;
                break;
            }
            const std::string type = messageType(message);
            if (type == std::string(1, GS)) AppendLine(std::string{GS, '\r', '\n'}, 3, collected, kTextBufferSize);
            else if (type == "9") {
                const std::string line = printText(message);
                if (!line.empty()) AppendLine(line, int(line.size()), collected, kTextBufferSize);
            } else if (type != "2" && type != "7") more = false;
        }
    }
    com_.Close();
    return result;
}

int T_Payvo::RunReceiptExchange(const Frame& request, std::string& output) {
    clearDisplayText();
    if (com_.Open() != 0) return kLinkNoPort;
    com_.Clear();
    int result = com_.Send(request, 5);
    while (result == 0) {
        Frame message;
        const int r = com_.Receive(message, 120);
        if (r == kLinkEot) break;
        if (r != 0) {
            result = r;
            break;
        }
        const std::string type = messageType(message);
        if (type == "9") {
            const std::string line = printText(message);
            if (printCollection && !line.empty()) AppendLine(line, int(line.size()), output, kTextBufferSize);
        } else if (type == "2") {
            displayText = CopyText(field(message, 2), 200);
            std::string id;
            displayTextId = GetField(message, 3, id) ? decimalValue(id) : 99;
        } else if (type != "7") {
            break;
        }
    }
    com_.Close();
    return result;
}

bool T_Payvo::RunBatchExchange(const Frame& request, Frame& answer) {
    ClearResponseFields();
    clearDisplayText();
    applyConnectionSettings();
    if (com_.Open() != 0) return false;
    com_.Clear();
    std::string collected;
    if (com_.Send(request, 5) != 0) return false;
    Frame last;
    for (;;) {
        const int r = com_.Receive(last, 120);
        if (r == kLinkTimeout) {
            com_.Close();
            return true;
        }
        if (r == kLinkEot) {
            last.clear();
            break;
        }
        if (r != 0) return false;
        const std::string type = messageType(last);
        if (type == "9") {
            const std::string line = printText(last);
            if (printCollection && !line.empty()) AppendLine(line, int(line.size()), collected, kTextBufferSize);
        } else if (type == "2") handleNotification(last);
        else if (type == "7") continue;
        else if (type == "WR" || type == "XR" || type == "YR" || type == "ZR") hub_.ForwardAndAnswer(last, com_);
        else break;
    }
    if (messageType(last) == "F") answer = last;
    else if (!collected.empty()) Receipt = CopyText(collected, kTextBufferSize);
    TransactionReturn = 0;
    com_.Close();
    return true;
}

bool T_Payvo::DeclineTransaction() {
    clearDisplayText();
    applyConnectionSettings();
    const bool result = release() && RunPrintLinesExchange(buildFrame("8", {"1"}));
    printCollection = false;
    takeBack();
    return result;
}

bool T_Payvo::runTransaction(Frame& answer) {
    printCollection = PrintingDevice == 1;
    Receipt.clear();
    if (!IsValidTransactionType(TransactionType)) {
        TransactionReturn = 3;
        return false;
    }
    com_.SetBusyState(TransactionType == 9 ? 2 : 1);
    if (TransactionType != 9 && !IsValidAmount(Amount)) {
        TransactionReturn = 2;
        return false;
    }
    Frame request;
    if (!BuildRequest("1", request)) {
        TransactionReturn = 4;
        return false;
    }
    bool ok;
    if (TransactionType == 8) {
        std::string output;
        ok = RunReceiptExchange(request, output) == 0;
        if (ok) Receipt = CopyText(output, kTextBufferSize);
        else TransactionReturn = 1;
        return ok;
    }
    ok = TransactionType == 9 ? RunBatchExchange(request, answer) : RunRequestExchange(request, answer);
    if (!ok) {
        TransactionReturn = 1;
        return false;
    }
    const std::string type = answer.empty() ? std::string() : messageType(answer);
    if (isPaymentType(TransactionType)) {
        // A payment is approved only by an authorisation answer; an EOT or another answer leaves
        // TransactionReturn at the 1 the request started with, and the result is false.
        if (type != "5") return false;
        if (!SetAuthResponse(answer)) {
            DeclineTransaction();
            TransactionReturn = 4;
            return false;
        }
    } else if (TransactionType == 7 && type == "5") {
        ClearResponseFields();
        readAuthorisationFields(answer);
    } else if (TransactionType == 9 && type == "F") {
        std::string status;
        if (!GetField(answer, 2, status)) {
            TransactionReturn = 4;
            return false;
        }
        StatusCode = std::int16_t(decimalValue(status));
    }
    return true;
}

bool T_Payvo::TransactionRequest() {
    applyConnectionSettings();
    ClearResponseFields();
    clearDisplayText();
    // Refused before the port is touched: the running operation keeps it.
    if (com_.GetBusyState() != 0) {
        TransactionReturn = 5;
        return false;
    }
    // Every request starts as not approved, so nothing of an earlier approval survives a request
    // that ends without an authorisation answer.
    TransactionReturn = 1;
    Frame answer;
    // A port the worker did not let go fails the request as a port that cannot be opened does.
    const bool result = release() && runTransaction(answer);
    // The request exchange leaves the link open; it is closed here so that the next operation
    // opens the port its own settings name instead of keeping a handle the worker may have replaced.
    com_.Close();
    com_.SetBusyState(0);
    takeBack();
    return result;
}

}  // namespace payvo
