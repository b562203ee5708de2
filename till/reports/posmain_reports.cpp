// TPOSMain: the day reports' menu commands (X and Z reports, the Z report with the annulled
// receipts, the copy of the last Z report, the annulled receipts of a period) and cash in /
// collection.
#include "posmain.h"

#include "datumodelis.h"
#include "get_datums_form.h"
#include "mainainkasacija.h"
#include "payment_kinds.h"
#include "terminal_day_end.h"
#include "ui_services.h"
#include "xz_report.h"
#include "z_copy.h"

#include "fmproc.h"
#include "printclass.h"

#include <exception>

namespace {

// The sale window as the reports see it.
class ReportsOnWindow : public ReportWindow {
public:
    explicit ReportsOnWindow(TPOSMain& window) : window_(window) {}
    void ShowPazinojums(const QString& text) override { window_.ShowPazinojums(text); }
    void AnuletCeku() override { window_.AnuletCeku(); }
    double GetValutasKurss(const QString& code) override {
        // An unknown code, and a rate that cannot be read, count at 1.0.
        try {
            return ::GetValutasKurss(DatuModelis->POS_DB(), code).value_or(1.0);
        } catch (const std::exception&) {
            return 1.0;
        }
    }

private:
    TPOSMain& window_;
};

XZReportJob ReportJob(TPOSMain& window) {
    XZReportJob job;
    job.RinduSkaits = window.RinduSkaits;
    job.KasierisFullName = window.KasierisFullName;
    job.CekaValutaKods = window.CekaValutaKods;
    job.posDb = DatuModelis->POS_DB();
    return job;
}

}  // namespace

bool TPOSMain::FinishPendingReceipt() {
    if (RinduSkaits >= 1) return true;  // the report refuses an open receipt itself
    const ReceiptRecovery recovery = Pardosana().RecoverPendingReceipt();
    switch (recovery.outcome) {
    case ReceiptRecovery::Nothing: return true;
    case ReceiptRecovery::Failed:
        ShowPazinojums(recovery.message, true);
        platform::ui::endProgram(1);
        return false;
    case ReceiptRecovery::Finished:
    case ReceiptRecovery::Annulled:
    case ReceiptRecovery::CardsCancelled: break;
    }
    ShowPazinojums(recovery.message);
    return true;
}

void TPOSMain::Xatskaite1Click() {
    if (!FinishPendingReceipt()) return;
    ReportsOnWindow reports(*this);
    ReportFiscalMemory fm(*FMProc);
    Xatskaite(ReportJob(*this), fm, *PrintClass, reports);
}

void TPOSMain::Zatskaite1Click() {
    if (!FinishPendingReceipt()) return;
    ReportsOnWindow reports(*this);
    ReportFiscalMemory fm(*FMProc);
    std::function<void()> terminalDayEnd;
    if (EFT == 3 && OutsideTerminalLib)
        terminalDayEnd = [this] { TerminalDayEnd(*OutsideTerminalLib, IngenicoDienBeigas1, IngenicoDienBeigas2); };
    Zatskaite(ReportJob(*this), fm, *PrintClass, reports, terminalDayEnd);
}

void TPOSMain::Zatskaitekoparanultajiemekiem1Click() {
    Zatskaite1Click();
    PirkumuSaraksts->setFocus();
    Anultieeki1Click();
}

void TPOSMain::Anultieeki1Click() {
    if (!FinishPendingReceipt()) return;
    if (!GetDatumsForm) GetDatumsForm = new TGetDatumsForm(this);
    GetDatumsForm->exec();
    try {
        PrintAnnulledReceipts(DatuModelis->POS_DB(), GetDatumsForm->DatumsNo->date(), GetDatumsForm->DatumsLidz->date(),
                              *PrintClass);
    } catch (const std::exception& error) {
        platform::ui::showMessage(QString::fromStdString(error.what()));
    }
}

void TPOSMain::PdjsZatskaiteskopija1Click() {
    if (!FinishPendingReceipt()) return;
    ReportsOnWindow reports(*this);
    PrintLastZCopy(RinduSkaits, *PrintClass, reports);
}

void TPOSMain::MaiaInkascija1Click() {
    if (!FinishPendingReceipt()) return;
    if (RinduSkaits >= 1) {
        ShowPazinojums("Sākumā jānobeidz čeks !!!");
        return;
    }
    if (!MainaInkasacija) MainaInkasacija = new TMainaInkasacija(this, CekaValuta);
    MainaInkasacija->Kasieris = KasierisFullName;
    MainaInkasacija->PrintClass = PrintClass.get();
    MainaInkasacija->FMProc = FMProc.get();
    MainaInkasacija->EUR_Kurss = EUR_Kurss;
    MainaInkasacija->exec();
    CheckNaudasLadi();
    if (MainaInkasacija->Statuss == -2) {
        ShowPazinojums("Darbs tiek pārtraukts !!!");
        platform::ui::endProgram(1);
    }
}
