// TCekaApmaksa, "Čeka apmaksa": the modal form in which the cashier splits the receipt total over
// the payment kinds; it hands back one payment text for the item field.
#pragma once

#include "payment_text.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <array>
#include <span>

class TPOSMain;
struct TCekaRinda;

// Whether an extra payment kind named so has a row: not when its trimmed name is empty or holds
// "Apmaksas v" (the fiscal memory's default text for a kind not in use).
bool PaymentKindShown(const QString& name);
// The summary discount: `value` is added to the discount of each line whose sum stays within the
// cashier's maximum; the others keep theirs. Returns how many lines were refused.
int AddSummaryDiscount(std::span<TCekaRinda> lines, double value, double maxAtlaide);

class TCekaApmaksa : public QDialog {
    Q_OBJECT
public:
    explicit TCekaApmaksa(TPOSMain* owner);

    // Lays the form out for this till: the kinds the fiscal memory names, lats when receipts are
    // in euros, the discount field by the cashier's right.
    void FormCreate();
    // Resets the dialog for a new payment.
    void FormActivate();
    void RefreshSummas();
    void btOKClick();
    void KeypadClick(const QString& caption);

    QLabel* shCekaSumma;
    QLabel* shVelJamaksa;
    std::array<QLabel*, 13> captions{};   // lbSkaidraNauda, lbBankasKarte, Label2..Label11, lbSkaidraNaudaLVL
    std::array<QLineEdit*, 13> edApmSum{};
    QWidget* pnlCipari;
    QWidget* pnlSummaUnOK;
    QLineEdit* shAtlaide;
    QPushButton* btClose;

    // The result and the state of one payment.
    QString ApmaksasTeksts;
    int LastKey = 0;
    int PedejaisVeids = 0;
    QLineEdit* AktivaisEdit = nullptr;
    double Samaksats = 0;

    inline static const QString kCardAboveTotal = QStringLiteral("Bankas apmaksas summa nedrīkst pārsniegt čeka summu !!!");
    inline static const QString kDiscountQuestion = QStringLiteral("Vai piešķirt visām precēm atlaidi par jaunu ?");
    inline static const QString kDiscountAboveMaximum =
        QStringLiteral("Ievadītā atlaide pārsniedz kasierim pieļauto atlaides lielumu");

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A card amount above the total: the message, and false.
    bool cardAmountAccepted(bool onEnter);
    void shAtlaideExit();
    PaymentFields fields() const;

    TPOSMain* w_;
};

extern QPointer<TCekaApmaksa> CekaApmaksaForm;
