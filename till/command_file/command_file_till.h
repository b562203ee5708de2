// What the command-file interpreter needs of the till: the sale window implements it with its
// ordinary item entry, drawer, display, fiscal-memory and report functions, so a command file
// reaches the receipt exactly as a cashier's keys do.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace command_file {

// The customer fields of the sale screen that HEAD fills.
enum class CustomerField { OtherInfo, Name, RegistrationNr, Address };

// One payment kind's day counter as the reports read it.
struct PaymentKindTotal {
    QString flag;  // its first character "T": the kind is cash kept in the drawer
    QString name;
    std::int64_t cents = 0;
};

class CommandFileTill {
public:
    virtual ~CommandFileTill() = default;

    // The reply list: made on the first served file and kept; emptied here for every file. The
    // till's message routine appends to the same list while it exists.
    virtual QStringList& StartReply() = 0;
    // The till's message routine, not forced: into the reply list, no message box.
    virtual void ShowPazinojums(const QString& text) = 0;
    // A receipt is being closed: should the program end now, its next start finishes or annuls
    // the receipt and answers the command file from it.
    virtual bool ReceiptClosingPending() const = 0;
    // The reply file is written: a stored receipt's answer is no longer owed.
    virtual void ReplyWritten() {}

    // The open receipt: its number of lines (0: none open) and its sale (0) or return (1) mode.
    virtual int RinduSkaits() const = 0;
    virtual int SaleMode() const = 0;
    // With no receipt open: remember the current mode, switch the screen to `mode` and put the
    // focus into the item field, as the cashier's mode switch does.
    virtual void StartReceiptMode(int mode) = 0;
    // Puts the text into the item field and presses Enter there.
    virtual void EnterItemText(const QString& text) = 0;
    virtual void SetDiscountText(const QString& text) = 0;
    // Sets a customer field as typing would (its change handling runs).
    virtual void SetCustomerField(CustomerField field, const QString& text) = 0;
    // Selects the payment kind of this number (0 cash, 1 bank card, 2-11, 12 lats) in the list.
    virtual void SelectPaymentKind(int number) = 0;
    // A card payment of this receipt went to the terminal and was not approved.
    virtual bool CardPaymentRefused() const = 0;

    // The till database, for the item table.
    virtual QSqlDatabase PosDb() = 0;

    // Customer display and drawer.
    virtual void ShowOnDisplay(const QString& line1, const QString& line2) = 0;
    virtual void ClearDisplay() = 0;
    virtual void ShowDisplayIdle() = 0;
    virtual void OpenDrawer() = 0;

    // Fiscal memory: one named working record as text (false when unreadable; empty when never
    // written, whatever `text` held before), and payment kind n (1..10) of the day counters, read
    // without zeroing (nullopt when unreadable).
    virtual bool ReadFiscalRecord(const QString& name, QString& text) = 0;
    // Before the counters are read for a report: a receipt whose closing was cut short is
    // finished first. False when it cannot be (said; the program ends).
    virtual bool FinishPendingReceipt() = 0;
    virtual std::optional<PaymentKindTotal> ReadPaymentKind(int n) = 0;

    // The cash in/out form's print operation with one of the two amounts filled (the other
    // empty), then the drawer-limit check. Returns the form's result code, cleared before the
    // operation: 1 done, 0 refused by the form's own checks (its message given), -2 when the
    // fiscal memory could not be written.
    virtual int CashInOut(const QString& putIn, const QString& takenOut) = 0;

    // The copy of the last stored receipt, as from the menu.
    virtual void PrintLastReceiptCopy() = 0;
    // The X report menu command; false when it refused (its message already given).
    virtual bool XReport() = 0;
    // The Z report's printing, fiscal record and zeroing with no question asked: 1, or -2 on a
    // device or fiscal-memory failure.
    virtual int ZReport() = 0;
};

}  // namespace command_file
