#include "day_counters.h"

#include "counter_fields.h"
#include "report_fiscal_memory.h"

namespace {

// Count in characters 1-4 (trimmed), sum in characters 5-12 (as stored).
void countAndSum(const QString& text, long long& count, long long& sum)
{
    count = TrimmedCounterValue(text.mid(0, 4));
    sum = CounterValue(text.mid(4, 8));
}

bool readRecord(ReportFiscalMemory& fm, const char* name, QString& text)
{
    return fm.read(QString::fromLatin1(name), text);
}

}  // namespace

int ReadApmVeids(ReportFiscalMemory& fm, const QString& sumRecord, const QString& nameRecord, const QString& flagRecord,
                 long long& sum, QString& name, QString& flag)
{
    sum = 0;
    QString text;
    if (!fm.read(sumRecord, text))
        return 0;
    sum = TrimmedCounterValue(text);
    QString nameText, flagText;
    if (!fm.read(nameRecord, nameText) || !fm.read(flagRecord, flagText))
        return 0;
    name = nameText.trimmed();
    flag = flagText;
    return 1;
}

int ReadApmVeids(TFMProc& fm, const QString& sumRecord, const QString& nameRecord, const QString& flagRecord,
                 long long& sum, QString& name, QString& flag)
{
    ReportFiscalMemory access(fm);
    return ReadApmVeids(access, sumRecord, nameRecord, flagRecord, sum, name, flag);
}

bool ReadDayCounters(ReportFiscalMemory& fm, bool withXNumber, DayCounters& c)
{
    if (!fm.readLastDayClose(c.last))
        return false;
    QString text;
    if (withXNumber) {
        if (!readRecord(fm, "X_REPORTNR", text))
            return false;
        c.xNumber = int(CounterNumber(text.trimmed()).value_or(1));
    }
    if (!readRecord(fm, "ATLNOIEPR", text))
        return false;
    c.opening = TrimmedCounterValue(text);
    if (!readRecord(fm, "NOD_D_SUM", text))
        return false;
    for (int i = 0; i < kTaxSlots; ++i) {
        const QString slot = text.mid(i * kTaxSlotWidth, kTaxSlotWidth);
        c.taxSlots[std::size_t(i)] = {int(CounterValue(slot.left(2))), CounterValue(slot.mid(2, 8))};
    }
    if (!readRecord(fm, "IELIKTS", text))
        return false;
    countAndSum(text, c.cashInCount, c.cashIn);
    if (!readRecord(fm, "IZNEMTS", text))
        return false;
    countAndSum(text, c.cashOutCount, c.cashOut);
    if (!readRecord(fm, "STORNO_SUM", text))
        return false;
    c.returns = TrimmedCounterValue(text);
    if (!readRecord(fm, "BANKA_ATGR", text))
        return false;
    c.cardReturns = TrimmedCounterValue(text);
    if (!readRecord(fm, "ATGRTARA", text))
        return false;
    countAndSum(text, c.packagingCount, c.packaging);
    if (!readRecord(fm, "KOREKCIJA", text))
        return false;
    c.correctionCount = CounterValue(text.mid(0, 4));
    c.corrections = CounterValue(text.mid(4, 8));
    if (!readRecord(fm, "DIENAS_ATL", text))
        return false;
    c.discounts = CounterValue(text);
    if (!readRecord(fm, "BANKA_SUM", text))
        return false;
    c.card = TrimmedCounterValue(text);
    for (int n = 1; n <= kPaymentKinds; ++n) {
        DayCounters::PaymentKind& kind = c.paymentKinds[std::size_t(n - 1)];
        const QString number = QString::number(n);
        if (ReadApmVeids(fm, "APM_SUM" + number, "APMVEID" + number, "APMFLAG" + number, kind.sum, kind.name, kind.flag) != 1)
            return false;
    }
    if (!readRecord(fm, "VALUT_D_S", text))
        return false;
    for (int i = 0; i < kCurrencySlots; ++i) {
        const QString slot = text.mid(i * kCurrencySlotWidth, kCurrencySlotWidth);
        c.currencies[std::size_t(i)] = {slot.left(3), CounterValue(slot.mid(3, 8))};
    }
    return true;
}
