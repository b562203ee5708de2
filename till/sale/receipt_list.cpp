#include "receipt_list.h"

#include "text_format.h"

#include <algorithm>

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

TPirkumuSaraksts VeidotPirkumuSarakstu(std::span<const TCekaRinda> lines, bool twoRows) {
    TPirkumuSaraksts list;
    list.RaditVirsrakstu2 = twoRows;
    list.Virsraksts1 = twoRows ? kVirsraksts1DivasRindas : kVirsraksts1Rinda;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TCekaRinda& line = lines[i];
        const QString key = RindasAtslega(int(i));
        const double q = line.Daudzums * line.Iepakojums;
        const double p = (1 - 0.01 * line.Atlaide) * line.Cena;
        const double a = RindasSumma(line);
        list.CekaSumma += a;
        if (twoRows) {
            list.Rindas << FormatC(QStringLiteral("%13s %30s"), {line.Artikuls, line.Nosaukums.left(30)}) + key;
            list.Rindas << FormatC(QStringLiteral("%5s               %7.3f %8.4f %7.2f"), {line.Mervieniba, q, p, a}) + key;
        } else {
            list.Rindas << FormatC(QStringLiteral("%5s %13s %30s %7.3f %8.4f %7.2f"),
                                   {line.Mervieniba.left(5), line.Artikuls.left(13), line.Nosaukums.left(30), q, p, a}) +
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
