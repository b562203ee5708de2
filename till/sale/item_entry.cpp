#include "item_entry.h"

#include <QRegularExpression>

std::optional<double> ParseEntryNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral(R"(^[+-]?(\d+(\.\d*)?|\.\d+)([eE][+-]?\d+)?$)"));
    const QString trimmed = text.trimmed();
    if (!number.match(trimmed).hasMatch()) return std::nullopt;
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok) return std::nullopt;
    return value;
}

QString NumberConversionMessage(const QString& text) {
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

namespace {

bool IsLabel(const QString& text, const WeighedLabelFormat& labels) {
    return !labels.SvaruPrefix.isEmpty() && text.size() == kWeighedLabelLength && text.startsWith(labels.SvaruPrefix);
}

}  // namespace

ItemEntry ParseItemEntry(const QString& text, const WeighedLabelFormat& labels) {
    ItemEntry e;
    e.Teksts = text;
    e.StarMinus = text.contains(QStringLiteral("*-"));
    e.NeedsReturnCheck = text.startsWith(u'-') && text != QStringLiteral("-") && text != QStringLiteral("--");
    e.Semicolon = text.startsWith(u';');

    e.LineText = text;
    if (const qsizetype star = text.indexOf(u'*'); star >= 0) {
        const QString quantity = text.left(star);
        if (const auto value = ParseEntryNumber(quantity)) {
            e.Daudzums = *value;
        } else {
            e.Daudzums = 1.0;
            e.QuantityError = NumberConversionMessage(quantity);
        }
        e.LineText = text.mid(star + 1);
    }
    const QString& line = e.LineText;

    if (line.startsWith(u'/')) {
        e.Kind = EntryKind::Payment;
        return e;
    }
    if (line.startsWith(QStringLiteral("--")) || line.startsWith(QStringLiteral("vv"))) {
        e.Kind = EntryKind::Annul;
        return e;
    }
    if (line.startsWith(u'-')) {
        e.Kind = EntryKind::VoidLast;
        return e;
    }

    QString rest;
    if (IsLabel(line, labels)) {
        e.Label = true;
        e.Artikuls = line.mid(labels.ArtikulaStart - 1, labels.ArtikulaGarums);
        const QString digits = line.mid(labels.SvaraStart - 1, labels.SvaraGarums);
        const auto value = ParseEntryNumber(digits);
        if (!value) {
            e.LabelError = NumberConversionMessage(digits);
        } else if (labels.UzlimeIrSumma) {
            e.LabelSumma = *value * 0.01;
            e.Daudzums = 1.0;
        } else {
            e.Daudzums = *value * 0.001;
        }
        rest = line.mid(labels.ArtikulaStart - 1 + labels.ArtikulaGarums);
    } else {
        const qsizetype equals = line.indexOf(u'=');
        e.Artikuls = equals < 0 ? line : line.left(equals);
        rest = line.mid(e.Artikuls.size());
    }
    if (e.Artikuls.isEmpty()) {
        e.Kind = EntryKind::Nothing;
        return e;
    }
    e.Kind = EntryKind::Item;
    if (const qsizetype equals = rest.indexOf(u'='); equals >= 0) {
        e.TypedPrice = true;
        e.Cena = ParseEntryNumber(rest.mid(equals + 1)).value_or(0.01);
    }
    return e;
}

bool CheckAtgriezDaudzums(const QString& text, std::span<const TCekaRinda> lines) {
    if (!text.startsWith(u'-')) return false;
    const qsizetype star = text.indexOf(u'*');
    const double quantity = star < 0 ? 0.0 : ParseEntryNumber(text.mid(1, star - 1)).value_or(0.0);
    const QString article = text.mid(star + 1);
    if (article.isEmpty()) return false;
    double onReceipt = 0;
    for (const TCekaRinda& line : lines)
        if (line.Artikuls == article) onReceipt += line.Daudzums;
    return quantity <= onReceipt + 1e-9;
}
