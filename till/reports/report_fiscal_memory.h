// The day reports' way to the fiscal memory: TFMProc's working records, day-close records and
// store transactions, and the day close made safe against failures and crashes with a marker
// record, finished by RecoverDayClose in whichever process runs next.
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

// Every operation reports its own failure (TFMProc::FMError: the error log and a message). The
// transaction calls do nothing (and succeed) on kinds whose store has no transactions; the tag
// names the caller in the error log.
class ReportFiscalMemory {
public:
    explicit ReportFiscalMemory(TFMProc& fm) : fm_(fm) {}
    virtual ~ReportFiscalMemory() = default;
    ReportFiscalMemory(const ReportFiscalMemory&) = delete;
    ReportFiscalMemory& operator=(const ReportFiscalMemory&) = delete;

    TFMProc& fmProc() { return fm_; }

    // The record's text; a record never written reads as empty.
    virtual bool read(const QString& name, QString& text);
    virtual bool write(const QString& name, const QString& text);
    // The newest day-close record; defaults (number 1, zero amounts) when there is none.
    virtual bool readLastDayClose(DayCloseRecord& record);
    // Appends the day-close record with its own date and time.
    virtual bool appendDayClose(const DayCloseRecord& record);
    // Whether an append was cut short in the write-once store (see TFMProc::FMAppendPending).
    virtual bool appendPending(bool& pending);
    // A record outside the size table, made to hold `size` bytes; a write of it follows at once.
    virtual bool createRecord(const QString& name, int size);
    virtual bool beginTransaction(const QString& tag);
    virtual bool commitTransaction(const QString& tag);
    virtual bool rollbackTransaction(const QString& tag);
    virtual bool transactionOpen(bool& open, const QString& tag);

private:
    TFMProc& fm_;
};

// The marker of a day close under way. Characters 1-11: the number of the day-close record being
// appended; characters 12-24: the cash balance in whole cents that becomes the next opening
// balance (ATLNOIEPR). Blank when no day close is under way.
inline const QString kDayCloseMarker = QStringLiteral("ZSLEGSANA");
inline constexpr int kDayCloseMarkerSize = 24;
// The day-close record being appended, written with the marker: characters 1-3 the length of the
// record's text, then the text in the module's layout, date and time included. An append cut
// short is finished with exactly these bytes.
inline const QString kDayCloseCopy = QStringLiteral("ZIERAKSTS");
inline constexpr int kDayCloseCopySize = 128;

// Closes the day in three steps, each one safe to be cut short by a failure, a killed program or
// a power loss (the module's store returns to its last committed state when a transaction was
// cut short):
//   1. the marker (the record's number and nextOpening, the cash balance in cents) and the copy
//      of the record, dated now, are written and committed on their own; a failure leaves
//      everything as it was;
//   2. the day-close record is appended; a failure that certainly stored nothing clears the
//      marker again, and the day stays open. An append cut short part way can only be finished
//      (the write-once memory takes nothing back): the marker stays;
//   3. the zeroed counters and the cleared marker are written in one transaction.
// After step 2 the day is closed: a failure in step 3 leaves the marker set and the counters as
// they were, and RecoverDayClose zeroes them later, once. False on any failure (already reported).
bool CloseDay(ReportFiscalMemory& fm, const DayCloseRecord& record, long long nextOpening,
              const std::vector<CounterText>& zeroed);

// Finishes a day close cut short, in this process or an earlier one. A transaction this process
// left open is rolled back first. Then, with the marker set: when the newest day-close record
// carries the marker's number the counters are zeroed from what they hold now (the same texts
// the Z report writes, the opening balance from the marker) together with clearing the marker;
// when the record's append was cut short part way it is finished from the copy first, and the
// counters zeroed likewise; when the record is not there at all the marker is cleared and the
// counters stay. Run before every report and at start-up, before any sale. False on a failure
// (already reported).
bool RecoverDayClose(ReportFiscalMemory& fm);
bool RecoverDayClose(TFMProc& fm);

// What the till's start-up says before it ends when RecoverDayClose fails.
inline const QString kStartupDayCloseMessage =
    QStringLiteral("Nevarēju pabeigt iepriekšējo Z atskaiti fiskālajā blokā, darbs tiek pārtraukts !!!");
