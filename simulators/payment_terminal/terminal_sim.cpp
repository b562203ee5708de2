#include "terminal_sim.h"

#include <array>
#include <cstdio>
#include <ctime>

namespace sim {
namespace {

constexpr std::uint8_t kStx = 0x02, kEtx = 0x03, kEot = 0x04, kAck = 0x06, kDc1 = 0x11, kDc2 = 0x12, kNak = 0x15, kGs = 0x1D;

// The bridge library's requests end with its protocol version: the authorisation in field 12,
// the state request in field 2.
constexpr const char* kBridgeProtocol = "4.4.12";
bool fromBridge(const std::string& text) {
    const auto all = ecr::fields(text);
    return !all.empty() && all.back() == kBridgeProtocol;
}

// The authorisation answer's fields 3 to 57 as the terminal sends them for an approved chip
// payment with PIN: a VISA debit card, its number masked, the EMV data of the card and the
// terminal. Several come as a label, a colon and the value, which the till's slip spreads over a
// line; "T:1" marks an online authorisation, whose code the slip prints. Field 19, the date and
// time, and the fields a declined answer words otherwise come from answerField.
constexpr std::array<const char*, 55> kApprovedFields{
    "APPROVED",                  // 3  status display message
    "VISA",                      // 4  card name
    "476173******0119",          // 5  card number, masked
    "Exp: 12/29",                // 6  valid date
    "Ticket: 000123",            // 7  ticket number
    "Auth. code: 480213",        // 8  authorisation code
    "RRN: 634512003456",         // 9  reference number
    "TID: T0000001",             // 10 terminal id (as the state answer names it)
    "TVR: 0000008000",           // 11
    "TSI: E800",                 // 12
    "API: 01",                   // 13
    "00",                        // 14 response code
    "AC: 7A3F29C1E04B5D86",      // 15 application cryptogram
    "A0000000031010",            // 16 AID
    "VISA DEBIT",                // 17 application label
    "000000123",                 // 18 transaction id
    "",                          // 19 date and time: now
    "Merchant ID: M0001",        // 20 merchant id (as the state answer names it)
    "000000",                    // 21 processing code
    "051",                       // 22 POS entry mode: chip
    "CVM: P",                    // 23 cardholder verification: PIN
    "000042",                    // 24 batch number
    "",                          // 25 no loyalty card
    "SN12345",                   // 26 terminal serial number (as the state answer names it)
    "",                          // 27 amount: the request's, not repeated here
    "978",                       // 28 currency: EUR
    "PIRKUMS",                   // 29 operation name
    "lv",                        // 30 EMV language
    "5",                         // 31 card entry type: chip
    "",                          // 32 not contactless
    "",                          // 33
    "00",                        // 34 tag 9C
    "01",                        // 35 tag 5F34
    "000000000000",              // 36 tag 9F03
    "06010A03A0A000",            // 37 tag 9F10
    "0428",                      // 38 tag 9F1A: Latvia
    "80",                        // 39 tag 9F27
    "420300",                    // 40 tag 9F34
    "0012",                      // 41 tag 9F36
    "9A3C5E71",                  // 42 tag 9F37
    "DC4000A800",                // 43 TAC default
    "0010000000",                // 44 TAC denial
    "DC4004F800",                // 45 TAC online
    "B060240000",                // 46 IAC default
    "0010180000",                // 47 IAC denial
    "B0606C9800",                // 48 IAC online
    "TILLORA DEMO VEIKALS",      // 49 merchant name
    "000123",                    // 50 STAN
    "T:1",                       // 51 transaction indicator
    "Brivibas iela 1, Riga",     // 52 merchant address
    "40003000000",               // 53 merchant registration number
    "1",                         // 54 merchant cash register number
    "",                          // 55 no second currency
    "",                          // 56
    "PAN: 476173******0119",     // 57 card number on the merchant's copy
};

// "ddmmyyyyhhnnss", the terminal's local time.
std::string terminalDateTime() {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    ::localtime_r(&now, &t);
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%02d%02d%04d%02d%02d%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900, t.tm_hour,
                  t.tm_min, t.tm_sec);
    return text.data();
}

// Field 3..57 of the authorisation answer (field 1 is the type): a response code other than
// "000" words the status "DECLINED" and leaves no authorisation code.
std::string answerField(int field, const std::string& responseCode) {
    const bool approved = responseCode == "000";
    switch (field) {
    case 3: return approved ? kApprovedFields[0] : "DECLINED";
    case 8: return approved ? kApprovedFields[5] : "";
    case 14: return responseCode.size() == 3 ? responseCode.substr(1) : responseCode;
    case 19: return terminalDateTime();
    default: return field >= 3 && field <= 57 ? kApprovedFields[std::size_t(field - 3)] : "";
    }
}

}  // namespace

PaymentTerminalSim::PaymentTerminalSim() : printLines_{"KARTES MAKSAJUMS", "SUMMA EUR 12.30", "PALDIES"} {}

PaymentTerminalSim::~PaymentTerminalSim() { stop(); }

std::string PaymentTerminalSim::authorisation(const std::string& responseCode, int fieldCount, const std::vector<std::string>& extra) {
    std::string text = "5|" + responseCode;
    for (int i = 3; i <= fieldCount; ++i) text += "|" + answerField(i, responseCode);
    for (const auto& e : extra) text += "|" + e;
    return text;
}

void PaymentTerminalSim::script(const std::string& requestType, std::vector<TerminalStep> steps) {
    std::lock_guard lock(stateMutex_);
    scripts_[requestType].push_back(std::move(steps));
}

void PaymentTerminalSim::sendNow(std::vector<TerminalStep> steps) {
    std::lock_guard lock(stateMutex_);
    for (auto& s : steps) steps_.push_back(std::move(s));
    pump();
}

void PaymentTerminalSim::setPrintLines(std::vector<std::string> lines) {
    std::lock_guard lock(stateMutex_);
    printLines_ = std::move(lines);
}

std::vector<std::string> PaymentTerminalSim::requests() const {
    std::lock_guard lock(const_cast<std::mutex&>(stateMutex_));
    return requests_;
}

std::vector<std::string> PaymentTerminalSim::requestsOfType(const std::string& type) const {
    std::vector<std::string> out;
    for (const auto& r : requests())
        if (ecr::field(r, 0) == type) out.push_back(r);
    return out;
}

void PaymentTerminalSim::clearRequests() {
    std::lock_guard lock(stateMutex_);
    requests_.clear();
    sent_.clear();
}

std::vector<std::string> PaymentTerminalSim::sentFrames() const {
    std::lock_guard lock(const_cast<std::mutex&>(stateMutex_));
    return sent_;
}

int PaymentTerminalSim::controlBytesReceived(std::uint8_t byte) const {
    std::lock_guard lock(const_cast<std::mutex&>(stateMutex_));
    auto it = controlBytes_.find(byte);
    return it == controlBytes_.end() ? 0 : it->second;
}

int PaymentTerminalSim::framesReceived() const {
    std::lock_guard lock(const_cast<std::mutex&>(stateMutex_));
    return frames_;
}

bool PaymentTerminalSim::idle() const {
    std::lock_guard lock(const_cast<std::mutex&>(stateMutex_));
    return steps_.empty() && !awaitingAck_;
}

void PaymentTerminalSim::received(const Bytes& bytes) {
    std::lock_guard lock(stateMutex_);
    for (std::uint8_t b : bytes) {
        if (!pending_.empty()) {
            pending_.push_back(b);
            // A frame is complete two bytes after its ETX.
            const std::size_t n = pending_.size();
            if (n >= 3 && pending_[n - 3] == kEtx) {
                Bytes f;
                f.swap(pending_);
                takeFrame(f);
            }
            continue;
        }
        if (b == kStx) {
            pending_.push_back(b);
            continue;
        }
        trace().received({b});
        ++controlBytes_[b];
        if (b == kAck && awaitingAck_) {
            awaitingAck_ = false;
            resends_ = 0;
            pump();
        } else if (b == kNak && awaitingAck_) {
            if (++resends_ < 3) {
                trace().note("NAK: frame sent again");
                sendRaw(lastFrame_);
            } else {
                awaitingAck_ = false;
                steps_.clear();
            }
        } else if (b == kEot) {
            trace().note("EOT from the cash register: exchange dropped");
            awaitingAck_ = false;
            steps_.clear();
        }
    }
}

void PaymentTerminalSim::takeFrame(const Bytes& bytes) {
    trace().received(bytes);
    ++frames_;
    const auto text = ecr::decode(bytes);
    if (!text) {
        trace().note("wrong check characters: NAK");
        send({kNak}, "NAK");
        return;
    }
    if (faults().take("silent")) {
        trace().note("silent: frame ignored");
        return;
    }
    if (faults().take("nak")) {
        send({kNak}, "NAK (fault)");
        return;
    }
    if (faults().take("dc1")) {
        send({kDc1}, "DC1 (fault)");
        return;
    }
    if (faults().take("dc2")) {
        send({kDc2}, "DC2 (fault)");
        return;
    }
    if (faults().take("own-frame")) {
        sendFrameBytes(ecr::encode("2|LUDZU GAIDIET|1"), "2|LUDZU GAIDIET|1");
        return;
    }
    send({kAck}, "ACK " + *text);
    takeRequest(*text);
}

void PaymentTerminalSim::takeRequest(const std::string& text) {
    requests_.push_back(text);
    const std::string type = ecr::field(text, 0);
    // A step waiting for this request lets the script go on.
    if (!steps_.empty() && steps_.front().kind == TerminalStep::Kind::Await && steps_.front().text == type) {
        steps_.pop_front();
        pump();
        return;
    }
    // A new request means the cash register has moved on: what was left of the last exchange goes.
    if (!steps_.empty() || awaitingAck_) trace().note("new request: the rest of the last exchange dropped");
    steps_.clear();
    awaitingAck_ = false;
    std::vector<TerminalStep> answer;
    auto it = scripts_.find(type);
    if (it != scripts_.end() && !it->second.empty()) {
        answer = std::move(it->second.front());
        it->second.pop_front();
    } else {
        answer = defaultAnswer(text);
    }
    if (!answer.empty() && faults().take("eot")) answer = {raw({kEot})};
    for (auto& s : answer) steps_.push_back(std::move(s));
    pump();
}

std::vector<TerminalStep> PaymentTerminalSim::defaultAnswer(const std::string& text) const {
    const std::string type = ecr::field(text, 0);
    if (type == "1") {
        const std::string transaction = ecr::field(text, 1);
        if (transaction == "9") return {frame(fromBridge(text) ? "F|000" : "F|0")};
        if (transaction == "7" && fromBridge(text)) return {frame(authorisation("000"))};
        if (transaction == "8") {
            std::vector<TerminalStep> s;
            for (const auto& l : printLines_) s.push_back(frame("9|" + l));
            s.push_back(raw({kEot}));
            return s;
        }
        return {frame(authorisation("000"))};
    }
    if (type == "6") return {frame("7|0")};
    if (type == "8") {
        std::vector<TerminalStep> s;
        if (ecr::field(text, 1) == "0")
            for (const auto& l : printLines_) s.push_back(frame("9|" + l));
        s.push_back(raw({kEot}));
        return s;
    }
    if (type == "A") {
        if (fromBridge(text)) return {frame("B|0|1|T0000001|1.2.3|4.4.12")};
        return {frame("B|0|0|T0000001|1.2.3|4.4.33|SN12345|M0001|REG|CASH")};
    }
    if (type == "TR") return {frame("TA|" + ecr::field(text, 1) + "|FUNCTION " + ecr::field(text, 1) + " DONE")};
    if (type == "10") return {frame(authorisation("000"))};
    if (type == "C") return {frame("D|0")};
    if (type == "IR") {
        const std::string info = ecr::field(text, 1);
        if (info == "0") return {frame("IA|0|0|1|01|BANKA")};
        if (info == "1") return {frame("IA|1|0|" + ecr::field(text, 2) + "|978|3|3690|1|500")};
        if (info == "2") return {frame("IA|2|0|LOJ1|LOJ2")};
    }
    return {};  // FA, LA, WA, XA, YA: taken, nothing to answer
}

void PaymentTerminalSim::sendFrameBytes(const Bytes& bytes, const std::string& text) {
    lastFrame_ = bytes;
    awaitingAck_ = true;
    resends_ = 0;
    sent_.push_back(text);
    send(bytes, text);
}

void PaymentTerminalSim::pump() {
    while (!steps_.empty() && !awaitingAck_) {
        TerminalStep step = steps_.front();
        if (step.kind == TerminalStep::Kind::Await) return;
        steps_.pop_front();
        if (step.kind == TerminalStep::Kind::Raw) {
            send(step.bytes, "raw");
            // The cash register acknowledges a lone GS as it does a frame: wait for that ACK, or
            // it would be taken for the next frame's.
            if (step.bytes == Bytes{kGs}) {
                lastFrame_ = step.bytes;
                awaitingAck_ = true;
                resends_ = 0;
            }
        } else if (step.kind == TerminalStep::Kind::BadFrame || faults().take("bad-check")) {
            // A frame with a wrong check is answered with NAK, which ends the exchange on our side.
            sent_.push_back(step.text);
            send(ecr::encodeWithBadCheck(step.text), step.text + " (bad check)");
        } else {
            sendFrameBytes(ecr::encode(step.text), step.text);
        }
    }
}

}  // namespace sim
