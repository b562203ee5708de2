#include "errors.h"

namespace payvo {
namespace {

struct Entry {
    int code;
    const char* text;
};

constexpr Entry kTexts[] = {
    {kLinkOk, "done"},
    {kLinkEot, "the terminal sent EOT"},
    {kLinkTimeout, "time-out"},
    {kLinkReadError, "read error on the port"},
    {kLinkTooManyNaks, "too many NAK"},
    {kLinkWriteError, "write error on the port"},
    {kLinkMalformed, "frame malformed"},
    {kLinkBadCheck, "wrong check characters"},
    {kLinkNoStx, "no STX in the frame"},
    {kLinkNoPort, "no port handle"},
    {kLinkCancelled, "receive cancelled"},
    {kLinkOverflow, "no complete frame in 4900 bytes"},
};

}  // namespace

const char* linkResultText(int code) {
    for (const auto& e : kTexts)
        if (e.code == code) return e.text;
    return "unknown result";
}

}  // namespace payvo
