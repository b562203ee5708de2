#include "payment_text.h"

#include <charconv>
#include <cmath>
#include <string>

int PosN(const QString& sub, const QString& text, int n) {
    if (sub.isEmpty() || n < 1) return 0;
    qsizetype from = 0;
    for (int found = 0;;) {
        const qsizetype at = text.indexOf(sub, from);
        if (at < 0) return 0;
        if (++found == n) return int(at) + 1;
        from = at + sub.size();
    }
}

std::optional<double> ParseAmount(const QString& text) {
    std::string s = text.trimmed().toStdString();
    if (!s.empty() && s.front() == '+') s.erase(0, 1);
    if (s.empty() || s.front() == '+') return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

QString PaymentTextRow(int kind, double amount) {
    return "/" + QString::number(kind) + "=" + QString::number(double(RoundSumma(amount, 2)), 'f', 2);
}

std::pair<QString, int> PaymentDialogText(const PaymentFields& fields) {
    QString text;
    int last = 0;
    for (int kind = 0; kind < int(fields.size()); ++kind) {
        const std::optional<double> amount = ParseAmount(fields[std::size_t(kind)]);
        if (!amount || *amount == 0) continue;
        text += PaymentTextRow(kind, *amount);
        last = kind;
    }
    return {text, last};
}

double PaymentDialogSum(const PaymentFields& fields, double eurKurss) {
    double sum = 0;
    for (std::size_t kind = 0; kind < fields.size(); ++kind)
        if (const std::optional<double> amount = ParseAmount(fields[kind]))
            sum += kind == kSecondCurrencyKind ? *amount * eurKurss : *amount;
    return sum;
}

QString UnknownCurrencyMessage(const QString& code) {
    return "Valūtai " + code + " nav norādīts kurss, apmaksu šajā valūtā pieņemt nevar !!!";
}

namespace {

PaymentResult refuse(QString message, bool clearField) {
    PaymentResult result;
    result.verdict = PaymentResult::Refused;
    result.message = std::move(message);
    result.clearField = clearField;
    return result;
}

// The conversion error as the cashier sees it after the guard's lead text.
PaymentResult notANumber(const QString& text, const char* what) {
    return refuse(kGuardMessage + "'" + text + "' is not a valid " + what + " value", false);
}

}  // namespace

PaymentResult ParsePaymentText(const PaymentEntry& entry) {
    const QString& typed = entry.text;
    if (!entry.isReturn && typed.trimmed().size() == 1) return refuse(kNoAmountMessage, false);

    PaymentResult result;
    QString work = typed;
    if (typed.size() >= 2) {
        const QChar c = typed[1];
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) result.ApmValuta = typed.mid(1, 3);
    } else {
        work = QStringLiteral("0.00");
    }
    if (entry.isReturn && !result.ApmValuta.isEmpty()) return refuse(kReturnInCurrencyMessage, false);

    if (entry.lineCount == 0) {
        if (!entry.customerChosen) return refuse(kChooseCustomerMessage, false);
        const QString rest = work.mid(1);
        const std::optional<double> amount = ParseAmount(rest);
        if (!amount) return notANumber(rest, "floating point");
        result.verdict = PaymentResult::DepositLine;
        result.depositAmount = *amount;
        return result;
    }

    const std::optional<PaymentKind> selected = entry.kinds ? entry.kinds->find(entry.selectedKind) : std::nullopt;
    QString rest = work.startsWith('/') ? work.mid(1) : work;
    double sanemts = 0;
    int i = 0;
    for (; !rest.isEmpty() && i < MaxApmaksas; ++i) {
        TApmaksasRinda& row = result.rows[std::size_t(i)];
        QString amountText;
        if (!result.ApmValuta.isEmpty() || !rest.contains('=')) {
            row.Veids = entry.selectedKind;
            row.Teksts = selected ? selected->text : QString();
            if (!result.ApmValuta.isEmpty())
                amountText = rest.mid(3);  // a currency payment is always one row
            else
                amountText = rest.contains('/') ? rest.mid(rest.indexOf('/') + 1) : rest;
            rest.clear();
        } else {
            const qsizetype eq = rest.indexOf('=');
            const QString kindText = rest.left(eq);
            bool ok = false;
            row.Veids = kindText.trimmed().toInt(&ok);
            if (!ok) return notANumber(kindText, "integer");
            if (row.Veids == kSecondCurrencyKind) {
                row.Teksts = kSecondCurrencyText;
            } else {
                const std::optional<PaymentKind> kind = entry.kinds ? entry.kinds->find(row.Veids) : std::nullopt;
                row.Teksts = kind ? kind->text : QString();
            }
            if (row.Teksts.isEmpty()) return refuse(kWrongKindMessage, false);
            const qsizetype slash = rest.indexOf('/');
            if (slash >= 0) {
                amountText = rest.mid(eq + 1, std::max<qsizetype>(0, slash - eq - 1));
                rest = rest.mid(slash + 1);
            } else {
                amountText = rest.mid(eq + 1);
                rest.clear();
            }
        }
        const std::optional<double> amount = ParseAmount(amountText);
        if (!amount) return notANumber(amountText, "floating point");
        if (!result.ApmValuta.isEmpty()) {
            // A code the currency table does not know is refused, not taken at 1:1.
            const std::optional<double> rate = entry.rate ? entry.rate(result.ApmValuta) : std::nullopt;
            if (!rate || *rate <= 0) return refuse(UnknownCurrencyMessage(result.ApmValuta), false);
            result.valutasKurss = *rate;
        }
        row.Summa = *amount * result.valutasKurss;
        if (row.Veids == kSecondCurrencyKind) {
            // Lats are taken only at a known rate into the receipt's euros.
            if (entry.CekaValuta != 1 || entry.EUR_Kurss <= 0) return refuse(kNoSecondCurrencyRateMessage, false);
            row.Summa = double(RoundSumma(row.Summa * entry.EUR_Kurss, 2));
        }
        sanemts += row.Summa;
        if (entry.isReturn) {
            row.Summa = -row.Summa;
            if (row.Summa == 0) row.Summa = -entry.CekaSumma;
        }
    }
    result.rowCount = i;

    const auto refusal = [](const QString& message) { return refuse(message, true); };
    if (!entry.isReturn && sanemts - entry.CekaSumma < -0.001) return refusal(kNotEnoughMessage);
    if (entry.isReturn && sanemts >= 0.001 && entry.selectedKind == kCashKind && PosN("/", typed, 2) == 0)
        return refusal(kReturnCashMessage);
    if (std::fabs(sanemts - entry.CekaSumma) > 0.001 && entry.selectedKind > kCashKind &&
        result.rows[0].Veids != kSecondCurrencyKind && !entry.isReturn && result.rowCount == 1)
        return refusal(kCardEqualMessage);
    if (!entry.isReturn && result.rowCount > 1)
        for (int r = 0; r < result.rowCount; ++r)
            if (result.rows[std::size_t(r)].Veids == kCardKind && result.rows[std::size_t(r)].Summa > entry.CekaSumma)
                return refusal(kCardBelowMessage);
    if (sanemts > 10000) return refusal("Apmaksas summa nedrīkst būt lielāka par " + entry.CekaValutaKods + " 10000");

    // Cards are charged only for a payment the checks above let through: a check refusing after a
    // charge would leave the card charged and the receipt open, and the next try charge it again.
    // Each card row is charged its own amount.
    if (!entry.isReturn || !entry.AtgriesanaPecCeka)
        for (int r = 0; r < result.rowCount; ++r)
            if (const TApmaksasRinda& row = result.rows[std::size_t(r)];
                row.Veids == kCardKind && entry.chargeCard && !entry.chargeCard(row))
                return refuse(QString(), false);

    result.verdict = PaymentResult::Accepted;
    result.Sanemts = sanemts;
    return result;
}

TCekaRinda KlientaIemaksasRinda(double amount) {
    TCekaRinda line;
    line.Cena = amount;
    line.Daudzums = 1.0;
    line.Iepakojums = 1.0;
    line.Atlaide = 0;
    line.Artikuls = QStringLiteral(" ");
    line.Nosaukums = QStringLiteral("Klienta naudas iemaksa");
    line.Mervieniba = QStringLiteral(" ");
    line.Bonuss = 0;
    line.ApmVeids = 2;
    line.Nodala = 20;
    line.Tara = false;
    return line;
}

std::pair<QString, QString> PaymentDisplayLines(bool isReturn, double cekaSumma, double sanemts) {
    return {QString::asprintf("Kopā %7.2f", cekaSumma),
            QString::asprintf(isReturn ? "Atg%6.2f Izd%6.2f" : "Saņ%6.2f Izd%6.2f", sanemts, sanemts - cekaSumma)};
}
