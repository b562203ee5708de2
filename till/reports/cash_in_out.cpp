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

// Adds one operation of `cents` to IELIKTS or IZNEMTS: count in characters 1-4, total in 5-12.
bool addToCounter(ReportFiscalMemory& fm, const QString& name, long long cents)
{
    QString text;
    if (!fm.read(name, text))
        return false;
    const long long count = TrimmedCounterValue(text.mid(0, 4)) + 1;
    const long long total = CounterValue(text.mid(4, 8)) + cents;
    return fm.write(name, QString::asprintf("%4lld%8lld", count, total));
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
    if (!addToCounter(fm, in > 0 ? QStringLiteral("IELIKTS") : QStringLiteral("IZNEMTS"), in > 0 ? in : out))
        return {-2, CashField::None};

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
