#include "payment_kinds.h"

#include "fmproc.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <stdexcept>

QStringList PaymentKindList::texts() const {
    QStringList result;
    for (const PaymentKind& kind : kinds_) result << kind.text;
    return result;
}

std::optional<PaymentKind> PaymentKindList::find(int number) const {
    for (const PaymentKind& kind : kinds_)
        if (kind.number == number) return kind;
    return std::nullopt;
}

int PaymentKindList::positionOf(int number) const {
    for (std::size_t i = 0; i < kinds_.size(); ++i)
        if (kinds_[i].number == number) return int(i);
    return -1;
}

int PaymentKindList::numberOfText(const QString& text) const {
    for (const PaymentKind& kind : kinds_)
        if (kind.text == text) return kind.number;
    return -1;
}

PaymentKindList LoadApmaksasVeidi(TFMProc& fm, int cekaValuta) {
    PaymentKindList list;
    list.add(kCashKind, cekaValuta == 0 ? QStringLiteral("0-Skaidra nauda LVL") : QStringLiteral("0-Skaidra nauda EUR"));
    list.add(kCardKind, QStringLiteral("1-Bankas karte"));
    for (int n = 1; n <= 10; ++n) {
        QString name;
        if (!fm.FMRead(QStringLiteral("APMVEID%1").arg(n), name)) name.clear();
        if (!name.isEmpty() && !name.contains(QStringLiteral("Apmaksas v")))
            list.add(n + 1, QString::number(n + 1) + "-" + name.left(15));
    }
    if (cekaValuta == 1) list.add(kSecondCurrencyKind, kSecondCurrencyText);
    return list;
}

namespace {

QSqlQuery run(const QSqlDatabase& db, const QString& sql, const QString& name = {}, const QVariant& value = {}) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) throw std::runtime_error(query.lastError().text().toStdString());
    if (!name.isEmpty()) query.bindValue(name, value);
    if (!query.exec()) throw std::runtime_error(query.lastError().text().toStdString());
    return query;
}

}  // namespace

std::optional<double> GetValutasKurss(const QSqlDatabase& posDb, const QString& code) {
    QSqlQuery query = run(posDb, QStringLiteral("SELECT ISN, KURSS FROM N_VALUTAS WHERE VAL_KODS=:VALUTA"),
                          QStringLiteral(":VALUTA"), code);
    if (query.next() && query.value(0).toLongLong() > 0) return query.value(1).toDouble();
    return std::nullopt;
}

std::optional<AddOnArticle> CheckPievArtikuli(const QSqlDatabase& posDb, double cekaSumma, bool isReturn,
                                              std::span<const TCekaRinda> lines) {
    if (isReturn) return std::nullopt;
    QSqlQuery settings = run(posDb, QStringLiteral("SELECT PIEVARTIK1, PIEVSUMMA1, PIEVARTIK2, PIEVSUMMA2, "
                                                   "PIEVARTIK3, PIEVSUMMA3 FROM N_ISI"));
    if (!settings.next()) return std::nullopt;
    double best = 0;
    QString article;
    for (int n = 0; n < 3; ++n) {
        const double threshold = settings.value(2 * n + 1).toDouble();
        if (threshold > 0 && threshold < cekaSumma && cekaSumma > best) {
            best = threshold;
            article = settings.value(2 * n).toString();
        }
    }
    if (article.isEmpty()) return std::nullopt;
    for (const TCekaRinda& line : lines)
        if (line.Artikuls == article) return std::nullopt;
    QSqlQuery item = run(posDb, QStringLiteral("SELECT GNOS FROM N_PRECE WHERE ARTIKULS=:ARTIKULS"),
                         QStringLiteral(":ARTIKULS"), article);
    return AddOnArticle{article, item.next() ? item.value(0).toString() : QString()};
}

QString AddOnQuestion(const AddOnArticle& article) { return "Vai pievienot " + article.nosaukums + " ?"; }
