// The commands that build and settle a receipt through the sale window's item field.
#include "command_file_messages.h"
#include "command_interpreter.h"

#include <cmath>

namespace command_file {

namespace {

constexpr int kSale = 0;
constexpr int kReturn = 1;
// Amounts compare with the till's money tolerance.
constexpr double kZeroAmount = 0.001;

double decimalOr(const QString& arguments, QStringView key, double fallback) {
    const auto value = KeyValue(arguments, key);
    if (!value) return fallback;
    return ParseDecimal(*value).value_or(fallback);
}

// Drops the text up to and including its first ';'; nothing when there is none.
void dropThroughSemicolon(QString& text) {
    const qsizetype at = text.indexOf(u';');
    if (at >= 0) text.remove(0, at + 1);
}

}  // namespace

QString CommandInterpreter::CmdSaleLine(const CommandLine& line) {
    const int mode = line.keyword == u"RETURN" ? kReturn : kSale;
    const QString plu = KeyValue(line.arguments, u"PLU").value_or(QString());
    const double quantity = decimalOr(line.arguments, u"QNTY", 0);
    const double price = decimalOr(line.arguments, u"CENA", 0);

    // A refused line changes nothing, not even the sale/return mode. An open receipt keeps its
    // mode, so a line of the other kind would be booked the wrong way round: it is refused.
    const bool receiptOpen = till_.RinduSkaits() > 0;
    if (receiptOpen && till_.SaleMode() != mode) return messages::kJauktsCeks;
    if (plu.isEmpty()) return messages::kNavArtikula;
    if (quantity == 0) return messages::kNavDaudzuma;

    if (!receiptOpen) till_.StartReceiptMode(mode);
    QString entry;
    if (quantity != 1) entry = FormatGeneral(quantity) + u'*';
    entry += plu;
    if (price != 0) entry += u'=' + FormatGeneral(price);
    // Whatever the item entry refuses reaches the reply as its messages.
    till_.EnterItemText(entry);
    return messages::kOk;
}

QString CommandInterpreter::CmdDiscount(const CommandLine& line) {
    // Outside 1..100 (or none) the field is emptied, which ends the discount.
    const double percent = decimalOr(line.arguments, u"PRC", 0);
    till_.SetDiscountText(percent >= 1 && percent <= 100 ? FormatGeneral(percent) : QString());
    return messages::kOk;
}

QString CommandInterpreter::CmdHeader(const CommandLine& line) {
    static constexpr std::pair<std::u16string_view, CustomerField> kFields[] = {
        {u"COMENT", CustomerField::OtherInfo},
        {u"MAKS", CustomerField::Name},
        {u"PVN", CustomerField::RegistrationNr},
        {u"ADR", CustomerField::Address},
    };
    for (const auto& [key, field] : kFields) {
        if (const auto value = KeyValue(line.arguments, key)) till_.SetCustomerField(field, *value);
    }
    return messages::kOk;
}

QString CommandInterpreter::CmdPayment(const CommandLine& line) {
    // Pairs "MEDIA=kind;AMOUNT=amount;" in order become the payment dialog's text
    // "/kind=amount" per row. A pair whose kind is not a number is left out whole.
    QString rest = line.arguments;
    QString payment;
    double amount = 0;
    bool kindSelected = false;
    while (rest.contains(u"MEDIA=")) {
        const qsizetype before = rest.size();
        const QString kindText = KeyValue(rest, u"MEDIA").value_or(QString());
        const auto kind = ParseInteger(kindText);
        if (kind && !kindSelected) {
            till_.SelectPaymentKind(*kind);
            kindSelected = true;
        }
        if (kind) payment += u'/' + kindText;
        dropThroughSemicolon(rest);
        if (rest.contains(u"AMOUNT=")) {
            const QString amountText = KeyValue(rest, u"AMOUNT").value_or(QString());
            const auto value = ParseDecimal(amountText);
            if (kind && value) {
                amount = *value;
                payment += u'=' + amountText;
            }
            dropThroughSemicolon(rest);
        }
        // A pair not closed by ';' can never be consumed.
        if (rest.size() == before) return messages::kNepabeigtaApmaksa;
        if (rest.isEmpty()) break;
    }
    if (std::abs(amount) < kZeroAmount && till_.SaleMode() == kSale) return messages::kNavSummas;

    till_.EnterItemText(payment);
    if (payment.contains(u"/1=") && till_.CardPaymentRefused()) return messages::kEftCancel;
    return messages::kOk;
}

QString CommandInterpreter::CmdReset(const CommandLine&) {
    till_.EnterItemText(QStringLiteral("--"));
    return messages::kOk;
}

}  // namespace command_file
