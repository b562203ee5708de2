// What the closing steps (printing, fiscal registration, storing) read of a paid receipt and of
// the till's settings, and what they need of the sale window.
#pragma once

#include "receipt.h"

#include <QString>
#include <QStringList>

#include <span>

// The paid receipt as the payment entry left it.
struct ClosingReceipt {
    std::span<const TCekaRinda> lines;
    TApmaksas payments;
    double CekaSumma = 0;
    double Sanemts = 0;
    bool isReturn = false;  // the sale / return switch on return
    // Foreign currency of the payment text ("" when paid in the receipt currency) and its rate.
    QString ApmValuta{};
    double valutasKurss = 1.0;
};

// The station settings the closing steps read.
struct ClosingSettings {
    int PrepaidNodala = 1;
    int CekaValuta = 0;
    QString CekaValutaKods = QStringLiteral("LVL");
    double EUR_Kurss = 0;
};

// The sale window's share that the closing steps call back into.
class ClosingHost {
public:
    virtual ~ClosingHost() = default;
    // Prints one receipt line; a result of 0 or less means it was refused (and said why).
    virtual int PrintCekaRinda(const TCekaRinda& line) = 0;
    // The payer lines of the chosen customer (none without one).
    virtual QStringList MaksatajaRindas() = 0;
    // Annuls the open receipt (prints it as annulled, stores its rows, clears the screen).
    virtual void AnuletCeku() = 0;
    // Panel 0 of the status bar.
    virtual void SetStatusText(const QString& text) = 0;
    // The till's usual way to tell the user something (follows command-file mode).
    virtual void ShowPazinojums(const QString& text) = 0;
};

// Department slot of a line in the 24 slots of the fiscal records and the tax summary: the
// department itself below 24, the voucher setting for 70..99, slot 1 for every other one.
int DepartmentSlot(int nodala, int prepaidNodala);
