// The printed lines of a receipt line and of a receipt's heading, for every printer type: type 4
// is the 48-column printer with the wide layouts, every other type gets a narrow one.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// What the line layouts depend on besides the line.
struct LinePrintSettings {
    int Printeris = 0;             // printer type
    QString CekaValutaKods;        // "LVL" or "EUR"
    int CenasDecimalzimes = 2;     // decimals of the unit price in the quantity line
    bool ArtikAtsevRinda = false;  // the article code on a line of its own
    bool PilnuJa1Daudz = false;    // the full layout also for quantity 1
};

struct PrintedLine {
    int Nodala = 0;
    QString Nosaukums;
    double Cena = 0;
    double Daudzums = 0;  // already multiplied by the pack factor
    double Atlaide = 0;
    QString Artikuls;
    QString Mervieniba;
    bool Korekcija = false;  // a correction: a negative quantity is headed by the correction mark
};

inline const QString kKludasLabojums = QStringLiteral("****** Kļūdas labojums ******");

// The lines of one receipt line, in print order. The department is not checked here.
QStringList CekaRindasTeksts(const LinePrintSettings& settings, const PrintedLine& line);

// The payer block of a receipt heading: "Maksātājs", "Reģ.Nr.", "Adrese" and the further details,
// each non-empty one in up to three pieces of the line width (the registration number whole);
// nothing unless the name or the further details are filled.
struct CustomerBlock {
    QString Nosaukums;
    QString RegNr;
    QString Adrese;
    QString CitasZinas;
};
QStringList KlientaDatuRindas(const CustomerBlock& customer, int lineWidth);

inline const QString kAtgriesanasBanneris = QStringLiteral("          PIRKUMA ATGRIEŠANA");

// The number and service-date lines that open a receipt (the date in the system's short format).
QStringList CekaNumuraRindas(int number, const QDate& today);
