// TPasswordDlg: the cashier log-in ("Paroles ievads") against O_USERS, at start-up and for a
// cashier change; cancelling it ends the program. TPaligs: the help window of the item field's keys.
#pragma once

#include <QPointer>

#include "cashier.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

inline constexpr const char* kPasswordKey = "Software\\TOVEL\\Tillora\\Password";

class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPasswordDlg(QWidget* owner);  // FormCreate

    QPushButton* btUserName;
    QLineEdit* shLietotajs;  // upper case only
    QPushButton* btPasword;
    QLineEdit* Password;
    QPushButton* BtOK;
    QPushButton* BtAtlikt;
    QLabel* StatusBar1;

    // The result of the last passed check.
    bool Ok = false;
    bool VarAtgreizt = false;
    bool VarZAtskaiti = false;
    bool VarMainitAtlaidi = false;
    bool VarDzest = false;
    bool KlElektron = false;
    double MaxAtlaide = 0;
    QString FullName;

    void FormActivate();
    void BtOKClick();
    void BtAtliktClick();
    void btUserNameClick();
    void btPaswordClick();

    // The log-in again for a cashier change; true when a cashier passed. Cancelling keeps the
    // cashier at work (`current`, put back in the name field) and the till running.
    bool ChangeCashier(const QString& current);

    // Closing without a passed check (Atlikt, Esc, close box) ends the program, except in a
    // cashier change.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool changingCashier_ = false;
};

class TPaligs : public QDialog {
    Q_OBJECT
public:
    explicit TPaligs(QWidget* owner);
    QPushButton* BitBtn1;  // "Aizvērt"
};

extern QPointer<TPasswordDlg> PasswordDlg;
extern QPointer<TPaligs> Paligs;
