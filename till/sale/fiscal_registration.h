// Fiscal registration of a paid receipt: its share of the day counters that the fiscal memory
// keeps as fixed-width texts of whole cents (department sums, returns, card and further payment
// kinds, corrections, currencies, discounts, returned packaging).
#pragma once

#include "closing_receipt.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class TFMProc;

inline constexpr int kPutInFMRegistered = 1;
inline constexpr int kPutInFMNoLines = -1;
inline constexpr int kPutInFMFailure = -2;

inline const QString kPutInFMNoLinesMessage = QStringLiteral("Čekā nav preces (PutInFM) !!!");

// One working record and the text the receipt leaves in it.
struct CounterRecord {
    QString name;
    QString text;
};

// The new texts of every record the receipt changes, in the order they are first changed, from
// the records' current texts (`read` gives a record's text, empty when it holds none, or nothing
// when the read failed). fmKind is TFMProc::FMTips (the module kind keeps kind 12 in APM_SUM10).
// Empty when a read failed.
std::optional<std::vector<CounterRecord>> DayCounterRecords(
    const ClosingReceipt& receipt, const ClosingSettings& settings, int fmKind,
    const std::function<std::optional<QString>(const QString&)>& read);

// Writes the texts DayCounterRecords gave, and whatever `alongside` writes after them, as one (a
// transaction on the module kind; in order on the others, where writing the same texts again
// gives the same counters). False on a failure (TFMProc has reported it).
bool WriteDayCounters(TFMProc& fm, const std::vector<CounterRecord>& records,
                      const std::function<bool()>& alongside = {});

// Registers the receipt: reads every counter it changes, then writes them all; on the module kind
// the writes go into one transaction of the module's store, so a failure leaves every counter as
// it was. Returns 1 registered; -1 no lines (after a message box); -2 a read or write failed: the
// receipt has been annulled through the host and the caller must end the program.
int PutInFM(const ClosingReceipt& receipt, const ClosingSettings& settings, TFMProc& fm, ClosingHost& host);
