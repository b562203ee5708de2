// The X and Z day reports: reading the day counters, printing them, and for the Z report closing
// the fiscal day (day-close record, counters zeroed, the cash balance carried over), storing the
// Z row, keeping the printed text, and the menu commands that run them.
#pragma once

#include "report_file.h"
#include "report_window.h"
#include "xz_layout.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <optional>

class TPrintClass;

inline constexpr int kReportDone = 1;      // printed, or refused
inline constexpr int kReportFatal = -2;    // a fiscal-memory failure: the caller ends the program

inline const QString kReportOpenReceiptMessage = QStringLiteral("Pirms drukāt X vai Z atskaiti jānobeidz čeks !!!");
inline const QString kMenuOpenReceiptMessage = QStringLiteral("Ir iesākts čeks, atskaiti ņemt nedrīkst !!!");
inline const QString kZQuestion = QStringLiteral("Vai drukāt Z atskaiti ?");
inline const QString kXFatalMessage = QStringLiteral("Darbs tiek pārtraukts !!!");
inline const QString kZFatalMessage = QStringLiteral("Darbs tiek pārtraukts !!!\n (Zatskaite1Click) ");
inline const QString kZRowNotStoredMessage = QStringLiteral("Z atskaites rinda datu bāzē nav saglabāta !!!\n\n");

inline const char* const kLastXReportFile = "LastXAtskaite.rep";
inline const char* const kLastZReportFile = "LastZAtskaite.rep";

struct XZReportJob {
    int RinduSkaits = 0;  // lines of the open receipt
    QString KasierisFullName;
    QString CekaValutaKods;
    QSqlDatabase posDb;   // where the Z row goes
};

// kind 1 the X report, 2 the Z report. Returns 1 when printed (or refused for an open receipt),
// -2 on a fiscal-memory failure. Before the day-close record is appended a failure changes no
// counter; after it the counters are zeroed once (see CloseDay and RecoverDayClose). A Z row that
// the database refuses is reported to the cashier; the kept file and the next header still follow.
int PrintXZAtskaite(int kind, const XZReportJob& job, ReportFiscalMemory& fm, TPrintClass& print, ReportWindow& window);

// The menu commands' share: the open-receipt refusal, the Z question, the customer display, the
// report and the fatal path (the message, then platform::ui::endProgram).
void Xatskaite(const XZReportJob& job, ReportFiscalMemory& fm, TPrintClass& print, ReportWindow& window);
// Returns whether the Z report was printed; terminalDayEnd (may be empty) runs after it.
bool Zatskaite(const XZReportJob& job, ReportFiscalMemory& fm, TPrintClass& print, ReportWindow& window,
               const std::function<void()>& terminalDayEnd);
