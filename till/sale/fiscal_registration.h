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

inline constexpr int kPutInFMCounterFull = -3;

inline const QString kPutInFMNoLinesMessage = QStringLiteral("Čekā nav preces (PutInFM) !!!");
// An amount that no longer fits a day counter's fixed-width field: a longer text would shift every
// field after it, so nothing is written until the Z report has zeroed the counters.
inline const QString kCounterFullMessage =
    QStringLiteral("Summa vairs neietilpst fiskālā bloka dienas skaitītājā, vispirms jāņem Z atskaite !!!");

// One working record and the text the receipt leaves in it.
struct CounterRecord {
    QString name;
    QString text;
};

// What a receipt does to the day counters: the new texts of every record it changes, in the order
// they are first changed; or, in `full`, the first record one of whose fields the receipt's amounts
// would overflow (its texts are then not to be written).
struct DayCounterChange {
    std::vector<CounterRecord> records;
    QString full;
};

// Whether a receipt's counter texts are ready to be written.
enum class CounterCheck { Ready, Unreadable, Full };

// The receipt's change from the records' current texts (`read` gives a record's text, empty when
// it holds none, or nothing when the read failed). fmKind is TFMProc::FMTips (the module kind
// keeps kind 12 in APM_SUM10). Empty when a read failed.
std::optional<DayCounterChange> DayCounterRecords(
    const ClosingReceipt& receipt, const ClosingSettings& settings, int fmKind,
    const std::function<std::optional<QString>(const QString&)>& read);

// Writes the texts DayCounterRecords gave, and whatever `alongside` writes after them, as one (a
// transaction on the module kind; in order on the others, where writing the same texts again
// gives the same counters). False on a failure (TFMProc has reported it).
bool WriteDayCounters(TFMProc& fm, const std::vector<CounterRecord>& records,
                      const std::function<bool()>& alongside = {});

// Registers the receipt: reads every counter it changes, then writes them all; on the module kind
// the writes go into one transaction of the module's store, so a failure leaves every counter as
// it was. Returns 1 registered; -1 no lines (after a message box); -3 an amount would overflow a
// counter (kCounterFullMessage through the host, nothing written, the receipt left as it is); -2 a
// read or write failed: the receipt has been annulled through the host and the caller must end
// the program.
int PutInFM(const ClosingReceipt& receipt, const ClosingSettings& settings, TFMProc& fm, ClosingHost& host);
