#include "terminal_day_end.h"

void TerminalDayEnd(OutsideTerminal& terminal, int dayEnd1, int dayEnd2)
{
    if (terminal.LoadArccomDll() < 0)
        return;
    for (const int code : {dayEnd1, dayEnd2}) {
        TerminalRequest request = MakeTerminalRequest(code);
        const int result = terminal.ProcessOw(request);
        terminal.PrintIngenicoCeks(request, result, 1, 1);
    }
}
