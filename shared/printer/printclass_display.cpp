// TPrintClass: the customer pole display (two lines of 20 characters), its advertising rows and
// the letters downloaded into it.
#include "printclass.h"

#include "print_charset.h"

#include <algorithm>

namespace {

constexpr int kDisplayWidth = 20;
constexpr int kAdvertWidth = 40;
constexpr int kDisplayWaitMs = 300;

// An advertising row: the text, then " " and the text again while 40 / its length allows, cut or
// filled to 40 (a row of 13 stays 41 long: three copies).
QString advertRowText(const QString& row) {
    QString text = row.left(kAdvertWidth);
    for (int i = 1; i < kAdvertWidth / row.size(); ++i) text += u' ' + row;
    return text.leftJustified(kAdvertWidth, u' ');
}

}  // namespace

std::string TPrintClass::KonvertetDisplejam(const QString& text) const { return print::displayBytes(display(), text); }

int TPrintClass::sendDisplayStep(const print::DisplayStep& step) {
    return step.bytes.empty() ? 0 : send(hDisplejs, step.bytes, step.logLabel);
}

int TPrintClass::sendDisplayLine(const QString& text, std::string_view logLabel) {
    std::string bytes = KonvertetDisplejam(text.left(kDisplayWidth));
    bytes.insert(0, std::size_t(kDisplayWidth) - std::min<std::size_t>(bytes.size(), kDisplayWidth), ' ');
    return send(hDisplejs, bytes, logLabel);
}

int TPrintClass::PrintUzDispleja(const QString& line1, const QString& line2) {
    const auto& d = display();
    int result = sendDisplayStep(d.select);
    if (DisplejsJaatjauno) {
        DisplejsJaatjauno = false;
        send(hDisplejs, d.normalMode, {});
    }
    for (const auto& step : d.beforeLine1) result = firstFailure(result, sendDisplayStep(step));
    result = firstFailure(result, sendDisplayLine(line1, "PrintUzDispleja 7"));
    for (const auto& step : d.beforeLine2) result = firstFailure(result, sendDisplayStep(step));
    return firstFailure(result, sendDisplayLine(line2, "PrintUzDispleja 10"));
}

int TPrintClass::ClearDispleju() {
    PrintUzDispleja(QString(), QString());
    return 1;
}

void TPrintClass::sendAdvertRow(const QString& row) {
    if (row.isEmpty()) return;
    QString text = advertRowText(row);
    if (display().advertTrimmed) text = text.trimmed();
    send(hDisplejs, KonvertetDisplejam(text), {});
}

void TPrintClass::PrintDemoUzDispleja(const QString& row1, const QString& row2) {
    // The display's set-up and advertising commands are not checked: a failure shows on the display.
    const auto& d = display();
    send(hDisplejs, d.advertLine1Setup, {});
    sendAdvertRow(row1);
    if (!d.advertAsMacro) {
        send(hDisplejs, d.advertLine1Start, {});
        Gaidit(kDisplayWaitMs);
        send(hDisplejs, d.advertLine2Setup, {});
    }
    sendAdvertRow(row2);
    send(hDisplejs, d.advertLine2Start, {});
    Gaidit(kDisplayWaitMs);
    send(hDisplejs, d.advertRun, {});
    DisplejsJaatjauno = true;
}

void TPrintClass::PrintDemoUzDispleja() {
    const auto rows = DemoRindas ? DemoRindas() : std::pair<QString, QString>{};
    PrintDemoUzDispleja(rows.first, rows.second);
}

void TPrintClass::IeladetDisplejaBurtus() {
    const auto& d = display();
    if (d.glyphs.empty()) return;
    std::string bytes(d.glyphDownloadStart);
    for (const auto& glyph : d.glyphs) {
        bytes.append(d.glyphHeader).append(2, char(glyph.code));
        if (d.glyphWidthByte) bytes += char(glyph.columns.size());
        bytes.append(glyph.columns.begin(), glyph.columns.end());
    }
    bytes.append(d.glyphDownloadEnd);
    send(hDisplejs, bytes, {});
}
