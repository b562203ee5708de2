// TMainaInkasacija ("Maiņas nauda/Inkasācija"): change money put into the drawer or cash taken out
// for collection, counted in the fiscal memory, printed and the drawer opened.
#pragma once

#include <QPointer>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

class TFMProc;
class TPrintClass;

class TMainaInkasacija : public QDialog {
    Q_OBJECT
public:
    // The four lats controls are shown only when receipts are in euros and lats are taken too
    // (cekaValuta 1).
    TMainaInkasacija(QWidget* owner, int cekaValuta);

    QPushButton* btIelikts;
    QLineEdit* shIelikts;
    QPushButton* btInkasacija;
    QLineEdit* shIznemts;
    QPushButton* btMainaLVL;
    QLineEdit* shIeliktsLVL;
    QPushButton* btInkasacijaLVL;
    QLineEdit* shIznemtsLVL;
    QPushButton* btDrukat;
    QPushButton* btClose;

    // Set by the caller before use.
    QString Kasieris;
    TPrintClass* PrintClass = nullptr;
    TFMProc* FMProc = nullptr;
    double EUR_Kurss = 0;
    // 0 after activation; 1 after a completed operation; -2 after a fiscal-memory failure.
    int Statuss = 0;

    void FormActivate();
    // Touch entry of an amount through the on-screen keyboard.
    void btIeliktsClick();
    void btInkasacijaClick();
    void btMainaLVLClick();
    void btInkasacijaLVLClick();
    // Checks, counts and prints; closes the form unless a check refused the amounts.
    void btDrukatClick();
    void btCloseClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void keyboardInto(QLineEdit* field);
};

extern QPointer<TMainaInkasacija> MainaInkasacija;
