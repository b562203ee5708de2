// TAtminasKarte, the read-only view of the day counters the till keeps in the fiscal memory's
// working records: sums by department with their tax rates, sums by currency, voided receipts,
// cash in and out, corrections and returned packaging. Re-read at every activation.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

class TFMProc;

class TAtminasKarte : public QDialog {
    Q_OBJECT
public:
    explicit TAtminasKarte(QWidget* owner);

    // Reads the seven records and fills the controls; a failed read ends the program.
    void FormActivate();
    void BitBtn1Click() { accept(); }

    TFMProc* FMProc = nullptr;  // the set-up form's, handed over before each showing
    QListWidget* lstSumPaNodalam;
    QListWidget* lstSumValuta;
    QLabel* shValutLabel;
    QLineEdit* shStorno;
    QLineEdit* shIelikts;
    QLineEdit* shIznemts;
    QLineEdit* shKorekcija;
    QLineEdit* shAtgrTaraSkaits;
    QLineEdit* shAtgrTaraSumma;
    QPushButton* BitBtn1;

protected:
    bool event(QEvent* e) override;

private:
    QString readRecord(const char* name);
    // The activation that comes with showing the window, which has read already.
    bool readOnShow_ = false;
};
