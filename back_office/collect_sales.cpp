// SanemRArtik, SanemRKontr, SanemBrivasCenas: a till's journal REALIZ of the period into the
// exchange files R_ARTIK.DBF, R_KONTR.DBF (DBF folder) and NOITEMS.TXT (working folder), texts in
// Windows-1257. They only read the till and open no transaction.
#include "codepage_1257.h"
#include "dbf_table.h"
#include "till_sql.h"

#include <QSqlField>
#include <QSqlRecord>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {

const QString kArtik = QStringLiteral("Saņem R_ARTIK : ");
const QString kKontr = QStringLiteral("Saņem R_KONTR : ");
const QString kBrivas = QStringLiteral("Saņem BRĪVĀ CENA : ");
const QString kNotReached = QStringLiteral("Nevarēju pieslēgties kasei ??? ");

constexpr int kWholeJournal = 1410065407;
const char* const kLiveRows = "AND ANULETS!='T' AND ANULETS IS NOT NULL";

const std::vector<DbfTable::Column> kRArtikColumns = {
    {"DATUMS", 'D', 8, 0},   {"KL_KODS", 'C', 30, 0}, {"ARTIKULS", 'C', 30, 0},
    {"DAUDZUMS", 'F', 19, 4}, {"SUMMA", 'F', 19, 4},  {"NODOKLIS", 'F', 19, 4},
    {"ATLAIDE", 'F', 19, 4},  {"KASE", 'C', 10, 0},   {"APM_VEIDS", 'C', 10, 0},
};

QString byItem(const char* quantityTest) {
    return QStringLiteral("SELECT DATUMS, KL_KODS, ARTIKULS, SUM(DAUDZUMS) DAUDZUMS, "
                          "SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) SUMMA, NODOKLIS, ATLAIDE, CENA, APM_VEIDS "
                          "from realiz WHERE datums BETWEEN :DATUMS_NO AND :DATUMS_LIDZ "
                          "AND REALIZ.ISN BETWEEN :ISN_NO AND :ISN_LIDZ ") +
           kLiveRows + " " + quantityTest + " group by DATUMS, KL_KODS, artikuls, nodoklis, atlaide, CENA, APM_VEIDS";
}

void bindPeriod(QSqlQuery& query, const TransferValues& values) {
    query.bindValue(QStringLiteral(":DATUMS_NO"), values.DatumsNo);
    query.bindValue(QStringLiteral(":DATUMS_LIDZ"), values.DatumsLidz);
}

std::string cp1257Of(const QVariant& value) {
    return toCp1257(value.metaType() == QMetaType::fromType<QByteArray>() ? QString::fromUtf8(value.toByteArray()) : value.toString());
}

}  // namespace

ZRange AtrodZRobezas(const QSqlDatabase& till, const QString& zNr) {
    if (zNr.isEmpty()) return {1, kWholeJournal};
    ZRange range;
    bool isNumber = false;
    const int number = zNr.toInt(&isNumber);
    const QString to = "Z=" + zNr;
    const QString from = "Z=" + QString::number(isNumber ? number - 1 : 0);
    QSqlQuery rows = PreparedQuery(till, QStringLiteral("SELECT ISN, PIEZIMES FROM REALIZ WHERE PIEZIMES STARTING WITH 'Z=' AND "
                                                        "CEKA_NR IS NULL ") +
                                             kLiveRows + " ORDER BY PIEZIMES DESCENDING");
    Execute(rows);
    while ((range.ISN_NO < 1 || range.ISN_LIDZ < 1) && rows.next()) {
        const QString piezimes = rows.value(1).toString();
        if (piezimes == to) range.ISN_LIDZ = rows.value(0).toInt();
        if (piezimes == from) range.ISN_NO = rows.value(0).toInt();
    }
    return range;
}

void SanemRArtik(const TransferContext& context, const QString& path, const QString& name, bool first) {
    context.log.LogProcess(kArtik + "Sāku procesu");
    const auto file = FindFileAnyCase(context.values.dbfFolder, "R_ARTIK.DBF");
    DbfTable out = first || !std::filesystem::exists(file) ? DbfTable::create(file, kRArtikColumns) : DbfTable::open(file);
    try {
        QSqlDatabase db = ConnectTill(path);
        const ZRange range = AtrodZRobezas(db, context.values.Z_Nr);
        // A Z number the journal lacks would collect nothing and look like a day without sales.
        if (range.ISN_LIDZ < 1) {
            context.log.LogFailure(kArtik + ZNumberMissing(context.values.Z_Nr));
            return;
        }
        QSqlQuery rows = PreparedQuery(db, byItem("AND DAUDZUMS > 0") + " union " + byItem("AND DAUDZUMS < 0") + " order by 1, 2, 7, 3");
        bindPeriod(rows, context.values);
        rows.bindValue(QStringLiteral(":ISN_NO"), range.ISN_NO);
        rows.bindValue(QStringLiteral(":ISN_LIDZ"), range.ISN_LIDZ);
        Execute(rows);
        double total = 0;
        const std::string till = toCp1257(name);
        while (rows.next()) {
            const int record = out.append();
            out.setDate(record, out.column("DATUMS"), rows.value(0).toDate());
            out.setText(record, out.column("KL_KODS"), toCp1257(rows.value(1).toString()));
            out.setText(record, out.column("ARTIKULS"), toCp1257(rows.value(2).toString()));
            out.setNumber(record, out.column("DAUDZUMS"), rows.value(3).toDouble());
            out.setNumber(record, out.column("SUMMA"), rows.value(4).toDouble());
            out.setNumber(record, out.column("NODOKLIS"), rows.value(5).toDouble());
            out.setNumber(record, out.column("ATLAIDE"), rows.value(6).toDouble());
            out.setText(record, out.column("KASE"), till);
            out.setText(record, out.column("APM_VEIDS"), toCp1257(rows.value(8).toString()));
            total += rows.value(4).toDouble();
        }
        context.log.LogProcess(kArtik + "OK. Summa=" + QString::number(total, 'f', 2));
    } catch (const std::exception& e) {
        context.log.LogFailure(kArtik + kNotReached + QString::fromStdString(e.what()));
    }
}

void SanemRKontr(const TransferContext& context, const QString& path) {
    context.log.LogProcess(kKontr + "Sāku procesu");
    try {
        QSqlDatabase db = ConnectTill(path);
        QSqlQuery rows = PreparedQuery(
            db, QStringLiteral("SELECT * FROM REALIZ WHERE DATUMS BETWEEN :DATUMS_NO AND :DATUMS_LIDZ ") + kLiveRows);
        bindPeriod(rows, context.values);
        Execute(rows);
        std::vector<QVariantList> values;
        while (rows.next()) {
            QVariantList row;
            for (int i = 0; i < rows.record().count(); ++i) row << (rows.isNull(i) ? QVariant() : rows.value(i));
            values.push_back(row);
        }
        // One column per journal column: dBase names hold 10 characters and texts 254; a text
        // column is as wide as its longest value (the driver gives no width for text blobs).
        const QSqlRecord record = rows.record();
        std::vector<DbfTable::Column> columns;
        for (int i = 0; i < record.count(); ++i) {
            const QSqlField field = record.field(i);
            DbfTable::Column column{field.name().left(10).toStdString(), 'C', 1, 0};
            const int type = field.metaType().id();
            if (type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::Short) column = {column.name, 'N', 11, 0};
            else if (type == QMetaType::Double || type == QMetaType::Float) column = {column.name, 'F', 19, 4};
            else if (type == QMetaType::QDate || type == QMetaType::QDateTime) column = {column.name, 'D', 8, 0};
            else
                for (const QVariantList& row : values)
                    if (!row[i].isNull()) column.width = std::min(254, std::max(column.width, int(cp1257Of(row[i]).size())));
            columns.push_back(column);
        }
        DbfTable out = DbfTable::create(FindFileAnyCase(context.values.dbfFolder, "R_KONTR.DBF"), columns);
        for (const QVariantList& row : values) {
            const int at = out.append();
            for (int i = 0; i < record.count(); ++i) {
                const QVariant& value = row[i];
                if (value.isNull()) continue;
                switch (columns[std::size_t(i)].type) {
                case 'N':
                case 'F': out.setNumber(at, i, value.toDouble()); break;
                case 'D': out.setDate(at, i, value.toDate()); break;
                default: out.setText(at, i, cp1257Of(value));
                }
            }
        }
        context.log.LogProcess(kKontr + "OK");
    } catch (const std::exception& e) {
        context.log.LogFailure(kKontr + kNotReached + QString::fromStdString(e.what()));
    }
}

void SanemBrivasCenas(const TransferContext& context, const QString& path) {
    context.log.LogProcess(kBrivas + "Sāku procesu");
    std::ofstream out(FindFileAnyCase(std::filesystem::path(), "NOITEMS.TXT"), std::ios::binary | std::ios::app);
    try {
        QSqlDatabase db = ConnectTill(path);
        QSqlQuery rows = PreparedQuery(db, QStringLiteral("SELECT ARTIKULS, CENA, DAUDZUMS from realiz WHERE DATUMS BETWEEN :DATUMS_NO "
                                                          "AND :DATUMS_LIDZ AND DAUDZUMS IS NOT NULL AND PIEZIMES='BR.CENA' ") +
                                               kLiveRows);
        bindPeriod(rows, context.values);
        Execute(rows);
        while (rows.next())
            if (out)
                out << toCp1257(QString::asprintf("Artikuls=%s Cena=%10.3f Daudzums=%10.3f ", qUtf8Printable(rows.value(0).toString()),
                                                  rows.value(1).toDouble(), rows.value(2).toDouble()))
                    << "\r\n";
        context.log.LogProcess(kBrivas + "OK");
    } catch (const std::exception& e) {
        context.log.LogFailure(kBrivas + kNotReached + QString::fromStdString(e.what()));
    }
}
