#include "menu_shortcuts.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>

MenuShortcutsFirst::MenuShortcutsFirst(QMainWindow& window) : QObject(&window), window_(window) {
    // The field's claim (a shortcut override) goes to the field and then to each of its parents;
    // watching the application sees it for fields made after this, too.
    qApp->installEventFilter(this);
}

bool MenuShortcutsFirst::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != &window_)
        return false;
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QAction* item : window_.menuBar()->findChildren<QAction*>())
        // Kept from the field and left unclaimed: the key goes to the menu item's shortcut.
        if (item->isEnabled() && item->isVisible() && item->shortcuts().contains(pressed)) return true;
    return false;
}
