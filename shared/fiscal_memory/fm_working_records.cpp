#include "fm_working_records.h"

#include <array>

namespace fmrecords {
namespace {

// VALUT_D_S holds 30 currency slots of 11 characters: it is written at the size it is created
// with, so that the last slots are not cut off.
constexpr std::array<WorkingRecord, 54> kRecords = {{
    {"PEDEJAPRECE", 12, 0},
    {"NOD_C_SUM", 401, 0},
    {"VALUT_C_S", 12, 0},
    {"CEKAGALVA1", 40, 40},
    {"CEKAGALVA2", 40, 40},
    {"CEKAGALVA3", 40, 40},
    {"CEKAGALVA4", 40, 40},
    {"CEKANRCOUN", 11, 11},
    {"NOD_D_SUM", 251, 251},
    {"STORNO_SUM", 9, 9},
    {"BANKA_SUM", 9, 9},
    {"BANKA_ATGR", 13, 13},
    {"VALUT_D_S", 331, 331},
    {"IELIKTS", 13, 13},
    {"IZNEMTS", 13, 13},
    {"X_REPORTNR", 11, 11},
    {"POS_NR", 11, 11},
    {"VID_ID", 15, 15},
    {"KOREKCIJA", 13, 13},
    {"ATLNOIEPR", 13, 13},
    {"SLIMO_KASE", 13, 0},
    {"DIENAS_ATL", 13, 13},
    {"ATGRTARA", 13, 13},
    // The till's marker of a receipt being closed: its number in 11 characters and the step.
    {"CSLEGSANA", 12, 12},
    {"APMVEID1", 15, 15}, {"APMFLAG1", 1, 1}, {"APM_SUM1", 13, 13},
    {"APMVEID2", 15, 15}, {"APMFLAG2", 1, 1}, {"APM_SUM2", 13, 13},
    {"APMVEID3", 15, 15}, {"APMFLAG3", 1, 1}, {"APM_SUM3", 13, 13},
    {"APMVEID4", 15, 15}, {"APMFLAG4", 1, 1}, {"APM_SUM4", 13, 13},
    {"APMVEID5", 15, 15}, {"APMFLAG5", 1, 1}, {"APM_SUM5", 13, 13},
    {"APMVEID6", 15, 15}, {"APMFLAG6", 1, 1}, {"APM_SUM6", 13, 13},
    {"APMVEID7", 15, 15}, {"APMFLAG7", 1, 1}, {"APM_SUM7", 13, 13},
    {"APMVEID8", 15, 15}, {"APMFLAG8", 1, 1}, {"APM_SUM8", 13, 13},
    {"APMVEID9", 15, 15}, {"APMFLAG9", 1, 1}, {"APM_SUM9", 13, 13},
    {"APMVEID10", 15, 15}, {"APMFLAG10", 1, 1}, {"APM_SUM10", 13, 13},
}};

constexpr std::size_t kPaymentRecords = 30;

}  // namespace

std::span<const WorkingRecord> all() { return kRecords; }

std::span<const WorkingRecord> basic() { return all().first(kRecords.size() - kPaymentRecords); }

std::span<const WorkingRecord> payment() { return all().last(kPaymentRecords); }

std::optional<int> tableSize(std::string_view name)
{
    for (const WorkingRecord& record : kRecords)
        if (record.tableSize > 0 && record.name == name)
            return record.tableSize;
    return std::nullopt;
}

}  // namespace fmrecords
