// The fiscal memory's named working records: creation order, creation sizes and the size table
// that writes pad and cut to. Sizes count Windows-1257 bytes.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace fmrecords {

struct WorkingRecord {
    std::string_view name;
    int creationSize;  // size the record is created with in the module's named-file store
    int tableSize;     // size writes pad and cut to; 0 for records that are only created
};

// Every record in the order the module's records are created (payment records last, per kind:
// name, flag, sum).
std::span<const WorkingRecord> all();
// The records created before the payment records, and the 30 payment records.
std::span<const WorkingRecord> basic();
std::span<const WorkingRecord> payment();

// The size table: the record's write size, none for a name outside the table.
std::optional<int> tableSize(std::string_view name);

// Size of the older layout of NOD_D_SUM, migrated to the current size when found.
inline constexpr int kOldDaySumsSize = 501;

}  // namespace fmrecords
