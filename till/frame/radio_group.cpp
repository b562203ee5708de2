#include "radio_group.h"

TRadioGroup::TRadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(title, parent), buttons_(this) {
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        buttons_.addButton(button, i);
        grid->addWidget(button, i / columns, i % columns);
    }
    connect(&buttons_, &QButtonGroup::idClicked, this, [this] { emit Clicked(); });
}

void TRadioGroup::SetItemIndex(int index) {
    if (index < 0 || !buttons_.button(index)) {
        buttons_.setExclusive(false);
        for (auto* b : buttons_.buttons()) b->setChecked(false);
        buttons_.setExclusive(true);
        return;
    }
    buttons_.button(index)->setChecked(true);
}

QRadioButton* TRadioGroup::Item(int index) const { return qobject_cast<QRadioButton*>(buttons_.button(index)); }
