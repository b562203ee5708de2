// Several writes to the fiscal memory as one: on the module kind a transaction of its store, so a
// failure or a killed program leaves every record as it was; on the kinds without transactions
// the writes simply run in order.
#pragma once

#include <QString>

#include <functional>

class TFMProc;

// Begins, runs `writes` and commits; anything short of a commit is rolled back. The tag names the
// caller in the error log. False on any failure (TFMProc has reported it).
bool InFiscalTransaction(TFMProc& fm, const QString& tag, const std::function<bool()>& writes);
