// The small one-question forms of the till: customer PIN, gift-card mode, the "was the previous
// item checked" stop, the timed number entry of the card terminal and the voucher reference.
#pragma once

#include <QPointer>

#include "radio_group.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

// "PIN koda ievads": the field is emptied at every showing; Enter closes.
class TPinKods : public QDialog {
    Q_OBJECT
public:
    explicit TPinKods(QWidget* owner);
    QLineEdit* shPinKods;
    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;
};

// "Dāvanu kartes": the mode "Nav" / "Pārdošana" / "Preces" and the card number.
class TDavanuKartes : public QDialog {
    Q_OBJECT
public:
    explicit TDavanuKartes(QWidget* owner);
    TRadioGroup* grpDAvKartes;
    QLineEdit* shDMNumurs;
    QPushButton* DavanuKartes;  // "Aizvērt"
    void grpDAvKartesClick();
    // What the receipt store does after every stored receipt: "Nav", number emptied and disabled.
    void Reset();
};

// "Vai pārbaudījāt iepriekšējo preci ?": left only through "Pārbaudīju" or the close box; the
// focus starts on "Nepārbaudīju", which does nothing, so an Enter at once keeps it open.
class TVaiParbaudijat : public QDialog {
    Q_OBJECT
public:
    explicit TVaiParbaudijat(QWidget* owner);
    QLabel* lbArtikulaRinda;
    QPushButton* btOK;          // "Nepārbaudīju"
    QPushButton* btParbaudiju;  // "Pārbaudīju"
    void FormActivate();
    void btParbaudijuClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// "Kvīts numura ievads": the card terminal's questions with a count-down in the caption.
class TGetKvitsNumurs : public QDialog {
    Q_OBJECT
public:
    explicit TGetKvitsNumurs(QWidget* owner);
    QLabel* lbInputCaption;
    QLineEdit* edKvitsNumurs;  // the caller sets its input mask
    QPushButton* btOK;
    QPushButton* btCancel;
    QTimer* tmTimer;  // once a second, restarted at every showing

    QString Virsraksts;  // the caption the caller set, saved on activation
    int Sekundes = 0;    // seconds left, set by the caller
    int Rezultats = 2;   // 1 accepted, 2 cancelled or timed out

    void FormActivate();
    void tmTimerTimer();
    void btOKClick();
    void btCancelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowCountDown();  // "(seconds left) " and the caller's caption
};

// "ZUDEZO Nr": the voucher reference; the field is emptied at every showing.
class TGetZudezoNumurs : public QDialog {
    Q_OBJECT
public:
    explicit TGetZudezoNumurs(QWidget* owner);
    QLineEdit* edNumurs;
    QPushButton* brOK;
    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;
};

extern QPointer<TPinKods> PinKods;
extern QPointer<TDavanuKartes> DavanuKartes;
extern QPointer<TVaiParbaudijat> VaiParbaudijat;
extern QPointer<TGetKvitsNumurs> GetKvitsNumurs;
extern QPointer<TGetZudezoNumurs> GetZudezoNumurs;
