// The card payment terminal on a pseudo-terminal: it acknowledges the cash register's ECR frames,
// answers each request with a script of frames (defaults for every request, or answers a test
// queued), sends frames of its own between operations (gateway and loyalty requests,
// notifications), keeps every frame it received, and has the ECR faults as switches.
#pragma once

#include "ecr_wire.h"
#include "serial_device.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace sim {

// One step of the terminal's side of an exchange.
struct TerminalStep {
    enum class Kind { Frame, BadFrame, Raw, Await } kind;
    std::string text;  // Frame, BadFrame: the frame as "|" text; Await: the request type awaited
    Bytes bytes;       // Raw
};

// Terminal fault switches (besides the generic ones of SerialDevice, which act on whatever it sends):
//   "nak"       - the next frame from the cash register is answered with NAK (not taken);
//   "silent"    - the next frame from the cash register is not acknowledged nor taken (a dead
//                 terminal); armed while nothing arrives, it silences the terminal's next frame;
//   "own-frame" - instead of acknowledging the next frame, the terminal sends a notification frame
//                 of its own; the frame sent again afterwards is taken;
//   "bad-check" - the next frame the terminal sends carries wrong check characters;
//   "eot"       - the next answer script is replaced by one EOT;
//   "dc1", "dc2" - the next frame from the cash register is answered with DC1 (DC2) instead of an
//                 acknowledgement and not taken.
// Requests in the bridge library's "4.4.12" layouts get answers in that version's layouts.
class PaymentTerminalSim : public SerialDevice {
public:
    PaymentTerminalSim();
    ~PaymentTerminalSim() override;

    static TerminalStep frame(const std::string& text) { return {TerminalStep::Kind::Frame, text, {}}; }
    static TerminalStep badFrame(const std::string& text) { return {TerminalStep::Kind::BadFrame, text, {}}; }
    static TerminalStep raw(Bytes bytes) { return {TerminalStep::Kind::Raw, {}, std::move(bytes)}; }
    static TerminalStep awaitRequest(const std::string& type) { return {TerminalStep::Kind::Await, type, {}}; }

    // An authorisation answer "5" with response code and fields 3..57 as a terminal fills them
    // for a chip card paid with PIN (field 19, the date and time, is now: "ddmmyyyyhhnnss"; a
    // code other than "000" is "DECLINED" without an authorisation code); extra fields (a PREPAID
    // part) follow. fieldCount below 57 cuts the answer after that field.
    static std::string authorisation(const std::string& responseCode, int fieldCount = 57, const std::vector<std::string>& extra = {});

    // The next request of this type ("1", "6", "8", "A", "C", "IR"...) is answered with steps.
    void script(const std::string& requestType, std::vector<TerminalStep> steps);
    // Steps sent now, without a request (gateway or loyalty requests, notifications).
    void sendNow(std::vector<TerminalStep> steps);
    // Print lines sent after an encash ("8" with "0").
    void setPrintLines(std::vector<std::string> lines);

    // Every frame the cash register sent that the terminal took, as "|" text.
    std::vector<std::string> requests() const;
    std::vector<std::string> requestsOfType(const std::string& type) const;
    // Forgets the frames received and sent so far.
    void clearRequests();
    // Every frame the terminal sent, as "|" text.
    std::vector<std::string> sentFrames() const;
    // How often the cash register sent this byte outside a frame (ACK, NAK, EOT).
    int controlBytesReceived(std::uint8_t byte) const;
    int framesReceived() const;  // every complete frame that arrived, taken or not
    bool idle() const;           // nothing left to send or await

protected:
    void received(const Bytes& bytes) override;

private:
    void takeFrame(const Bytes& bytes);
    void takeRequest(const std::string& text);
    std::vector<TerminalStep> defaultAnswer(const std::string& text) const;
    void pump();
    void sendFrameBytes(const Bytes& bytes, const std::string& text);

    Bytes pending_;  // bytes of a frame still arriving
    std::deque<TerminalStep> steps_;
    std::map<std::string, std::deque<std::vector<TerminalStep>>> scripts_;
    std::vector<std::string> requests_;
    std::vector<std::string> sent_;
    std::vector<std::string> printLines_;
    Bytes lastFrame_;
    bool awaitingAck_ = false;
    int resends_ = 0;
    std::map<std::uint8_t, int> controlBytes_;
    int frames_ = 0;
};

}  // namespace sim
