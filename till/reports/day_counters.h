// The day counters as the X and Z reports read them from the fiscal memory: the last day-close
// record, the opening balance, sales by tax slot, cash in and out, returns, corrections,
// discounts, card and further payment kinds, and foreign cash.
#pragma once

#include "day_close_record.h"

#include <QString>

#include <array>

class ReportFiscalMemory;
class TFMProc;

inline constexpr int kTaxSlots = 24;
inline constexpr int kTaxSlotWidth = 10;
inline constexpr int kCurrencySlots = 30;
inline constexpr int kCurrencySlotWidth = 11;
inline constexpr int kPaymentKinds = 10;  // APM_SUM1..10: payment kinds 2..11

// Amounts in whole cents (foreign currencies in cents of that currency).
struct DayCounters {
    DayCloseRecord last;  // the newest day-close record: Nr, grand totals, journal check
    int xNumber = 1;      // X_REPORTNR (read by the X report only)
    long long opening = 0;  // ATLNOIEPR
    struct TaxSlot {
        int rate = 0;  // per cent, -1 without VAT
        long long sum = 0;
    };
    std::array<TaxSlot, kTaxSlots> taxSlots{};
    long long cashInCount = 0, cashIn = 0;    // IELIKTS
    long long cashOutCount = 0, cashOut = 0;  // IZNEMTS
    long long returns = 0;                    // STORNO_SUM
    long long cardReturns = 0;                // BANKA_ATGR
    long long packagingCount = 0, packaging = 0;  // ATGRTARA
    long long correctionCount = 0, corrections = 0;  // KOREKCIJA
    long long discounts = 0;                  // DIENAS_ATL
    long long card = 0;                       // BANKA_SUM
    struct PaymentKind {
        long long sum = 0;
        QString name;
        QString flag;  // "T...": cash in the drawer
    };
    std::array<PaymentKind, kPaymentKinds> paymentKinds{};
    struct CurrencySlot {
        QString code;
        long long sum = 0;
    };
    std::array<CurrencySlot, kCurrencySlots> currencies{};
};

// Reads one further payment kind: its day sum (trimmed, not a number gives 0), then its name
// (trimmed) and flag (as stored). The sum is set before anything can fail; name and flag only
// on success. 1 on success, 0 when a read failed. Nothing is written: the Z report zeroes the sums
// with the other counters when it closes the day.
int ReadApmVeids(ReportFiscalMemory& fm, const QString& sumRecord, const QString& nameRecord, const QString& flagRecord,
                 long long& sum, QString& name, QString& flag);
int ReadApmVeids(TFMProc& fm, const QString& sumRecord, const QString& nameRecord, const QString& flagRecord,
                 long long& sum, QString& name, QString& flag);

// Reads every counter the report prints, in the report's order; X_REPORTNR only when withXNumber.
// False at the first failed read (reported by TFMProc).
bool ReadDayCounters(ReportFiscalMemory& fm, bool withXNumber, DayCounters& counters);
