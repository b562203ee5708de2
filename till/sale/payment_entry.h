// The payment half of the item field: the "/" key (total, add-on offer, the payment dialog) and
// the payment text that closes the receipt: printing, fiscal registration, storing, the drawer
// limit, with the fatal rule for the fiscal memory.
#pragma once

#include "closing_receipt.h"
#include "head_lines.h"
#include "payment_kinds.h"
#include "payment_text.h"
#include "receipt_recovery.h"

#include <QString>

#include <optional>
#include <utility>

class SaleEngine;
class SaleWindow;

// Card charges during payment, by the configured terminal. The defaults are a till without one:
// nothing to charge, no slip.
class CardSteps {
public:
    virtual ~CardSteps() = default;
    // Charges one card row at once; false when declined (the step has told the cashier).
    virtual bool ChargeCardRow(const TApmaksasRinda&) { return true; }
    // After a charge that went through: the terminal's reference when a terminal approved it
    // (money taken), none when no terminal was asked.
    virtual std::optional<QString> LastApproval() const { return std::nullopt; }
    // Refunds a returned receipt's amount to the card; false when refused (the step has told).
    virtual bool RefundCard(double /*amount*/) { return false; }
    // True when the card slip of an approved chip-reader payment follows the receipt on its paper
    // (the approved payment has been settled).
    virtual bool CardSlipFollows(const QString& /*paymentText*/) { return false; }
    virtual void PrintCardSlip(int /*copy*/) {}
};

// Prepaid vouchers during payment, by the configured voucher service or terminal. The defaults
// are a till without one: nothing to reserve or sell.
class VoucherSteps {
public:
    virtual ~VoucherSteps() = default;
    // Reserves the receipt's vouchers before printing; false stops the payment.
    virtual bool ReserveVouchers() { return true; }
    // Buys and prints the reserved vouchers after the receipt.
    virtual void AfterPrinting() {}
    // After AfterPrinting: false when a top-up line the terminal sells was not issued, so the
    // receipt must not be counted with it.
    virtual bool TopUpsIssued() { return true; }
    // At the start, before the receipt an earlier run was closing is finished: its vouchers
    // bought and printed when `receiptPaid`, else their reservations cancelled.
    virtual void FinishPending(bool /*receiptPaid*/) {}
};

// What the payment entry needs of the sale window besides SaleWindow.
class PaymentWindow {
public:
    virtual ~PaymentWindow() = default;
    virtual const PaymentKindList& PaymentKinds() const = 0;
    // Number of the kind selected in the payment-kind list; SelectPaymentKind selects the entry
    // of a kind (the first entry when the kind is not in the list).
    virtual int SelectedPaymentKind() const = 0;
    virtual void SelectPaymentKind(int number) = 0;
    // The payment dialog, modal: its payment text (empty when left without paying) and the last
    // kind written into it.
    virtual std::pair<QString, int> RunPaymentDialog() = 0;
    // A yes/no question (the add-on offer); true for yes.
    virtual bool AskYesNo(const QString& question) = 0;
    virtual void CheckNaudasLadi() = 0;
    // Whether the text copy of this receipt was asked for (the menu tick).
    virtual bool TextCopyWanted() const = 0;
    // After a stored receipt, once the sale screen is cleared (the gift-card form's reset).
    virtual void ReceiptStored() {}

    struct Settings {
        ClosingSettings closing;
        QString KasierisFullName;
        QString CekaKopijaPath;
        QString KasesNr;
    };
    virtual Settings ClosingIestatijumi() const = 0;
    virtual CardSteps& Card() = 0;
    virtual VoucherSteps& Vouchers() = 0;
};

inline const QString kFiscalFailureMessage =
    QStringLiteral("Problēma ar Fiskālo atmiņu vai datiem. Darbs tiek pārtraukts !!!");
inline const QString kStoreFailedMessage = QStringLiteral("Čeku saglabāt datu bāzē neizdevās !!!\n\n");
QString MinimumTotalMessage(const QString& currency);
// The card rows approved in an earlier try of the receipt that its payment text does not take up.
QString ApprovedCardsLeftMessage(double amount);
inline const QString kTopUpNotIssuedMessage = QStringLiteral(
    "Priekšapmaksas karte netika izsniegta: noņemiet tās rindu no čeka un nobeidziet čeku vēlreiz !!!");

class PaymentEntryFlow : private ClosingHost {
public:
    PaymentEntryFlow(SaleWindow& window, SaleEngine& engine, PaymentWindow& payment);

    // The "/" key while the receipt has lines; key becomes 13 when the dialog's text is in the
    // field, 0 when the dialog was left, and stays "/" when the key goes into the field.
    void PaymentKey(int& key);
    // A line text beginning with "/"; true when the item field's common tail follows.
    bool EnterPayment(const QString& lineText);

    // The receipt number the last closed receipt was stored under (0 before any).
    int LastStoredNumber() const { return lastStored_; }

    // Copies of the last closed receipt and of the kept card or prepaid slips (refused while a
    // receipt is open or when there is nothing to copy).
    void PrintLastReceiptCopy();
    void PrintSlipCopy(SlipKind kind);

private:
    ClosingReceipt Receipt() const;
    bool Close();
    // The journal rows' values of the receipt being closed under `number`.
    ReceiptRows ClosingRows(int number) const;
    void SaveCeku(MarkedClosing& marked);
    // Charges a card row, less what earlier approvals of this receipt still cover (`covered`,
    // taken up as the rows use it); an approval is kept in the pending file at once.
    bool ChargeCardRow(const TApmaksasRinda& row, double& covered);
    // Adds a row the terminal approved to the open receipt's.
    void AddApproval(double amount, int kind);
    [[noreturn]] void FiscalFailure();

    // ClosingHost
    int PrintCekaRinda(const TCekaRinda& line) override;
    QStringList MaksatajaRindas() override;
    void AnuletCeku() override;
    void SetStatusText(const QString& text) override;
    void ShowPazinojums(const QString& text) override;

    SaleWindow& w_;
    SaleEngine& engine_;
    PaymentWindow& p_;
    QString ApmValuta_;
    double valutasKurss_ = 1.0;
    int lastStored_ = 0;
};
