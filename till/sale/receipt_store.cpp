#include "receipt_store.h"

#include "codepage_1257.h"
#include "fmproc.h"
#include "payment_text.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <fstream>

namespace {

constexpr const char* kSaleInsert =
    "INSERT INTO REALIZ (CEKA_NR, DATUMS, LAIKS, KL_KODS, ARTIKULS, CENA, NODOKLIS, DAUDZUMS, ATLAIDE, SANEMTS, "
    "IZDOTS, BONUSS, APM_VEIDS, NODALA, KASIERIS, PIEZIMES, KARTES_NR, KARTES_SUMMA, ANULETS, APM_RINDA, CITASZINAS, "
    "KL_NOSAUKUMS, KL_REG_NR) "
    "VALUES (:CEKA_NR, :DATUMS, :LAIKS, :KL_KODS, :ARTIKULS, :CENA, :NODOKLIS, :DAUDZUMS, :ATLAIDE, :SANEMTS, "
    ":IZDOTS, :BONUSS, :APM_VEIDS, :NODALA, :KASIERIS, :PIEZIMES, :KARTES_NR, :KARTES_SUMMA, 'F', :APM_RINDA, "
    ":CITASZINAS, :KL_NOSAUKUMS, :KL_REG_NR)";

// The columns' widths: a longer payer typed by hand is cut, never a failed insert.
constexpr int kKlNosaukumsWidth = 60;
constexpr int kKlRegNrWidth = 20;

// Empty texts go in as empty texts, not NULL.
QString text(const QString& value) { return value.isNull() ? QStringLiteral("") : value; }

}  // namespace

std::optional<int> StoredReceiptNumber(TFMProc& fm) {
    QString counter;
    if (!fm.FMRead(QStringLiteral("CEKANRCOUN"), counter)) return std::nullopt;
    const QString digits = counter.left(11).trimmed();
    bool ok = !digits.isEmpty();
    for (const QChar ch : digits) ok = ok && ch.isDigit();
    const long long number = ok ? digits.toLongLong(&ok) : 0;
    if (!ok || number < 1 || number > std::numeric_limits<int>::max()) return std::nullopt;
    return int(number);
}

void StoreReceiptRows(const QSqlDatabase& posDb, const ClosingReceipt& receipt, const ReceiptRows& rows) {
    QSqlDatabase db = posDb;
    if (!db.transaction()) throw ReceiptStoreError(db.lastError().text().toStdString());
    std::optional<QSqlError> failure;
    {
        QSqlQuery query(db);
        if (!query.prepare(QString::fromLatin1(kSaleInsert))) failure = query.lastError();
        const QString paymentText = PosN(QStringLiteral("/"), rows.PaymentText, 2) > 0 ? rows.PaymentText : QString();
        const bool typedPayer = RealizKlKods(rows.KlKods).isEmpty();
        const QString payerName = typedPayer ? rows.KlNosaukums.left(kKlNosaukumsWidth) : QString();
        const QString payerRegNr = typedPayer ? rows.KlRegNr.left(kKlRegNrWidth) : QString();
        for (std::size_t i = 0; !failure && i < receipt.lines.size(); ++i) {
            const TCekaRinda& line = receipt.lines[i];
            const double units = line.Daudzums * line.Iepakojums;
            query.bindValue(QStringLiteral(":CEKA_NR"), rows.CekaNr);
            query.bindValue(QStringLiteral(":DATUMS"), rows.Datums);
            query.bindValue(QStringLiteral(":LAIKS"), rows.Laiks);
            query.bindValue(QStringLiteral(":KL_KODS"), text(RealizKlKods(rows.KlKods)));
            query.bindValue(QStringLiteral(":ARTIKULS"), text(line.Artikuls.left(30)));
            query.bindValue(QStringLiteral(":CENA"), RealizCena(line));
            query.bindValue(QStringLiteral(":NODOKLIS"), line.Nodala);
            query.bindValue(QStringLiteral(":DAUDZUMS"), receipt.isReturn ? -units : units);
            query.bindValue(QStringLiteral(":ATLAIDE"), line.Atlaide);
            query.bindValue(QStringLiteral(":SANEMTS"), receipt.Sanemts);
            query.bindValue(QStringLiteral(":IZDOTS"), receipt.Sanemts - receipt.CekaSumma);
            query.bindValue(QStringLiteral(":BONUSS"), double(line.Bonuss));
            // The kind's own number plus one: 1 cash, 2 bank card, whatever kinds are in use.
            query.bindValue(QStringLiteral(":APM_VEIDS"), rows.ApmVeids + 1);
            query.bindValue(QStringLiteral(":NODALA"), line.ApmVeids);
            query.bindValue(QStringLiteral(":KASIERIS"), text(rows.Kasieris));
            query.bindValue(QStringLiteral(":PIEZIMES"), text(RealizPiezimes(line)));
            query.bindValue(QStringLiteral(":KARTES_NR"), QStringLiteral(""));
            query.bindValue(QStringLiteral(":KARTES_SUMMA"), 0.0);
            query.bindValue(QStringLiteral(":APM_RINDA"), text(paymentText));
            query.bindValue(QStringLiteral(":CITASZINAS"), text(rows.CitasZinas));
            query.bindValue(QStringLiteral(":KL_NOSAUKUMS"), text(payerName));
            query.bindValue(QStringLiteral(":KL_REG_NR"), text(payerRegNr));
            if (!query.exec()) failure = query.lastError();
        }
    }
    CommitReceiptRows(db, failure);
}

void UpdateReceiptStock(const StockLink& stock, const ClosingReceipt& receipt, std::size_t from,
                        const std::function<void(const QString&)>& tell,
                        const std::function<void(std::size_t done)>& moved) {
    for (std::size_t i = from; i < receipt.lines.size(); ++i) {
        const TCekaRinda& line = receipt.lines[i];
        // The line's own quantity: a void line carries it negative, and the pack factor is the
        // stock product's business.
        try {
            UpdateAtlikumi(stock, line.Artikuls, receipt.isReturn ? line.Daudzums : -line.Daudzums);
        } catch (const StockLinkError& error) {
            tell(kStockUpdateFailedMessage + error.text());
        }
        moved(i + 1);
    }
}

std::filesystem::path ReceiptCopyFile(const QString& cekaKopijaPath, int cekaNr, const QString& kasesNr) {
    const QString path = (cekaKopijaPath + QString::number(cekaNr) + "." + kasesNr.trimmed()).trimmed();
    return std::filesystem::path(path.toStdString());
}

bool WriteReceiptCopy(const std::filesystem::path& file, const ClosingReceipt& receipt, const QString& cekaValutaKods) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    QString copy;
    for (const TCekaRinda& line : receipt.lines)
        copy += QString::asprintf("%s %10.3f x %10.3f \n", line.Artikuls.toUtf8().constData(), RealizCena(line),
                                  line.Daudzums * line.Iepakojums);
    copy += QString::asprintf("\n Kopa %3s= %10.2f \n", cekaValutaKods.toUtf8().constData(), receipt.CekaSumma);
    out << toCp1257(copy);
    return bool(out.flush());
}

std::vector<TCekaRinda> IeprCekaRindas(std::span<const TCekaRinda> lines) {
    std::vector<TCekaRinda> kept;
    kept.reserve(lines.size());
    for (const TCekaRinda& line : lines) {
        TCekaRinda copy;
        copy.Cena = line.Cena;
        copy.Daudzums = line.Daudzums;
        copy.Atlaide = line.Atlaide;
        copy.Iepakojums = line.Iepakojums;
        copy.Artikuls = line.Artikuls;
        copy.Nosaukums = line.Nosaukums;
        copy.Mervieniba = line.Mervieniba;
        copy.Bonuss = line.Bonuss;
        copy.ApmVeids = line.ApmVeids;
        copy.Nodala = line.Nodala;
        kept.push_back(copy);
    }
    return kept;
}
