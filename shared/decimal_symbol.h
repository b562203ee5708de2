// The start-up check every program runs first: numbers are written with a point, so the
// regional decimal symbol must be one.
#pragma once

#include "settings_store.h"

#include <QString>

inline constexpr const char* kInternationalKey = "Control Panel\\International";
inline const QString kDecimalSymbolMessage = QStringLiteral(
    "Decimālzīmes formātam jābūt punktam(.)\nTo iestāda Control panel -> Regional settings -> Numbers -> Decimal Symbol");

// True when the program may start: the key is missing, or its "sDecimal" is exactly "."
// (a missing value reads as the empty text and refuses).
bool DecimalSymbolAccepted(const platform::SettingsStore& store);
