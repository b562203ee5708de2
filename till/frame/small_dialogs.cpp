#include "small_dialogs.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

QPointer<TPinKods> PinKods;
QPointer<TDavanuKartes> DavanuKartes;
QPointer<TVaiParbaudijat> VaiParbaudijat;
QPointer<TGetKvitsNumurs> GetKvitsNumurs;
QPointer<TGetZudezoNumurs> GetZudezoNumurs;

// ---------------------------------------------------------------- TPinKods

TPinKods::TPinKods(QWidget* owner) : QDialog(owner) {
    setObjectName("PinKods");
    setWindowTitle("PIN koda ievads");
    auto* row = new QHBoxLayout(this);
    row->addWidget(new QLabel("Ievadat lūdzu PIN kodu :", this));
    shPinKods = new QLineEdit(this);
    shPinKods->setObjectName("shPinKods");
    shPinKods->setEchoMode(QLineEdit::Password);
    row->addWidget(shPinKods);
    connect(shPinKods, &QLineEdit::returnPressed, this, &QDialog::accept);
}

void TPinKods::FormActivate() { shPinKods->clear(); }

void TPinKods::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

// ---------------------------------------------------------------- TDavanuKartes

TDavanuKartes::TDavanuKartes(QWidget* owner) : QDialog(owner) {
    setObjectName("DavanuKartes");
    setWindowTitle("Dāvanu kartes");
    auto* column = new QVBoxLayout(this);
    grpDAvKartes = new TRadioGroup("Dāvanu kartes", {"Nav", "Pārdošana", "Preces"}, 1, this);
    grpDAvKartes->setObjectName("grpDAvKartes");
    grpDAvKartes->SetItemIndex(0);
    column->addWidget(grpDAvKartes);
    shDMNumurs = new QLineEdit(this);
    shDMNumurs->setObjectName("shDMNumurs");
    shDMNumurs->setEnabled(false);
    column->addWidget(shDMNumurs);
    DavanuKartes = new QPushButton("Aizvērt", this);
    DavanuKartes->setObjectName("DavanuKartes");
    DavanuKartes->setAutoDefault(false);
    column->addWidget(DavanuKartes);
    connect(grpDAvKartes, &TRadioGroup::Clicked, this, &TDavanuKartes::grpDAvKartesClick);
    connect(shDMNumurs, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(DavanuKartes, &QPushButton::clicked, this, &QDialog::accept);
}

void TDavanuKartes::grpDAvKartesClick() {
    const int mode = grpDAvKartes->ItemIndex();
    if (mode == 1 || mode == 2) {
        shDMNumurs->setEnabled(true);
        shDMNumurs->setFocus();
    } else {
        shDMNumurs->setEnabled(false);
    }
}

void TDavanuKartes::Reset() {
    grpDAvKartes->SetItemIndex(0);
    shDMNumurs->clear();
    shDMNumurs->setEnabled(false);
}

// ---------------------------------------------------------------- TVaiParbaudijat

TVaiParbaudijat::TVaiParbaudijat(QWidget* owner) : QDialog(owner) {
    setObjectName("VaiParbaudijat");
    setWindowTitle("Vai pārbaudījāt iepriekšējo preci ?");
    auto* column = new QVBoxLayout(this);
    const auto bigBlue = [this](QLabel* label) {
        QFont font = label->font();
        font.setPixelSize(32);
        font.setBold(true);
        label->setFont(font);
        label->setStyleSheet("color: blue");
        label->setAlignment(Qt::AlignCenter);
    };
    lbArtikulaRinda = new QLabel(this);
    lbArtikulaRinda->setObjectName("lbArtikulaRinda");
    bigBlue(lbArtikulaRinda);
    column->addWidget(lbArtikulaRinda);
    auto* question = new QLabel("Vai pārbaudījāt iepriekšējo preci ?", this);
    bigBlue(question);
    column->addWidget(question);
    auto* buttons = new QHBoxLayout;
    btOK = new QPushButton("Nepārbaudīju", this);
    btOK->setObjectName("btOK");
    btParbaudiju = new QPushButton("Pārbaudīju", this);
    btParbaudiju->setObjectName("btParbaudiju");
    btParbaudiju->setAutoDefault(false);
    buttons->addWidget(btOK);
    buttons->addWidget(btParbaudiju);
    column->addLayout(buttons);
    connect(btParbaudiju, &QPushButton::clicked, this, &TVaiParbaudijat::btParbaudijuClick);
}

void TVaiParbaudijat::FormActivate() { btOK->setFocus(); }

void TVaiParbaudijat::btParbaudijuClick() { accept(); }

void TVaiParbaudijat::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TVaiParbaudijat::keyPressEvent(QKeyEvent* event) {
    // Escape does not leave this form; Enter presses the focused button ("Nepārbaudīju" at first).
    if (event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

// ---------------------------------------------------------------- TGetKvitsNumurs

TGetKvitsNumurs::TGetKvitsNumurs(QWidget* owner) : QDialog(owner) {
    setObjectName("GetKvitsNumurs");
    setWindowTitle("Kvīts numura ievads");
    auto* column = new QVBoxLayout(this);
    lbInputCaption = new QLabel("Ievadat kvīts numuru :", this);
    lbInputCaption->setObjectName("lbInputCaption");
    lbInputCaption->setAlignment(Qt::AlignCenter);
    lbInputCaption->setMinimumHeight(49);
    column->addWidget(lbInputCaption);
    edKvitsNumurs = new QLineEdit(this);
    edKvitsNumurs->setObjectName("edKvitsNumurs");
    QFont font = edKvitsNumurs->font();
    font.setPixelSize(16);
    edKvitsNumurs->setFont(font);
    column->addWidget(edKvitsNumurs);
    auto* buttons = new QHBoxLayout;
    btOK = new QPushButton("OK", this);
    btOK->setObjectName("btOK");
    btCancel = new QPushButton("Atcelt", this);
    btCancel->setObjectName("btCancel");
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    column->addLayout(buttons);
    tmTimer = new QTimer(this);
    tmTimer->setObjectName("tmTimer");
    tmTimer->setInterval(1000);
    connect(tmTimer, &QTimer::timeout, this, &TGetKvitsNumurs::tmTimerTimer);
    connect(btOK, &QPushButton::clicked, this, &TGetKvitsNumurs::btOKClick);
    connect(btCancel, &QPushButton::clicked, this, &TGetKvitsNumurs::btCancelClick);
    connect(edKvitsNumurs, &QLineEdit::returnPressed, this, &TGetKvitsNumurs::btOKClick);
    tmTimer->start();
}

void TGetKvitsNumurs::FormActivate() {
    Virsraksts = windowTitle();
    if (edKvitsNumurs->isVisible()) {
        edKvitsNumurs->setFocus();
        edKvitsNumurs->selectAll();
    } else {
        btOK->setFocus();
    }
    Rezultats = 2;
    // Each showing counts down its own seconds from now: the full count shows at once and the
    // first tick comes a second later, not whenever the free-running timer was due.
    ShowCountDown();
    tmTimer->start();
}

void TGetKvitsNumurs::ShowCountDown() { setWindowTitle("(" + QString::number(Sekundes) + ") " + Virsraksts); }

void TGetKvitsNumurs::tmTimerTimer() {
    --Sekundes;
    ShowCountDown();
    if (Sekundes < 1 && isVisible()) done(QDialog::Rejected);
}

void TGetKvitsNumurs::btOKClick() {
    Rezultats = 1;
    accept();
}

void TGetKvitsNumurs::btCancelClick() { reject(); }

void TGetKvitsNumurs::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

// ---------------------------------------------------------------- TGetZudezoNumurs

TGetZudezoNumurs::TGetZudezoNumurs(QWidget* owner) : QDialog(owner) {
    setObjectName("GetZudezoNumurs");
    setWindowTitle("ZUDEZO Nr");
    auto* row = new QHBoxLayout(this);
    edNumurs = new QLineEdit(this);
    edNumurs->setObjectName("edNumurs");
    row->addWidget(edNumurs);
    brOK = new QPushButton("OK", this);
    brOK->setObjectName("brOK");
    brOK->setDefault(true);
    row->addWidget(brOK);
    connect(brOK, &QPushButton::clicked, this, &QDialog::accept);
}

void TGetZudezoNumurs::FormActivate() { edNumurs->clear(); }

void TGetZudezoNumurs::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}
