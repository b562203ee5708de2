// The sale window's touch keys: the keypad panel pnlPogas, the text buttons that type through
// the on-screen keyboard, and the quick-item keys. They only type into a field and press Enter;
// what the text does is the item field's business.
#include "posmain.h"

#include "keypad.h"
#include "klaviatura.h"

#include <QApplication>
#include <QGridLayout>

#include <cstring>

namespace {

// A key of the panel: where it sits and which handler it has (null: the common KeypadClick).
struct KeypadKey {
    const char* name;
    const char* caption;
    int row, column, rowSpan, columnSpan;
    void (TPOSMain::*handler)();
};

// Pixels a key needs beside its caption's width: its frame and a little air.
constexpr int kKeyMargin = 12;

const KeypadKey kKeypadKeys[] = {
    {"bt7", "7", 0, 0, 1, 1, nullptr},
    {"bt8", "8", 0, 1, 1, 1, nullptr},
    {"bt9", "9", 0, 2, 1, 1, nullptr},
    {"btClear", "C", 0, 3, 1, 1, nullptr},
    {"bt4", "4", 1, 0, 1, 1, nullptr},
    {"bt5", "5", 1, 1, 1, 1, nullptr},
    {"bt6", "6", 1, 2, 1, 1, nullptr},
    {"btBack", "<-", 1, 3, 1, 1, nullptr},
    {"bt1", "1", 2, 0, 1, 1, nullptr},
    {"bt2", "2", 2, 1, 1, 1, nullptr},
    {"bt3", "3", 2, 2, 1, 1, nullptr},
    {"btDaudzums", "Daudzums *", 2, 3, 1, 1, nullptr},
    {"bt0", "0", 3, 0, 1, 1, nullptr},
    {"bt00", "00", 3, 1, 1, 1, nullptr},
    {"btPunkts", ".", 3, 2, 1, 1, nullptr},
    {"btBrivaCena", "Cena =", 3, 3, 1, 1, nullptr},
    {"btEnter", "Enter", 0, 4, 2, 1, nullptr},
    {"btMaksa", "Maksa", 2, 4, 1, 1, &TPOSMain::btMaksaClick},
    {"btSkNauda", "Sk.Nauda", 3, 4, 1, 1, &TPOSMain::btSkNaudaClick},
    {"btAnuletRindinu", "Anul.pēd.rindu", 4, 0, 1, 2, &TPOSMain::btAnuletRindinuClick},
    {"btAnuletCeku", "Anul.čeku", 4, 2, 1, 2, &TPOSMain::btAnuletCekuClick},
    {"btF5_Key", "F5", 4, 4, 1, 1, &TPOSMain::btF5_KeyClick},
    {"btF4_Key", "F4", 5, 4, 1, 1, &TPOSMain::btF4_KeyClick},
};

}  // namespace

void TPOSMain::BuildKeypad() {
    auto* grid = new QGridLayout(pnlPogas);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    QFont keyFont = font();
    keyFont.setPixelSize(18);
    for (const KeypadKey& k : kKeypadKeys) {
        auto* key = new QPushButton(QString::fromUtf8(k.caption), pnlPogas);
        key->setObjectName(k.name);
        // The keypad never takes the focus from the field it serves.
        key->setFocusPolicy(Qt::NoFocus);
        // Digits and signs large; the words in the window's font, so that the keypad fits beside
        // the quick-item keys on a 1024-pixel screen.
        if (std::strlen(k.caption) <= 2) key->setFont(keyFont);
        // As wide as the caption needs, not the style's wider least button.
        key->setMinimumSize(key->fontMetrics().horizontalAdvance(key->text()) + kKeyMargin, 40);
        key->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
        grid->addWidget(key, k.row, k.column, k.rowSpan, k.columnSpan);
        if (k.handler) connect(key, &QPushButton::clicked, this, k.handler);
        else connect(key, &QPushButton::clicked, this, [this, key] { KeypadClick(key->text()); });
    }
    grid->addWidget(btSvert, 5, 0, 1, 2);
    grid->addWidget(Panel3, 5, 2, 1, 2);
    btF5_Key = pnlPogas->findChild<QPushButton*>("btF5_Key");
    btF4_Key = pnlPogas->findChild<QPushButton*>("btF4_Key");
    // The keypad serves the field that had the focus last of the item field, the discount and the
    // return number.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        for (QLineEdit* field : {edArtikuls, edAtlaide, shAtgrnr})
            if (now == field) AktivaisEdit = field;
    });
}

void TPOSMain::KeypadClick(const QString& caption) {
    QLineEdit* field = AktivaisEdit ? AktivaisEdit : edArtikuls;
    if (const std::optional<QString> text = KeypadText(field->text(), caption)) return field->setText(*text);
    if (field == shAtgrnr) ReturnReceipt();
    else edArtikulsKeyPress(13);
}

void TPOSMain::btAnuletCekuClick() {
    edArtikuls->setText(QStringLiteral("--"));
    edArtikulsKeyPress(13);
}

void TPOSMain::btAnuletRindinuClick() {
    edArtikuls->setText(QStringLiteral("-"));
    edArtikulsKeyPress(13);
}

void TPOSMain::btSkNaudaClick() {
    edArtikuls->setText(QStringLiteral("/0=") + QString::number(CekaSumma, 'f', 2));
    edArtikulsKeyPress(13);
}

void TPOSMain::btMaksaClick() {
    // As the "/" key: a "/" the payment does not take is typed into the field.
    if (edArtikulsKeyPressed('/') == '/') edArtikuls->insert(QStringLiteral("/"));
}

void TPOSMain::TypeOnKeyboard(QLineEdit* target) {
    if (!Klaviatura) Klaviatura = new TKlaviatura(this);
    Klaviatura->shRinda->clear();
    Klaviatura->exec();
    target->setText(Klaviatura->shRinda->text());
}

void TPOSMain::btF5_KeyClick() {
    TypeOnKeyboard(shKlKods);
    // The code is looked up when the field is left: a touch on another field after this leaves it.
    shKlKods->setFocus(Qt::OtherFocusReason);
}
void TPOSMain::btMaksatajsClick() { TypeOnKeyboard(shKlientaNosaukums); }
void TPOSMain::btRegNrClick() { TypeOnKeyboard(shRegNr); }
void TPOSMain::btAdreseClick() { TypeOnKeyboard(shAdrese); }
void TPOSMain::btF4_KeyClick() { TypeOnKeyboard(edArtikuls); }

void TPOSMain::QuickKeyClick(int index) {
    // A price typed first ("=2.50") follows the code; a quantity ("3*") goes before it.
    const QString& code = QuickArtikuli[std::size_t(index)];
    const QString typed = edArtikuls->text();
    edArtikuls->setText(typed.contains(u'=') ? code + typed : typed + code);
    edArtikulsKeyPress(13);
}
