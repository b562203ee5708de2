// SutaPrecesDat: PRECES.DAT into the till's items table N_PRECE, updating the codes the till has
// and inserting the others, all in one transaction.
#include "preces_dat.h"

#include "codepage_1257.h"
#include "dbf_table.h"
#include "item_writes.h"
#include "till_sql.h"

#include <QStringList>

#include <fstream>
#include <iterator>

namespace {

// The field from position `from` (0-based) up to the comma at 1-based position `comma`, or to
// the end of the line when that comma is missing (comma 0).
QString fieldUpTo(const QString& line, qsizetype from, int comma) {
    return comma > 0 ? line.mid(from, comma - 1 - from) : line.mid(from);
}

// The file's lines, Windows-1257 bytes decoded; CR LF and LF both end a line. Throws
// std::runtime_error when the file cannot be read.
QStringList readLines(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + file.string());
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw std::runtime_error("cannot read " + file.string());
    QStringList lines = fromCp1257(bytes).split(u'\n');
    // The break after the last line starts no line of its own.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(u'\r')) line.chop(1);
    return lines;
}

}  // namespace

int DalitajaPozicija(QChar delimiter, const QString& text, int n) {
    if (n < 1) return 0;
    qsizetype at = -1;
    for (int found = 0; found < n; ++found) {
        at = text.indexOf(delimiter, at + 1);
        if (at < 0) return 0;
    }
    return int(at + 1);
}

std::optional<PrecesDatLine> ParsePrecesDatLine(const QString& line) {
    if (TrimmedText(line).isEmpty()) return std::nullopt;
    const int p1 = DalitajaPozicija(u',', line, 1), p2 = DalitajaPozicija(u',', line, 2), p3 = DalitajaPozicija(u',', line, 3);
    PrecesDatLine fields;
    fields.artikuls = TrimmedText(line.left(p1 > 0 ? p1 - 1 : 0));
    if (p1 > 0 && p2 > 0) {
        fields.priceText = line.mid(p1, p2 - p1 - 1);
        // Without a fourth field the name runs to the line's end, and only trailing blanks of the
        // line stand between it and its closing quote.
        const QString quoted = p3 > 0 ? fieldUpTo(line, p2, p3) : TrimmedText(fieldUpTo(line, p2, 0));
        fields.name = TrimmedText(quoted.mid(1, quoted.size() - 2));
    }
    return fields;
}

std::optional<double> PrecesDatPrice(const QString& priceText) {
    bool ok = false;
    const double hundredths = priceText.trimmed().toDouble(&ok);  // QString::toDouble is locale-free
    if (!ok) return std::nullopt;
    return hundredths * 0.01;
}

void SutaPrecesDat(const TransferContext& context, const QString& path, const QString& name) {
    context.log.LogProcess("Sūta PRECES.DAT : Sāku procesu " + name);
    QStringList lines;
    try {
        lines = readLines(FindFileAnyCase(context.values.dbfFolder, kPrecesDatFile));
    } catch (const std::exception& e) {
        context.log.LogFailure(kItemsStep + "Nevarēju atvērt PRECES.DAT " + QString::fromStdString(e.what()));
        return;
    }
    context.gauge.start(int(lines.size()));
    WriteItemsToTill(context, path, [&](QSqlDatabase& db) {
        ItemWrites writes(db, {QStringLiteral("GNOS"), QStringLiteral("CENA"), QStringLiteral("NODALA"), QStringLiteral("MERVIENIBA")}, context);
        for (qsizetype number = 0; number < lines.size(); ++number) {
            context.gauge.step();
            const auto fields = ParsePrecesDatLine(lines[number]);
            if (!fields || fields->artikuls.size() > 30) continue;
            const auto cena = PrecesDatPrice(fields->priceText);
            // A price that is not a number is a broken file: nothing of it reaches the till.
            if (!cena)
                throw StepError(QString("PRECES.DAT line %1: the price \"%2\" is not a number").arg(number + 1).arg(fields->priceText).toStdString());
            // The code is looked up as it is stored, trimmed: a code written with a blank around
            // it would otherwise miss its item and add it again on every pass.
            writes.write(fields->artikuls, {fields->name, *cena, 1, QStringLiteral("GAB.")}, [&] { return fields->artikuls; });
        }
    });
}
