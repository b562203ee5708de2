#include "receipt_summary.h"

#include "regional.h"
#include "report_forms.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

using platform::report::Band;
using platform::report::Column;
using platform::report::Report;
using platform::report::Row;

double ZTotals::value(const QString& key) const
{
    const auto found = pairs.find(key);
    return found == pairs.end() ? 0.0 : found->second.trimmed().toDouble();
}

ZTotals ParseZTotals(const QString& text)
{
    ZTotals totals;
    std::optional<int> rate;
    for (const QString& pair : text.split(u'|', Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(u'=');
        if (equals < 0) continue;
        const QString key = pair.left(equals).trimmed();
        const QString value = pair.mid(equals + 1);
        if (key == QStringLiteral("PVN_L")) {
            bool ok = false;
            const int r = value.trimmed().toInt(&ok);
            rate = ok ? std::optional<int>(r) : std::nullopt;
        } else if (key == QStringLiteral("BEZ_PVN_L")) {
            if (rate) totals.salesByRate[*rate] += value.trimmed().toDouble();
        } else if (key == QStringLiteral("PVN_SUM_L")) {
            if (rate) totals.taxByRate[*rate] += value.trimmed().toDouble();
        } else {
            totals.pairs[key] = value;
        }
    }
    return totals;
}

namespace {

enum SummaryColumn {
    Datums, Sales21, Tax21, Sales10, Tax10, Sales0, Kopa, Banka, Kase, Apm1, Inkas, InkasTara, Skaits, Vid, Korekc,
};

QSqlQuery exec(const QSqlDatabase& db, const QString& text, const std::vector<std::pair<QString, QVariant>>& params)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(text)) throw ReportError(query.lastError().text().toStdString());
    for (const auto& [name, value] : params) query.bindValue(name, value);
    if (!query.exec()) throw ReportError(query.lastError().text().toStdString());
    return query;
}

// Receipts of the Z period that ends at the Z row `isn`: sold (not annulled, positive quantity)
// receipt numbers after the previous Z row.
int receiptsBefore(const QSqlDatabase& db, int isn)
{
    QSqlQuery previous = exec(db, QStringLiteral("SELECT MAX(ISN) FROM REALIZ WHERE PIEZIMES LIKE 'Z=%' AND ISN < :ISN"),
                              {{QStringLiteral(":ISN"), isn}});
    const int from = previous.next() ? previous.value(0).toInt() : 0;
    QSqlQuery count = exec(db,
                           QStringLiteral("SELECT COUNT(DISTINCT CEKA_NR) FROM REALIZ WHERE CEKA_NR IS NOT NULL "
                                          "AND ANULETS = 'F' AND DAUDZUMS>0 AND ISN > :ISN_NO AND ISN < :ISN_LIDZ"),
                           {{QStringLiteral(":ISN_NO"), from}, {QStringLiteral(":ISN_LIDZ"), isn}});
    return count.next() ? count.value(0).toInt() : 0;
}

Column money(const QString& title) { return {title, QStringLiteral("#0.00"), 7, true, {}}; }
Column count(const QString& title) { return {title, QStringLiteral("#0"), 5, true, {}}; }

}  // namespace

Report BuildCekuKopsav(const QSqlDatabase& posDb, const QDate& from, const QDate& to, const QString& title,
                       const SummaryHead& head)
{
    Report report;
    report.title = title;
    QStringList header;
    for (const QString& line : head.cekaGalva) header << line.trimmed();
    report.headLines << QStringLiteral("POS klienta dati : ") + header.join(u' ')
                     << QStringLiteral("Kases S/N : ") + head.posNr + "/" + head.vidId
                     << QStringLiteral("Grand Total : ") +
                            platform::report::formatMask(double(head.grandTotalCents) * 0.01, QStringLiteral("0.00"))
                     << QStringLiteral("Grand PVN : ") +
                            platform::report::formatMask(double(head.grandVatCents) * 0.01, QStringLiteral("0.00"));
    Column average{QStringLiteral("Vid. pirkums dienā (sum)"), QStringLiteral("0.00"), 7, false,
                   [](const std::vector<double>& sums) -> QVariant {
                       // Printed figures: the average of the printed sum over the printed count.
                       const double total = platform::report::formatMask(sums[Kopa], QStringLiteral("#0.00")).toDouble();
                       const long long receipts = std::llround(sums[Skaits]);
                       return receipts == 0 ? 0.0 : total / double(receipts);
                   }};
    report.columns = {{QStringLiteral("Datums"), {}, 8, false, {}},
                      money(QStringLiteral("Apgrozījums ar 21%")), money(QStringLiteral("21%")),
                      money(QStringLiteral("Apgrozījums ar 10%")), money(QStringLiteral("10%")),
                      money(QStringLiteral("Ar PVN neapliekamie darījumi")), money(QStringLiteral("KOPĀ")),
                      money(QStringLiteral("Norēķins ar kartēm")), money(QStringLiteral("Skaidra nauda")),
                      money(QStringLiteral("Dāvanu kartes")), money(QStringLiteral("Inkasācija")),
                      money(QStringLiteral("Inkasācija par taru")), count(QStringLiteral("Pirkumu skaits")),
                      average, count(QStringLiteral("Korekciju skaits"))};
    report.groups = {{false, true, QStringLiteral("%1")}};
    report.detail = false;

    QSqlQuery rows = exec(posDb,
                          QStringLiteral("SELECT ISN, DATUMS, FREEKOMENT FROM REALIZ WHERE PIEZIMES LIKE 'Z=%' "
                                         "AND DATUMS BETWEEN :DATIMS_NO AND :DATIMS_LIDZ ORDER BY DATUMS, ISN"),
                          {{QStringLiteral(":DATIMS_NO"), from}, {QStringLiteral(":DATIMS_LIDZ"), to}});
    struct ZRow {
        int isn;
        QDate date;
        QString text;
    };
    std::vector<ZRow> zRows;
    while (rows.next()) zRows.push_back({rows.value(0).toInt(), rows.value(1).toDate(), rows.value(2).toString()});
    for (const ZRow& z : zRows) {
        const ZTotals totals = ParseZTotals(z.text);
        auto rate = [](const std::map<int, double>& byRate, int r) {
            const auto found = byRate.find(r);
            return found == byRate.end() ? 0.0 : found->second;
        };
        Row row;
        row.values = {QVariant(),
                      rate(totals.salesByRate, 21),
                      rate(totals.taxByRate, 21),
                      rate(totals.salesByRate, 10),
                      rate(totals.taxByRate, 10),
                      rate(totals.salesByRate, 0),
                      totals.value("BEZ_PVN") + totals.value("PVN_SUM"),
                      totals.value("APM_BANKA"),
                      totals.value("APM_KASE"),
                      totals.value("APM_1"),
                      totals.value("INKAS"),
                      totals.value("INKAS_TARA"),
                      receiptsBefore(posDb, z.isn),
                      QVariant(),
                      int(totals.value("KOREKC_SK"))};
        const QString day = ReportDateText(z.date);
        row.groupKeys = {day};
        report.rows.push_back(std::move(row));
    }
    return report;
}

QStringList CekuKopsavCsvLines(const Report& report)
{
    QStringList lines;
    for (const Band& band : platform::report::layoutBands(report))
        if (band.kind == Band::GroupFooter) lines << band.cells.join(u';');
    return lines;
}

bool WriteCekuKopsavCsv(const QStringList& lines, const std::filesystem::path& folder)
{
    QFile file(QString::fromStdString((folder / kSummaryCsvFile.toStdString()).string()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    // The day lines, each ended as a Windows text file line.
    for (const QString& line : lines) file.write(line.toLatin1() + "\r\n");
    return file.error() == QFileDevice::NoError;
}
