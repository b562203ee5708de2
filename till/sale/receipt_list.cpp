#include "receipt_list.h"

#include "text_format.h"

#include <algorithm>
#include <vector>

QString RindasAtslega(int index) { return QString(100, u' ') + u'|' + QString::number(index) + u'|'; }

int RindasIndekss(const QString& row) {
    // The key is the row's end: a name holding "|" must not name another line.
    if (!row.endsWith(u'|')) return -1;
    const qsizetype second = row.size() - 1;
    const qsizetype first = row.lastIndexOf(u'|', second - 1);
    if (first < 0) return -1;
    bool ok = false;
    const int index = row.mid(first + 1, second - first - 1).toInt(&ok);
    return ok && index >= 0 ? index : -1;
}

QString RindasTeksts(const QString& row) {
    const int index = RindasIndekss(row);
    return index < 0 ? row : row.left(row.size() - RindasAtslega(index).size());
}

bool DzestRindu(TCekasStavoklis& receipt, int index) {
    if (index < 0 || index >= receipt.RinduSkaits) return false;
    // Whole lines move, notice and voucher texts with them.
    std::move(receipt.CekaRindas.begin() + index + 1, receipt.CekaRindas.begin() + receipt.RinduSkaits,
              receipt.CekaRindas.begin() + index);
    --receipt.RinduSkaits;
    receipt.CekaRindas[std::size_t(receipt.RinduSkaits)] = TCekaRinda{};
    return true;
}

namespace {

// The rows' layouts: one row a line, or the code and name over the unit and numbers.
const QString kVienaRinda = QStringLiteral("%5s %13s %30s %7.3f %8.4f %7.2f");
const QString kPirmaRinda = QStringLiteral("%13s %30s");
const QString kOtraRinda = QStringLiteral("%5s               %7.3f %8.4f %7.2f");

// Where each field of a row's layout ends, in characters, for values no wider than their fields.
std::vector<qsizetype> FieldEnds(const QString& format) {
    std::vector<qsizetype> ends;
    qsizetype at = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != u'%') {
            ++at;
            continue;
        }
        int width = 0;
        while (++i < format.size() && format[i].isDigit()) width = width * 10 + format[i].digitValue();
        while (i < format.size() && !format[i].isLetter()) ++i;  // the precision
        at += width;
        ends.push_back(at);
    }
    return ends;
}

QString HeadingOverFields(const QString& caption, const QString& format) {
    // The caption's words over the fields, one a field. The fields are right-aligned, so a word
    // ends where its field ends, or a blank before the next word where a wide word needs the room;
    // the first word starts the line and pushes the next one right when it is wider than its field.
    const QStringList words = caption.split(u' ', Qt::SkipEmptyParts);
    const std::vector<qsizetype> fields = FieldEnds(format);
    std::vector<qsizetype> ends(std::size_t(words.size()));
    for (qsizetype i = words.size() - 1; i >= 0; --i) {
        const auto n = std::size_t(i);
        ends[n] = n < fields.size() ? fields[n] : 0;  // a word beyond the fields follows the one before
        if (n + 1 < ends.size()) ends[n] = std::min(ends[n], ends[n + 1] - words[i + 1].size() - 1);
    }
    QString heading;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const qsizetype start = i == 0 ? 0 : std::max(ends[std::size_t(i)] - words[i].size(), heading.size() + 1);
        heading += QString(start - heading.size(), u' ') + words[i];
    }
    return heading;
}

}  // namespace

TPirkumuSaraksts VeidotPirkumuSarakstu(std::span<const TCekaRinda> lines, bool twoRows) {
    TPirkumuSaraksts list;
    list.RaditVirsrakstu2 = twoRows;
    list.Virsraksts1 = twoRows ? HeadingOverFields(kVirsraksts1DivasRindas, kPirmaRinda)
                               : HeadingOverFields(kVirsraksts1Rinda, kVienaRinda);
    list.Virsraksts2 = HeadingOverFields(kVirsraksts2DivasRindas, kOtraRinda);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TCekaRinda& line = lines[i];
        const QString key = RindasAtslega(int(i));
        const double q = line.Daudzums * line.Iepakojums;
        const double p = (1 - 0.01 * line.Atlaide) * line.Cena;
        const double a = RindasSumma(line);
        list.CekaSumma += a;
        if (twoRows) {
            list.Rindas << FormatC(kPirmaRinda, {line.Artikuls, line.Nosaukums.left(30)}) + key;
            list.Rindas << FormatC(kOtraRinda, {line.Mervieniba, q, p, a}) + key;
        } else {
            list.Rindas << FormatC(kVienaRinda, {line.Mervieniba.left(5), line.Artikuls.left(13), line.Nosaukums.left(30), q, p, a}) +
                               key;
        }
        if (line.Atlaide != 0) list.Rindas << FormatC(QStringLiteral("     Atlaide : %5.0f"), {line.Atlaide}) + key;
        if (twoRows) list.Rindas << QString(44, u'-') + key;
        list.EkranaRindas << FormatC(QStringLiteral("%5s %47s %7.3f %9.4f  %5.2f %7.2f"),
                                     {line.Mervieniba.left(5), line.Nosaukums.left(47), q, p, line.Atlaide, a});
    }
    list.Rindas << QString();
    return list;
}

int RindasPlatums(bool twoRows) {
    const TCekaRinda line{};
    qsizetype widest = 0;
    for (const QString& row : VeidotPirkumuSarakstu({&line, 1}, twoRows).Rindas) widest = std::max(widest, RindasTeksts(row).size());
    return int(widest);
}
