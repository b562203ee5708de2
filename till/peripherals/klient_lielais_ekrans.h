// TKlientLielaisEkrans: the customer's window on a second monitor: two scrolling advertising rows
// and the shop's logo from the settings row N_ISI, the open receipt's lines, its total, the money
// received, the change and the payer. The form loads and scrolls its rows; the sale engine and the
// sale window's customer fields write the rest into its components by their names.
#pragma once

#include "scrolling_row.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QWidget>

class TKlientLielaisEkrans : public QWidget {
public:
    explicit TKlientLielaisEkrans(QWidget* owner);

    void FormCreate();
    void RindaTimer1Timer();
    void RindaTimer2Timer();

    QLabel* Label2;
    QLabel* shCekaSumma;
    QLabel* shSanetanaudaTXT;
    QLabel* shSanemts;
    QLabel* Label4;
    QLabel* shIzdot;
    QWidget* Shape1;
    QLabel* Label1;
    QLabel* Label5;
    QLabel* Label6;
    QListWidget* PirkumuSaraksts;
    QLineEdit* shKlientaNosaukums;
    QLineEdit* shAdrese;
    QLineEdit* shRegNr;
    QWidget* Panel2;
    QLabel* Label3;
    QLabel* lbHeader;
    QTimer* RindaTimer1;
    QTimer* RindaTimer2;
    QLabel* shSkrRinda1;
    QLabel* shSkrRinda2;
    QLabel* Image1;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildForm();
    static void Scroll(QLabel* label, ScrollingRow& row);

    ScrollingRow rinda1_;  // what shSkrRinda1 scrolls
    ScrollingRow rinda2_;
};
