// The outside card-terminal library's end of day that follows a Z report on a till with terminal
// kind 3: two requests, each printed and kept as the terminal's slip. The card payments provide
// the library calls; the report only fills the requests and hands them on.
#pragma once

#include "terminal_request.h"

class OutsideTerminal {
public:
    virtual ~OutsideTerminal() = default;
    // 0 or more when the library and its entry are loaded (the library tells the user otherwise).
    virtual int LoadArccomDll() = 0;
    // The library's entry "ProcessOw".
    virtual int ProcessOw(TerminalRequest& request) = 0;
    // Prints and keeps the terminal's slip of the request.
    virtual void PrintIngenicoCeks(const TerminalRequest& request, int result, int copy, int flag) = 0;
};

// The operation codes dayEnd1 and then dayEnd2, each in a fresh request; nothing when the library
// cannot be loaded.
void TerminalDayEnd(OutsideTerminal& terminal, int dayEnd1, int dayEnd2);
