// Prepaid vouchers during payment with the outside distributor's object (kind 1) or the voucher
// web service (kind 2): reserving every voucher line before the receipt is printed, and buying
// and printing the vouchers after it; with the payment terminal (kind 0) a top-up per voucher line
// after the receipt.
#pragma once

#include "payment_entry.h"

#include <QStringList>

#include <array>
#include <optional>

class TPrintClass;
struct TCekasStavoklis;

struct VoucherSettings {
    int PrepaidServVeids = 0;  // 0 the payment terminal, 1 the distributor's object, 2 the web service
    QString ZudezoClientID, ZudezoPasword, ZudezoUserID;
    std::array<QString, 10> ZudezoLogo;  // logo names in the printer's logo order
    int EFT = 0;                         // the card-terminal kind; top-ups need the terminal control (1, 2)
};

// What the voucher steps need of the sale window.
class VoucherHost {
public:
    virtual ~VoucherHost() = default;
    virtual TCekasStavoklis& Ceks() = 0;
    virtual bool IsReturn() const = 0;
    virtual TPrintClass* Printer() = 0;
    virtual VoucherSettings Settings() const = 0;
    // A method of the distributor's object "SanitexCOM" by name; nothing when there is no object.
    virtual std::optional<QString> CallDistributor(const QString& method, const QStringList& arguments) = 0;
    // One top-up on the payment terminal for a voucher line of department `nodala` charging
    // `charge`; when the terminal approved it, its two voucher slips are printed and the
    // terminal's reference returned.
    virtual std::optional<QString> TopUpOnTerminal(int nodala, double charge) = 0;
    // The voucher-reference form, modal: the reference typed, whatever button closed it.
    virtual QString AskVoucherReference() = 0;
    // The next receipt's header could not be printed: the receipt is annulled and the program ends.
    [[noreturn]] virtual void AnnulAndEnd() = 0;
};

// A voucher line: department 70 to 99.
bool IsVoucherLine(int nodala);

inline const QString kZudezoReserveFailed = QStringLiteral("ZUDEZO autorizācijas kļūda :\nČeku nobeigt nevar !!!");
inline const QString kZudezoBuyFailed = QStringLiteral("ZUDEZO autorizācijas kļūda !!!");
inline const QString kSanitexErrorLead = QStringLiteral("Sanitex autorizācijas kļūda :\n");
inline const QString kSanitexCannotClose = QStringLiteral("\nČeku nobeigt nevar !!!");
inline const QString kUnknownLogo = QStringLiteral("Nav piereģistrēts logo ");

class PrepaidVoucherSteps : public VoucherSteps {
public:
    explicit PrepaidVoucherSteps(VoucherHost& host) : host_(host) {}

    bool ReserveVouchers() override;
    void AfterPrinting() override;
    bool TopUpsIssued() override;
    // With the web service: what the pending file keeps of the vouchers (pending_vouchers.h).
    void FinishPending(bool receiptPaid) override;

private:
    bool ReserveWithDistributor();
    bool ReserveWithService();
    void PrintWithDistributor();
    void BuyFromService();
    void PrintServiceReceipt(const QString& reference, const QString& receipt);
    void PrintLines(const QString& text);
    void FinishVoucherPrint();
    QString Distributor(const QString& method, const QStringList& arguments);

    VoucherHost& host_;
    VoucherSettings settings_;  // read afresh at each step
};
