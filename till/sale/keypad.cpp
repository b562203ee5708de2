#include "keypad.h"

std::optional<QString> KeypadText(const QString& text, const QString& pressed) {
    const QString caption = pressed.startsWith(u'&') ? pressed.mid(1) : pressed;
    if (caption.startsWith(u'C') && !caption.contains(u'=')) return QString();
    if (caption.left(2) == QStringLiteral("<-")) return text.chopped(text.isEmpty() ? 0 : 1);
    if (caption == QStringLiteral("Daudzums *")) return text + u'*';
    if (caption == QStringLiteral("Cena =")) return text + u'=';
    if (caption == QStringLiteral("Enter")) return std::nullopt;
    return text + caption;
}
