// SutaPreces: ITEMS.DBF into the till's items table N_PRECE, updating the codes the till has and
// inserting the others, all in one transaction.
#include "exchange_values.h"
#include "item_writes.h"
#include "till_sql.h"

#include <array>
#include <vector>

namespace {

// The 21 columns the step writes besides the code (never the quick keys).
constexpr std::array<ExchangeField, 21> kItemFields = {{
    {"GNOS", "NOSAUKUMS", ExchangeValue::First30},
    {"CENA", "CENA", ExchangeValue::Number},
    {"ATLAIDE", "ATLAIDE", ExchangeValue::Number},
    {"IZP_SAK_D", "IZP_SAK_D", ExchangeValue::Date},
    {"IZP_SAK_T", "IZP_SAK_T", ExchangeValue::Text},
    {"IZP_BEIG_D", "IZP_BEIG_D", ExchangeValue::Date},
    {"IZP_BEIG_T", "IZP_BEIG_T", ExchangeValue::Text},
    {"NODALA", "NODALA", ExchangeValue::Integer},
    {"MERVIENIBA", "MERVIENIBA", ExchangeValue::DosFirst30},
    {"NEDOT_ATL", "NEDOT_ATL", ExchangeValue::Text},
    {"NEDOT_ATL2", "NEDOT_ATL2", ExchangeValue::Text},
    {"CENA2", "CENA2", ExchangeValue::Number},
    {"DAUDZUMS2", "DAUDZUMS2", ExchangeValue::Number},
    {"TARA", "TARA", ExchangeValue::Text},
    {"WARNING", "WARNING", ExchangeValue::Text},
    {"SKKASTE", "SKKASTE", ExchangeValue::Number},
    {"SKKASTELIELA", "SKKASTELIE", ExchangeValue::Number},
    {"SKPALETE", "SKPALETE", ExchangeValue::Number},
    {"EAN_KASTE", "EAN_KASTE", ExchangeValue::Text},
    {"EAN_KASTELIELA", "EAN_KASTEL", ExchangeValue::Text},
    {"EAN_PALETE", "EAN_PALETE", ExchangeValue::Text},
}};

}  // namespace

void SutaPreces(const TransferContext& context, const QString& path, const QString& name) {
    context.log.LogProcess("Sūta preces : Sāku procesu " + name);
    std::optional<DbfTable> items;
    try {
        items.emplace(DbfTable::open(FindFileAnyCase(context.values.dbfFolder, "ITEMS.DBF")));
    } catch (const std::exception& e) {
        context.log.LogFailure(kItemsStep + "Nevarēju atvērt ITEMS.DBF " + QString::fromStdString(e.what()));
        return;
    }
    context.gauge.start(items->recordCount());
    QStringList names;
    for (const ExchangeField& f : kItemFields) names << QLatin1String(f.parameter);
    WriteItemsToTill(context, path, [&](QSqlDatabase& db) {
        ItemWrites writes(db, names, context);
        const int codeColumn = items->column("ARTIKULS");
        std::vector<int> columns;
        for (const ExchangeField& f : kItemFields) columns.push_back(items->column(f.column));
        for (int record = 0; record < items->recordCount(); ++record) {
            context.gauge.step();
            if (items->deleted(record)) continue;
            const std::string code = items->text(record, codeColumn);
            if (code.size() > 30) continue;
            // The code is looked up, updated and inserted trimmed: looking up the code as read
            // would miss a code written with a leading blank and insert it again on every pass.
            const QString artikuls = TrimmedText(fromCp1257(code));
            QVariantList values;
            for (std::size_t i = 0; i < kItemFields.size(); ++i) values << ReadExchangeValue(*items, record, columns[i], kItemFields[i].kind);
            // FIELD1001 only names the item in the line of a refused insert: a file without it sends
            // its items, and only such a refusal then ends the step.
            writes.write(artikuls, values, [&] { return fromCp1257(items->text(record, items->column("FIELD1001"))); });
        }
    });
}
