#include "report_forms.h"

#include "clock.h"
#include "regional.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <functional>

using platform::report::Column;
using platform::report::GroupLevel;
using platform::report::Report;
using platform::report::Row;

namespace {

// A line's amount, and the rows every sales report reads: sale and return rows of the period
// (Z rows have no quantity) that do not belong to an annulled receipt.
constexpr const char* kAmount = "R.CENA*R.DAUDZUMS*(1-R.ATLAIDE/100)";
constexpr const char* kSaleRows =
    "R.DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ AND R.DAUDZUMS IS NOT NULL "
    "AND R.ANULETS!='T' AND R.ANULETS IS NOT NULL";

QString sql(const char* text) { return QString::fromUtf8(text).replace(QStringLiteral("%AMOUNT%"), kAmount); }

// Runs the statement: the base text, " AND " and each filter's condition, then the tail; the
// period and the filter values bound as parameters.
QSqlQuery runReport(const QSqlDatabase& db, const QString& base, const QString& tail, const ReportRequest& request,
                    bool customerFilter = false, bool goodsFilter = false)
{
    QString text = base;
    if (customerFilter && !request.customers.empty())
        text += " AND " + request.customers.condition(QStringLiteral("R.KL_KODS"), QStringLiteral("KL"));
    if (goodsFilter && !request.goods.empty())
        text += " AND " + request.goods.condition(QStringLiteral("R.ARTIKULS"), QStringLiteral("ART"));
    text += " " + tail;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(text)) throw ReportError(query.lastError().text().toStdString());
    if (text.contains(QStringLiteral(":DAT_NO"))) {
        query.bindValue(QStringLiteral(":DAT_NO"), request.from);
        query.bindValue(QStringLiteral(":DAT_LIDZ"), request.to);
    }
    if (customerFilter) request.customers.bind(query, QStringLiteral("KL"));
    if (goodsFilter) request.goods.bind(query, QStringLiteral("ART"));
    if (!query.exec()) throw ReportError(query.lastError().text().toStdString());
    return query;
}

// A name looked up by key with a bound parameter, once per key.
class NameLookup {
public:
    NameLookup(const QSqlDatabase& db, const char* statement) : db_(db), statement_(QString::fromLatin1(statement)) {}
    QSqlRecord operator()(const QVariant& key)
    {
        const QString cacheKey = key.toString();
        if (const auto found = cache_.constFind(cacheKey); found != cache_.constEnd()) return *found;
        QSqlQuery query(db_);
        query.setForwardOnly(true);
        if (!query.prepare(statement_)) throw ReportError(query.lastError().text().toStdString());
        query.bindValue(0, key);
        if (!query.exec()) throw ReportError(query.lastError().text().toStdString());
        const QSqlRecord record = query.next() ? query.record() : QSqlRecord();
        cache_.insert(cacheKey, record);
        return record;
    }
    QString name(const QVariant& key) { return (*this)(key).value(0).toString(); }

private:
    QSqlDatabase db_;
    QString statement_;
    QHash<QString, QSqlRecord> cache_;
};

NameLookup customers(const QSqlDatabase& db) { return {db, "SELECT GNOS FROM N_KLIENTI WHERE KODS=?"}; }
NameLookup items(const QSqlDatabase& db) { return {db, "SELECT GNOS FROM N_PRECE WHERE ARTIKULS=?"}; }
NameLookup departments(const QSqlDatabase& db) { return {db, "SELECT GNOS, NODOKLIS FROM N_NODALAS WHERE NODALA_NR=?"}; }

Column text(const QString& title, int width = 10) { return {title, {}, width, false, {}}; }
Column money(const QString& title, const QString& mask = QStringLiteral("#0.00"), int width = 8)
{
    return {title, mask, width, true, {}};
}
// A number column that is not summed.
Column number(const QString& title, const QString& mask, int width = 8) { return {title, mask, width, false, {}}; }

QString kindName(const ReportRequest& request, const QVariant& apmVeids)
{
    // The journal stores the kind's own number plus one.
    const auto kind = request.kinds.find(apmVeids.toInt() - 1);
    return kind ? kind->text : QString();
}

QVariant taxCell(double tax, const QVariant& rate)
{
    // An untaxed row (or one whose department is unknown) prints no tax.
    if (rate.isNull() || rate.toDouble() == -1) return {};
    return tax;
}

Report realizPaKlientiem(const QSqlDatabase& db, const ReportRequest& request)
{
    Report report;
    report.columns = {text("Artikuls"), text("Preces nosaukums", 24), money("Summa"), money("Atlaides summa")};
    report.groups = {GroupLevel{}};
    QSqlQuery query = runReport(
        db,
        sql("SELECT R.KL_NOSAUKUMS, R.KL_KODS, SUM(%AMOUNT%) SUMMA, SUM(R.CENA*R.DAUDZUMS*R.ATLAIDE/100) ATL_SUMMA, "
            "R.ARTIKULS FROM REALIZ R WHERE ") + kSaleRows,
        QStringLiteral("GROUP BY R.KL_NOSAUKUMS, R.KL_KODS, R.ARTIKULS ORDER BY R.KL_NOSAUKUMS, R.KL_KODS, R.ARTIKULS"),
        request, true);
    NameLookup customerName = customers(db);
    NameLookup itemName = items(db);
    while (query.next()) {
        const QString code = query.value(1).toString();
        QString name = code.isEmpty() ? QString() : customerName.name(code);
        if (name.isEmpty()) name = query.value(0).toString();
        Row row;
        row.values = {query.value(4), itemName.name(query.value(4)), query.value(2), query.value(3)};
        row.groupKeys = {query.value(0).toString() + u'\x1f' + code};
        row.groupTitles = {name};
        report.rows.push_back(std::move(row));
    }
    return report;
}

Report realizPaKasieriem(const QSqlDatabase& db, const ReportRequest& request)
{
    Report report;
    report.columns = {text("Kasieris", 16), money("Realizētā summa ar atlaidi"), money("Atlaides summa")};
    QSqlQuery query = runReport(
        db,
        sql("SELECT R.KASIERIS, SUM(%AMOUNT%) SUMMA, SUM(R.CENA*R.DAUDZUMS*R.ATLAIDE/100) ATL_SUMMA "
            "FROM REALIZ R WHERE ") + kSaleRows,
        QStringLiteral("GROUP BY R.KASIERIS"), request, true);
    while (query.next()) report.rows.push_back({{query.value(0), query.value(1), query.value(2)}, {}, {}});
    return report;
}

Report realizPaStundam(const QSqlDatabase& db, const ReportRequest& request)
{
    Report report;
    report.columns = {text("Datums"), money("Summa")};
    report.columns.push_back(money(QStringLiteral("0-7.59"), QStringLiteral("#0.00"), 6));
    for (int hour = 8; hour <= 21; ++hour) report.columns.push_back(money(QString::number(hour), QStringLiteral("#0.00"), 6));
    report.columns.push_back(money(QStringLiteral("22-24"), QStringLiteral("#0.00"), 6));
    report.groups = {GroupLevel{false, true, QStringLiteral("%1")}};
    report.detail = false;
    QSqlQuery query = runReport(db, sql("SELECT R.DATUMS, R.LAIKS, SUM(%AMOUNT%) SUMMA FROM REALIZ R WHERE ") + kSaleRows,
                                QStringLiteral("GROUP BY R.DATUMS, R.LAIKS ORDER BY R.DATUMS, R.LAIKS"), request, true);
    while (query.next()) {
        Row row;
        const double sum = query.value(2).toDouble();
        row.values = {QVariant(), sum};
        for (int slot = 0; slot < 16; ++slot) row.values.push_back(0.0);
        row.values[2 + std::size_t(HourSlot(query.value(1).toString()))] = sum;
        row.groupKeys = {ReportDateText(query.value(0).toDate())};
        report.rows.push_back(std::move(row));
    }
    return report;
}

Report realizPaKlientiemSummari(const QSqlDatabase& db, const ReportRequest& request)
{
    Report report;
    report.columns = {text("Apmaksas veids", 14), text("Piezīmes"), text("Klients", 20), money("Summa bez PVN"),
                      text("Čeka Nr.", 7), text("Datums"), money("PVN summa"), money("Summa ar PVN")};
    // Departments join outer: a line whose department has no row still counts (as untaxed).
    QSqlQuery query = runReport(
        db,
        sql("SELECT R.CEKA_NR, R.DATUMS, R.APM_VEIDS, R.KL_NOSAUKUMS, R.KL_KODS, SUM(%AMOUNT%) SUMMAARPVN, "
            "R.PIEZIMES, N.NODOKLIS FROM REALIZ R LEFT OUTER JOIN N_NODALAS N ON N.NODALA_NR=R.NODOKLIS WHERE ") +
            kSaleRows,
        QStringLiteral("GROUP BY R.CEKA_NR, R.DATUMS, R.APM_VEIDS, R.KL_NOSAUKUMS, R.KL_KODS, R.PIEZIMES, N.NODOKLIS "
                       "ORDER BY R.CEKA_NR"),
        request, true);
    NameLookup customerName = customers(db);
    while (query.next()) {
        const QString code = query.value(4).toString();
        QString name = code.isEmpty() ? QString() : customerName.name(code);
        if (name.isEmpty()) name = query.value(3).toString();
        const QVariant rate = query.value(7);
        const TaxSplit split = SplitTax(query.value(5).toDouble(), rate.isNull() ? -1 : rate.toDouble());
        report.rows.push_back({{kindName(request, query.value(2)), query.value(6), name, split.withoutTax,
                                query.value(0), ReportDateText(query.value(1).toDate()), taxCell(split.tax, rate),
                                query.value(5)},
                               {},
                               {}});
    }
    return report;
}

Report kopsavNodPreces(const QSqlDatabase& db, const ReportRequest& request)
{
    Report report;
    report.columns = {text("Prece", 24), money("Summa bez PVN"), text("Likme", 5), money("PVN summa"),
                      money("Summa ar PVN"), money("Daudzums", QStringLiteral("#0.000"))};
    report.groups = {GroupLevel{true, true, QStringLiteral("Kopā apmaksas veidam")},
                     GroupLevel{false, true, QStringLiteral("Kopā PVN likmei %1")}};
    // Items and departments join outer: typed-price lines and removed items keep their sums,
    // named by their article.
    const QString part = sql(
        "SELECT %1 FLAG, R.APM_VEIDS, N.NODOKLIS, COALESCE(P.GNOS, R.ARTIKULS) PRECE, SUM(R.DAUDZUMS) SKAITS, "
        "SUM(%AMOUNT%) SUMMAARPVN FROM REALIZ R "
        "LEFT OUTER JOIN N_NODALAS N ON N.NODALA_NR=R.NODOKLIS "
        "LEFT OUTER JOIN N_PRECE P ON P.ARTIKULS=R.ARTIKULS WHERE ") + kSaleRows + " AND %2";
    QString filters;
    if (!request.customers.empty()) filters += " AND " + request.customers.condition("R.KL_KODS", "KL");
    if (!request.goods.empty()) filters += " AND " + request.goods.condition("R.ARTIKULS", "ART");
    const QString group = QStringLiteral(" GROUP BY R.APM_VEIDS, N.NODOKLIS, COALESCE(P.GNOS, R.ARTIKULS)");
    const QString text = part.arg(1).arg(QStringLiteral("(R.PIEZIMES IS NULL OR R.PIEZIMES='')")) + filters + group +
                         " UNION ALL " +
                         part.arg(2).arg(QStringLiteral("(R.PIEZIMES IS NOT NULL AND R.PIEZIMES<>'')")) + filters +
                         group + " ORDER BY 1, 2, 3, 4";
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(text)) throw ReportError(query.lastError().text().toStdString());
    query.bindValue(QStringLiteral(":DAT_NO"), request.from);
    query.bindValue(QStringLiteral(":DAT_LIDZ"), request.to);
    request.customers.bind(query, QStringLiteral("KL"));
    request.goods.bind(query, QStringLiteral("ART"));
    if (!query.exec()) throw ReportError(query.lastError().text().toStdString());
    while (query.next()) {
        const int flag = query.value(0).toInt();
        const QVariant rate = query.value(2);
        const TaxSplit split = SplitTax(query.value(5).toDouble(), rate.isNull() ? -1 : rate.toDouble());
        const QString kindKey = QStringLiteral("%1/%2").arg(flag).arg(query.value(1).toInt());
        Row row;
        row.values = {query.value(3), split.withoutTax, rate.isNull() ? QVariant() : QVariant(RateText(rate.toDouble())),
                      taxCell(split.tax, rate), query.value(5), query.value(4)};
        row.groupKeys = {kindKey, kindKey + "/" + (rate.isNull() ? QString() : RateText(rate.toDouble()))};
        row.groupTitles = {QStringLiteral("VEIDS : ") +
                               (flag == 1 ? QStringLiteral(" Preču/pakalpojumu apmaksa ") : QStringLiteral(" Apmaksa par rēķiniem ")) +
                               QStringLiteral(" APMAKSAS VEIDS : ") + kindName(request, query.value(1)),
                           rate.isNull() ? QString() : RateText(rate.toDouble())};
        report.rows.push_back(std::move(row));
    }
    return report;
}

Report paNodokluLikmem(const QSqlDatabase& db, const ReportRequest& request)
{
    Report report;
    report.columns = {text("Nosaukums", 20), text("Likme", 6), money("Summa"), money("PVN summa")};
    const QString part = sql("SELECT SUM(%AMOUNT%) SUMMA, R.NODOKLIS, %1 FLAG FROM REALIZ R WHERE ") + kSaleRows;
    QSqlQuery query = runReport(db, part.arg(1) + " GROUP BY R.NODOKLIS UNION ALL " + part.arg(2) + " AND R.DAUDZUMS<0",
                                QStringLiteral("GROUP BY R.NODOKLIS ORDER BY 3, 2"), request);
    NameLookup department = departments(db);
    while (query.next()) {
        const QSqlRecord found = department(query.value(1));
        const bool returns = query.value(2).toInt() == 2;
        const double sum = query.value(0).toDouble();
        const QVariant rate = found.isEmpty() ? QVariant() : found.value(1);
        const double r = rate.isNull() ? -1 : rate.toDouble();
        Row row;
        row.values = {(returns ? QStringLiteral("Atgr. ") : QString()) + found.value(0).toString(),
                      rate.isNull() ? QVariant() : QVariant(RateText(r)), sum,
                      taxCell(r == -1 ? 0.0 : sum * r / (r + 100), rate)};
        // The sales rows already hold the returns that the return rows show again.
        row.summed = !returns;
        report.rows.push_back(std::move(row));
    }
    return report;
}

Report cenuNobides(const QSqlDatabase& db, const ReportRequest& request)
{
    Report report;
    report.columns = {text("Klienta kods"), text("Klients", 18), money("Cena", "#0.00", 7),
                      money("Pārdotā cena", "#0.00", 7), text("Čeka Nr.", 7), text("Artikuls"),
                      text("Prece", 18), money("Atlaide", "#0.00", 6), text("Datums")};
    for (Column& column : report.columns) column.summed = false;
    report.summary = false;
    QSqlQuery query = runReport(
        db,
        QStringLiteral("SELECT R.CEKA_NR, R.DATUMS, P.ARTIKULS, P.GNOS PRECE, R.ATLAIDE, P.CENA, "
                       "R.CENA*(1-R.ATLAIDE/100) REALIZ_CENA, R.KL_KODS, R.KL_NOSAUKUMS "
                       "FROM N_PRECE P JOIN REALIZ R ON R.ARTIKULS=P.ARTIKULS "
                       "WHERE ABS(P.CENA-R.CENA*(1-R.ATLAIDE/100))>0.000001 "
                       "AND R.DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ AND R.DAUDZUMS IS NOT NULL"),
        QStringLiteral("ORDER BY R.DATUMS, R.CEKA_NR"), request);
    NameLookup customerName = customers(db);
    while (query.next()) {
        QString name = query.value(8).toString();
        if (name.isEmpty() && !query.value(7).toString().isEmpty()) name = customerName.name(query.value(7));
        report.rows.push_back({{query.value(7), name, query.value(5), query.value(6), query.value(0), query.value(2),
                                query.value(3), query.value(4), ReportDateText(query.value(1).toDate())},
                               {},
                               {}});
    }
    return report;
}

Report atlidesPaKlientiem(const QSqlDatabase& db, const ReportRequest& request)
{
    Report report;
    report.columns = {text("Kods"), text("Klients", 20), money("Summa"), money("Atlaides summa", "#0.000"),
                      text("Atlaide %", 6)};
    QSqlQuery query = runReport(
        db,
        sql("SELECT R.KL_KODS, SUM(%AMOUNT%) SUMMA, SUM(R.CENA*R.DAUDZUMS*(R.ATLAIDE/100)) ATL_SUMMA, R.ATLAIDE "
            "FROM REALIZ R WHERE ") + kSaleRows,
        QStringLiteral("GROUP BY R.KL_KODS, R.ATLAIDE ORDER BY R.KL_KODS, R.ATLAIDE"), request);
    NameLookup customerName = customers(db);
    while (query.next())
        report.rows.push_back({{query.value(0), customerName.name(query.value(0)), query.value(1), query.value(2),
                                platform::report::formatMask(query.value(3).toDouble(), QStringLiteral("#0.00"))},
                               {},
                               {}});
    return report;
}

QSqlQuery runOrder(const QSqlDatabase& db, const QString& statement, const char* name, int value)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(statement)) throw ReportError(query.lastError().text().toStdString());
    query.bindValue(QString::fromLatin1(name), value);
    if (!query.exec()) throw ReportError(query.lastError().text().toStdString());
    return query;
}

}  // namespace

TaxSplit SplitTax(double withTax, double rate)
{
    if (rate == -1) return {withTax, 0};
    return {withTax / (1 + rate * 0.01), withTax * rate / (rate + 100)};
}

QString ReportDateText(const QDate& date)
{
    return QString::fromStdString(platform::shortDateText(date.year(), date.month(), date.day()));
}

QString RateText(double rate) { return rate == -1 ? QStringLiteral("b/n") : QString::number(rate, 'f', 0); }

int HourSlot(const QString& laiks)
{
    const int hour = laiks.section(u':', 0, 0).trimmed().toInt();
    if (hour < 8) return 0;
    if (hour >= 22) return 15;
    return hour - 7;
}

Report BuildMenuReport(MenuReport form, const QSqlDatabase& posDb, const ReportRequest& request)
{
    Report report;
    switch (form) {
    case MenuReport::RealizPaKlientiem: report = realizPaKlientiem(posDb, request); break;
    case MenuReport::RealizPaKasieriem: report = realizPaKasieriem(posDb, request); break;
    case MenuReport::RealizPaStundam: report = realizPaStundam(posDb, request); break;
    case MenuReport::RealizPaKlientiemSummari: report = realizPaKlientiemSummari(posDb, request); break;
    case MenuReport::KopsavNodPreces: report = kopsavNodPreces(posDb, request); break;
    case MenuReport::PaNodokluLikmem: report = paNodokluLikmem(posDb, request); break;
    case MenuReport::CenuNobides: report = cenuNobides(posDb, request); break;
    case MenuReport::AtlidesPaKlientiem: report = atlidesPaKlientiem(posDb, request); break;
    }
    report.title = request.title;
    if (!request.customers.description.isEmpty()) report.headLines << request.customers.description;
    return report;
}

Report BuildVirtuveAnulets(const QSqlDatabase& db, const QString& header, int isn)
{
    Report report;
    // The page head carries the print date and time of every report.
    report.title = QStringLiteral("PASŪTĪJUMA IZDRUKA");
    report.headLines = {QStringLiteral("Anulēts pasūtījums"), header};
    report.columns = {text("Preces nosaukums", 24), number("Daudz", "#0.00")};
    report.summary = false;
    QSqlQuery query = runOrder(db,
                               "SELECT O.DAUDZUMS, O.CENA, P.GNOS PRECE, P.NODALA FROM O_PASUT O JOIN " +
                                   kOrderLineItem + " WHERE O.ISN=:ISN",
                               ":ISN", isn);
    while (query.next()) report.rows.push_back({{query.value(2), query.value(0)}, {}, {}});
    return report;
}

Report BuildPasutijumsSaurs(const QSqlDatabase& db, const QString& header, int pasutNr)
{
    Report report;
    report.title = QStringLiteral("PASŪTĪJUMA IZDRUKA");
    report.headLines = {header};
    report.columns = {text("Preces nosaukums", 24), number("Daudz", "#0.00")};
    report.summary = false;
    QSqlQuery query = runOrder(db,
                               "SELECT O.ARTIKULS, O.DAUDZUMS, O.CENA, O.DAUDZUMS*O.CENA SUMMA, P.GNOS PRECE, P.NODALA "
                               "FROM O_PASUT O JOIN " + kOrderLineItem +
                                   " WHERE O.PASUT_NR=:PASUT_NR AND P.NODALA=2 "
                               "AND (O.DZESTS IS NULL OR O.DZESTS<>'T') "
                               "AND (O.PRN_VIRTUVE IS NULL OR O.PRN_VIRTUVE<>'T') ORDER BY O.ISN",
                               ":PASUT_NR", pasutNr);
    while (query.next()) report.rows.push_back({{query.value(4), query.value(1)}, {}, {}});
    return report;
}

KitchenSlip PrintPasutijumsSaurs(const QSqlDatabase& db, const QString& header, int pasutNr)
{
    const Report slip = BuildPasutijumsSaurs(db, header, pasutNr);
    if (slip.rows.empty()) return KitchenSlip::NothingNew;
    if (!platform::report::print(slip)) return KitchenSlip::NotPrinted;
    QSqlQuery mark(db);
    if (!mark.prepare(QStringLiteral("UPDATE O_PASUT SET PRN_VIRTUVE='T' WHERE PASUT_NR=:PASUT_NR")))
        throw ReportError(mark.lastError().text().toStdString());
    mark.bindValue(QStringLiteral(":PASUT_NR"), pasutNr);
    if (!mark.exec()) throw ReportError(mark.lastError().text().toStdString());
    return KitchenSlip::Printed;
}

Report BuildPasutijums(const QSqlDatabase& db, const QString& header, int pasutNr)
{
    Report report;
    report.title = QStringLiteral("PASŪTĪJUMA IZDRUKA");
    report.headLines = {header};
    report.columns = {text("Artikuls"), text("Preces nosaukums", 24), number("Daudzums", "#0.00"), number("Cena", "#0.00"),
                      money("Summa")};
    QSqlQuery query = runOrder(db,
                               "SELECT O.ARTIKULS, O.DAUDZUMS, O.CENA, O.DAUDZUMS*O.CENA SUMMA, P.GNOS PRECE "
                               "FROM O_PASUT O LEFT OUTER JOIN " + kOrderLineItem +
                                   " WHERE O.PASUT_NR=:PASUT_NR AND (O.DZESTS IS NULL OR O.DZESTS<>'T') ORDER BY O.ARTIKULS",
                               ":PASUT_NR", pasutNr);
    while (query.next())
        report.rows.push_back({{query.value(0), query.value(4), query.value(1), query.value(2), query.value(3)}, {}, {}});
    return report;
}
