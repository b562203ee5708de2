// A till process for the day-close tests: a process of its own, so the fiscal-memory driver's
// per-process state is that of a program that has just started. It works on the module named in
// the settings (TILLORA_REGISTRY, TILLORA_PORTS) in the working folder it is started in.
//
//   day_close_process z <time> [CODE=rate ...]
//       the fiscal-memory part of a Z report: the day close of a report cut short is finished,
//       the counters are read, the report is built (currency rates as given, 1.0 otherwise) and
//       the day is closed. Right after the day-close record is appended, and before each commit
//       after that, it names the point on its output ("appended", "committing") and waits for a
//       line on its input before it goes on, so the test can kill it there or cut the module's
//       power first.
//   day_close_process recover <time>
//       what the till's start-up does with the fiscal memory: TFMProc, then RecoverDayClose.
//
// <time> is the clock's time as seconds since the epoch. Exit code: 0 done, 1 a fiscal-memory
// step failed (reported on the error output), 2 wrong arguments, 3 the fiscal memory not ready.
#include "day_counters.h"
#include "fmproc.h"
#include "report_fiscal_memory.h"
#include "xz_layout.h"

#include "clock.h"
#include "session.h"

#include <QMap>
#include <QString>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

// Pauses at the points where a day close can be cut short after its append: right after the
// append ("appended") and before each commit that follows it ("committing"). At each it writes the
// point's name on its output and waits for a line on its input (or its end).
class PausingFiscalMemory : public ReportFiscalMemory {
public:
    using ReportFiscalMemory::ReportFiscalMemory;
    bool appendDayClose(const DayCloseRecord& record) override
    {
        if (!ReportFiscalMemory::appendDayClose(record))
            return false;
        appended_ = true;
        pause("appended");
        return true;
    }
    bool commitTransaction(const QString& tag) override
    {
        if (appended_)
            pause("committing");
        return ReportFiscalMemory::commitTransaction(tag);
    }

private:
    static void pause(const char* point)
    {
        std::cout << point << std::endl;
        std::string line;
        std::getline(std::cin, line);
    }
    bool appended_ = false;
};

int closeDay(TFMProc& fm, const QMap<QString, double>& rates)
{
    PausingFiscalMemory access(fm);
    if (!RecoverDayClose(access))
        return 1;
    DayCounters counters;
    if (!ReadDayCounters(access, false, counters))
        return 1;
    XZLayoutSettings settings;
    settings.CekaValutaKods = QStringLiteral("EUR");
    settings.valutasKurss = [&rates](const QString& code) { return rates.value(code, 1.0); };
    const XZReport report = BuildXZReport(kZReport, counters, settings);
    return CloseDay(access, report.dayClose, report.nextOpening, report.zeroed) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const std::string mode = argv[1];
    platform::ManualClock clock(std::chrono::system_clock::from_time_t(std::time_t(std::stoll(argv[2]))));
    platform::setClock(&clock);
    QMap<QString, double> rates;
    for (int i = 3; i < argc; ++i) {
        const QStringList rate = QString::fromLocal8Bit(argv[i]).split(u'=');
        if (rate.size() != 2)
            return 2;
        rates[rate[0]] = rate[1].toDouble();
    }
    // A module that has lost its power answers nothing: give up on it quickly.
    memorix::setReadTimeoutMs(300);

    TFMProc fm;
    if (fm.Status != 0)
        return 3;
    if (mode == "z")
        return closeDay(fm, rates);
    if (mode == "recover")
        return RecoverDayClose(fm) ? 0 : 1;
    return 2;
}
