// The cash commands: the day's cash summary from the fiscal memory's counters, and change money
// put in or cash taken out through the cash in/out form.
#include "command_file_messages.h"
#include "command_interpreter.h"

#include <cmath>
#include <cstdint>

namespace command_file {

namespace {

// Amounts in the counters are whole cents; digits that do not read as a number count as 0.
std::int64_t centsOf(const QString& digits) { return ParseInteger64(digits.trimmed()).value_or(0); }

constexpr double kMaxOperation = 1e6;

// The day's sales record: 24 fields of 10 characters, the amount in characters 3 to 10 of each.
std::int64_t daySalesCents(const QString& record) {
    std::int64_t sum = 0;
    for (int field = 0; field < 24; ++field) sum += centsOf(record.mid(field * 10 + 2, 8));
    return sum;
}

// The cash in / cash out / packaging records: count of operations, then the amount in cents in
// characters 5 to 12.
std::int64_t operationCents(const QString& record) { return centsOf(record.mid(4, 8)); }

}  // namespace

QString CommandInterpreter::CmdCashSummary(const CommandLine&) {
    if (!till_.FinishPendingReceipt()) return messages::kNolasisanasKluda;
    QStringList& out = *reply_;
    QString record;
    const auto read = [&](const char* name) { return till_.ReadFiscalRecord(QString::fromLatin1(name), record); };

    if (!read("ATLNOIEPR")) return messages::kNolasisanasKluda;
    const std::int64_t opening = centsOf(record);
    out.append(QStringLiteral("Sākuma atl.kasē =") + FormatCents(opening));

    if (!read("NOD_D_SUM")) return messages::kNolasisanasKluda;
    const std::int64_t sold = daySalesCents(record);
    out.append(QStringLiteral("Kopā realizēts  =") + FormatCents(sold));

    if (!read("IELIKTS")) return messages::kNolasisanasKluda;
    const std::int64_t putIn = operationCents(record);
    out.append(QStringLiteral("Maiņas nauda    =") + FormatCents(putIn));

    if (!read("IZNEMTS")) return messages::kNolasisanasKluda;
    const std::int64_t takenOut = operationCents(record);
    out.append(QStringLiteral("Inkasācija      =") + FormatCents(takenOut));

    if (!read("BANKA_SUM")) return messages::kNolasisanasKluda;
    const std::int64_t card = centsOf(record);
    if (!read("BANKA_ATGR")) return messages::kNolasisanasKluda;
    const std::int64_t cardReturns = centsOf(record);
    if (!read("ATGRTARA")) return messages::kNolasisanasKluda;
    const std::int64_t packaging = operationCents(record);
    out.append(QStringLiteral("Bankas karte    =") + FormatCents(card));
    out.append(QStringLiteral("Bankas k.atgr.  =") + FormatCents(cardReturns));
    out.append(QStringLiteral("Inkasācij.tara  =") + FormatCents(packaging));

    std::int64_t nonCash = 0;
    for (int kind = 1; kind <= 10; ++kind) {
        const auto total = till_.ReadPaymentKind(kind);
        if (!total) return messages::kNolasisanasKluda;
        if (total->cents == 0) continue;
        const bool cash = total->flag.startsWith(u'T');
        if (!cash) nonCash += total->cents;
        out.append(total->name.leftJustified(16, u' ', true) + u'=' + FormatCentsWidth(total->cents, 10) +
                   (cash ? QStringLiteral(" Nauda kasē") : QStringLiteral(" Bezs.nauda")));
    }

    const std::int64_t balance = opening + sold + putIn - takenOut - (card + nonCash + cardReturns) - packaging;
    out.append(QStringLiteral("Atlikums kasē   =") + FormatCents(balance));
    return messages::kOk;
}

QString CommandInterpreter::CmdCashInOut(const CommandLine& line) {
    const auto sumText = KeyValue(line.arguments, u"SUM");
    if (!sumText) return messages::kOk;
    if (till_.RinduSkaits() > 0) {
        till_.ShowPazinojums(messages::kJanobeidzCeks);
        return messages::kJanobeidzCeks;
    }
    // The fiscal record holds at most eight digits of cents; anything that is not a number of
    // that size is refused before the form sees it.
    const auto sum = ParseDecimal(*sumText);
    if (!sum || std::abs(*sum) >= kMaxOperation) return messages::kNepareizaSumma;
    const auto cents = std::int64_t(std::llround(std::abs(*sum) * 100));
    // The form's own refusal of a zero amount is a message box that would wait for a cashier.
    if (cents == 0) return messages::kNavSummasInkasacijai;

    const int result = *sum > 0 ? till_.CashInOut(*sumText, QString()) : till_.CashInOut(QString(), FormatCents(cents));
    if (result == -2) {
        till_.ShowPazinojums(messages::kDarbsPartraukts);
        return messages::kFmKluda;
    }
    // The form refused the amount; its message stands in the reply before this answer.
    if (result == 0) return messages::kNepareizaSumma;
    return messages::kOk;
}

}  // namespace command_file
