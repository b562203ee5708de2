// SanemRealizSun: a till's sums by item of the period into SUN.TXT of the DBF folder, after the
// lines of the tills before it in the pass.
#include "sun_txt.h"

#include "codepage_1257.h"
#include "dbf_table.h"
#include "till_sql.h"

#include <QSaveFile>

#include <cmath>
#include <fstream>
#include <iterator>

namespace {

const QString kStep = QStringLiteral("Saņem SUN.TXT : ");

QString zeroFilled(const QString& text, int width) { return text.rightJustified(width, u'0'); }

// The file's bytes with every line ended by CR LF; empty when there is no file.
std::string linesOf(const std::filesystem::path& file) {
    if (!std::filesystem::exists(file)) return {};
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + file.string());
    std::string out, line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out += line + "\r\n";
    }
    if (in.bad()) throw std::runtime_error("cannot read " + file.string());
    return out;
}

// Replaces the file at once, so a failure leaves what the last till wrote.
void save(const std::filesystem::path& file, const std::string& bytes) {
    QSaveFile out(QString::fromStdString(file.string()));
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !out.commit())
        throw std::runtime_error("cannot write " + file.string() + ": " + out.errorString().toStdString());
}

}  // namespace

std::optional<QString> SunLine(const QString& artikuls, double summa, double daudzums) {
    const QString quantity = QString::asprintf("%8.3f", std::fabs(daudzums)).trimmed();
    if (quantity == u"0.000") return std::nullopt;
    const QString sign = daudzums < 0 ? QStringLiteral("-") : QString();
    // 'f' with no decimals writes every digit of a large amount, never an exponent.
    const QString hundredths = QString::number(Noapalot(0, std::fabs(summa) * 100), 'f', 0);
    return zeroFilled(artikuls, 13) + u',' + sign + zeroFilled(hundredths, 12) + u',' + sign + zeroFilled(quantity, 8);
}

void SanemRealizSun(const TransferContext& context, const QString& path, bool first) {
    context.log.LogProcess(kStep + "Sāku procesu");
    const auto file = FindFileAnyCase(context.values.dbfFolder, kSunTxtFile);
    try {
        if (first) std::filesystem::remove(file);
        QSqlDatabase db = ConnectTill(path);
        const ZRange range = AtrodZRobezas(db, context.values.Z_Nr);
        if (range.ISN_LIDZ < 1) {
            context.log.LogFailure(kStep + ZNumberMissing(context.values.Z_Nr));
            return;
        }
        std::string bytes = linesOf(file);
        QSqlQuery rows = PreparedQuery(db, QStringLiteral("SELECT ARTIKULS, SUM(DAUDZUMS) DAUDZUMS, SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) SUMMA "
                                                          "from realiz WHERE datums BETWEEN :DATUMS_NO AND :DATUMS_LIDZ "
                                                          "AND REALIZ.ISN BETWEEN :ISN_NO AND :ISN_LIDZ "
                                                          "AND ANULETS!='T' AND ANULETS IS NOT NULL "
                                                          "group by artikuls, CENA, ATLAIDE order by artikuls"));
        rows.bindValue(QStringLiteral(":DATUMS_NO"), context.values.DatumsNo);
        rows.bindValue(QStringLiteral(":DATUMS_LIDZ"), context.values.DatumsLidz);
        rows.bindValue(QStringLiteral(":ISN_NO"), range.ISN_NO);
        rows.bindValue(QStringLiteral(":ISN_LIDZ"), range.ISN_LIDZ);
        Execute(rows);
        while (rows.next())
            if (const auto line = SunLine(rows.value(0).toString(), rows.value(2).toDouble(), rows.value(1).toDouble()))
                bytes += toCp1257(*line) + "\r\n";
        save(file, bytes);
        context.log.LogProcess(kStep + "OK");
    } catch (const std::exception& e) {
        context.log.LogFailure(kStep + "Nevarēju pieslēgties kasei ??? " + QString::fromStdString(e.what()));
    }
}
