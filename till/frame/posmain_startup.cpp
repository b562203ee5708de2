// The sale window's creation: the start-up sequence from the log-in result to the scanner
// thread, the single-instance guard, ending processes by name and the quick-item keys.
#include "posmain.h"

#include "command_file_exchange.h"
#include "datumodelis.h"
#include "drawer_limit.h"
#include "fmproc.h"
#include "klaviatura.h"
#include "password_dlg.h"
#include "posmain_vouchers.h"
#include "printclass.h"
#include "processes.h"
#include "report_fiscal_memory.h"
#include "sale_engine.h"
#include "start_form.h"
#include "till_card_steps.h"
#include "ui_services.h"

#include "clock.h"

#include <QApplication>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlQuery>
#include <QVariant>

namespace {

QDate today() {
    const auto now = platform::localNow();
    return QDate(now.year, now.month, now.day);
}

QString errorText(const std::exception& e) { return QString::fromUtf8(e.what()); }

}  // namespace

void TPOSMain::EndStartup() { platform::ui::endProgram(1); }

void TPOSMain::CloseStartForm() {
    if (StartForm) StartForm->close();
}

void TPOSMain::FormCreate() {
    // 1. No cashier passed the log-in: the program ends without a word.
    if (!PasswordDlg || !PasswordDlg->Ok) EndStartup();
    SversanaNotiek = false;
    SversanaTaimeris = 0;
    ShowStartProcess("Pasword OK");

    ShowStartProcess("Test EXE count...");
    CheckSingleInstance();
    ShowStartProcess("Test EXE count OK");

    ShowStartProcess("Initial user data...");
    LoadKasieris();
    ShowStartProcess("Initial user data OK");

    // The settings already read N_ISI, so a database that cannot be reached stops here.
    ShowStartProcess("Read from registry...");
    EFT = 0;
    try {
        LoadSettings();
    } catch (const SettingsReadError& e) {
        ShowPazinojums("Nevarēju nolasīt iestādījumus, darbs tiek pārtraukts !!! " + errorText(e));
        EndStartup();
    } catch (const std::exception& e) {
        ShowPazinojums("Nevarēju atvērt datu bāzi, darbs tiek pārtraukts !!! " + errorText(e));
        EndStartup();
    }
    ShowStartProcess("Read from registry OK");
    if (PrepaidServVeids == 2) InstallVoucherProductSource();

    if (PrepaidServVeids == 1) {
        ShowStartProcess("Open Sanitex chanel...");
        try {
            if (!ObjectMakers().SanitexCOM) throw std::runtime_error("SanitexCOM");
            PrepaidServObj = ObjectMakers().SanitexCOM();
        } catch (...) {
            PrepaidServObj.reset();
            platform::ui::showMessage("Nevarēju atvērt Sanitex savienojumu !!!");
        }
    }

    ShowStartProcess("Try to open database...");
    try {
        DatuModelis->ConnectPOS_DB();
    } catch (const std::exception& e) {
        ShowPazinojums("Nevarēju atvērt datu bāzi, darbs tiek pārtraukts !!! " + errorText(e));
        EndStartup();
    }
    ShowStartProcess("Open database OK");
    RinduSkaits = 0;

    ShowStartProcess("Try to open Klienti table...");
    try {
        DatuModelis->OpenKlienti();
    } catch (const std::exception& e) {
        ShowPazinojums("Nevarēju atvērt datu bāzi, darbs tiek pārtraukts !!! " + errorText(e));
        EndStartup();
    }
    dblKlientuSaraksts->setModel(&DatuModelis->Klienti);
    dblKlientuSaraksts->setModelColumn(DatuModelis->Klienti.record().indexOf("GNOS"));
    ShowStartProcess("Open Klienti table OK");

    ShowStartProcess("Try to open Main table...");
    try {
        DatuModelis->OpenDati();
    } catch (const std::exception& e) {
        ShowPazinojums("Nevarēju atvērt REALIZĀCIJAS datus !!! " + errorText(e));
        EndStartup();
    }
    ShowStartProcess("Open Main table OK");

    if (EFT == 1 || EFT == 2) {
        KillProcessByName(kFiskonNames);
        platform::clock().sleepMs(4000);
    }

    ShowStartProcess("Initial FM...");
    FMProc = std::make_unique<TFMProc>(StartForm ? StartForm->shProcess : nullptr);
    FMProc->LogNote = windowTitle();
    if (FMProc->Status != 0) {
        CloseStartForm();
        ShowPazinojums("Nav pieslēgts fiskālais bloks !!!");
        EndStartup();
    }
    {
        int nr = 0;
        double grandTotal = 0, grandVat = 0, daySum = 0, dayVat = 0;
        QDate date;
        QString time, check;
        if (!FMProc->FMReadGrand(-1, nr, grandTotal, grandVat, date, time, daySum, dayVat, check)) {
            CloseStartForm();
            // Said so the cashier knows why the till did not start.
            ShowPazinojums("Nevarēju nolasīt pēdējo Z atskaiti no fiskālā bloka, darbs tiek pārtraukts !!!", true);
            EndStartup();
        }
        if (date.isValid() && date > today()) {
            CloseStartForm();
            ShowPazinojums("Pārbaudat datorā iestādīto datumu !!!\nIespējams ir problēma ar sistēmbloka batareju", true);
            EndStartup();
        }
    }
    // A Z report cut short after its day-close record (a failure, a killed program, a power loss)
    // has its counters zeroed now, before any sale counts into them.
    if (!RecoverDayClose(*FMProc)) {
        CloseStartForm();
        ShowPazinojums(kStartupDayCloseMessage, true);
        EndStartup();
    }
    // A Z report a driving program asked for and got no answer to is answered now, from the
    // day-close records as they stand, so that it is not sent again.
    if (DayCloseRecord last; ReportFiscalMemory(*FMProc).readLastDayClose(last))
        command_file::AnswerOwedDayClose(std::filesystem::current_path(), last.nr);
    ShowStartProcess("Initial FM - OK");

    ShowStartProcess("Initial Printer...");
    PrintClass = std::make_unique<TPrintClass>(Printeris, FMProc.get());
    PrintClass->DemoRindas = [] {
        QSqlQuery query(DatuModelis->POS_DB());
        if (!query.exec("SELECT DEMORINDA_1, DEMORINDA_2 FROM N_ISI") || !query.next()) return std::pair<QString, QString>();
        return std::pair(query.value(0).toString(), query.value(1).toString());
    };
    ShowStartProcess("Initial Printer OK");
    if (EFT == 3) OutsideTerminalOf(*this);

    ApplyRights();

    ShowStartProcess("Pārbauda naudu lādē...");
    CheckNaudasLadi();
    ShowStartProcess("Pārbauda naudu lādē OK");

    ShowStartProcess("Izdrukā tukšas rindas...");
    dblKlientuSaraksts->setCurrentIndex(-1);
    PrintClass->DrukaTuksasRindasUzAbam(4);
    ShowStartProcess("Izdrukā tukšas rindas OK");

    if (FMProc->FMTips == TFMProc::IdCard) platform::ui::showMessage("Pārbaudat vai ieslēgts klientu displejs un printeris !!!");

    ShowStartProcess("Drukā čeka galvu...");
    if (PrintClass->DrukaCekaGalvu() < 0) {
        AnuletCeku();
        close();
        EndStartup();
    }
    ShowStartProcess("Drukā čeka galvu OK");

    ShowStartProcess("Demo rinda...");
    PrintClass->PrintDemoUzDispleja();
    ShowStartProcess("Demo rinda OK");

    if (StockaraConect) {
        ShowStartProcess("Pievienojas pie Stockara...");
        try {
            DatuModelis->ConnectSTOCKARA();
        } catch (const std::exception& e) {
            CloseStartForm();
            ShowPazinojums("Nevarēju pieslēgties Stockara sistēmai !!!\n\n" + errorText(e));
            StockaraConect = false;
        }
        ShowStartProcess("Pievienojas pie Stockara OK");
    }

    // The vouchers of a receipt an earlier run was closing: bought and printed for a receipt the
    // recovery below finishes as paid, else their reservations cancelled.
    if (const std::optional<bool> paid = PendingReceiptIsPaid(*FMProc, std::filesystem::current_path() / kPendingReceiptFile))
        MakeVoucherSteps(*this)->FinishPending(*paid);
    // A receipt whose closing an earlier run left unfinished is finished (or annulled under its
    // own number) before any sale, once the stock link is there to move its stock; a driving
    // program's request for it gets its answer.
    if (const ReceiptRecovery recovery = Pardosana().RecoverPendingReceipt(); recovery.outcome != ReceiptRecovery::Nothing) {
        if (recovery.outcome == ReceiptRecovery::Failed) {
            CloseStartForm();
            ShowPazinojums(recovery.message, true);
            EndStartup();
        }
        if (FiskPrinteris)
            command_file::AnswerRecoveredReceipt(std::filesystem::current_path(),
                                                 recovery.outcome == ReceiptRecovery::Finished, recovery.message);
        ShowPazinojums(recovery.message);
    } else if (const std::filesystem::path pending = std::filesystem::current_path() / kPendingReceiptFile;
               const std::optional<int> owed = OwedAnswer(pending)) {
        // Stored, its marker cleared, and killed before its answer was written.
        command_file::AnswerRecoveredReceipt(std::filesystem::current_path(), true, FinishedAfterInterruption(*owed));
        DropPendingFile(pending);
    }

    shAtlikums->clear();

    ShowStartProcess("Nolasa apmaksas veidus...");
    LoadApmaksasVeidi();
    ShowStartProcess("Apmaksas veidi OK");

    if (!CekaApmaksa && ObjectMakers().CekaApmaksa) CekaApmaksa = ObjectMakers().CekaApmaksa(this);
    TimerFiskPrinteris->setInterval(400);
    if (FiskPrinteris) TimerFiskPrinteris->start();
    else TimerFiskPrinteris->stop();
    SetFullScreen();
    if (!::KlientLielaisEkrans && ObjectMakers().KlientLielaisEkrans) ::KlientLielaisEkrans = ObjectMakers().KlientLielaisEkrans(this);
    StatusPanels[0]->setFixedWidth(std::max(0, width() - 100));
    ShowStartProcess("");
    if (!Klaviatura) Klaviatura = new TKlaviatura(this);
    TimerPulkstenis->start();
    LoadQuickKeys();
    if (EFT == 0) Bankaskaruatskaite1->setVisible(false);
    qApp->installEventFilter(this);
    if (ObjectMakers().ScanerThread) ScanerThread = ObjectMakers().ScanerThread(this);
    AktivaisEdit = edArtikuls;
}

void TPOSMain::CheckSingleInstance() {
    const char* refusal = nullptr;
    switch (::CheckSingleInstance(CurrentProcessControl())) {
    case InstanceCheck::Alone: return;
    case InstanceCheck::NoSnapshot: refusal = kNoSnapshotMessage; break;
    case InstanceCheck::WrongExeName: refusal = kWrongExeNameMessage; break;
    case InstanceCheck::SecondCopy: refusal = kSecondCopyMessage; break;
    }
    CloseStartForm();
    ShowPazinojums(refusal);
    EndStartup();
}

bool TPOSMain::KillProcessByName(const std::vector<std::string>& names) {
    return ::KillProcessByName(CurrentProcessControl(), names);
}

void TPOSMain::LoadQuickKeys() {
    QuickKeys keys;
    try {
        keys = BuildQuickKeys(ReadQuickKeyRows(DatuModelis->POS_DB()));
    } catch (const std::exception& e) {
        // The keys stay as designed; the start-up goes on to its last steps.
        ShowPazinojums("Nevarēju nolasīt ātro taustiņu preces !!! " + errorText(e));
    }
    for (int i = 0; i < kQuickKeyCount; ++i) {
        QuickArtikuli[std::size_t(i)] = keys.articles[std::size_t(i)];
        QuickLabels[std::size_t(i)]->setText(keys.captions[std::size_t(i)]);
    }
}
