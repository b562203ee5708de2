#include "voucher_receipt.h"

#include <cmath>

QStringList VoucherTextLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\n' && text[i] != u'\r') continue;
        lines << text.mid(start, i - start);
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines << text.mid(start);
    return lines;
}

namespace {

// The value of an attribute whose "name=" ends at `from`: inside its quotes, else up to a blank,
// ">" or the end.
QString attributeValue(const QString& line, qsizetype from) {
    qsizetype end;
    if (from < line.size() && (line[from] == u'"' || line[from] == u'\'')) {
        const QChar quote = line[from++];
        end = line.indexOf(quote, from);
    } else {
        end = from;
        while (end < line.size() && line[end] != u'>' && line[end] != u' ' && line[end] != u'/') ++end;
    }
    if (end < 0) end = line.indexOf(u'>', from);
    if (end < 0) end = line.size();
    return line.mid(from, end - from);
}

}  // namespace

VoucherPrintItem ReadVoucherReceiptLine(const QString& line) {
    static const QString logoTag = QStringLiteral("img src=");
    static const QString barcodeTag = QStringLiteral("barcode digits=");
    if (const qsizetype at = line.indexOf(logoTag); at >= 0)
        return {VoucherPrintItem::Logo, attributeValue(line, at + logoTag.size())};
    if (const qsizetype at = line.indexOf(barcodeTag); at >= 0)
        return {VoucherPrintItem::Barcode, attributeValue(line, at + barcodeTag.size()).left(13)};
    return {VoucherPrintItem::Text, line};
}

long long VoucherCents(double cena, double atlaideProcenti) {
    return std::llround((1.0 - 0.01 * atlaideProcenti) * cena * 100.0);
}

QString DistributorErrorText(const QString& reply) {
    const qsizetype at = reply.indexOf(QStringLiteral("ER,"));
    return at >= 0 ? reply.mid(at + 3) : reply.mid(2);
}
