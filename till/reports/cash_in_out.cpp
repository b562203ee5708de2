#include "cash_in_out.h"

#include "clock.h"
#include "counter_fields.h"
#include "payment_text.h"
#include "printclass.h"
#include "receipt.h"
#include "report_fiscal_memory.h"
#include "ui_services.h"
#include "z_row.h"

#include <optional>

long long CashCents(const QString& text, double rate)
{
    const std::optional<double> amount = ParseAmount(text);
    return amount ? (long long)RoundSumma(*amount * rate * 100.0, 0) : 0;
}

namespace {

// IELIKTS and IZNEMTS: the count of operations in characters 1-4, the total in cents in 5-12.
constexpr int kCountWidth = 4;
constexpr int kTotalWidth = 8;
constexpr long long kCountLimit = 9999;
constexpr long long kTotalLimit = 99999999;

enum class CounterUpdate { Done, Full, Failed };

// Adds one operation of `cents` to the counter. One that would no longer fit its fields is left
// as it is: a longer text would shift every field after it.
CounterUpdate addToCounter(ReportFiscalMemory& fm, const QString& name, long long cents)
{
    QString text;
    if (!fm.read(name, text))
        return CounterUpdate::Failed;
    const long long count = TrimmedCounterValue(text.mid(0, kCountWidth)) + 1;
    const long long total = CounterValue(text.mid(kCountWidth, kTotalWidth)) + cents;
    if (count > kCountLimit || total > kTotalLimit)
        return CounterUpdate::Full;
    return fm.write(name, QString::asprintf("%4lld%8lld", count, total)) ? CounterUpdate::Done : CounterUpdate::Failed;
}

}  // namespace

CashOutcome CashInOut(const CashEntry& entry, double EUR_Kurss, const QString& Kasieris, ReportFiscalMemory& fm,
                      TPrintClass& print)
{
    struct Field {
        const QString& text;
        double rate;
        CashField focus;
        const QString& negative;
        long long cents = 0;
    };
    Field fields[] = {
        {entry.Ielikts, 1.0, CashField::None, kIeliktsNegativeMessage},
        {entry.IeliktsLVL, EUR_Kurss, CashField::IeliktsLVL, kIeliktsNegativeMessage},
        {entry.Iznemts, 1.0, CashField::None, kIznemtsNegativeMessage},
        {entry.IznemtsLVL, EUR_Kurss, CashField::IznemtsLVL, kIznemtsNegativeMessage},
    };
    for (Field& field : fields) {
        field.cents = CashCents(field.text, field.rate);
        if (field.cents < 0) {
            platform::ui::showMessage(field.negative);
            return {0, field.focus};
        }
    }
    const long long in = fields[0].cents + fields[1].cents;
    const long long out = fields[2].cents + fields[3].cents;
    if (in != 0 && out != 0) {
        platform::ui::showMessage(kCashBothDirectionsMessage);
        return {};
    }
    if (in == 0 && out == 0) {
        platform::ui::showMessage(kNoCashAmountMessage);
        return {};
    }
    // A counter that is not brought up to date is a fiscal-memory failure: no printout, no drawer.
    switch (addToCounter(fm, in > 0 ? QStringLiteral("IELIKTS") : QStringLiteral("IZNEMTS"), in > 0 ? in : out)) {
    case CounterUpdate::Failed:
        return {-2, CashField::None};
    case CounterUpdate::Full:
        platform::ui::showMessage(kCounterFullMessage);
        return {};
    case CounterUpdate::Done:
        break;
    }

    const QString dashes(40, u'-');
    print.DrukaUzAbam(dashes, 1);
    if (fields[0].cents != 0)
        print.DrukaUzAbam(QString::asprintf("Ielikts    %10.2f", Units(double(fields[0].cents))), 1);
    if (fields[1].cents != 0)
        print.DrukaUzAbam("Ielikts LVL " + entry.IeliktsLVL, 1);
    if (fields[2].cents != 0)
        print.DrukaUzAbam(QString::asprintf("Izņemts    %10.2f", Units(double(fields[2].cents))), 1);
    if (fields[3].cents != 0)
        print.DrukaUzAbam("Izņemts LVL " + entry.IznemtsLVL, 1);
    print.DrukaUzAbam(dashes, 1);
    const platform::LocalTime now = platform::localNow();
    print.DrukaUzAbam(SystemDateText(now) + "  " + QString::asprintf("%d:%02d", now.hour, now.minute) +
                          "  Kasieris:" + Kasieris,
                      1);
    print.DrukaUzCeka(QStringLiteral("\n\n\n\n\n"), false, 2);
    print.AtverNaudasLadi();
    print.DrukaCekaGalvu();
    return {1, CashField::None};
}
