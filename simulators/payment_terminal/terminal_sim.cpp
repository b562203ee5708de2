#include "terminal_sim.h"

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

}  // namespace

PaymentTerminalSim::PaymentTerminalSim() : printLines_{"KARTES MAKSAJUMS", "SUMMA EUR 12.30", "PALDIES"} {}

PaymentTerminalSim::~PaymentTerminalSim() { stop(); }

std::string PaymentTerminalSim::authorisation(const std::string& responseCode, int fieldCount, const std::vector<std::string>& extra) {
    std::string text = "5|" + responseCode;
    for (int i = 3; i <= fieldCount; ++i) text += "|f" + std::to_string(i);
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
