// The payment text of the item field ("/0=10.00/1=5.50", "/12.50", "/USD20", "/" on a return):
// its rows, the money received, and the checks a payment must pass before the receipt closes.
#pragma once

#include "payment_kinds.h"
#include "receipt.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <utility>

// The 1-based position of the n-th occurrence of `sub` in `text` (occurrences that do not
// overlap, from the left); 0 when there are fewer.
int PosN(const QString& sub, const QString& text, int n);

// A number as the cashier types it: "." as the decimal point, an optional sign and exponent,
// blanks around allowed. Empty for anything else.
std::optional<double> ParseAmount(const QString& text);

// One row of the payment text the payment dialog builds: "/", the kind, "=" and the amount in
// cents' precision ("/0=20.00").
QString PaymentTextRow(int kind, double amount);

// The payment dialog's amount fields, kinds 0 to 12 in order.
using PaymentFields = std::array<QString, 13>;
// The dialog's payment text: one row for every field holding a number other than 0, in kind
// order, and the last kind written (0 when none).
std::pair<QString, int> PaymentDialogText(const PaymentFields& fields);
// What the fields add up to in the receipt currency: kind 12 (lats) at the lats rate; a field
// that is not a number adds nothing.
double PaymentDialogSum(const PaymentFields& fields, double eurKurss);

struct PaymentEntry {
    QString text;           // the item field's text, beginning with "/"
    bool isReturn = false;  // the sale / return switch on return
    double CekaSumma = 0;
    int lineCount = 0;
    bool customerChosen = false;  // a customer to take a deposit from
    const PaymentKindList* kinds = nullptr;
    int selectedKind = kCashKind;  // number of the kind selected in the payment-kind list
    int CekaValuta = 0;
    double EUR_Kurss = 0;
    QString CekaValutaKods = QStringLiteral("LVL");
    bool AtgriesanaPecCeka = false;  // a return loaded from a stored receipt: no card refund here
    // The rate of a currency code (N_VALUTAS), empty when the table has none.
    std::function<std::optional<double>(const QString&)> rate;
    // Charges one card row its own amount, once the payment has passed its checks; false when
    // declined (the charge step told the cashier).
    std::function<bool(const TApmaksasRinda&)> chargeCard;
};

struct PaymentResult {
    enum Verdict {
        Accepted,
        Refused,
        // No lines yet: add the customer's deposit line of depositAmount and enter the text again.
        DepositLine,
    };
    Verdict verdict = Refused;
    QString message;          // why it was refused (empty when a card step already told)
    bool clearField = false;  // a refused payment check empties the item field; a text error keeps it
    TApmaksas rows;           // Veids -1 marks a row not in use
    int rowCount = 0;
    double Sanemts = 0;       // 0 after a refusal
    QString ApmValuta;
    double valutasKurss = 1.0;
    double depositAmount = 0;
};

// Parses and checks a payment text. Never changes the receipt; the caller applies the result.
PaymentResult ParsePaymentText(const PaymentEntry& entry);

// The customer's money deposit, the one line of a receipt paid with no goods on it.
TCekaRinda KlientaIemaksasRinda(double amount);

// The customer display's two lines after an accepted payment.
std::pair<QString, QString> PaymentDisplayLines(bool isReturn, double cekaSumma, double sanemts);

// Messages.
inline const QString kGuardMessage =
    QStringLiteral("Lietots nepareizs komata atdalītājs, vai iavdīts nepareiza saņemtā summa !!!");
inline const QString kNoAmountMessage = QStringLiteral("Obligāti jāievada saņemtās naudas summa !!!");
inline const QString kReturnInCurrencyMessage = QStringLiteral("Atgriešanu nevar veikt valūtā !!!");
inline const QString kChooseCustomerMessage = QStringLiteral("Jāizvēlas klients, no kura saņemt apamaksu !!!");
inline const QString kWrongKindMessage =
    QStringLiteral("Ievadīts nepareizs apmaksas veids, ievadiet lūdzu korektu !!!");
inline const QString kNotEnoughMessage =
    QStringLiteral("Ar šo naudu nevar apmaksāt visu čeka summu, izvēlaties nākošo apmaksas veidu !!!");
inline const QString kReturnCashMessage = QStringLiteral("Atgriešanā nevar likt apmaksu skaidrai naudai !!!");
inline const QString kCardEqualMessage =
    QStringLiteral("Bezskaidras naudas norēķinos apmaksas summai jābūt vienādai ar čeka summu !!!");
inline const QString kCardBelowMessage =
    QStringLiteral("Bezskaidras naudas norēķinos apmaksas summai jābūt mazākai par čeka summu. !!!");
// A currency code N_VALUTAS does not know, and lats taken without a lats rate.
QString UnknownCurrencyMessage(const QString& code);
inline const QString kNoSecondCurrencyRateMessage =
    QStringLiteral("Nav iestādīts LVL kurss, apmaksu latos pieņemt nevar !!!");
