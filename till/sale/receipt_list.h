// The receipt list the cashier sees (each row carrying its line's hidden key) and the customer's
// list on the second screen, rebuilt from the open receipt's lines with the receipt total.
#pragma once

#include "receipt.h"
#include "receipt_state.h"

#include <QString>
#include <QStringList>

#include <span>

struct TPirkumuSaraksts {
    QStringList Rindas;          // the main window's rows, the closing empty row included
    QStringList EkranaRindas;    // the second screen's rows
    double CekaSumma = 0;        // the sum of the rounded line amounts
    QString Virsraksts1;         // caption of lbHeader1
    QString Virsraksts2;         // caption of lbHeader2, shown in two-row mode
    bool RaditVirsrakstu2 = true;
};

inline const QString kVirsraksts1Rinda = QStringLiteral(
    "Mērvien.   Artikuls/Kods                                   Nosaukums                                                                    Daudzums              Cena                 Summa");
inline const QString kVirsraksts1DivasRindas = QStringLiteral("Artikuls/Kods                                   Nosaukums");
inline const QString kVirsraksts2DivasRindas =
    QStringLiteral("            Mērvien.                                          Daudzums              Cena                 Summa");
inline const QString kEkranaVirsraksts =
    QStringLiteral("Mērv.                 Nosaukums                       Daudzums   Cena   Atlaide   Summa");

// The hidden key that ends every row of line `index`: 100 blanks, "|", the index, "|".
QString RindasAtslega(int index);
// The line index a row's key names, or -1 when the row does not end with one.
int RindasIndekss(const QString& row);
// The row as the cashier reads it: without the key at its end.
QString RindasTeksts(const QString& row);
// The characters of the widest row a line of ordinary amounts makes: the receipt list, in its
// fixed-pitch font, is at least this wide.
int RindasPlatums(bool twoRows);
// Removes line `index` of the open receipt, the later lines moving up whole; false (nothing
// changed) when the receipt has no such line.
bool DzestRindu(TCekasStavoklis& receipt, int index);

TPirkumuSaraksts VeidotPirkumuSarakstu(std::span<const TCekaRinda> lines, bool twoRows);
