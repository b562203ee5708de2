#include "ledvik_switches.h"

#include "regional.h"

namespace {

QDate dateAfter(const QString& commandLine, const QString& key) {
    const QString text = commandLine.mid(commandLine.indexOf(key) + key.size(), 10);
    const auto date = platform::parseShortDate(text.toStdString());
    if (!date) throw SwitchError("'" + text.toStdString() + "' is not a valid date");
    return QDate(date->year, date->month, date->day);
}

}  // namespace

LedvikSwitches ParseLedvikSwitches(const QString& commandLine) {
    const auto has = [&](const char* key) { return commandLine.contains(QLatin1String(key)); };
    LedvikSwitches s;
    s.Preces = has("s1");
    s.Klienti = has("s2");
    s.Valutas = has("s3");
    s.Users = has("s4");
    s.Nodalas = has("s5");
    s.R_ARTIK = has("r1");
    s.R_KONTR = has("r2");
    // "dlidz" is looked for on its own: "dno" is no part of it.
    if (has("dno")) s.DatumsNo = dateAfter(commandLine, QStringLiteral("dno"));
    if (has("dlidz")) s.DatumsLidz = dateAfter(commandLine, QStringLiteral("dlidz"));
    if (has("-z")) {
        const QString rest = commandLine.mid(commandLine.indexOf(QLatin1String("-z")) + 2);
        const qsizetype blank = rest.indexOf(u' ');
        s.Z_Nr = blank < 0 ? rest : rest.left(blank);
    }
    return s;
}
