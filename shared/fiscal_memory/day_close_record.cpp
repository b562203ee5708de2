#include "day_close_record.h"

#include "codepage_1257.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace {

struct Widths {
    bool marker;
    int nr, grandTotal, amount, check;  // date 10 and time 5 in every layout; check 0: none
};

constexpr int kDateWidth = 10;
constexpr int kTimeWidth = 5;

constexpr Widths widthsOf(DayCloseLayout layout)
{
    switch (layout) {
    case DayCloseLayout::Memorix: return {true, 4, 11, 11, 8};
    case DayCloseLayout::MemorixOld: return {false, 4, 8, 8, 0};
    case DayCloseLayout::Usb: return {false, 4, 12, 12, 12};
    }
    return {};
}

std::string rightAligned(std::string_view value, int width)
{
    std::string text;
    if (int(value.size()) < width)
        text.assign(std::size_t(width) - value.size(), ' ');
    text.append(value);
    return text;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> blankSeparated(std::string_view text)
{
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ')
            ++i;
        if (i > start)
            tokens.push_back(text.substr(start, i - start));
    }
    return tokens;
}

// Right-aligned numbers written side by side: one blank-separated token each when they are
// separated; when two touch (a number as wide as its column or wider), the columns are counted
// from the right and the first number takes whatever is left.
std::vector<std::string_view> splitNumbers(std::string_view text, std::span<const int> widths)
{
    std::vector<std::string_view> tokens = blankSeparated(text);
    if (tokens.size() == widths.size())
        return tokens;
    std::vector<std::string_view> fields(widths.size());
    std::size_t end = text.size();
    for (std::size_t i = widths.size(); i-- > 0;) {
        const std::size_t width = i == 0 ? end : std::min<std::size_t>(std::size_t(widths[i]), end);
        fields[i] = trimmed(text.substr(end - width, width));
        end -= width;
    }
    return fields;
}

bool isTimeAt(std::string_view text, std::size_t i)
{
    auto digit = [&](std::size_t k) { return std::isdigit(static_cast<unsigned char>(text[k])) != 0; };
    return i + kTimeWidth <= text.size() && digit(i) && digit(i + 1) && text[i + 2] == ':' && digit(i + 3) && digit(i + 4);
}

void readInt(std::string_view field, int& out)
{
    field = trimmed(field);
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec == std::errc() && end == field.data() + field.size() && !field.empty()
        && value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max())
        out = int(value);
}

void readAmount(std::string_view field, double& out)
{
    field = trimmed(field);
    double value = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value, std::chars_format::fixed);
    if (ec == std::errc() && end == field.data() + field.size() && !field.empty())
        out = value;
}

}  // namespace

std::string amountText(double cents)
{
    if (cents == 0)
        return "0";
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), cents, std::chars_format::fixed);
    return std::string(buffer.data(), result.ptr);
}

std::string formatDayCloseRecord(DayCloseLayout layout, const DayCloseRecord& record)
{
    const Widths w = widthsOf(layout);
    std::string text = w.marker ? "*" : "";
    text += rightAligned(std::to_string(record.nr), w.nr);
    text += rightAligned(amountText(record.grandTotal), w.grandTotal);
    text += rightAligned(toCp1257(record.date.toString(QStringLiteral("dd.MM.yyyy"))), kDateWidth);
    text += rightAligned(toCp1257(record.time.left(kTimeWidth)), kTimeWidth);
    text += rightAligned(amountText(record.daySum), w.amount);
    text += rightAligned(amountText(record.dayVat), w.amount);
    text += rightAligned(amountText(record.grandVat), w.amount);
    if (w.check > 0)
        text += rightAligned(toCp1257(record.check), w.check);
    return text;
}

DayCloseLayout memorixLayoutOf(std::string_view text)
{
    return !text.empty() && text.front() == '*' ? DayCloseLayout::Memorix : DayCloseLayout::MemorixOld;
}

void parseDayCloseRecord(DayCloseLayout layout, std::string_view text, DayCloseRecord& record)
{
    const Widths w = widthsOf(layout);
    if (w.marker && !text.empty())
        text.remove_prefix(1);

    // The time "hh:mm" with the 10-character date before it splits the record in two; a record
    // without one is read at the layout's fixed positions.
    std::size_t timeAt = std::size_t(w.nr + w.grandTotal + kDateWidth);
    for (std::size_t i = kDateWidth; i < text.size(); ++i) {
        if (isTimeAt(text, i)) {
            timeAt = i;
            break;
        }
    }
    if (timeAt > text.size())
        timeAt = text.size();
    const std::size_t dateAt = timeAt >= kDateWidth ? timeAt - kDateWidth : 0;
    const std::string_view head = text.substr(0, dateAt);
    const std::string_view dateText = text.substr(dateAt, timeAt - dateAt);
    const std::string_view timeText = text.substr(timeAt, kTimeWidth);
    std::string_view tail = text.substr(std::min(text.size(), timeAt + kTimeWidth));

    const std::array<int, 2> headWidths = {w.nr, w.grandTotal};
    const auto headFields = splitNumbers(head, headWidths);
    readInt(headFields[0], record.nr);
    readAmount(headFields[1], record.grandTotal);

    if (const QDate date = QDate::fromString(fromCp1257(dateText), QStringLiteral("dd.MM.yyyy")); date.isValid())
        record.date = date;
    if (timeText.size() == kTimeWidth)
        record.time = fromCp1257(timeText);

    if (w.check > 0) {
        // The check value closes the record in its own column, taken as it stands.
        const std::size_t checkWidth = std::min(tail.size(), std::size_t(w.check));
        if (checkWidth > 0)
            record.check = fromCp1257(tail.substr(tail.size() - checkWidth));
        tail.remove_suffix(checkWidth);
    }
    const std::array<int, 3> tailWidths = {w.amount, w.amount, w.amount};
    const auto tailFields = splitNumbers(tail, tailWidths);
    readAmount(tailFields[0], record.daySum);
    readAmount(tailFields[1], record.dayVat);
    readAmount(tailFields[2], record.grandVat);
}
