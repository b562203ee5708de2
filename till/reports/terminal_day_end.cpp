#include "terminal_day_end.h"

#include <cstdint>
#include <cstring>

void TerminalDayEnd(OutsideTerminal& terminal, int dayEnd1, int dayEnd2)
{
    if (terminal.LoadArccomDll() < 0)
        return;
    for (const int code : {dayEnd1, dayEnd2}) {
        TerminalRequest request{};
        const std::int32_t value = code;
        std::memcpy(request.data() + kTerminalRequestCodeOffset, &value, sizeof value);
        const int result = terminal.ProcessOw(request);
        terminal.PrintIngenicoCeks(request, result, 1, 1);
    }
}
