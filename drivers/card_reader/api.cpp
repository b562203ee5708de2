// The exported functions: each opens the reader's port, runs its exchange and closes the port on
// every path; no exception leaves the library.
#include "cardeon.h"

#include "commands.h"
#include "exchange_log.h"
#include "session.h"

#include "clock.h"

#include <new>
#include <string>

namespace {

using cardeon::Session;
using cardeon::WriteLog;

// The reader's acknowledgement of ENQ and of the prompt is awaited this long; a card query's
// acknowledgement and its answer each 60 s, as a cashier may take that long with the card.
constexpr int kPresenceSeconds = 5;
constexpr int kCardSeconds = 60;
// After the presence check the reader needs a moment before it takes display text.
constexpr int kSettleMs = 500;

const cardeon::Bytes kEnqFrame{cardeon::kEnq};

void logEdge(const char* edge, const char* function) {
    WriteLog(std::string("--------------- ") + edge + " of " + function + " -------------");
}

// What an export's exchange came to: a failure on the way returns at once, without the end line.
struct Outcome {
    int code;
    bool reachedEnd = true;
};
Outcome stopped(int code) { return {code, false}; }

// Logs the beginning, opens the port, runs the exchange, closes the port and logs the end. The
// port's own failures come back as codes; what is left to throw is a failed allocation, which
// leaves the reader unread.
template <class Exchange>
std::int32_t runExport(const char* function, std::int32_t port, Exchange exchange) {
    try {
        logEdge("Begin", function);
        Session session;
        if (int code = session.open(port)) return code;
        const Outcome outcome = exchange(session);
        session.close();
        if (outcome.reachedEnd) logEdge("End", function);
        return outcome.code;
    } catch (const std::bad_alloc&) {
        return CARDEON_READ;
    }
}

// Receives a query's answer and reads its card status: 0, or the receive's code, or -1006 for an
// answer too short to carry a status.
int receiveCardStatus(Session& session, char& status) {
    cardeon::Bytes answer;
    if (int code = session.ReceiveFrame(answer, kCardSeconds)) return code;
    auto s = cardeon::cardStatus(answer);
    if (!s) return CARDEON_BAD_PACKET;
    status = *s;
    return CARDEON_OK;
}

// ENQ, the pause the reader needs, and the prompt: the prompt's result, or a stop with -1004
// when the ENQ was not acknowledged.
Outcome presenceAndPrompt(Session& session) {
    if (session.SendFrame(kEnqFrame, kPresenceSeconds) != CARDEON_OK) return stopped(CARDEON_TIMEOUT);
    platform::clock().sleepMs(kSettleMs);
    return Outcome{session.ShowText(cardeon::kCardPrompt, kPresenceSeconds)};
}

}  // namespace

extern "C" {

std::int32_t iInitSerialPort(std::int32_t port) {
    return runExport("iInitSerialPort", port, presenceAndPrompt);
}

std::int32_t iCheckForCardIns(std::int32_t port) {
    return runExport("iCheckForCardIns", port, [](Session& session) {
        if (session.SendFrame(cardeon::cardInsertedQuery(), kCardSeconds) != CARDEON_OK) {
            // The reader did not take the query cleanly: a NAK asks it for its answer all the
            // same. When even that byte cannot be written there is no answer to look at.
            if (int code = session.writeByte(cardeon::kNak)) return stopped(code);
        }
        char status = 0;
        if (int code = receiveCardStatus(session, status)) return stopped(code);
        if (cardeon::cardIn(status)) return Outcome{CARDEON_OK};
        session.ShowText(cardeon::kCardPrompt, kPresenceSeconds);
        return Outcome{CARDEON_NO_CARD};
    });
}

std::int32_t iRemoveCard(std::int32_t port) {
    return runExport("iRemoveCard", port, [](Session& session) {
        if (int code = session.SendFrame(cardeon::cardRemovalQuery(), kCardSeconds)) return stopped(code);
        char status = 0;
        if (int code = receiveCardStatus(session, status)) return stopped(code);
        if (cardeon::cardIn(status)) return Outcome{CARDEON_NO_CARD};
        // The prompt's own result does not change the answer: the card is out.
        const Outcome prompt = presenceAndPrompt(session);
        return prompt.reachedEnd ? Outcome{CARDEON_OK} : prompt;
    });
}

std::int32_t iCheckForCardType(const char* trackData, std::int32_t length) {
    if (!trackData || length <= 0) return CARDEON_NO_SEPARATOR;
    return cardeon::cardTypeOfTrackData(std::span(trackData, std::size_t(length)));
}

void CardeonSetMessagePump(CardeonMessagePump pump, void* context) { cardeon::setMessagePump(pump, context); }

}  // extern "C"
