#include "record_texts.h"

#include "regional.h"

#include <cmath>

namespace setuprecords {
namespace {

// The slot's characters [from, from + length) as a whole number; nothing when they are missing or
// not a number (the record is blank-filled, so a free or cut slot reads as nothing).
std::optional<int> numberAt(const QString& record, int from, int length)
{
    return wholeNumber(record.mid(from, length));
}

// Upper case of the letters a to z only, as the currency check compares.
QString asciiUpper(QString text)
{
    for (QChar& c : text)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return text;
}

}  // namespace

std::optional<int> wholeNumber(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<double> decimalNumber(const QString& text)
{
    bool ok = false;
    // QString::toDouble reads "." whatever the locale.
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

double wholeCents(double units) { return std::round(units * 100.0); }

QString generalNumber(double value)
{
    // 15 significant digits hide the binary rest of a product such as 11499 × 0.01.
    return QString::number(value, 'g', 15);
}

QString receiptCounterText(const QString& field)
{
    return QString::number(wholeNumber(field).value_or(1)).rightJustified(kCounterWidth, QLatin1Char('0'));
}

QString xReportText(const QString& field)
{
    return QString::number(wholeNumber(field).value_or(1)) + QString(kCounterWidth, QLatin1Char(' '));
}

QString departmentTable(const QString& oldRecord, const std::function<std::optional<int>(int)>& taxRate)
{
    QString table;
    for (int d = 1; d <= kSavedDepartments; ++d) {
        const int daySum = numberAt(oldRecord, (d - 1) * kDepartmentSlotWidth + 2, 8).value_or(0);
        table += QString::asprintf("%2i%8i", taxRate(d).value_or(0), daySum);
    }
    return table;
}

std::optional<int> departmentWithOversizedRate(const std::function<std::optional<int>(int)>& taxRate)
{
    for (int d = 1; d <= kSavedDepartments; ++d)
        if (!rateFitsSlot(taxRate(d).value_or(0)))
            return d;
    return std::nullopt;
}

QString currencyTable(const QString& oldRecord, const QStringList& codes)
{
    const QString freeSlot = QStringLiteral("   00000000");
    // A record never filled reads as nothing or as the blanks of its creation.
    QString table = oldRecord.trimmed().isEmpty() ? freeSlot.repeated(kCurrencySlots) : oldRecord;
    const auto slotCode = [&table](int s) { return table.mid(s * kCurrencySlotWidth, 3); };
    for (const QString& given : codes) {
        // The slot keeps its width whatever the table holds: a code is cut or blank-filled to
        // three characters, and an empty one takes no slot.
        const QString code = given.leftJustified(3, QLatin1Char(' '), true);
        if (code.trimmed().isEmpty())
            continue;
        bool held = false;
        for (int s = 0; s < kCurrencySlots && !held; ++s)
            held = slotCode(s) == code;
        if (held)
            continue;
        for (int s = 0; s < kCurrencySlots; ++s) {
            if (!slotCode(s).trimmed().isEmpty())
                continue;
            // A short record is blank-filled up to the slot first, as the stored record is.
            if (table.size() < (s + 1) * kCurrencySlotWidth)
                table = table.leftJustified((s + 1) * kCurrencySlotWidth, QLatin1Char(' '));
            table.replace(s * kCurrencySlotWidth, kCurrencySlotWidth, code + QStringLiteral("00000000"));
            break;
        }
    }
    return table;
}

QStringList departmentLines(const QString& record)
{
    QStringList lines;
    for (int d = 1; d <= kDepartmentSlots; ++d) {
        const int slot = (d - 1) * kDepartmentSlotWidth;
        const double sum = numberAt(record, slot + 2, 8).value_or(0) * 0.01;
        const int rate = numberAt(record, slot, 2).value_or(0);
        lines << (rate == -1 ? QString::asprintf("%2d PVN=b/n S=%8.2f", d, sum)
                             : QString::asprintf("%2d PVN=%2d  S=%8.2f", d, rate, sum));
    }
    return lines;
}

QStringList currencyLines(const QString& record)
{
    QStringList lines;
    for (int s = 1; s <= kCurrencySlots; ++s) {
        const int slot = (s - 1) * kCurrencySlotWidth;
        const double sum = numberAt(record, slot + 3, 8).value_or(0) * 0.01;
        const QString code = record.mid(slot, 3).leftJustified(3, QLatin1Char(' '));
        lines << (code == asciiUpper(code) ? QString::asprintf("%2d %3s S=%8.2f", s, code.toUtf8().constData(), sum)
                                           : QString::asprintf("%2d", s));
    }
    return lines;
}

QString counterAmount(const QString& record, int from, int length)
{
    const auto cents = numberAt(record, from, length);
    return cents ? generalNumber(*cents * 0.01) : QString();
}

QStringList dayCloseLines(const DayCloseRecord& r)
{
    const QDate& d = r.date;
    const QString date = QString::fromStdString(platform::shortDateText(d.year(), d.month(), d.day()));
    return {QString::asprintf("Nr=%4i", r.nr - 1) + QString::asprintf(" GT=%10.2f", r.grandTotal * 0.01),
            QString::asprintf(" Grand PVN=%10.2f", r.grandVat * 0.01),
            QStringLiteral(" Dat.=") + date + QLatin1Char(' ') + r.time,
            QString::asprintf("Dienas S=%9.2f", r.daySum * 0.01) + QString::asprintf(" PVN S=%7.2f", r.dayVat * 0.01),
            QStringLiteral("------")};
}

}  // namespace setuprecords
