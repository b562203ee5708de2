// TKarsuAutorizacija ("Norēķins ar magnētisko/chip karti"): the till's one window onto the payment
// terminal. It holds the terminal control Payvo1, sets it up once from the settings, runs one card
// transaction per press of "Veikt operāciju", answers the terminal's prompts through the timed
// input dialog and writes the card log. The outcome is Apstiprinats.
#pragma once

#include "card_slip.h"
#include "payvo_control.h"

#include <QButtonGroup>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <functional>
#include <memory>

class TKarsuAutorizacija : public QDialog {
    Q_OBJECT
public:
    // Creates the control and runs FormCreate; throws PayvoCreateError when the control cannot be
    // created. eft is the till's card-terminal kind.
    TKarsuAutorizacija(QWidget* owner, int eft);
    ~TKarsuAutorizacija() override;

    QLabel* Label5;
    QLineEdit* shSumma;
    QPushButton* btProcess;
    QPushButton* btClose;
    QRadioButton* rdApmaksa;
    QRadioButton* rdApmaksasAtcelsana;
    QRadioButton* rdPirkumaAtgriesana;
    std::array<QLabel*, 2> StatusBar1{};
    std::unique_ptr<TPayvo> Payvo1;

    int ChipPorts = 0;        // the reader's (kind 1) or the terminal's (kind 2) port; 0 none
    int Nodala = 0;           // a prepaid line's department, 0 for a card payment
    double Summa = 0;         // the operation's amount in cents
    bool Apstiprinats = false;

    // The declined-purchase slip (copy 3); the main window prints it.
    std::function<void(int copy)> PrintSlip;

    void FormCreate();
    void FormActivate();
    void RadioClick();
    void btProcessClick();
    void btCloseClick();
    bool EncashTransaction();
    void WriteKartesLog(const QString& text);
    // One terminal prompt (EnterReceiptNr, AskYesNo, EnterLast4Digits, EnterDate, EnterSTAN,
    // EnterTime, EnterMerchantPwd) answered through GetKvitsNumurs; other events are left to the
    // control's defaults.
    void Payvo1Prompt(std::int32_t dispid, std::vector<platform::com::Variant>& args);

    // Checks one operation button and leaves the others unchecked (none with Nav).
    void SetOperacija(KartesOperacija operacija);
    KartesOperacija Operacija() const;
    // The slip's values: the control's, the chosen operation and the amount field.
    KartesCeksDati SlipDati() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetStatus(int panel, const QString& text);
    int eft_;
    QButtonGroup* operations_;
};

extern QPointer<TKarsuAutorizacija> KarsuAutorizacija;
