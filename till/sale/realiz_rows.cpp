#include "realiz_rows.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <optional>

double RealizCena(const TCekaRinda& line) {
    const double f = 1 - 0.01 * line.Atlaide;
    const double q = line.Daudzums * line.Iepakojums;
    if (f * q == 0) return 0;
    return double(RoundSumma(f * line.Cena * q, 2)) / (f * q);
}

QString RealizLaiks(int hour, int minute, int second) {
    QString text = QString::asprintf("%d:%02d:%02d", hour, minute, second);
    if (text.size() < 8) text.prepend(u'0');
    return text;
}

QString RealizKlKods(const QString& customerKey) { return customerKey == QStringLiteral("0") ? QString() : customerKey; }

QString RealizPiezimes(const TCekaRinda& line) {
    return line.Nosaukums == QStringLiteral("---") ? QStringLiteral("BR.CENA") : QString();
}

void StoreAnnulledRows(const QSqlDatabase& posDb, const AnnulledReceipt& receipt, std::span<const TCekaRinda> lines) {
    QSqlDatabase db = posDb;
    if (!db.transaction()) throw ReceiptStoreError(db.lastError().text().toStdString());
    std::optional<QSqlError> failure;
    {
        QSqlQuery query(db);
        if (!query.prepare(QString::fromLatin1(kAnuletsInsert))) failure = query.lastError();
        for (std::size_t i = 0; !failure && i < lines.size(); ++i) {
            const TCekaRinda& line = lines[i];
            const double q = line.Daudzums * line.Iepakojums;
            query.bindValue(QStringLiteral(":CEKA_NR"), receipt.CekaNr);
            query.bindValue(QStringLiteral(":DATUMS"), receipt.Datums);
            query.bindValue(QStringLiteral(":LAIKS"), receipt.Laiks);
            query.bindValue(QStringLiteral(":KL_KODS"), receipt.KlKods.isNull() ? QString("") : receipt.KlKods);
            query.bindValue(QStringLiteral(":ARTIKULS"), line.Artikuls.left(30));
            query.bindValue(QStringLiteral(":CENA"), RealizCena(line));
            query.bindValue(QStringLiteral(":NODOKLIS"), line.Nodala);
            query.bindValue(QStringLiteral(":DAUDZUMS"), receipt.Atgriesana ? -q : q);
            query.bindValue(QStringLiteral(":ATLAIDE"), line.Atlaide);
            query.bindValue(QStringLiteral(":NODALA"), line.ApmVeids);
            query.bindValue(QStringLiteral(":KASIERIS"), receipt.Kasieris);
            const QString notes = RealizPiezimes(line);
            query.bindValue(QStringLiteral(":PIEZIMES"), notes.isNull() ? QString("") : notes);
            if (!query.exec()) failure = query.lastError();
        }
    }
    CommitReceiptRows(db, failure);
}

void CommitReceiptRows(QSqlDatabase& db, std::optional<QSqlError> failure) {
    if (!failure && db.commit()) return;
    if (!failure) failure = db.lastError();
    db.rollback();
    throw ReceiptStoreError(failure->text().toStdString());
}
