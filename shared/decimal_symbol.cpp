#include "decimal_symbol.h"

bool DecimalSymbolAccepted(const platform::SettingsStore& store) {
    if (!store.keyExists(kInternationalKey)) return true;
    // Compared byte for byte: ". " and "," refuse, and so does a missing value.
    return store.readText(kInternationalKey, "sDecimal").value_or("") == ".";
}
