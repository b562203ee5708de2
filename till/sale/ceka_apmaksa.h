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

class TPOSMain;

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
