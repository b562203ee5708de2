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

// Runs an export's body. The port's own failures come back as codes; what is left to throw is a
// failed allocation, which leaves the reader unread.
template <class Body>
std::int32_t guarded(Body body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return CARDEON_READ;
    }
}

// The card status of a query's answer, or -1006 for an answer too short to carry one.
int statusOf(const cardeon::Bytes& answer, char& status) {
    auto s = cardeon::cardStatus(answer);
    if (!s) return CARDEON_BAD_PACKET;
    status = *s;
    return CARDEON_OK;
}

}  // namespace

extern "C" {

std::int32_t iInitSerialPort(std::int32_t port) {
    return guarded([&] {
        logEdge("Begin", "iInitSerialPort");
        Session session;
        if (int code = session.open(port)) return code;
        if (session.SendFrame(kEnqFrame, kPresenceSeconds) != CARDEON_OK) return CARDEON_TIMEOUT;
        platform::clock().sleepMs(kSettleMs);
        const int result = session.ShowText(cardeon::kCardPrompt, kPresenceSeconds);
        session.close();
        logEdge("End", "iInitSerialPort");
        return result;
    });
}

std::int32_t iCheckForCardIns(std::int32_t port) {
    return guarded([&] {
        logEdge("Begin", "iCheckForCardIns");
        Session session;
        if (int code = session.open(port)) return code;
        cardeon::Bytes answer;
        if (session.SendFrame(cardeon::cardInsertedQuery(), kCardSeconds) != CARDEON_OK) {
            // The reader did not take the query cleanly: a NAK asks it for its answer all the
            // same. When even that byte cannot be written there is no answer to look at.
            if (int code = session.writeByte(cardeon::kNak)) return code;
        }
        if (int code = session.ReceiveFrame(answer, kCardSeconds)) return code;
        char status = 0;
        if (int code = statusOf(answer, status)) return code;
        int result = CARDEON_OK;
        if (!cardeon::cardIn(status)) {
            session.ShowText(cardeon::kCardPrompt, kPresenceSeconds);
            result = CARDEON_NO_CARD;
        }
        session.close();
        logEdge("End", "iCheckForCardIns");
        return result;
    });
}

std::int32_t iRemoveCard(std::int32_t port) {
    return guarded([&] {
        logEdge("Begin", "iRemoveCard");
        Session session;
        if (int code = session.open(port)) return code;
        if (int code = session.SendFrame(cardeon::cardRemovalQuery(), kCardSeconds)) return code;
        cardeon::Bytes answer;
        if (int code = session.ReceiveFrame(answer, kCardSeconds)) return code;
        char status = 0;
        if (int code = statusOf(answer, status)) return code;
        int result = CARDEON_NO_CARD;
        if (!cardeon::cardIn(status)) {
            if (session.SendFrame(kEnqFrame, kPresenceSeconds) != CARDEON_OK) return CARDEON_TIMEOUT;
            platform::clock().sleepMs(kSettleMs);
            session.ShowText(cardeon::kCardPrompt, kPresenceSeconds);
            result = CARDEON_OK;
        }
        session.close();
        logEdge("End", "iRemoveCard");
        return result;
    });
}

std::int32_t iCheckForCardType(const char* trackData, std::int32_t length) {
    if (!trackData || length <= 0) return CARDEON_NO_SEPARATOR;
    return cardeon::cardTypeOfTrackData(std::span(trackData, std::size_t(length)));
}

void CardeonSetMessagePump(CardeonMessagePump pump, void* context) { cardeon::setMessagePump(pump, context); }

}  // extern "C"
