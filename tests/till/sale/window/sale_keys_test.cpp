// Keys pressed at the real sale window, offscreen and active as on the till's screen: a return
// line typed key by key into the empty item field, and the menu's shortcuts from every field.
#include "posmain.h"

#include "till_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

class SaleKeysTest : public testsupport::TillWindowTest {
protected:
    SaleKeysTest() : TillWindowTest({.display = false}) {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TillWindowTest::SetUp());
        ASSERT_TRUE(startTill());
        w().show();
        w().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w(), 5000));
    }

    // Every field of the window the cashier can put the keyboard into.
    std::vector<QWidget*> fields() {
        std::vector<QWidget*> out;
        for (QWidget* widget : w().findChildren<QWidget*>()) {
            const bool field = qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) ||
                               qobject_cast<QListWidget*>(widget) || qobject_cast<QAbstractButton*>(widget);
            if (field && widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)) out.push_back(widget);
        }
        return out;
    }
};

// The window opens with the keyboard in the item field, and a touch key (which takes no focus)
// leaves it there: the cashier types on into the item field.
TEST_F(SaleKeysTest, TheKeyboardIsInTheItemFieldFromTheStart) {
    ASSERT_EQ(QApplication::focusWidget(), w().edArtikuls);
    QTest::keyClicks(QApplication::focusWidget(), "4750001000017");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    w().findChild<QAbstractButton*>("bt7")->click();
    QTest::keyClicks(QApplication::focusWidget(), "*4750001000017");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(w().RinduSkaits, 2);
    EXPECT_DOUBLE_EQ(w().CekaRindas[1].Daudzums, 7);
}

TEST_F(SaleKeysTest, AReturnLineTypedKeyByKeyIntoTheEmptyItemField) {
    // The minus of the main keyboard and of the numeric keypad.
    const struct {
        const char* what;
        Qt::KeyboardModifiers modifiers;
    } minuses[] = {{"main keyboard", Qt::NoModifier}, {"keypad", Qt::KeypadModifier}};
    enter("2*4750001000017");
    ASSERT_EQ(w().RinduSkaits, 1);
    for (const auto& minus : minuses) {
        w().edArtikuls->setFocus();
        ASSERT_EQ(w().edArtikuls->text(), "");
        QTest::keyClick(w().edArtikuls, Qt::Key_Minus, minus.modifiers);
        QTest::keyClicks(w().edArtikuls, "1*4750001000017");
        EXPECT_EQ(w().edArtikuls->text(), "-1*4750001000017") << minus.what;
        QTest::keyClick(w().edArtikuls, Qt::Key_Return);
        EXPECT_EQ(w().edArtikuls->text(), "") << minus.what;
    }
    ASSERT_EQ(w().RinduSkaits, 3);
    EXPECT_DOUBLE_EQ(w().CekaRindas[1].Daudzums, -1);
    EXPECT_DOUBLE_EQ(w().CekaRindas[2].Daudzums, -1);
    EXPECT_EQ(w().shCekaSumma->text(), "   0.00");
}

TEST_F(SaleKeysTest, EveryMenuShortcutWorksFromEveryField) {
    // Each item's own handler has its tests; here the key must reach the item, from any field.
    std::vector<QAction*> items;
    for (QAction* item : w().menuBar()->findChildren<QAction*>())
        if (!item->shortcut().isEmpty() && item->isEnabled() && item->isVisible()) {
            item->disconnect(&w());
            items.push_back(item);
        }
    ASSERT_GE(items.size(), 22u);
    ASSERT_NE(std::find(items.begin(), items.end(), w().MenuItem17), items.end()) << "Z atskaite, Ctrl+Z";
    const std::vector<QWidget*> all = fields();
    ASSERT_NE(std::find(all.begin(), all.end(), w().edArtikuls), all.end());
    ASSERT_NE(std::find(all.begin(), all.end(), w().edAtlaide), all.end());
    ASSERT_NE(std::find(all.begin(), all.end(), w().shKlKods), all.end());

    // Text the item field could undo, cut or delete: the keys must not do that instead.
    w().edArtikuls->setText("12");
    w().edArtikuls->insert("3");
    for (QWidget* field : all) {
        for (QAction* item : items) {
            field->setFocus();
            ASSERT_EQ(QApplication::focusWidget(), field) << field->objectName().toStdString();
            QSignalSpy triggered(item, &QAction::triggered);
            const QKeyCombination key = item->shortcut()[0];
            QTest::keyClick(field, key.key(), key.keyboardModifiers());
            EXPECT_EQ(triggered.count(), 1) << item->text().toStdString() << " (" << item->shortcut().toString().toStdString()
                                            << ") from " << field->metaObject()->className() << " "
                                            << field->objectName().toStdString();
        }
    }
    EXPECT_EQ(w().edArtikuls->text(), "123");

    // A key no menu item has stays the field's own.
    w().edArtikuls->setText("4750001000017");
    w().edArtikuls->setFocus();
    QTest::keyClick(w().edArtikuls, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w().edArtikuls->selectedText(), "4750001000017");
}

}  // namespace
