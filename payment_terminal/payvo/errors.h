// The link layer's result codes and their texts, in one table.
#pragma once

namespace payvo {

enum LinkResult : int {
    kLinkOk = 0,
    kLinkEot = 999,
    kLinkTimeout = 2102,
    kLinkReadError = 2103,
    kLinkTooManyNaks = 2104,
    kLinkWriteError = 2105,
    kLinkMalformed = 2106,
    kLinkBadCheck = 2107,
    kLinkNoStx = 2108,
    kLinkNoPort = 2110,
    kLinkCancelled = 2111,
    kLinkOverflow = -1,
};

// "time-out", "wrong check characters"...; "unknown result" for a code not in the table.
const char* linkResultText(int code);

}  // namespace payvo
