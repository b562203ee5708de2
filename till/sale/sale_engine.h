// The sale engine behind the item field: the entry interpreter, voiding the last line, annulling
// the receipt, the receipt list and sums, and the printed receipt lines. It works on the open
// receipt that the sale window holds and reaches the window's controls and devices through
// SaleWindow.
#pragma once

#include "item_entry.h"
#include "item_lookup.h"
#include "receipt_print.h"
#include "receipt_recovery.h"
#include "receipt_state.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class TFMProc;
class TPrintClass;
struct TPirkumuSaraksts;

// The settings and cashier rights an entry reads, as the window holds them.
struct SaleSettings {
    WeighedLabelFormat Svari;
    LinePrintSettings Druka;
    int NeatrastaPreceNodala = 1;
    bool SilentMessage = false;
    bool NedrukatAnuletosCekus = false;
    bool EkrNosaukDivasRindas = false;
    // The cashier.
    QString Kasieris;
    bool VarAtgreizt = false;
    double MaxAtlaide = 0;
    std::optional<StockLink> stock;  // the stock link, when it is on
    ClosingSettings closing;         // for a receipt the next start prints again
};

// What the engine needs of the sale window.
class SaleWindow {
public:
    virtual ~SaleWindow() = default;

    virtual TCekasStavoklis& Ceks() = 0;
    virtual SaleSettings Iestatijumi() const = 0;

    // The two ways of telling the user: ShowPazinojums follows command-file mode and feeds its
    // reply (never forced here); a plain dialog is shown in every mode and never replied.
    virtual void ShowPazinojums(const QString& text) = 0;
    virtual void ShowDialog(const QString& text) = 0;
    // TVaiParbaudijat, modal: its caption and the text of lbArtikulaRinda.
    virtual void ShowVaiParbaudijat(const QString& caption, const QString& text) = 0;
    virtual void Beep() = 0;

    // Controls.
    virtual QString EntryText() const = 0;  // edArtikuls
    virtual void SetEntryText(const QString& text) = 0;
    virtual QString DiscountText() const = 0;  // edAtlaide
    virtual void FocusDiscount() = 0;
    virtual QString CustomerCode() const = 0;     // shKlKods
    virtual QString CustomerListKey() const = 0;  // the key value of dblKlientuSaraksts
    virtual CustomerBlock Customer() const = 0;   // the payer fields
    // The payment kind selected in cmbApmaksasVeids: the number its text starts with ("2-Čeks"),
    // -1 when the text names no kind. It equals the list position while no kind is left out.
    virtual int PaymentKindNumber() const = 0;
    virtual int SaleMode() const = 0;  // rdPirkumsStorno: 0 sale, 1 return
    virtual void SetStatusText(const QString& text) = 0;  // panel 0 of the status bar

    // Screens.
    virtual void ShowReceiptList(const TPirkumuSaraksts& list) = 0;
    virtual void ClearReceiptLists() = 0;  // both screens' lists emptied
    virtual void ShowSums(const QString& total, const QString& received, const QString& change) = 0;
    // After an annulment: customer fields, the text-copy tick, the customer list, the sale mode,
    // the return-number field, the discount field and the status text.
    virtual void ClearSaleScreen() = 0;

    // Devices and data; the printer may be absent before start-up made it.
    virtual TPrintClass* Printer() = 0;
    virtual TFMProc* FiscalMemory() = 0;
    virtual QSqlDatabase PosDb() = 0;

    // Payment entry, the part of the interpreter that takes "/" texts. The "/" key with lines on
    // the receipt: `key` becomes Enter when a payment text was put into the field. A line text
    // beginning with "/": returns whether the common tail follows.
    virtual void PaymentKey(int& key) = 0;
    virtual bool EnterPayment(const QString& lineText) = 0;

    // Cancels an approved card row on the terminal (the payment's cancellation with its amount);
    // false when it did not go through. Without a terminal nothing can be cancelled.
    virtual bool CancelCard(const ApprovedCard&) { return false; }
};

// Messages of the interpreter.
namespace sale_messages {
inline const QString kZvaigzneMinuss = QStringLiteral("Nav pieļaujama simbolu kombinācija *- !!!");
inline const QString kAtgrieztNedrikst =
    QStringLiteral("Atgriezt šo preci šajā čekā nedrīkst vai par lielu atgriežamais daudzums !!!");
inline const QString kAtlaidesRobezas = QStringLiteral("Atlaide nedrīkst pārsniegt 100 % vai būt mazāka par 0");
inline const QString kAtlaideKasierim = QStringLiteral("Ievadītā atlaide pārsniedz kasierim pieļauto atlaides lielumu");
inline const QString kSemikols = QStringLiteral("Nav korekts artikuls (nevar sākties ar ';') !!!");
inline const QString kNepareizsDaudzums = QStringLiteral("Lietots nepareizs komata atdalītājs, vai iavdīts nepareizs daudzums !!!");
inline const QString kNavTiesibuAtgriezt = QStringLiteral("Jums nav tiesības veikt atgiešanu !!!");
inline const QString kNesapratu = QStringLiteral("Nesapratu ???");
inline const QString kParbaudijatCaption = QStringLiteral("Vai pārbaudījāt iepriekšējo preci ?");
inline const QString kPrecesPazinojums = QStringLiteral("Preces paziņojums !!!");
inline const QString kPrepaidDaudzums = QStringLiteral("Prepaid precēm daudzumam jābūt 1 !!!");
inline const QString kNodalasNr = QStringLiteral("Nodaļas / Grupas Nr jābūt >= 1 !!!");
inline const QString kPilnsCeks = QStringLiteral("Čekā nevar būt vairāk par 500 rindām, nobeidziet čeku !!!");
inline const QString kCeksAnulets = QStringLiteral("       ČEKS ANULĒTS ");
inline QString ArtikulsNavAtrasts(const QString& code) { return QStringLiteral("Artikuls ") + code + QStringLiteral(" nav atrasts !!!"); }
inline QString SummaParLielu(const QString& currency) {
    return QStringLiteral("Summa nedrīkst pārsniegt 10 000 ") + currency + QStringLiteral(" !!!");
}
}  // namespace sale_messages

inline constexpr double kMaxRindasSumma = 10000.0;

// The customer display's lower row for a line: quantity x discounted price = amount.
QString DisplejaRinda(double quantity, double price, double amount, int priceDecimals);

class SaleEngine {
public:
    explicit SaleEngine(SaleWindow& window);
    ~SaleEngine();

    // The item field's key handler: Enter (13) and the grave accent (96) enter the field's text
    // (the grave accent is swallowed: key becomes 0); "/" goes to the payment entry.
    void edArtikulsKeyPress(int& key);

    // The look-up of a code as the interpreter does it (quantity of the line being entered).
    // Throws ItemLookupError.
    std::optional<TAtrastaPrece> FindPrece(const QString& code, double quantity);

    // Appends the negative copy of the last line; false (nothing added) when the receipt is full.
    bool AnuletRindinu();
    // Annuls the open receipt: a receipt number of its own, printed as annulled, its lines stored
    // in REALIZ flagged 'T', the sale screen emptied. Ends the program when the fiscal memory or
    // the next receipt's header fails.
    void AnuletCeku();

    // At start-up, once the printer has its first header: finishes a receipt whose closing was
    // cut short by an earlier run (see receipt_recovery.h).
    ReceiptRecovery RecoverPendingReceipt();

    void RefreshPirkumuSaraksts();
    void ShowSummas();

    // One receipt line on both stations; -1 (after the department message) for a department
    // below 1, else 1.
    int PrintCekaRinda(const PrintedLine& line);
    // The number block of a receipt: number, service date, the return banner on a return
    // receipt, the payer block and a rule; keeps the number and the texts for the copy.
    void PrintCekaSakums(int number);

private:
    void EnterText();
    void Tail();
    void ClearPreviousReceipt();
    void EndProgram(const QString& reason);
    // The approved card rows of the receipt just annulled, cancelled on the terminal.
    void CancelApprovedCards();

    SaleWindow& w_;
    std::unique_ptr<TPrecuMekletajs> lookup_;
};
