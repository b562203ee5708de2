// What the save takes from the till database: the tax rates of departments 1 to 24 (N_NODALAS)
// and the currency codes (N_VALUTAS), read through the alias "TILLORA" (else what POS_DB names).
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>

struct SetupTables {
    std::map<int, int> taxRates;  // department number -> NODOKLIS as a whole number
    QStringList currencyCodes;    // VAL_KODS in the order the query returns them

    // The rate of a department, none when N_NODALAS has no row for it.
    std::function<std::optional<int>(int)> taxRate() const;
};

// Reads both tables in read-committed transactions that hold no snapshot, so the till may go on
// working on the same database. Throws platform::DatabaseError with the database's text.
SetupTables ReadSetupTables();
