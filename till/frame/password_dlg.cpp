#include "password_dlg.h"

#include "datumodelis.h"
#include "klaviatura.h"
#include "settings_store.h"
#include "start_form.h"
#include "ui_services.h"

#include <QGridLayout>
#include <QVBoxLayout>

QPointer<TPasswordDlg> PasswordDlg;
QPointer<TPaligs> Paligs;

TPasswordDlg::TPasswordDlg(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint) {
    setObjectName("PasswordDlg");
    setWindowTitle("Paroles ievads");
    auto* grid = new QGridLayout(this);
    btUserName = new QPushButton("Lietotāja vārds :", this);
    btUserName->setObjectName("btUserName");
    btUserName->setAutoDefault(false);
    shLietotajs = new QLineEdit(this);
    shLietotajs->setObjectName("shLietotajs");
    btPasword = new QPushButton("Parole :", this);
    btPasword->setObjectName("btPasword");
    btPasword->setAutoDefault(false);
    Password = new QLineEdit(this);
    Password->setObjectName("Password");
    Password->setEchoMode(QLineEdit::Password);
    BtOK = new QPushButton("OK", this);
    BtOK->setObjectName("BtOK");
    BtOK->setDefault(true);
    BtAtlikt = new QPushButton("&Atlikt", this);
    BtAtlikt->setObjectName("BtAtlikt");
    BtAtlikt->setAutoDefault(false);
    StatusBar1 = new QLabel(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    grid->addWidget(btUserName, 0, 0);
    grid->addWidget(shLietotajs, 0, 1);
    grid->addWidget(btPasword, 1, 0);
    grid->addWidget(Password, 1, 1);
    grid->addWidget(BtOK, 2, 0);
    grid->addWidget(BtAtlikt, 2, 1);
    grid->addWidget(StatusBar1, 3, 0, 1, 2);

    // The field holds upper case only, so the name is looked up as the back office stores it.
    connect(shLietotajs, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int cursor = shLietotajs->cursorPosition();
        shLietotajs->setText(text.toUpper());
        shLietotajs->setCursorPosition(cursor);
    });
    connect(BtOK, &QPushButton::clicked, this, &TPasswordDlg::BtOKClick);
    connect(BtAtlikt, &QPushButton::clicked, this, &TPasswordDlg::BtAtliktClick);
    connect(btUserName, &QPushButton::clicked, this, &TPasswordDlg::btUserNameClick);
    connect(btPasword, &QPushButton::clicked, this, &TPasswordDlg::btPaswordClick);

    // FormCreate.
    if (!Klaviatura) Klaviatura = new TKlaviatura(this);
    const auto& store = platform::SettingsStore::current();
    const QString last = QString::fromStdString(store.readText(kPasswordKey, "LastUser").value_or(""));
    shLietotajs->setText(last.isEmpty() ? QStringLiteral("ADMIN") : last.toUpper());
}

void TPasswordDlg::FormActivate() {
    if (StartForm) move(x(), StartForm->y() + StartForm->height());
    Ok = false;
    // The last cashier's name stands in the dialog already: the cashier types the password.
    Password->setFocus();
}

void TPasswordDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TPasswordDlg::BtOKClick() {
    StatusBar1->clear();
    CashierRights rights;
    LoginCheck result;
    try {
        result = CheckCashier(DatuModelis->POS_DB(), shLietotajs->text(), Password->text(), rights);
    } catch (const std::exception& e) {
        // The database's own error; the dialog stays open.
        platform::ui::showMessage(QString::fromUtf8(e.what()), {}, platform::ui::Buttons::Ok, platform::ui::Icon::Error);
        return;
    }
    if (result != LoginCheck::Passed) {
        StatusBar1->setText(LoginCheckMessage(result));
        (result == LoginCheck::WrongPassword ? Password : shLietotajs)->setFocus();
        return;
    }
    VarAtgreizt = rights.VarAtgreizt;
    VarZAtskaiti = rights.VarZAtskaiti;
    VarMainitAtlaidi = rights.VarMainitAtlaidi;
    VarDzest = rights.VarDzest;
    KlElektron = rights.KlElektron;
    MaxAtlaide = rights.MaxAtlaide;
    FullName = rights.FullName;
    try {
        platform::SettingsStore::current().writeText(kPasswordKey, "LastUser", shLietotajs->text().toStdString());
    } catch (const std::exception&) {
        // The name is not remembered; the log-in still succeeds.
    }
    Password->clear();
    Ok = true;
    accept();
}

void TPasswordDlg::BtAtliktClick() { reject(); }

bool TPasswordDlg::ChangeCashier(const QString& current) {
    changingCashier_ = true;
    exec();
    changingCashier_ = false;
    if (!Ok) shLietotajs->setText(current);
    return Ok;
}

void TPasswordDlg::done(int result) {
    QDialog::done(result);
    if (!Ok && !changingCashier_) platform::ui::endProgram(0);
}

void TPasswordDlg::btUserNameClick() {
    Klaviatura->shRinda->setText(shLietotajs->text());
    Klaviatura->exec();
    shLietotajs->setText(Klaviatura->shRinda->text().toUpper());
}

void TPasswordDlg::btPaswordClick() {
    Klaviatura->shRinda->setEchoMode(QLineEdit::Password);
    Klaviatura->shRinda->clear();
    Klaviatura->exec();
    Klaviatura->shRinda->setEchoMode(QLineEdit::Normal);
    Password->setText(Klaviatura->shRinda->text());
}

TPaligs::TPaligs(QWidget* owner) : QDialog(owner) {
    setObjectName("Paligs");
    setWindowTitle("Paligs");
    auto* column = new QVBoxLayout(this);
    for (const char* line : {"* - Aiz cipara - daudzums", "= - Aiz artik. cena par vien.", "-- - anulēt izsisto čeku",
                             "/ - pirms summas maksa ar saņemto summu"})
        column->addWidget(new QLabel(line, this));
    auto* hidden = new QLabel("- - anulēt pēdējo rindu", this);
    hidden->setVisible(false);
    column->addWidget(hidden);
    BitBtn1 = new QPushButton("Aizvērt", this);
    BitBtn1->setObjectName("BitBtn1");
    column->addWidget(BitBtn1);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}
