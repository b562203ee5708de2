#include "command_line.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace command_file {

namespace {

bool isTrimmed(QChar c) { return c.unicode() <= 0x20; }

QString trimControl(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmed(text[begin])) ++begin;
    while (end > begin && isTrimmed(text[end - 1])) --end;
    return text.sliced(begin, end - begin).toString();
}

// Numbers are plain ASCII; a single '+' may lead (the number must follow it directly).
std::optional<std::string> numberText(const QString& text) {
    std::string out;
    out.reserve(std::size_t(text.size()));
    for (QChar c : text) {
        if (c.unicode() > 0x7e || c.unicode() < 0x20) return std::nullopt;
        out.push_back(char(c.unicode()));
    }
    if (!out.empty() && out.front() == '+') {
        out.erase(0, 1);
        if (out.empty() || !(std::isdigit(static_cast<unsigned char>(out.front())) || out.front() == '.')) return std::nullopt;
    }
    if (out.empty()) return std::nullopt;
    return out;
}

}  // namespace

CommandLine SplitCommandLine(const QString& line) {
    const qsizetype colon = line.indexOf(u':');
    if (colon < 0) return {QString(), line};
    return {line.left(colon), line.mid(colon + 1)};
}

QStringList SplitFileLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            i += (c == u'\r' && i + 1 < size && text[i + 1] == u'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < size) lines.append(text.mid(start));
    return lines;
}

std::optional<QString> KeyValue(const QString& arguments, QStringView key) {
    const QString pattern = key.toString() + u'=';
    const qsizetype at = arguments.indexOf(pattern);
    if (at < 0) return std::nullopt;
    const qsizetype valueStart = at + pattern.size();
    const qsizetype end = arguments.indexOf(u';', valueStart);
    if (end < 0) return QString();
    return trimControl(QStringView(arguments).sliced(valueStart, end - valueStart));
}

std::optional<double> ParseDecimal(const QString& text) {
    const auto digits = numberText(text);
    if (!digits) return std::nullopt;
    const char* const last = digits->data() + digits->size();
    double value = 0;
    const auto [end, ec] = std::from_chars(digits->data(), last, value);
    if (ec != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<std::int64_t> ParseInteger64(const QString& text) {
    const auto digits = numberText(text);
    if (!digits) return std::nullopt;
    const char* const last = digits->data() + digits->size();
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(digits->data(), last, value);
    if (ec != std::errc() || end != last) return std::nullopt;
    return value;
}

std::optional<int> ParseInteger(const QString& text) {
    const auto value = ParseInteger64(text);
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max()) return std::nullopt;
    return int(*value);
}

QString FormatGeneral(double value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    if (ec != std::errc()) return QString();
    return QString::fromLatin1(buffer, end - buffer);
}

QString FormatCents(std::int64_t cents) {
    const std::uint64_t magnitude = cents < 0 ? 0 - std::uint64_t(cents) : std::uint64_t(cents);
    QString text = QString::number(magnitude / 100) + u'.' + QStringLiteral("%1").arg(magnitude % 100, 2, 10, QChar(u'0'));
    return cents < 0 ? u'-' + text : text;
}

QString FormatCentsWidth(std::int64_t cents, int width) { return FormatCents(cents).rightJustified(width, u' '); }

}  // namespace command_file
