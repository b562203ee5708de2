// The day reports' way to the fiscal memory: TFMProc's working records and day-close records and,
// on the module kind, one transaction of the module's store around the day close, with the
// recovery of a day close that a failure cut short.
#pragma once

#include "day_close_record.h"

#include <QString>

#include <vector>

class TFMProc;

// A working record and the text to write into it.
struct CounterText {
    QString name;
    QString text;
};

// Every operation reports its own failure (TFMProc::FMError: the error log and a message).
class ReportFiscalMemory {
public:
    explicit ReportFiscalMemory(TFMProc& fm) : fm_(fm) {}
    virtual ~ReportFiscalMemory() = default;
    ReportFiscalMemory(const ReportFiscalMemory&) = delete;
    ReportFiscalMemory& operator=(const ReportFiscalMemory&) = delete;

    TFMProc& fmProc() { return fm_; }
    // The module's store has transactions; the other kinds write record by record.
    bool transactional() const;

    virtual bool read(const QString& name, QString& text);
    virtual bool write(const QString& name, const QString& text);
    // The newest day-close record; defaults (number 1, zero amounts) when there is none.
    virtual bool readLastDayClose(DayCloseRecord& record);
    // Appends a day-close record dated now (the record's own date and time are not used).
    virtual bool appendDayClose(const DayCloseRecord& record);
    // Module kind only: creates the record with the size when the store does not hold it.
    virtual bool ensureRecord(const QString& name, int size);
    virtual bool beginTransaction();
    virtual bool commitTransaction();
    virtual bool rollbackTransaction();
    virtual bool transactionOpen(bool& open);

private:
    bool report(int rc, const QString& name, const char* command);
    TFMProc& fm_;
};

// The record that holds, inside the day close's transaction, the number of the day-close record
// the transaction belongs to. Consulted only while a transaction is left open.
inline const QString kDayCloseMarker = QStringLiteral("ZSLEGSANA");
inline constexpr int kDayCloseMarkerSize = 11;

// Closes the day: appends the day-close record and writes the counters back zeroed. On the module
// kind the zeroed counters are written in a transaction that is committed only after the append,
// so a failure before the append leaves every counter as it was, and after it the zeroing is
// either committed or left for RecoverDayClose to commit. The other kinds append first and then
// write record by record. False on any failure (already reported).
bool CloseDay(ReportFiscalMemory& fm, const DayCloseRecord& record, const std::vector<CounterText>& zeroed);

// Finishes a transaction that a day close left open: committed when the newest day-close record
// is the one the transaction was made for (the day is closed, its counters must be zeroed), rolled
// back otherwise. Run before every report and at start-up, before any sale. False on a failure.
bool RecoverDayClose(ReportFiscalMemory& fm);
bool RecoverDayClose(TFMProc& fm);
