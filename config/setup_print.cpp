// "Drukāt": the day-close records dated in the chosen range, printed between two receipt headers
// on the receipt printer of the type chosen on the form.
#include "setup_form.h"

#include "printclass.h"
#include "record_texts.h"
#include "regional.h"
#include "ui_services.h"

namespace {

// Waits that pace the printer after most lines of a record.
constexpr int kRecordLineWaitMs = 300;

QString shortDate(const QDate& d)
{
    return QString::fromStdString(platform::shortDateText(d.year(), d.month(), d.day()));
}

}  // namespace

void TSetup::btDrukatClick()
{
    if (FMProc->Status != 0)
        platform::ui::showMessage(QStringLiteral("Nav pieslēgts fiskālais bloks !!!"));
    int count = 0;
    if (!FMProc->FMGetRecordCount(count)) {
        platform::ui::showMessage(QStringLiteral("Nav ierakstu ko drukāt !!!"));
        platform::ui::endProgram(1);
    }
    if (count <= 0)
        return;

    TPrintClass print(rdPrinteris->ItemIndex(), FMProc.get());
    const QDate from = SakDatums->date();
    const QDate to = BeiguDatums->date();
    print.DrukaTuksasRindasUzAbam(4);
    print.DrukaCekaGalvu();
    print.DrukaUzAbam(QString(39, QLatin1Char('-')), 1);
    print.DrukaUzAbam(QStringLiteral("FISK.ATM. ") + shortDate(from) + QLatin1Char('-') + shortDate(to), 1);
    print.DrukaUzAbam(QString(), 1);
    for (int i = 1; i < count; ++i) {
        DayCloseRecord r;
        // A record that cannot be read has been reported by the fiscal-memory layer; it is not
        // printed, as its fields would be the defaults and not the fiscal memory's.
        if (!FMProc->FMReadGrand(i, r.nr, r.grandTotal, r.grandVat, r.date, r.time, r.daySum, r.dayVat, r.check))
            continue;
        if (r.date < from || r.date > to)
            continue;
        const QStringList lines = setuprecords::dayCloseLines(r);
        for (int n = 0; n < lines.size(); ++n) {
            print.DrukaUzAbam(lines[n], 1);
            // Every line but the date line is followed by the printer's pause.
            if (n != 2)
                print.Pauze(kRecordLineWaitMs);
        }
    }
    print.DrukaUzAbam(QString(40, QLatin1Char('-')), 1);
    for (int n = 0; n < 5; ++n)
        print.DrukaUzCeka(QString(), false, n == 4 ? 2 : 1);
    if (rdPrinteris->ItemIndex() == 1)
        for (int n = 0; n < 2; ++n)
            print.DrukaUzCeka(QString(), false, n == 1 ? 0 : 1);
    print.DrukaCekaGalvu();
}
