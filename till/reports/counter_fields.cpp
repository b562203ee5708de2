#include "counter_fields.h"

#include "receipt.h"


std::optional<long long> CounterNumber(const QString& field)
{
    qsizetype i = 0;
    while (i < field.size() && field[i] == u' ')
        ++i;
    bool ok = false;
    const QString rest = field.mid(i);
    // toLongLong would also take trailing blanks and a "+" that the stored counters never hold.
    if (rest.isEmpty() || rest.back() == u' ' || rest.front() == u'+')
        return std::nullopt;
    const long long value = rest.toLongLong(&ok, 10);
    return ok ? std::optional<long long>(value) : std::nullopt;
}

long long CounterValue(const QString& field) { return CounterNumber(field).value_or(0); }

long long TrimmedCounterValue(const QString& field) { return CounterValue(field.trimmed()); }

double Units(double cents)
{
    const double units = cents * 0.01;
    return units == 0 ? 0.0 : units;
}

QString AmountText(double units)
{
    double rounded = double(RoundSumma(units, 2));
    if (rounded == 0)
        rounded = 0;  // no "-0.00"
    return QString::asprintf("%.2f", rounded);
}
