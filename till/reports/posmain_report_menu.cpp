// TPOSMain: the reports menu's report commands (each asks for a period, and for some reports the
// customers and goods, in TGetDatumsForm, then previews its report form, from which the cashier
// prints), the receipt journal review and the goods browser.
#include "posmain.h"

#include "cekulentas_caurskate.h"
#include "datumodelis.h"
#include "get_datums_form.h"
#include "precu_caurskate.h"
#include "receipt_summary.h"
#include "report_forms.h"
#include "ui_services.h"
#include "z_row.h"

#include "fmproc.h"
#include "printclass.h"

#include <QCoreApplication>

#include <exception>

namespace {

struct ReportCommand {
    MenuReport form;
    const char* title;
    bool customers;  // the report takes the customer filter and shows its description
    bool goods;
};

QString dateText(const QDate& date) { return SystemDateText({date.year(), date.month(), date.day(), 0, 0, 0, 0, 0}); }

// The period dialog, shown modally; however it is closed, the report follows.
TGetDatumsForm& askPeriod(TPOSMain& window)
{
    if (!GetDatumsForm) GetDatumsForm = new TGetDatumsForm(&window);
    GetDatumsForm->exec();
    return *GetDatumsForm;
}

QString reportTitle(const char* title, const TGetDatumsForm& dialog)
{
    return QString::fromUtf8(title) + dateText(dialog.DatumsNo->date()) + "-" + dateText(dialog.DatumsLidz->date());
}

void runReport(TPOSMain& window, const ReportCommand& command)
{
    const TGetDatumsForm& dialog = askPeriod(window);
    ReportRequest request;
    request.from = dialog.DatumsNo->date();
    request.to = dialog.DatumsLidz->date();
    request.title = reportTitle(command.title, dialog);
    if (command.customers) request.customers = dialog.Klienti;
    if (command.goods) request.goods = dialog.Preces;
    request.kinds = window.ApmaksasVeidi;
    try {
        platform::report::preview(BuildMenuReport(command.form, DatuModelis->POS_DB(), request));
    } catch (const std::exception& error) {
        platform::ui::showMessage(QString::fromStdString(error.what()));
    }
}

}  // namespace

void TPOSMain::Atlaidessummaspaklientiem1Click() {
    runReport(*this, {MenuReport::AtlidesPaKlientiem, "ATLAIDES PAR KLIENTIEM ", false, false});
}
void TPOSMain::Realizcijapakasieriem1Click() {
    runReport(*this, {MenuReport::RealizPaKasieriem, "REALIZĀCIJA PAR KASIERIEM ", true, false});
}
void TPOSMain::Realizcijaparklientiem1Click() {
    runReport(*this, {MenuReport::RealizPaKlientiem, "REALIZĀCIJA PAR KLIENTIEM ", true, false});
}
void TPOSMain::Realizcijaparnodokulikmm1Click() {
    runReport(*this, {MenuReport::PaNodokluLikmem, "REALIZĀCIJA PAR NODOKĻU LIKMĒM ", false, false});
}
void TPOSMain::Nobdesnodefintscenas1Click() {
    runReport(*this, {MenuReport::CenuNobides, "NOBĪDES NO DEFINĒTAJĀM CENĀM ", false, false});
}
void TPOSMain::Realizcijaparstundm1Click() {
    runReport(*this, {MenuReport::RealizPaStundam, "REALIZĀCIJA PAR STUNDĀM ", true, false});
}
void TPOSMain::Realizcijaparklientiemsummrforma1Click() {
    runReport(*this, {MenuReport::RealizPaKlientiemSummari, "REALIZĀCIJA PAR KLIENTIEM (SUMMĀRĀ FORMA) ", true, false});
}
void TPOSMain::Kopsavilkumsparnodokulikmmunprecm1Click() {
    runReport(*this, {MenuReport::KopsavNodPreces,
                      "KOPSAVILKUMS PAR APMAKSAS VEIDIEM, NODOKĻU LIKMĒM UN PRECĒM ", true, true});
}

void TPOSMain::ekukopsavilkumaatskaite1Click() {
    const TGetDatumsForm& dialog = askPeriod(*this);
    SummaryHead head;
    for (int i = 0; i < 4; ++i) head.cekaGalva << PrintClass->CekaGalva[std::size_t(i)];
    head.posNr = PrintClass->CekaGalva[4];
    head.vidId = PrintClass->CekaGalva[5];
    int nr = 0;
    double grandTotal = 0, grandVat = 0, daySum = 0, dayVat = 0;
    QDate date;
    QString time, check;
    if (FMProc->FMReadGrand(-1, nr, grandTotal, grandVat, date, time, daySum, dayVat, check)) {
        head.grandTotalCents = std::llround(grandTotal);
        head.grandVatCents = std::llround(grandVat);
    }
    try {
        const platform::report::Report report =
            BuildCekuKopsav(DatuModelis->POS_DB(), dialog.DatumsNo->date(), dialog.DatumsLidz->date(),
                            reportTitle("ČEKU KOPSAVILKUMA ATSKAITE ", dialog), head);
        WriteCekuKopsavCsv(CekuKopsavCsvLines(report), QCoreApplication::applicationDirPath().toStdString());
        platform::report::preview(report);
    } catch (const std::exception& error) {
        platform::ui::showMessage(QString::fromStdString(error.what()));
    }
}

void TPOSMain::ekulentascaurskate1Click() {
    if (!CekuLentasCaurskate) CekuLentasCaurskate = new TCekuLentasCaurskate(this);
    CekuLentasCaurskate->exec();
}

void TPOSMain::Preusarakstacaurskate1Click() {
    if (!PrecuCaurskate) PrecuCaurskate = new TPrecuCaurskate(this);
    PrecuCaurskate->exec();
}
