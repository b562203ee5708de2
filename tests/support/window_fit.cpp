#include "window_fit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>

#include <algorithm>

namespace testsupport {

namespace {

QString NameOf(const QWidget& widget) {
    QString name = widget.objectName();
    if (name.isEmpty()) name = QString::fromLatin1(widget.metaObject()->className());
    for (const QWidget* parent = widget.parentWidget(); parent && !parent->isWindow(); parent = parent->parentWidget())
        if (!parent->objectName().isEmpty() && !parent->objectName().startsWith(QLatin1String("qt_")))
            return parent->objectName() + u'/' + name;
    return name;
}

QString SizeText(const QSize& size) { return QStringLiteral("%1x%2").arg(size.width()).arg(size.height()); }

// Parts that Qt lays out itself, the insides of a scrolling area and the ones that tell their
// layout they may be cut: none of them is the form's to size.
bool LaidOutElsewhere(const QWidget& widget, const QWidget& window) {
    if (widget.objectName().startsWith(QLatin1String("qt_"))) return true;
    if (qobject_cast<const QScrollBar*>(&widget) || qobject_cast<const QMenuBar*>(&widget) ||
        qobject_cast<const QStatusBar*>(&widget))
        return true;
    for (const QWidget* parent = widget.parentWidget(); parent && parent != &window; parent = parent->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea*>(parent) || qobject_cast<const QComboBox*>(parent)) return true;
        if (qobject_cast<const QTabBar*>(parent)) return true;
    }
    return false;
}

// A push button needs its caption's room and its frame; the style's least button width (80
// pixels) is a look, not a need.
QSize NeedOf(const QWidget& widget) {
    const auto* button = qobject_cast<const QPushButton*>(&widget);
    if (!button || !button->icon().isNull() || button->text().isEmpty()) return widget.minimumSizeHint();
    const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    return {text.width() + 8, text.height() + 4};
}

void CheckSize(const QWidget& widget, QStringList& cut) {
    const QSize need = NeedOf(widget);
    const QSizePolicy policy = widget.sizePolicy();
    const bool narrow = policy.horizontalPolicy() != QSizePolicy::Ignored && widget.width() < need.width();
    const bool low = policy.verticalPolicy() != QSizePolicy::Ignored && widget.height() < need.height();
    if (narrow || low) cut << QStringLiteral("%1 is %2, needs %3").arg(NameOf(widget), SizeText(widget.size()), SizeText(need));
}

void CheckText(const QLineEdit& edit, QStringList& cut) {
    // Blanks a fixed-width record is padded with show nothing.
    QString text = edit.displayText();
    while (text.endsWith(u' ')) text.chop(1);
    if (text.isEmpty()) return;
    // The text's room: the field less its frame and text margins, as QLineEdit draws it.
    const QMargins margins = edit.textMargins();
    const int frame = edit.hasFrame() ? 2 * edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit) : 0;
    const int room = edit.width() - frame - margins.left() - margins.right() - 4;
    // A long value (a path, a name) may scroll in its field; a short one (a number, a date)
    // shows whole.
    constexpr int kShownCharacters = 20;
    const int width = std::min(edit.fontMetrics().horizontalAdvance(text), kShownCharacters * edit.fontMetrics().averageCharWidth());
    if (width > room) cut << QStringLiteral("%1 shows \"%2\" in %3 pixels, needs %4").arg(NameOf(edit), text).arg(room).arg(width);
}

// A list shows its lines whole; a grid may scroll to its columns, but each column shows its
// heading and its values whole.
void CheckList(const QAbstractItemView& list, QStringList& cut) {
    const auto* grid = qobject_cast<const QTableView*>(&list);
    const QHeaderView* header = grid ? grid->horizontalHeader() : nullptr;
    if (!grid || !header->isVisible()) {
        if (list.horizontalScrollBar()->maximum() > 0)
            cut << QStringLiteral("%1 shows its lines %2 pixels too narrow").arg(NameOf(list)).arg(list.horizontalScrollBar()->maximum());
        return;
    }
    for (int column = 0; column < header->count(); ++column) {
        if (header->isSectionHidden(column) || header->sectionSize(column) == 0) continue;
        const int need = std::max(header->sectionSizeHint(column), static_cast<const QAbstractItemView*>(grid)->sizeHintForColumn(column));
        if (header->sectionSize(column) < need)
            cut << QStringLiteral("%1 column \"%2\" is %3 pixels, its heading and values need %4")
                       .arg(NameOf(list), list.model()->headerData(column, Qt::Horizontal).toString())
                       .arg(header->sectionSize(column))
                       .arg(need);
    }
}

}  // namespace

QStringList CutParts(QWidget& window) {
    QApplication::processEvents();
    QStringList cut;
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen->availableGeometry().contains(window.frameGeometry()))
        cut << QStringLiteral("%1 at %2,%3 %4 reaches past the screen %5")
                   .arg(NameOf(window))
                   .arg(window.frameGeometry().x())
                   .arg(window.frameGeometry().y())
                   .arg(SizeText(window.frameGeometry().size()), SizeText(screen->availableGeometry().size()));
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisible() || widget->window() != &window || LaidOutElsewhere(*widget, window)) continue;
        CheckSize(*widget, cut);
        if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) CheckText(*edit, cut);
        if (const auto* list = qobject_cast<const QAbstractItemView*>(widget)) CheckList(*list, cut);
    }
    return cut;
}

}  // namespace testsupport
