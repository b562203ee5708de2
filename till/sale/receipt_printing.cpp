#include "receipt_printing.h"

#include "text_format.h"

#include "closing_steps.h"
#include "payment_kinds.h"
#include "sale_engine.h"

#include "fmproc.h"
#include "printclass.h"
#include "receipt_number.h"
#include "ui_services.h"

#include <QLocale>

#include <algorithm>

namespace {

constexpr int kWidePrinter = 4;
constexpr int kSlots = 24;

// The tax rate of department slot k: the slot's first two characters (-1: no tax).
int slotRate(const QString& taxRates, int slot) {
    bool ok = false;
    const int rate = taxRates.mid((slot - 1) * 10, 2).trimmed().toInt(&ok);
    return ok ? rate : 0;
}

QByteArray c(const QString& text) { return text.toUtf8(); }

[[noreturn]] void annulAndEnd(ClosingHost& host, const QString& message) {
    host.AnuletCeku();
    platform::ui::showMessage(message);
    platform::ui::endProgram();
}

}  // namespace

QStringList TaxSummaryLines(const ClosingReceipt& receipt, const ClosingSettings& settings, const QString& taxRates,
                            int printerType) {
    QStringList out;
    for (int k = 1; k <= kSlots; ++k) {
        double tax = 0, net = 0;
        for (const TCekaRinda& line : receipt.lines) {
            if (DepartmentSlot(line.Nodala, settings.PrepaidNodala) != k) continue;
            const double amount = RindasSumma(line);
            const int rate = std::max(slotRate(taxRates, k), 0);
            const double vat = double(RoundSumma(amount * rate / (rate + 100), 2));
            tax += vat;
            net += amount - vat;
        }
        if (!(tax > 0.01 || net > 0.01)) continue;
        const int rate = slotRate(taxRates, k);
        if (rate == -1)
            out << QString::asprintf("Likme%2i-bez nodokļa Summa=%7.2f", k, net);
        else if (printerType == kWidePrinter)
            out << QString::asprintf("Likme%2i-%2i%s PVN%8.2f bez nod.%10.2f", k, rate, "%", tax, net);
        else
            out << QString::asprintf("Likme%2i-%2i%s PVN%7.2f b/n%7.2f", k, rate, "%", tax, net);
    }
    return out;
}

QStringList TotalLines(const ClosingReceipt& receipt, const ClosingSettings& settings, int printerType) {
    const bool wide = printerType == kWidePrinter;
    const double total = receipt.CekaSumma, received = receipt.Sanemts;
    const QByteArray code = c(settings.CekaValutaKods);
    if (!receipt.ApmValuta.isEmpty()) {
        const double rate = receipt.valutasKurss;
        return {QString::asprintf("Kopā apmaksai           %10.2f", total),
                QString::asprintf(" Saņemts(%6.4fx%7.2f%3s)%7.2f", rate, received / rate, c(receipt.ApmValuta).constData(),
                                  received),
                QString::asprintf("   Izdots               %10.2f", received - total)};
    }
    if (receipt.isReturn) {
        if (wide)
            return {QString::asprintf("Apmaksai%10.2f %3s Izdots%9.2f %3s", 0.0, code.constData(), total, code.constData())};
        return {QString::asprintf("Apmaksai%9.2f  Izdots%9.2f", 0.0, total)};
    }
    QStringList out;
    out << QString::asprintf(wide ? "Kopā apmaksai %3s               %10.2f" : "Kopā apmaksai %3s      %10.2f",
                             code.constData(), total);
    if (settings.EUR_Kurss != 0 && settings.CekaValuta != 2) {
        const double other = double(RoundSumma(total / settings.EUR_Kurss, 2));
        const char* otherCode = settings.CekaValuta == 0 ? "EUR" : "LVL";
        out << QString::asprintf(wide ? "Kopā apmaksai %s              %10.2f" : "Kopā apmaksai %s      %10.2f", otherCode,
                                 other);
    }
    if (wide)
        out << QString::asprintf("Saņemts%10.2f %3s     Izdots%10.2f %3s", received, code.constData(), received - total,
                                 code.constData());
    else
        out << QString::asprintf("Saņ.%3s%9.2f Izd.%3s%9.2f", code.constData(), received, code.constData(),
                                 received - total);
    return out;
}

QStringList PaymentRowLines(const ClosingReceipt& receipt, const ClosingSettings& settings, int printerType) {
    QStringList out;
    const int width = printerType == kWidePrinter ? 34 : 25;
    std::size_t i = 0;
    do {
        const TApmaksasRinda& row = receipt.payments[i];
        if (row.Summa != 0) {
            // Lats are kept converted into the receipt currency and printed as paid.
            const double amount =
                row.Veids == 12 && settings.EUR_Kurss > 0 ? row.Summa / settings.EUR_Kurss : row.Summa;
            out << row.Teksts.leftJustified(100, u' ').left(width) + QString::asprintf("%8.2f", amount);
        }
        ++i;
    } while (i < receipt.payments.size() && receipt.payments[i].Veids >= 0);
    return out;
}

bool PaidByCard(const ClosingReceipt& receipt) {
    return std::any_of(receipt.payments.begin(), receipt.payments.end(),
                       [](const TApmaksasRinda& row) { return row.Veids == kCardKind && row.Summa != 0; });
}

QStringList ReceiptClosingLines(const ClosingReceipt& receipt, const ClosingSettings& settings, const QString& taxRates,
                                const TPrintClass& print, const QDateTime& now, const QString& kasieris) {
    const int type = print.PrinteraTips;
    return QStringList{QString(print.RindasGarums, u'-')} + TaxSummaryLines(receipt, settings, taxRates, type) +
           TotalLines(receipt, settings, type) + PaymentRowLines(receipt, settings, type) +
           QStringList{ShortDateText(now.date()) + "   " + TimeText(now.time()), "Kasieris : " + kasieris};
}

int PrintAllCeks(const ReceiptPrintJob& job, const ClosingReceipt& receipt, const ClosingSettings& settings,
                 TPrintClass& print, TFMProc& fm, ClosingHost& host, LastReceipt& last) {
    last.CekaBeiguRindas.clear();
    if (receipt.lines.empty()) {
        print.AtverNaudasLadi();
        platform::ui::showMessage(kPrintAllCeksNoLinesMessage);
        return kPrintAllCeksNoLines;
    }
    // The counters are read before the drawer opens: a receipt refused for a full counter leaves
    // it shut, as a refused cash operation does.
    QString taxRates;
    CounterCheck counters = CounterCheck::Unreadable;
    if (fm.FMRead(QStringLiteral("NOD_D_SUM"), taxRates)) counters = job.prepare ? job.prepare(taxRates) : CounterCheck::Ready;
    if (counters == CounterCheck::Full) {
        host.ShowPazinojums(kCounterFullMessage);
        return kPrintAllCeksCounterFull;
    }
    print.AtverNaudasLadi();
    if (counters == CounterCheck::Unreadable) {
        // Nothing is printed yet and no number taken: the till goes on without this receipt.
        host.AnuletCeku();
        return kPrintAllCeksFiscalFailure;
    }
    const ReceiptNumber number = TakeReceiptNumber(fm, job.beforePrinting);
    if (!number.ok())
        annulAndEnd(host, number.Failure == ReceiptNumberFailure::NotANumber ? kCekaNrBojats : kDarbsTiekPartraukts);

    const auto lineFailed = [&](int rc) {
        host.SetStatusText("PrintAllCeks = " + QString::number(rc));
        return kPrintAllCeksLineFailed;
    };
    if (const int rc = PrintCekasGalvu(print, number.Numurs, job.now.date(), receipt.isReturn, host.MaksatajaRindas(), last);
        rc < 0)
        return lineFailed(rc);
    ReachClosingStep("numbered");
    for (const TCekaRinda& line : receipt.lines) {
        if (const int rc = host.PrintCekaRinda(line); rc <= 0) return lineFailed(rc);
        if (&line == &receipt.lines.front()) ReachClosingStep("first-line");
    }

    for (const QString& line : ReceiptClosingLines(receipt, settings, taxRates, print, job.now, job.KasierisFullName)) {
        if (const int rc = print.DrukaUzAbam(line, 1); rc < 0) return lineFailed(rc);
        last.CekaBeiguRindas << line;
    }
    const QString feed = QStringLiteral("\n\n\n\n\n");
    last.CekaBeiguRindas << feed;
    if (job.KartesCeks == 0) {
        print.DrukaUzCeka(feed, false, 2);
        if (print.DrukaCekaGalvu() < 0) {
            if (!PaidByCard(receipt)) annulAndEnd(host, kDarbsTiekPartraukts);
            host.ShowPazinojums(kPaidReceiptReprintMessage);
        }
    } else {
        print.DrukaUzCeka(QStringLiteral("\n\n"), false, 2);
        if (job.printCardSlip) job.printCardSlip(2);
    }
    return kPrintAllCeksPrinted;
}

int PrintAnnulledReceipt(TPrintClass& print, const std::function<void()>& head, std::span<const TCekaRinda> lines,
                         const std::function<int(const TCekaRinda&)>& printLine) {
    head();
    for (const TCekaRinda& line : lines)
        if (const int rc = printLine(line); rc <= 0) return rc;
    const QString rule(print.RindasGarums, u'-');
    print.DrukaUzAbam(rule, 1);
    print.DrukaUzAbam(sale_messages::kCeksAnulets, 1);
    print.DrukaUzAbam(rule, 2);
    print.DrukaTuksasRindasUzAbam(5);
    return print.DrukaCekaGalvu() < 0 ? kPrintAnnulledHeaderFailed : kPrintAnnulledPrinted;
}
