#include "karsu_autorizacija.h"

#include "card_slip.h"
#include "cardeon.h"
#include "clock.h"
#include "settings_store.h"
#include "small_dialogs.h"
#include "ui_services.h"

#include "codepage_1257.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

QPointer<TKarsuAutorizacija> KarsuAutorizacija;

namespace {

const std::string kSetupKey = "Software\\TOVEL\\Tillora\\Setup";
constexpr int kLatsCurrency = 428;  // ISO 4217 number of the lats
constexpr int kTerminalWaitMs = 300;
constexpr int kEcrInputOn = 100;

void Message(const QString& text) { platform::ui::showMessage(text); }

}  // namespace

TKarsuAutorizacija::TKarsuAutorizacija(QWidget* owner, int eft) : QDialog(owner), eft_(eft) {
    setObjectName("KarsuAutorizacija");
    setWindowTitle("Norēķins ar magnētisko/chip karti");
    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);  // a fixed border, sized to what it holds
    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    Label5 = new QLabel("Operācijas summa (karte):", this);
    shSumma = new QLineEdit(this);
    shSumma->setObjectName("shSumma");
    shSumma->setEnabled(false);
    btProcess = new QPushButton("&Veikt operāciju", this);
    btProcess->setObjectName("btProcess");
    btClose = new QPushButton("Aizvērt", this);
    btClose->setObjectName("btClose");
    left->addWidget(Label5);
    left->addWidget(shSumma);
    left->addWidget(btProcess);
    left->addWidget(btClose);
    auto* GroupBox1 = new QGroupBox("Karšu operācijas", this);
    auto* radios = new QVBoxLayout(GroupBox1);
    rdApmaksa = new QRadioButton("Pirkuma apmaksa", GroupBox1);
    rdApmaksasAtcelsana = new QRadioButton("Apmaksas atcelšana", GroupBox1);
    rdPirkumaAtgriesana = new QRadioButton("Pirkuma atgriešana", GroupBox1);
    operations_ = new QButtonGroup(this);
    for (QRadioButton* r : {rdApmaksa, rdApmaksasAtcelsana, rdPirkumaAtgriesana}) {
        radios->addWidget(r);
        operations_->addButton(r);
        connect(r, &QRadioButton::clicked, this, &TKarsuAutorizacija::RadioClick);
    }
    top->addLayout(left);
    top->addWidget(GroupBox1);
    column->addLayout(top);
    auto* status = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        StatusBar1[std::size_t(i)] = new QLabel(this);
        StatusBar1[std::size_t(i)]->setFixedWidth(i == 0 ? 100 : 300);
        status->addWidget(StatusBar1[std::size_t(i)]);
    }
    column->addLayout(status);
    connect(btProcess, &QPushButton::clicked, this, &TKarsuAutorizacija::btProcessClick);
    connect(btClose, &QPushButton::clicked, this, &TKarsuAutorizacija::btCloseClick);

    // The control's prompts come on this thread, from inside its running method.
    Payvo1 = std::make_unique<TPayvo>([this](std::int32_t dispid, std::vector<platform::com::Variant>& args) {
        Payvo1Prompt(dispid, args);
    });
    FormCreate();
}

TKarsuAutorizacija::~TKarsuAutorizacija() = default;

void TKarsuAutorizacija::FormCreate() {
    ChipPorts = 0;
    Apstiprinats = false;
    platform::SettingsStore& settings = platform::SettingsStore::current();
    if (settings.keyExists(kSetupKey)) {
        ChipPorts = settings.readInteger(kSetupKey, "CHIPReader").value_or(0);
        Payvo1->SetNumber("Currency", settings.readInteger(kSetupKey, "ValutasKodsFTP").value_or(kLatsCurrency));
        const std::optional<std::string> speed = settings.readText(kSetupKey, "SerialPortSpeed");
        if (speed || !settings.readInteger(kSetupKey, "SerialPortSpeed")) {
            // An absent value reads as empty; the default written now takes effect at the next start.
            Payvo1->SetText("SerialPortSpeed", QString::fromStdString(speed.value_or(std::string())));
            if (Payvo1->Text("SerialPortSpeed").size() < 4) settings.writeText(kSetupKey, "SerialPortSpeed", "9600");
        } else {
            settings.writeText(kSetupKey, "SerialPortSpeed", "9600");
            Payvo1->SetText("SerialPortSpeed", QStringLiteral("9600"));
        }
    }
    if (ChipPorts >= 1) {
        if (eft_ == 1) {
            if (const int rc = iInitSerialPort(ChipPorts); rc < 0) {
                ChipPorts = 0;  // the reader stays off for the rest of the run
                Message(kChipInitFailedMessage + "\n" + ChipErrorText(rc));
            }
        } else if (eft_ == 2) {
            Payvo1->SetText("SerialPortNumber", "COM" + QString::number(ChipPorts));
        }
    }
    if (!GetKvitsNumurs) GetKvitsNumurs = new TGetKvitsNumurs(this);
}

void TKarsuAutorizacija::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TKarsuAutorizacija::FormActivate() {
    SetStatus(0, QString());
    SetStatus(1, QString());
    shSumma->setText(QString::number(Summa, 'f', 0));
    Apstiprinats = false;
    // The keyboard is on "Veikt operāciju" at every showing, and Enter runs it too: the button was
    // disabled while the last operation ran, which moved the focus, and with it the default frame,
    // to "Aizvērt".
    btProcess->setDefault(true);
    btProcess->setFocus();
}

void TKarsuAutorizacija::RadioClick() {
    if (rdApmaksasAtcelsana->isChecked()) {
        btProcess->setFocus();
        shSumma->setEnabled(true);  // a cancel's amount may be changed
    } else {
        shSumma->setEnabled(false);
    }
}

void TKarsuAutorizacija::SetOperacija(KartesOperacija operacija) {
    operations_->setExclusive(false);
    rdApmaksa->setChecked(operacija == KartesOperacija::Apmaksa);
    rdApmaksasAtcelsana->setChecked(operacija == KartesOperacija::Atcelsana);
    rdPirkumaAtgriesana->setChecked(operacija == KartesOperacija::Atgriesana);
    operations_->setExclusive(true);
}

KartesOperacija TKarsuAutorizacija::Operacija() const {
    if (rdApmaksa->isChecked()) return KartesOperacija::Apmaksa;
    if (rdApmaksasAtcelsana->isChecked()) return KartesOperacija::Atcelsana;
    if (rdPirkumaAtgriesana->isChecked()) return KartesOperacija::Atgriesana;
    return KartesOperacija::Nav;
}

void TKarsuAutorizacija::btProcessClick() {
    if (const std::optional<double> cents = ReadSumma(shSumma->text())) {
        Summa = *cents;
    } else {
        Message(kBadCardAmountMessage);
        Summa = 0;
    }
    const KartesOperacija operacija = Operacija();
    if (operacija != KartesOperacija::Atcelsana && Summa == 0) {
        Message(kNoCardAmountMessage);
        shSumma->setFocus();
        return;
    }
    if (eft_ == 1) return Message(kChipTerminalMessage);
    if (Nodala <= 0 && operacija == KartesOperacija::Atgriesana) {
        Apstiprinats = false;
        return Message(kReturnNotOnTerminalMessage);
    }

    TPayvo& c = *Payvo1;
    c.SetNumber("Language", 0);
    c.SetNumber("PrintingDevice", 2);
    if (Nodala > 0) {
        c.SetNumber("PrePaidCode", Nodala);
        c.SetNumber("TransactionType", kTypePrepaid);
        c.SetNumber("bUseECRInput", 0);
    } else {
        c.SetNumber("PrePaidCode", 0);
        if (operacija != KartesOperacija::Nav)
            c.SetNumber("TransactionType", operacija == KartesOperacija::Atcelsana ? kTypeCancel : kTypePurchase);
        c.SetNumber("bUseECRInput", kEcrInputOn);
    }
    c.SetNumber("Amount", int(Summa));
    SetStatus(1, QStringLiteral("Process Transaction"));
    WriteKartesLog(TransactionLogText(c.Number("TransactionType"), c.Number("PrePaidCode"), c.Text("TicketNumber"),
                                      c.Number("Amount")));

    btProcess->setEnabled(false);
    c.PayvoGetState();
    btProcess->setEnabled(true);
    if (c.Number("ConnectionState") > 0) {
        Message(kConnectionMessage);
        reject();
        return;
    }
    if (const int state = c.Number("TerminalState"); state > 0) {
        if (const QString text = TerminalStateText(state); !text.isEmpty())
            Message(OutcomeMessage(text, c.Number("StatusCode"), c.Text("StatusDisplayMsg")));
        if (PrintSlip) PrintSlip(kDeclinedSlipCopy);
        reject();
        return;
    }

    btProcess->setEnabled(false);
    SetStatus(1, QStringLiteral("Process TransactionRequest"));
    c.SetText("TransactionID", QString());
    c.TransactionRequest();
    QApplication::processEvents();
    platform::clock().sleepMs(kTerminalWaitMs);
    btProcess->setEnabled(true);
    SetStatus(1, "Status : " + c.Text("StatusDisplayMsg"));
    if (const int result = c.Number("TransactionReturn"); result == 0) {
        Apstiprinats = true;
        accept();
    } else {
        Apstiprinats = false;
        if (const QString text = TransactionResultText(result); !text.isEmpty())
            Message(OutcomeMessage(text, c.Number("StatusCode"), c.Text("StatusDisplayMsg")));
        if (PrintSlip) PrintSlip(kDeclinedSlipCopy);
        reject();
    }
}

void TKarsuAutorizacija::btCloseClick() { reject(); }

bool TKarsuAutorizacija::EncashTransaction() { return Payvo1->EncashTransaction(); }

void TKarsuAutorizacija::WriteKartesLog(const QString& text) { AppendKartesLog(KartesLogLine(platform::localNow(), text)); }

void TKarsuAutorizacija::Payvo1Prompt(std::int32_t dispid, std::vector<platform::com::Variant>& args) {
    const std::optional<PromptForm> form = PromptFormOf(dispid);
    if (!form || args.size() < 4 || !GetKvitsNumurs) return;
    TGetKvitsNumurs& d = *GetKvitsNumurs;
    bool accepted = false;
    // One prompt at a time: a prompt that cannot be shown, because the input dialog is up already,
    // is refused, never answered for the cashier.
    if (!d.isVisible()) {
        d.lbInputCaption->setText(fromCp1257(platform::com::toText(args[0]).value_or(std::string())));
        d.setWindowTitle(form->waiting);
        d.edKvitsNumurs->setVisible(form->editShown);
        d.edKvitsNumurs->setInputMask(form->inputMask);
        d.edKvitsNumurs->setText(PromptInitialText(*form, platform::localNow()));
        d.btOK->setText(form->okCaption);
        d.btCancel->setText(form->cancelCaption);
        d.Sekundes = platform::com::toInteger(args[1]).value_or(0);
        // Only the cashier's OK (or Enter) in this showing accepts: nothing left from an earlier
        // prompt's answer counts.
        d.Rezultats = 2;
        accepted = d.exec() == QDialog::Accepted && d.Rezultats == 1;
    }
    std::optional<QString> answer;
    if (accepted) answer = PromptAnswer(*form, d.edKvitsNumurs->text());
    if (answer) {
        args[2] = std::int32_t(0);
    } else {
        // Refused, timed out, or a date or time that is no valid one.
        args[2] = form->refusal;
        answer = RefusedAnswer(*form);
    }
    if (answer) args[3] = toCp1257(*answer);
}

KartesCeksDati TKarsuAutorizacija::SlipDati() const {
    KartesCeksDati d = ReadKartesCeksDati(*Payvo1);
    d.operacija = Operacija();
    d.summa = shSumma->text();
    return d;
}

void TKarsuAutorizacija::SetStatus(int panel, const QString& text) {
    StatusBar1[std::size_t(panel)]->setText(text);
    StatusBar1[std::size_t(panel)]->repaint();
}
