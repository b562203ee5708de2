#include "xz_report.h"

#include "clock.h"
#include "printclass.h"
#include "ui_services.h"
#include "z_row.h"

#include <exception>

namespace {

void printLines(TPrintClass& print, const std::vector<ReportLine>& lines)
{
    // A line the printer refuses is not fatal: the kept file and the journal hold the report.
    for (const ReportLine& line : lines) {
        switch (line.route) {
        case LineRoute::BothStations:
            print.DrukaUzAbam(line.text, 1);
            break;
        case LineRoute::EmptyLine:
            print.DrukaTuksasRindasUzAbam(1);
            break;
        case LineRoute::FinalFeed:
            print.DrukaUzCeka(line.text, true, 2);
            break;
        }
    }
}

}  // namespace

int PrintXZAtskaite(int kind, const XZReportJob& job, ReportFiscalMemory& fm, TPrintClass& print, ReportWindow& window)
{
    if (job.RinduSkaits != 0) {
        window.ShowPazinojums(kReportOpenReceiptMessage);
        return kReportDone;
    }
    // A day close cut short (here or in an earlier run) is finished before anything is read.
    if (!RecoverDayClose(fm))
        return kReportFatal;
    print.AtverNaudasLadi();

    DayCounters counters;
    if (!ReadDayCounters(fm, kind == kXReport, counters))
        return kReportFatal;
    const platform::LocalTime now = platform::localNow();
    XZLayoutSettings settings;
    settings.CekaValutaKods = job.CekaValutaKods;
    settings.KasierisFullName = job.KasierisFullName;
    settings.dateText = SystemDateText(now);
    settings.timeText = SystemTimeText(now);
    settings.valutasKurss = [&window](const QString& code) { return window.GetValutasKurss(code); };
    XZReport report = BuildXZReport(kind, counters, settings);
    printLines(print, report.lines);

    if (kind == kXReport) {
        if (!fm.write(QStringLiteral("X_REPORTNR"), QString::number(report.number + 1).rightJustified(11, u' ')))
            return kReportFatal;
        SaveReportFile(QString::fromLatin1(kLastXReportFile), report.texts());
        PrintNextHeader(print, window);
        return kReportDone;
    }

    // The day's journal file is closed now; its check value goes into the day-close record.
    try {
        report.dayClose.check = print.GetKontrollentasCRC(1);
    } catch (const std::exception& error) {
        // Nothing has been written: the day stays open and the report can be run again.
        window.ShowPazinojums(QString::fromStdString(error.what()));
        return kReportDone;
    }
    if (!CloseDay(fm, report.dayClose, report.nextOpening, report.zeroed))
        return kReportFatal;
    print.GetKontrollentasCRC(2);

    // The day is closed whatever the database says: a refused row is reported, and the kept file
    // and the next header still follow.
    try {
        StoreZReportRow(job.posDb, MakeZReportRow(report.number, report.totals, platform::localNow()));
    } catch (const std::exception& error) {
        window.ShowPazinojums(kZRowNotStoredMessage + QString::fromUtf8(error.what()));
    }
    SaveReportFile(QString::fromLatin1(kLastZReportFile), report.texts());
    PrintNextHeader(print, window);
    return kReportDone;
}

void Xatskaite(const XZReportJob& job, ReportFiscalMemory& fm, TPrintClass& print, ReportWindow& window)
{
    if (job.RinduSkaits != 0) {
        window.ShowPazinojums(kMenuOpenReceiptMessage);
        return;
    }
    print.ClearDispleju();
    if (PrintXZAtskaite(kXReport, job, fm, print, window) == kReportFatal) {
        window.ShowPazinojums(kXFatalMessage);
        platform::ui::endProgram(1);
    }
    print.PrintDemoUzDispleja();
}

bool Zatskaite(const XZReportJob& job, ReportFiscalMemory& fm, TPrintClass& print, ReportWindow& window,
               const std::function<void()>& terminalDayEnd)
{
    if (job.RinduSkaits != 0) {
        window.ShowPazinojums(kMenuOpenReceiptMessage);
        return false;
    }
    if (platform::ui::showMessage(kZQuestion, {}, platform::ui::Buttons::YesNo, platform::ui::Icon::Question) !=
        platform::ui::Yes)
        return false;
    print.ClearDispleju();
    if (PrintXZAtskaite(kZReport, job, fm, print, window) == kReportFatal) {
        window.ShowPazinojums(kZFatalMessage);
        platform::ui::endProgram(1);
    }
    print.PrintDemoUzDispleja();
    if (terminalDayEnd)
        terminalDayEnd();
    return true;
}
