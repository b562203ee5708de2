// Cash put into the drawer (change money) and cash taken out for collection: the amounts checked,
// added to the day counters IELIKTS / IZNEMTS of the fiscal memory, a printout and the drawer.
#pragma once

#include "fiscal_registration.h"

#include <QString>

class ReportFiscalMemory;
class TPrintClass;

inline const QString kIeliktsNegativeMessage = QStringLiteral("Ielikts nevar būt ar -");
inline const QString kIznemtsNegativeMessage = QStringLiteral("Izņemts nevar būt ar -");
inline const QString kCashBothDirectionsMessage =
    QStringLiteral("Vienā operācijā nevar veikt gan naudas ielikšanu gan inkasāciju !!!");
inline const QString kNoCashAmountMessage = QStringLiteral("Nav ievadītas summas, ko vēlas ielikt vai izņemts !!!");

// The four amount fields as typed; the lats fields are empty unless receipts are in euros and
// lats are taken too.
struct CashEntry {
    QString Ielikts, IeliktsLVL, Iznemts, IznemtsLVL;
};

enum class CashField { None, Ielikts, IeliktsLVL, Iznemts, IznemtsLVL };

struct CashOutcome {
    int Statuss = 0;                  // 0 refused (the form stays open), 1 done, -2 fiscal-memory failure
    CashField focus = CashField::None;  // the lats field to focus after a refusal
};

// An amount field in whole cents, rounded to the nearest cent; `rate` converts lats first. A
// text that is not a number counts 0.
long long CashCents(const QString& text, double rate = 1.0);

// Checks the amounts (a refusal is shown in a message box), adds them to the counter, prints the
// printout, opens the drawer and prints the next receipt's header. A counter that cannot be read
// or written ends it with Statuss -2 before anything is printed or the drawer opens; an amount
// that would overflow the counter's fields is refused (kCounterFullMessage), nothing written.
CashOutcome CashInOut(const CashEntry& entry, double EUR_Kurss, const QString& Kasieris, ReportFiscalMemory& fm,
                      TPrintClass& print);
