// The sale window's customer panel: choosing the receipt's customer by code (scan-only timing,
// PIN) or from the list, what a chosen customer shows, clearing it, and the payer fields that
// the second screen mirrors.
#include "posmain.h"

#include "customer_choice.h"
#include "datumodelis.h"
#include "password_dlg.h"
#include "small_dialogs.h"

#include "clock.h"
#include "ui_services.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

namespace {

double TimeOfDay() {
    const platform::LocalTime t = platform::localNow();
    return DayFraction(t.hour, t.minute, t.second, t.millisecond);
}

// The code field's keys and the leaving of the code field and the list. A field is left when the
// focus goes to another control of the window; the window losing the focus to a dialog or a
// pop-up is no leaving (Qt's editingFinished would report Enter and the focus loss twice).
class CustomerPanelKeys : public QObject {
public:
    explicit CustomerPanelKeys(TPOSMain& window) : w(window) {
        w.shKlKods->installEventFilter(this);
        w.dblKlientuSaraksts->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
            if (watched == w.shKlKods) w.shKlKodsExit();
            else w.dblKlientuSarakstsExit();
        } else if (watched == w.shKlKods && event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (enter || !key->text().isEmpty()) w.shKlKodsKeyPress(enter ? 13 : key->text().at(0).unicode());
            return enter;
        } else if (watched == w.dblKlientuSaraksts && event->type() == QEvent::KeyRelease) {
            w.dblKlientuSarakstsKeyUp();
        }
        return false;
    }

private:
    TPOSMain& w;
};

}  // namespace

void TPOSMain::ConnectCustomerPanel() {
    customerKeys_ = std::make_unique<CustomerPanelKeys>(*this);
    connect(dblKlientuSaraksts, &QComboBox::activated, this, &TPOSMain::dblKlientuSarakstsCloseUp);
    connect(BitBtn1, &QPushButton::clicked, this, &TPOSMain::BitBtn1Click);
    connect(btKlKods, &QPushButton::clicked, this, &TPOSMain::btF5_KeyClick);
    connect(btMaksatajs, &QPushButton::clicked, this, &TPOSMain::btMaksatajsClick);
    connect(btRegNr, &QPushButton::clicked, this, &TPOSMain::btRegNrClick);
    connect(btAdrese, &QPushButton::clicked, this, &TPOSMain::btAdreseClick);
    connect(shKlientaNosaukums, &QLineEdit::textChanged, this, &TPOSMain::shKlientaNosaukumsChange);
    connect(shRegNr, &QLineEdit::textChanged, this, &TPOSMain::shRegNrChange);
    connect(shAdrese, &QLineEdit::textChanged, this, &TPOSMain::shAdreseChange);
    connect(shAtgrnr, &QLineEdit::returnPressed, this, [this] { shAtgrnrKeyPress(13); });
}

void TPOSMain::shKlKodsKeyPress(int key) {
    if (shKlKods->text().isEmpty()) KlKodsLaiks = TimeOfDay();
    if (key == 13) edArtikuls->setFocus(Qt::TabFocusReason);
}

void TPOSMain::shKlKodsExit() {
    if (PasswordDlg && PasswordDlg->KlElektron && TypedByHand(KlKodsLaiks, TimeOfDay())) {
        // Shown in every mode: the scan-only rule is the cashier's, not the driving program's.
        platform::ui::showMessage(kTikaiElektroniski);
        shKlKods->clear();
        return;
    }
    const CustomerCodes codes = CustomerCodeTexts(shKlKods->text());
    shKlKods->setText(codes.shortened);
    try {
        DatuModelis->OpenKlienti();  // the current rows of N_KLIENTI
    } catch (const std::exception& error) {
        ShowPazinojums(QString::fromStdString(error.what()));
        return;
    }
    std::optional<int> row = FindCustomerRow(DatuModelis->Klienti, codes.shortened);
    if (!row) row = FindCustomerRow(DatuModelis->Klienti, codes.full);
    if (!row) {
        ShowPazinojums(kKlientsNavAtrasts, false);
        return ClearKlients();
    }
    // A customer with a PIN is asked for it whichever of the two codes found it.
    const QString pin = CustomerPin(DatuModelis->Klienti.record(*row));
    if (!pin.isEmpty()) {
        if (!PinKods) PinKods = new TPinKods(this);
        PinKods->exec();
        if (PinKods->shPinKods->text() != pin) {
            ShowPazinojums(kPinNepareizs, false);
            return ClearKlients();
        }
    }
    dblKlientuSaraksts->setCurrentIndex(*row);
    LoadKlients();
}

void TPOSMain::LoadKlients() {
    const int row = dblKlientuSaraksts->currentIndex();
    if (row < 0 || !DatuModelis) return;
    const QSqlRecord customer = DatuModelis->Klienti.record(row);
    const ShownCustomer shown = ShowCustomer(customer);
    ShowPayer(shown);
    edAtlaide->setText(shown.atlaide);
    try {
        if (CreditLimitExceeded(DatuModelis->POS_DB(), customer)) ShowPazinojums(kKreditaLimits, false);
    } catch (const std::exception& error) {
        // The customer stays chosen; the check could not be made.
        ShowPazinojums(QString::fromStdString(error.what()), false);
    }
}

void TPOSMain::ShowPayer(const ShownCustomer& shown) {
    shKlientaNosaukums->setText(shown.nosaukums);
    shAdrese->setText(shown.adrese);
    shRegNr->setText(shown.regNr);
}

void TPOSMain::ClearKlients() {
    for (QLineEdit* field : {shKlKods, KlCitasZinas, shKlientaNosaukums, shAdrese, shRegNr}) field->clear();
    dblKlientuSaraksts->setCurrentIndex(-1);
}

void TPOSMain::BitBtn1Click() { ClearKlients(); }
void TPOSMain::dblKlientuSarakstsCloseUp() { LoadKlients(); }
void TPOSMain::dblKlientuSarakstsExit() { LoadKlients(); }
void TPOSMain::dblKlientuSarakstsKeyUp() { LoadKlients(); }

void TPOSMain::shKlientaNosaukumsChange() { MirrorPayerToSecondScreen(); }
void TPOSMain::shRegNrChange() { MirrorPayerToSecondScreen(); }
void TPOSMain::shAdreseChange() { MirrorPayerToSecondScreen(); }

void TPOSMain::MirrorPayerToSecondScreen() {
    if (!::KlientLielaisEkrans) return;
    for (QLineEdit* field : {shKlientaNosaukums, shRegNr, shAdrese})
        if (QWidget* mirror = ::KlientLielaisEkrans->findChild<QWidget*>(field->objectName()))
            mirror->setProperty("text", field->text());
}
