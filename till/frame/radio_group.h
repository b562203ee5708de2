// A titled group of radio buttons with an item index, as the till's forms use for their choices.
#pragma once

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent);

    int ItemIndex() const { return buttons_.checkedId(); }
    // Chooses an item without running the click handler (-1 chooses none).
    void SetItemIndex(int index);
    QRadioButton* Item(int index) const;

signals:
    // The user chose an item (also when it was chosen already).
    void Clicked();

private:
    QButtonGroup buttons_;
};
