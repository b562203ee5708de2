#include "klaviatura.h"

#include "frame_rules.h"
#include "settings_store.h"

#include <QGridLayout>
#include <QMessageLogger>

QPointer<TKlaviatura> Klaviatura;

namespace {

struct KeyPlace {
    const char* caption;
    int row, column, rowSpan, columnSpan;
};

// Letter block in columns 0..9, numeric pad in columns 11..13, "+" and "Enter" in column 14.
constexpr KeyPlace kKeys[] = {
    {"=", 0, 8, 1, 1}, {"<-", 0, 9, 1, 1}, {"/", 0, 11, 1, 1}, {"*", 0, 12, 1, 1}, {"-", 0, 13, 1, 1}, {"+", 0, 14, 2, 1},
    {"Q", 1, 0, 1, 1}, {"W", 1, 1, 1, 1}, {"E", 1, 2, 1, 1}, {"R", 1, 3, 1, 1}, {"T", 1, 4, 1, 1},
    {"Y", 1, 5, 1, 1}, {"U", 1, 6, 1, 1}, {"I", 1, 7, 1, 1}, {"O", 1, 8, 1, 1}, {"P", 1, 9, 1, 1},
    {"7", 1, 11, 1, 1}, {"8", 1, 12, 1, 1}, {"9", 1, 13, 1, 1},
    {"A", 2, 0, 1, 1}, {"S", 2, 1, 1, 1}, {"D", 2, 2, 1, 1}, {"F", 2, 3, 1, 1}, {"G", 2, 4, 1, 1},
    {"H", 2, 5, 1, 1}, {"J", 2, 6, 1, 1}, {"K", 2, 7, 1, 1}, {"L", 2, 8, 1, 1}, {";", 2, 9, 1, 1},
    {"4", 2, 11, 1, 1}, {"5", 2, 12, 1, 1}, {"6", 2, 13, 1, 1},
    {"Z", 3, 0, 1, 1}, {"X", 3, 1, 1, 1}, {"C", 3, 2, 1, 1}, {"V", 3, 3, 1, 1}, {"B", 3, 4, 1, 1},
    {"N", 3, 5, 1, 1}, {"M", 3, 6, 1, 1}, {"<", 3, 7, 1, 1}, {">", 3, 8, 1, 1},
    {"1", 3, 11, 1, 1}, {"2", 3, 12, 1, 1}, {"3", 3, 13, 1, 1},
    {"SPACE", 4, 0, 1, 9}, {"0", 4, 11, 1, 2}, {".", 4, 13, 1, 1},
};

}  // namespace

TKlaviatura::TKlaviatura(QWidget* owner) : QDialog(owner) {
    setObjectName("Klaviatura");
    setWindowTitle("Klaviatūra");
    setFixedSize(786, 292);
    auto* grid = new QGridLayout(this);
    shRinda = new QLineEdit(this);
    shRinda->setObjectName("shRinda");
    QFont big = shRinda->font();
    big.setPixelSize(16);
    shRinda->setFont(big);
    grid->addWidget(shRinda, 0, 0, 1, 8);
    for (const auto& key : kKeys) {
        auto* button = new QPushButton(key.caption, this);
        button->setAutoDefault(false);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        grid->addWidget(button, key.row + 1, key.column, key.rowSpan, key.columnSpan);
        connect(button, &QPushButton::clicked, this, [this, button] { Button11Click(button); });
    }
    btClose = new QPushButton("Enter", this);
    btClose->setObjectName("btClose");
    btClose->setAutoDefault(false);
    btClose->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    grid->addWidget(btClose, 3, 14, 3, 1);
    connect(btClose, &QPushButton::clicked, this, &TKlaviatura::btCloseClick);
}

TKlaviatura::~TKlaviatura() {
    if (!activated_) return;
    // The place is a convenience: a store that cannot be written is logged, never let out of here.
    try {
        auto& store = platform::SettingsStore::current();
        store.writeInteger(kKlaviaturaKey, "Top", y());
        store.writeInteger(kKlaviaturaKey, "Left", x());
    } catch (const std::exception& error) {
        qWarning("The keyboard's place was not kept: %s", error.what());
    }
}

void TKlaviatura::Button11Click(QPushButton* button) { KeyClick(button); }

void TKlaviatura::KeyClick(QPushButton* button) { shRinda->setText(KlaviaturaKey(shRinda->text(), button->text())); }

void TKlaviatura::btCloseClick() { accept(); }

void TKlaviatura::FormActivate() {
    if (activated_) return;
    activated_ = true;
    const auto& store = platform::SettingsStore::current();
    const auto top = store.readInteger(kKlaviaturaKey, "Top");
    const auto left = store.readInteger(kKlaviaturaKey, "Left");
    // Both are always written together; with one missing the form stays where it opened.
    if (top && left) move(*left, *top);
}

void TKlaviatura::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}
