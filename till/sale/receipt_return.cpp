#include "receipt_return.h"

#include "receipt.h"
#include "text_format.h"

#include "read_committed_query.h"

#include <QSqlRecord>
#include <QVariant>

namespace {

const char* const kWhere = " FROM REALIZ WHERE CEKA_NR=? AND ANULETS!='T' AND ANULETS IS NOT NULL";

}  // namespace

double ReturnDivisor(const QDate& datums) { return datums.isValid() && datums < QDate(2014, 1, 1) ? kLatiParEiro : 1.0; }

StoredReceipt ReadStoredReceipt(const QSqlDatabase& posDb, int cekaNr) {
    StoredReceipt receipt;
    platform::ReadCommittedQuery query(posDb, QStringLiteral("SELECT DATUMS, CENA*(1-ATLAIDE/100)*DAUDZUMS SUMMA, ARTIKULS, CENA, "
                                                             "DAUDZUMS, ATLAIDE, KL_KODS, KL_NOSAUKUMS, KL_REG_NR, APM_RINDA, "
                                                             "CITASZINAS, APM_VEIDS") +
                                                  QString::fromLatin1(kWhere));
    for (const QSqlRecord& r : query.run({cekaNr})) {
        if (receipt.rows.empty()) receipt.datums = r.value("DATUMS").toDate();
        receipt.total += double(RoundSumma(r.value("SUMMA").toDouble(), 2));
        const auto text = [&](const char* column) { return r.value(column).toString(); };
        receipt.rows.push_back({text("ARTIKULS"), r.value("CENA").toDouble(), r.value("DAUDZUMS").toDouble(),
                                r.value("ATLAIDE").toDouble(), text("KL_KODS"), text("KL_NOSAUKUMS"), text("KL_REG_NR"),
                                text("APM_RINDA"), text("CITASZINAS"), r.value("APM_VEIDS").toInt()});
    }
    return receipt;
}

int ReturnNumber(const QString& text) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    return ok ? number : 0;
}

QString ReturnQuestion(double total, double divisor) {
    return FormatC(QStringLiteral("Čeka summa %7.2f \n Vai veikt čeka atgriešanu ?"), {double(RoundSumma(total / divisor, 2))});
}

QString ReturnEntryText(const ReturnRow& row, double divisor) {
    return FormatC(QStringLiteral("%7.3f*%s=%7.4f"), {row.daudzums, row.artikuls, row.cena / divisor});
}

int ReturnPaymentKind(const PaymentKindList& kinds, int apmVeids) {
    const std::optional<PaymentKind> kind = kinds.find(apmVeids - 1);
    if (!kind || kind->text == kSecondCurrencyText) return kCashKind;
    return kind->number;
}
