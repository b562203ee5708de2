#include "report_fiscal_memory.h"

#include "closing_steps.h"
#include "codepage_1257.h"
#include "counter_fields.h"
#include "day_counters.h"
#include "fmproc.h"
#include "xz_layout.h"

#include <optional>

bool ReportFiscalMemory::read(const QString& name, QString& text)
{
    // TFMProc leaves the text alone when the stored record is empty (a counter never written):
    // cleared here, such a record reads as empty, not as whatever the caller read before.
    text.clear();
    return fm_.FMRead(name, text);
}

bool ReportFiscalMemory::write(const QString& name, const QString& text) { return fm_.FMWrite(name, text); }

bool ReportFiscalMemory::readLastDayClose(DayCloseRecord& record)
{
    return fm_.FMReadGrand(-1, record.nr, record.grandTotal, record.grandVat, record.date, record.time, record.daySum,
                           record.dayVat, record.check);
}

bool ReportFiscalMemory::appendDayClose(const DayCloseRecord& record) { return fm_.FMAppendDayClose(record); }

bool ReportFiscalMemory::appendPending(bool& pending) { return fm_.FMAppendPending(pending); }

bool ReportFiscalMemory::createRecord(const QString& name, int size) { return fm_.FMCreateRecord(name, size); }

bool ReportFiscalMemory::beginTransaction(const QString& tag) { return fm_.FMBeginTrans(tag); }

bool ReportFiscalMemory::commitTransaction(const QString& tag) { return fm_.FMCommitTrans(tag); }

bool ReportFiscalMemory::rollbackTransaction(const QString& tag) { return fm_.FMRollback(tag); }

bool ReportFiscalMemory::transactionOpen(bool& open, const QString& tag) { return fm_.FMTransInProgress(open, tag); }

namespace {

const QString kCloseTag = QStringLiteral("PrintXZAtskaite");
const QString kRecoverTag = QStringLiteral("RecoverDayClose");
constexpr int kMarkerNumberWidth = 11;
constexpr int kMarkerBalanceWidth = kDayCloseMarkerSize - kMarkerNumberWidth;

struct DayCloseMarker {
    int number = 0;
    long long nextOpening = 0;
};

QString markerText(const DayCloseMarker& marker)
{
    return QString::number(marker.number).rightJustified(kMarkerNumberWidth, u' ') +
           QString::number(marker.nextOpening).rightJustified(kMarkerBalanceWidth, u' ');
}

// Set when the number is a number. Both fields are written at once, so a number without a
// balance is a damaged marker: `damaged` tells it apart from no marker.
std::optional<DayCloseMarker> parseMarker(const QString& text, bool& damaged)
{
    damaged = false;
    const std::optional<long long> number = CounterNumber(text.left(kMarkerNumberWidth).trimmed());
    if (!number)
        return std::nullopt;
    const std::optional<long long> balance = CounterNumber(text.mid(kMarkerNumberWidth, kMarkerBalanceWidth).trimmed());
    damaged = !balance;
    if (damaged)
        return std::nullopt;
    return DayCloseMarker{int(*number), *balance};
}

bool writeMarker(ReportFiscalMemory& fm, const QString& text)
{
    return fm.createRecord(kDayCloseMarker, kDayCloseMarkerSize) && fm.write(kDayCloseMarker, text);
}

constexpr int kCopyLengthWidth = 3;

bool writeCopy(ReportFiscalMemory& fm, const DayCloseRecord& record)
{
    const QString text = fromCp1257(formatDayCloseRecord(DayCloseLayout::Memorix, record));
    if (kCopyLengthWidth + text.size() > kDayCloseCopySize) {
        fm.fmProc().FMError(-1, kDayCloseCopy, kCloseTag, text);
        return false;
    }
    return fm.createRecord(kDayCloseCopy, kDayCloseCopySize) &&
           fm.write(kDayCloseCopy, QString::number(text.size()).rightJustified(kCopyLengthWidth, u' ') + text);
}

// The copy of the record the marker names; none when the copy is missing, damaged or of
// another record (a marker written before copies were kept).
std::optional<DayCloseRecord> readCopy(ReportFiscalMemory& fm, int number, bool& ok)
{
    QString text;
    ok = fm.read(kDayCloseCopy, text);
    const std::optional<long long> length = CounterNumber(text.left(kCopyLengthWidth).trimmed());
    if (!ok || !length || *length <= 0 || kCopyLengthWidth + *length > text.size())
        return std::nullopt;
    const std::string stored = toCp1257(text.mid(kCopyLengthWidth, int(*length)));
    DayCloseRecord record;
    record.nr = 0;
    parseDayCloseRecord(DayCloseLayout::Memorix, stored, record);
    // Only a copy that gives back its own bytes is sent again as the record.
    if (record.nr != number || formatDayCloseRecord(DayCloseLayout::Memorix, record) != stored)
        return std::nullopt;
    return record;
}

// Runs the writes as one transaction (record by record on kinds without transactions). Anything
// short of a commit is rolled back; the rollback's own failure is reported by TFMProc and a
// transaction it leaves open is rolled back by the next RecoverDayClose (or by the driver in the
// next process).
template <class Writes>
bool inTransaction(ReportFiscalMemory& fm, const QString& tag, Writes writes)
{
    if (!fm.beginTransaction(tag))
        return false;
    if (writes() && fm.commitTransaction(tag))
        return true;
    fm.rollbackTransaction(tag);
    return false;
}

bool clearMarker(ReportFiscalMemory& fm, const QString& tag)
{
    return inTransaction(fm, tag, [&] { return writeMarker(fm, {}); });
}

// The zeroed counters and the cleared marker, committed together.
bool zeroCounters(ReportFiscalMemory& fm, const std::vector<CounterText>& zeroed, const QString& tag)
{
    return inTransaction(fm, tag, [&] {
        for (const CounterText& counter : zeroed)
            if (!fm.write(counter.name, counter.text))
                return false;
        return writeMarker(fm, {});
    });
}

}  // namespace

bool CloseDay(ReportFiscalMemory& fm, const DayCloseRecord& record, long long nextOpening,
              const std::vector<CounterText>& zeroed)
{
    const DayCloseRecord dated = TFMProc::DatedNow(record);
    if (!inTransaction(fm, kCloseTag, [&] {
            return writeCopy(fm, dated) && writeMarker(fm, markerText({record.nr, nextOpening}));
        }))
        return false;
    if (!fm.appendDayClose(dated)) {
        // A reply lost after the module stored the record still closes the day. When the record
        // is certainly not there the day stays open; when that cannot be told, or its first bytes
        // are in the write-once memory, the marker stays for RecoverDayClose.
        DayCloseRecord last;
        if (!fm.readLastDayClose(last))
            return false;
        if (last.nr != record.nr) {
            bool pending = true;
            if (fm.appendPending(pending) && !pending)
                clearMarker(fm, kCloseTag);
            return false;
        }
    }
    ReachClosingStep("day-appended");
    if (!zeroCounters(fm, zeroed, kCloseTag))
        return false;
    ReachClosingStep("day-closed");
    return true;
}

bool RecoverDayClose(ReportFiscalMemory& fm)
{
    // Another process's transaction cut short was rolled back by the driver at this process's
    // first use of the store; one that this process left open is treated the same way.
    bool open = false;
    if (!fm.transactionOpen(open, kRecoverTag) || (open && !fm.rollbackTransaction(kRecoverTag)))
        return false;
    QString text;
    if (!fm.read(kDayCloseMarker, text))
        return false;
    bool damaged = false;
    const std::optional<DayCloseMarker> marker = parseMarker(text, damaged);
    if (damaged) {
        fm.fmProc().FMError(-1, kDayCloseMarker, kRecoverTag, text);
        return false;
    }
    if (!marker)
        return true;
    DayCounters counters;
    if (!fm.readLastDayClose(counters.last))
        return false;
    if (counters.last.nr != marker->number) {
        bool pending = false, copyRead = false;
        if (!fm.appendPending(pending))
            return false;
        const std::optional<DayCloseRecord> copy = readCopy(fm, marker->number, copyRead);
        if (!copyRead)
            return false;
        // Nothing of the record reached the write-once memory: the day stays open. Without a
        // copy an append cut short cannot be finished here either.
        if (!pending || !copy)
            return clearMarker(fm, kRecoverTag);
        if (!fm.appendDayClose(*copy))
            return false;
        counters.last = *copy;
    }
    // The day is closed; its counters were not zeroed. The rates and currency codes they hold
    // now are the day's, and the opening balance is the one the Z report computed.
    if (!ReadDayCounters(fm, false, counters))
        return false;
    return zeroCounters(fm, ZeroedCounters(counters, marker->nextOpening), kRecoverTag);
}

bool RecoverDayClose(TFMProc& fm)
{
    ReportFiscalMemory access(fm);
    return RecoverDayClose(access);
}
