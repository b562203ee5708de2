#include "frame_rules.h"

#include "ui_services.h"

void ShowPazinojums(const QString& text, bool force, bool fiskPrinteris, QStringList* retPosList) {
    if (retPosList) retPosList->append(text);
    if (!fiskPrinteris || force) platform::ui::showMessage(text);
}

bool WeighingTick(WeighingState& state) {
    if (state.SversanaNotiek) {
        ++state.SversanaTaimeris;
        if (state.SversanaTaimeris > 5) state.SversanaNotiek = false;
        return true;
    }
    state.SversanaTaimeris = 0;
    return false;
}

int WheelSelection(int currentIndex, int wheelDistance) {
    if (wheelDistance > 0) return currentIndex - 1;
    if (wheelDistance < 0) return currentIndex + 1;
    return currentIndex;
}

QString KlaviaturaKey(const QString& line, const QString& caption) {
    QString key = caption;
    if (key.startsWith('&')) key.remove(0, 1);
    if (key.startsWith("<-")) return line.isEmpty() ? line : line.left(line.size() - 1);
    if (key == "SPACE") return line + ' ';
    return line + key;
}
