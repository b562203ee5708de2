// The outside card-terminal library's end of day that follows a Z report on a till with terminal
// kind 3 (and that the reports menu runs on demand): two requests, each printed and kept as the
// terminal's slip. The card payments provide the library calls; the report only fills the requests
// and hands them on.
#pragma once

#include "terminal_request.h"

class OutsideTerminal {
public:
    virtual ~OutsideTerminal() = default;
    // 0 or more when the library and its entry are loaded (the library tells the user otherwise).
    virtual int LoadArccomDll() = 0;
    // The library's entry "ProcessOw", which may write into the request.
    virtual int ProcessOw(TerminalRequest& request) = 0;
    // Prints the slip the terminal's software left as copy 1 or 2, keeps it, and starts the next
    // receipt's header.
    virtual void PrintIngenicoCeks(int copy) = 0;
};

// The operation code dayEnd1, then dayEnd2 in the block as the first call left it, each followed
// by slip copy 1 (so the kept copy 1 ends up holding the second slip); nothing when the library
// cannot be loaded. The results are not examined and the library stays loaded.
void TerminalDayEnd(OutsideTerminal& terminal, int dayEnd1, int dayEnd2);
