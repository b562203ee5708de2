#include "report_fiscal_memory.h"

#include "codepage_1257.h"
#include "counter_fields.h"
#include "fmproc.h"
#include "memorix.h"

bool ReportFiscalMemory::transactional() const { return fm_.FMTips == TFMProc::MemorixModule; }

bool ReportFiscalMemory::read(const QString& name, QString& text) { return fm_.FMRead(name, text); }

bool ReportFiscalMemory::write(const QString& name, const QString& text) { return fm_.FMWrite(name, text); }

bool ReportFiscalMemory::readLastDayClose(DayCloseRecord& record)
{
    return fm_.FMReadGrand(-1, record.nr, record.grandTotal, record.grandVat, record.date, record.time, record.daySum,
                           record.dayVat, record.check);
}

bool ReportFiscalMemory::appendDayClose(const DayCloseRecord& record)
{
    return fm_.FMWriteGrand(record.nr, record.check, record.grandTotal, record.grandVat, record.daySum, record.dayVat);
}

bool ReportFiscalMemory::report(int rc, const QString& name, const char* command)
{
    fm_.FMError(rc, name, QString::fromLatin1(command), {});
    return false;
}

bool ReportFiscalMemory::ensureRecord(const QString& name, int size)
{
    const std::string key = toCp1257(name);
    int index = -1;
    int stored = -1;
    int rc = HT_Find(key.c_str(), &index, &stored);
    if (rc == MEMORIX_NO_SUCH_FILE)
        rc = HT_Create(key.c_str(), &index, size);
    return rc == MEMORIX_OK || report(rc, name, "HT_Create-PrintXZAtskaite");
}

bool ReportFiscalMemory::beginTransaction()
{
    const int rc = HT_BeginTrans();
    return rc == MEMORIX_OK || report(rc, {}, "HT_BeginTrans-PrintXZAtskaite");
}

bool ReportFiscalMemory::commitTransaction()
{
    const int rc = HT_CommitTrans();
    return rc == MEMORIX_OK || report(rc, {}, "HT_CommitTrans-PrintXZAtskaite");
}

bool ReportFiscalMemory::rollbackTransaction()
{
    const int rc = HT_Rollback();
    return rc == MEMORIX_OK || report(rc, {}, "HT_Rollback-PrintXZAtskaite");
}

bool ReportFiscalMemory::transactionOpen(bool& open)
{
    int inProgress = 0;
    const int rc = HT_Get_TransactionInProgress(&inProgress);
    open = inProgress != 0;
    return rc == MEMORIX_OK || report(rc, {}, "HT_Get_TransactionInProgress-PrintXZAtskaite");
}

namespace {

// Whether the newest day-close record is `expected`: false when it is not or cannot be read.
bool dayCloseLanded(ReportFiscalMemory& fm, const DayCloseRecord& expected, bool& known)
{
    DayCloseRecord last;
    known = fm.readLastDayClose(last);
    return known && last.nr == expected.nr && last.daySum == expected.daySum && last.dayVat == expected.dayVat &&
           last.grandTotal == expected.grandTotal && last.grandVat == expected.grandVat;
}

// Every department sum of NOD_D_SUM is 0 (the rates may be anything).
bool daySumsZero(const QString& daySums)
{
    for (int slot = 0; slot < 24; ++slot)
        if (CounterValue(daySums.mid(slot * 10 + 2, 8)) != 0)
            return false;
    return true;
}

}  // namespace

bool CloseDay(ReportFiscalMemory& fm, const DayCloseRecord& record, const std::vector<CounterText>& zeroed)
{
    if (!fm.transactional()) {
        if (!fm.appendDayClose(record))
            return false;
        for (const CounterText& counter : zeroed)
            if (!fm.write(counter.name, counter.text))
                return false;
        return true;
    }

    if (!fm.beginTransaction())
        return false;
    bool written = fm.ensureRecord(kDayCloseMarker, kDayCloseMarkerSize) &&
                   fm.write(kDayCloseMarker, QString::number(record.nr).rightJustified(kDayCloseMarkerSize, u' '));
    for (std::size_t i = 0; written && i < zeroed.size(); ++i)
        written = fm.write(zeroed[i].name, zeroed[i].text);
    if (!written) {
        fm.rollbackTransaction();
        return false;
    }
    if (!fm.appendDayClose(record)) {
        // A reply lost after the module stored the record still closes the day. When that cannot
        // be told, the transaction stays open for RecoverDayClose to decide.
        bool known = false;
        if (!dayCloseLanded(fm, record, known)) {
            if (known)
                fm.rollbackTransaction();
            return false;
        }
    }
    // A commit that fails leaves the transaction open: the day is closed, so it must not be
    // rolled back; RecoverDayClose commits it.
    return fm.commitTransaction();
}

bool RecoverDayClose(ReportFiscalMemory& fm)
{
    if (!fm.transactional())
        return true;
    bool open = false;
    if (!fm.transactionOpen(open))
        return false;
    if (!open)
        return true;
    QString marker, daySums;
    DayCloseRecord last;
    if (!fm.read(kDayCloseMarker, marker) || !fm.readLastDayClose(last) || !fm.read(QStringLiteral("NOD_D_SUM"), daySums))
        return false;
    // The marker of the last finished day close also names the newest record; a receipt's
    // transaction left open after it is told apart by the receipt's sums in NOD_D_SUM.
    const bool dayClosed = CounterNumber(marker.trimmed()) == last.nr && daySumsZero(daySums);
    return dayClosed ? fm.commitTransaction() : fm.rollbackTransaction();
}

bool RecoverDayClose(TFMProc& fm)
{
    ReportFiscalMemory access(fm);
    return RecoverDayClose(access);
}
