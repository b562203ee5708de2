// The shortcuts of a window's menus before the editing keys of its fields.
#pragma once

#include <QObject>

class QMainWindow;

// A field with the keyboard claims the keys it edits with (a line edit's Ctrl+Z undo, Ctrl+X
// cut, Ctrl+K...) before any shortcut sees them. Made for a window, this lets every enabled,
// visible item of the window's menus have its key from whichever field of the window holds the
// keyboard; a key no menu item has stays the field's.
class MenuShortcutsFirst : public QObject {
public:
    explicit MenuShortcutsFirst(QMainWindow& window);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMainWindow& window_;
};
