// TPOSMain: the command-file poll, and the window's side of the command-file interface. Every
// command reaches the receipt, the drawer, the display and the reports through the same
// functions as the cashier's keys and menus.
#include "posmain.h"

#include "command_file_exchange.h"
#include "command_file_till.h"
#include "datumodelis.h"
#include "day_counters.h"
#include "karsu_autorizacija.h"
#include "mainainkasacija.h"
#include "payment_kinds.h"
#include "receipt_recovery.h"
#include "report_fiscal_memory.h"
#include "report_window.h"
#include "xz_report.h"

#include "fmproc.h"
#include "printclass.h"

#include <exception>
#include <filesystem>

namespace {

class WindowTill : public command_file::CommandFileTill, public ReportWindow {
public:
    explicit WindowTill(TPOSMain& window) : w(window) {}

    QStringList& StartReply() override {
        if (!w.RetPosList) w.RetPosList = std::make_unique<QStringList>();
        w.RetPosList->clear();
        return *w.RetPosList;
    }
    void ShowPazinojums(const QString& text) override { w.ShowPazinojums(text, false); }
    bool ReceiptClosingPending() const override {
        std::error_code error;
        const std::filesystem::path file = std::filesystem::current_path(error) / kPendingReceiptFile;
        return LoadPendingReceipt(file) && !OwedAnswer(file);
    }
    void ReplyWritten() override {
        std::error_code error;
        const std::filesystem::path file = std::filesystem::current_path(error) / kPendingReceiptFile;
        if (OwedAnswer(file)) DropPendingFile(file);
    }

    int RinduSkaits() const override { return w.RinduSkaits; }
    int SaleMode() const override { return w.rdPirkumsStorno->ItemIndex(); }
    void StartReceiptMode(int mode) override {
        w.PirkumsStorno = w.rdPirkumsStorno->ItemIndex();
        w.rdPirkumsStorno->SetItemIndex(mode);
        w.SetPirkumsStorno();
        w.edArtikuls->setFocus();
    }
    void EnterItemText(const QString& text) override {
        w.edArtikuls->setText(text);
        w.edArtikulsKeyPress(13);
    }
    void SetDiscountText(const QString& text) override { w.edAtlaide->setText(text); }
    void SetCustomerField(command_file::CustomerField field, const QString& text) override {
        switch (field) {
        case command_file::CustomerField::OtherInfo: w.KlCitasZinas->setText(text); break;
        case command_file::CustomerField::Name: w.shKlientaNosaukums->setText(text); break;
        case command_file::CustomerField::RegistrationNr: w.shRegNr->setText(text); break;
        case command_file::CustomerField::Address: w.shAdrese->setText(text); break;
        }
    }
    // By the kind's own number: kinds not in use leave no gap in the list. A kind not in use
    // selects nothing, and the item entry refuses its payment row.
    void SelectPaymentKind(int number) override { w.cmbApmaksasVeids->setCurrentIndex(w.ApmaksasVeidi.positionOf(number)); }
    // With a terminal, a card payment counts only when the card dialog approved it.
    bool CardPaymentRefused() const override { return w.EFT > 0 && (!KarsuAutorizacija || !KarsuAutorizacija->Apstiprinats); }

    QSqlDatabase PosDb() override { return DatuModelis->POS_DB(); }

    void ShowOnDisplay(const QString& line1, const QString& line2) override { w.PrintClass->PrintUzDispleja(line1, line2); }
    void ClearDisplay() override { w.PrintClass->ClearDispleju(); }
    void ShowDisplayIdle() override { w.PrintClass->PrintDemoUzDispleja(); }
    void OpenDrawer() override { w.PrintClass->AtverNaudasLadi(); }

    bool ReadFiscalRecord(const QString& name, QString& text) override { return ReportFiscalMemory(*w.FMProc).read(name, text); }
    bool FinishPendingReceipt() override { return w.FinishPendingReceipt(); }
    std::optional<command_file::PaymentKindTotal> ReadPaymentKind(int n) override {
        const QString nr = QString::number(n);
        long long sum = 0;
        QString name, flag;
        if (ReadApmVeids(*w.FMProc, "APM_SUM" + nr, "APMVEID" + nr, "APMFLAG" + nr, sum, name, flag) != 1) return std::nullopt;
        return command_file::PaymentKindTotal{flag, name, sum};
    }

    int CashInOut(const QString& putIn, const QString& takenOut) override {
        if (!w.FinishPendingReceipt()) return -2;
        if (!MainaInkasacija) MainaInkasacija = new TMainaInkasacija(&w, w.CekaValuta);
        TMainaInkasacija& form = *MainaInkasacija;
        form.Kasieris = w.KasierisFullName;
        form.PrintClass = w.PrintClass.get();
        form.FMProc = w.FMProc.get();
        form.EUR_Kurss = w.EUR_Kurss;
        form.FormActivate();  // empty amounts and a cleared result, as when the form opens
        form.shIelikts->setText(putIn);
        form.shIznemts->setText(takenOut);
        form.btDrukatClick();
        w.CheckNaudasLadi();
        return form.Statuss;
    }

    void PrintLastReceiptCopy() override { w.Iepriekjekakopija1Click(); }
    bool XReport() override {
        const bool receiptOpen = w.RinduSkaits > 0;
        w.Xatskaite1Click();
        return !receiptOpen;
    }
    int ZReport() override {
        if (!w.FinishPendingReceipt()) return -2;
        ReportFiscalMemory fm(*w.FMProc);
        DayCloseRecord last;
        if (!fm.readLastDayClose(last)) return -2;
        command_file::OweDayCloseAnswer(std::filesystem::current_path(), last.nr);
        XZReportJob job;
        job.RinduSkaits = w.RinduSkaits;
        job.KasierisFullName = w.KasierisFullName;
        job.CekaValutaKods = w.CekaValutaKods;
        job.posDb = DatuModelis->POS_DB();
        return PrintXZAtskaite(2, job, fm, *w.PrintClass, *this);
    }

    // What the Z report needs of the window besides the message routine.
    void AnuletCeku() override { w.AnuletCeku(); }
    double GetValutasKurss(const QString& code) override {
        // An unknown code, and a rate that cannot be read, count at 1.0.
        try {
            return ::GetValutasKurss(DatuModelis->POS_DB(), code).value_or(1.0);
        } catch (const std::exception&) {
            return 1.0;
        }
    }

private:
    TPOSMain& w;
};

// Switches the poll back on however the tick ends.
struct PollRestart {
    QTimer* timer;
    ~PollRestart() { timer->start(); }
};

}  // namespace

void TPOSMain::TimerFiskPrinterisTimer() {
    // Off for the whole tick: a dialog that a command opens cannot start a second tick inside it.
    TimerFiskPrinteris->stop();
    const PollRestart restart{TimerFiskPrinteris};
    WindowTill till(*this);
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (!error) command_file::ServeCommandFile(folder, till);
}
