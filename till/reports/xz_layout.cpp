#include "xz_layout.h"

#include "counter_fields.h"
#include "receipt.h"

namespace {

const QString kDashes = QString(40, u'-');

// The totals text: KEY=value pairs, each followed by "|".
class Totals {
public:
    void amount(const char* key, double units) { add(key, AmountText(units)); }
    void integer(const char* key, long long value) { add(key, QString::number(value)); }
    QString text() const { return text_; }

private:
    void add(const char* key, const QString& value) { text_ += QString::fromLatin1(key) + u'=' + value + u'|'; }
    QString text_;
};

QString zeros(int count) { return QString(count, u'0'); }

}  // namespace

QStringList XZReport::texts() const
{
    QStringList list;
    for (const ReportLine& line : lines)
        list << line.text;
    return list;
}

XZReport BuildXZReport(int kind, const DayCounters& c, const XZLayoutSettings& settings)
{
    XZReport report;
    Totals totals;
    const auto print = [&report](const QString& text, LineRoute route = LineRoute::BothStations) {
        report.lines.push_back({text, route});
    };

    report.number = kind == kXReport ? c.xNumber : c.last.nr;
    print(QString::asprintf(kind == kXReport ? "            X atskaites Nr %4i" : "            Z atskaites Nr %4i",
                            report.number));
    print(kDashes);

    print(QString::asprintf("Sākuma atl.kasē%10.2f", Units(double(c.opening))));
    totals.amount("SAK_ATL", Units(double(c.opening)));

    print(QStringLiteral("Summas par PVN likmēm un PVN summas:"));
    long long T = 0, V = 0;
    for (int i = 1; i <= kTaxSlots; ++i) {
        const auto [R, S] = c.taxSlots[std::size_t(i - 1)];
        if (S == 0)
            continue;
        T += S;
        // VAT is included in the sum; each slot's VAT counts rounded to cents.
        const double slotVat = R == -1 ? 0.0 : double(S) * R / (R + 100);
        V += (long long)RoundSumma(slotVat, 0);
        if (i == 3)
            print(QString::asprintf("%2i Alkohols %2i%1s= %7.2f PVN=%6.2f", i, R, "%", Units(double(S)), Units(slotVat)));
        else if (R == -1)
            print(QString::asprintf("%2i - b/n= %10.2f PVN=%10.2f", i, Units(double(S)), 0.0));
        else
            print(QString::asprintf("%2i - %2i%1s= %10.2f PVN=%10.2f", i, R, "%", Units(double(S)), Units(slotVat)));
        totals.integer("PVN_NR_L", i);
        totals.integer("PVN_L", R);
        totals.amount("BEZ_PVN_L", Units(double(S)));
        totals.amount("PVN_SUM_L", Units(slotVat));
    }
    print(QString::asprintf("Kopā realizēts=%10.2f", Units(double(T))));
    print(QString::asprintf("PVN summa     =%10.2f", Units(double(V))));
    print(QString::asprintf("Bez PVN summa =%10.2f", Units(double(T - V))));
    totals.amount("BEZ_PVN", Units(double(T - V)));
    totals.amount("PVN_SUM", Units(double(V)));

    print(QString::asprintf("Maiņas nauda  =%10.2f reizes%3lli", Units(double(c.cashIn)), c.cashInCount));
    print(QString::asprintf("Inkasācija    =%10.2f reizes%3lli", Units(double(c.cashOut)), c.cashOutCount));
    totals.amount("MAINA", Units(double(c.cashIn)));
    totals.amount("INKAS", Units(double(c.cashOut)));

    const long long Ss = c.returns, Sb = c.cardReturns, St = c.packaging;
    print(QString::asprintf("Atgriezts sk. =%10.2f", Units(double(Sb - Ss))));
    print(QString::asprintf("Inkasācij.tara=%10.2f reizes%3lli", Units(double(St)), c.packagingCount));
    print(QString::asprintf("Bankas k.atgr.=%10.2f", Units(double(-Sb))));
    totals.amount("ATGR_SK", Units(double(Sb - Ss)));
    totals.amount("INKAS_TARA", Units(double(St)));
    totals.amount("ATGR_BANKA", Units(double(-Sb)));

    print(QString::asprintf("Korekcija     =%10.2f reizes%3lli", Units(double(c.corrections)), c.correctionCount));
    totals.amount("KOREKC_SUM", Units(double(c.corrections)));
    totals.integer("KOREKC_SK", c.correctionCount);

    print(QString::asprintf("Atlaides      =%10.2f ", Units(double(c.discounts))));
    totals.amount("ATLAIDES", Units(double(c.discounts)));

    print(QStringLiteral(" Darījumu summas pa norēķinu veidiem "));
    long long B = c.card + Sb;
    print(QString::asprintf("Bankas karte  =%10.2f Bezs.nauda", Units(double(B))));
    totals.amount("APM_BANKA", Units(double(B)));
    for (int n = 1; n <= kPaymentKinds; ++n) {
        const DayCounters::PaymentKind& k = c.paymentKinds[std::size_t(n - 1)];
        if (k.sum == 0)
            continue;
        const bool cash = k.flag.startsWith(u'T');
        if (!cash)
            B += k.sum;
        print(k.name.leftJustified(14, u' ', true) + QString::asprintf("=%10.2f", Units(double(k.sum))) +
              (cash ? QStringLiteral(" Nauda kasē") : QStringLiteral(" Bezs.nauda")));
        totals.amount(("APM_" + std::to_string(n)).c_str(), Units(double(k.sum)));
    }
    print(QString::asprintf("Skaidra nauda =%10.2f", Units(double(T - B - St))));
    totals.amount("APM_KASE", Units(double(T - B - St)));

    double F = 0;
    for (const DayCounters::CurrencySlot& slot : c.currencies) {
        if (slot.sum <= 0)
            continue;
        const double rate = settings.valutasKurss(slot.code);
        print(slot.code.rightJustified(3, u' ') +
              QString::asprintf("=%10.2f x%6.3f=%9.2f ", Units(double(slot.sum)), rate,
                                double(RoundSumma(Units(double(slot.sum)) * rate, 2))) +
              settings.CekaValutaKods.rightJustified(3, u' '));
        F += rate * double(slot.sum);
    }
    if (F != 0)
        print("Kopā val.summa " + settings.CekaValutaKods.rightJustified(3, u' ') + QString::asprintf(" =%10.2f", Units(F)));

    const double A = Units(double(c.opening + T) - F + double(c.cashIn - c.cashOut - B - St));
    print(QString::asprintf("Atlikums kasē =%10.2f", A));
    print(QStringLiteral("El.kontrols.(iepr.diena):=") + c.last.check.trimmed());
    print(QString(), LineRoute::EmptyLine);
    totals.amount("ATL_KASE", A);

    const double grandTotal = c.last.grandTotal + double(T);
    const double grandVat = c.last.grandVat + double(V);
    totals.amount("GR_TOTAL", Units(grandTotal));
    totals.amount("GR_PVN", Units(grandVat));
    if (kind == kXReport)
        print(QString::asprintf("GR.TOTAL%10.2f GR.PVN%10.2f", Units(c.last.grandTotal), Units(c.last.grandVat)));
    else
        print(QString::asprintf("GR.TOTAL%10.2f GR.PVN%10.2f", Units(grandTotal), Units(grandVat)));

    print(settings.dateText + "   " + settings.timeText);
    print("Kasieris : " + settings.KasierisFullName);
    print(kDashes);
    print(QStringLiteral("\n\n\n\n\n"), LineRoute::FinalFeed);

    report.totals = totals.text();
    report.sales = T;
    report.vat = V;
    report.cashBalance = A;
    if (kind == kZReport) {
        report.dayClose.nr = c.last.nr + 1;
        report.dayClose.grandTotal = grandTotal;
        report.dayClose.grandVat = grandVat;
        report.dayClose.daySum = double(T);
        report.dayClose.dayVat = double(V);
        // The cash balance in whole cents is the next day's opening balance.
        report.nextOpening = (long long)RoundSumma(A * 100, 0);
        report.zeroed = ZeroedCounters(c, report.nextOpening);
    }
    return report;
}

std::vector<CounterText> ZeroedCounters(const DayCounters& c, long long nextOpening)
{
    QString taxSlots;
    for (const DayCounters::TaxSlot& slot : c.taxSlots)
        taxSlots += QString::asprintf("%2i%8i", slot.rate, 0);
    QString currencies;
    for (const DayCounters::CurrencySlot& slot : c.currencies)
        currencies += slot.code.rightJustified(3, u' ') + QString::asprintf("%8i", 0);
    std::vector<CounterText> zeroed = {
        {QStringLiteral("NOD_D_SUM"), taxSlots},
        {QStringLiteral("IELIKTS"), zeros(13)},
        {QStringLiteral("STORNO_SUM"), zeros(9)},
        {QStringLiteral("IZNEMTS"), zeros(13)},
        {QStringLiteral("KOREKCIJA"), zeros(13)},
        {QStringLiteral("ATGRTARA"), zeros(13)},
        {QStringLiteral("DIENAS_ATL"), zeros(13)},
        {QStringLiteral("VALUT_D_S"), currencies},
        {QStringLiteral("ATLNOIEPR"), QString::number(nextOpening)},
        {QStringLiteral("BANKA_SUM"), zeros(9)},
        {QStringLiteral("BANKA_ATGR"), zeros(13)},
    };
    for (int n = 1; n <= kPaymentKinds; ++n)
        zeroed.push_back({"APM_SUM" + QString::number(n), zeros(13)});
    return zeroed;
}
