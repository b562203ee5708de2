#include "terminal_day_end.h"

void TerminalDayEnd(OutsideTerminal& terminal, int dayEnd1, int dayEnd2)
{
    if (terminal.LoadArccomDll() < 0)
        return;
    TerminalRequest request = MakeTerminalRequest(dayEnd1);
    terminal.ProcessOw(request);
    terminal.PrintIngenicoCeks(1);
    SetTerminalRequestCode(request, dayEnd2);
    terminal.ProcessOw(request);
    terminal.PrintIngenicoCeks(1);
}
